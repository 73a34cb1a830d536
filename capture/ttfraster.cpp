// The TrueType rasteriser: every code of the marked range is drawn from the
// chosen face at s times the target size, reduced by s and thresholded.
#include "capture/ttfraster.h"

#include <algorithm>
#include <cmath>

#include "capture/codepage.h"
#include "capture/graylevel.h"
#include "capture/ttfobjects.h"
#include "capture/ttfview.h"
#include "core/editor.h"
#include "core/fontstore.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

// The size search and the width pass work at this many times the target.
constexpr int Measure = 7;
// The render image is at least this large; a wider render box widens it.
constexpr int RenderSide = 1024;
// A render image wider or higher than this would take more memory than a
// font of 256 characters is worth.
constexpr int64_t LargestRender = 16384;

const char* const Reference = "Hg_^";

void Oops(const std::string& text)
{
    platform::Ask().Message("Oops!", text, platform::MessageButtons::Ok);
}

// The line height of font 0, measured on the chart canvas; 0 when the
// canvas cannot be drawn on.
int32_t FaceHeight()
{
    if (!platform::StartDrawingCanvas(obj::TtfChartCanvas))
        return 0;
    platform::DrawingFont(obj::TtfFaceFont);
    const int32_t h = int32_t(RoundToInt(platform::TextHeight(Reference)));
    platform::StopDrawing();
    return h;
}

void LoadFace(const State& s, int points)
{
    platform::LoadFont(obj::TtfFaceFont, s.TtfFontName, points, s.TtfFontStyle);
}

// The widest of the range's characters in font 0 (code point k for code k).
int32_t WidestCharacter(const State& s)
{
    int32_t widest = 0;
    if (!platform::StartDrawingCanvas(obj::TtfChartCanvas))
        return widest;
    platform::DrawingFont(obj::TtfFaceFont);
    for (int k = s.ChartFirst; k <= s.ChartLast; ++k) {
        const double w = platform::TextWidth(CodePointText(k));
        if (w > widest)
            widest = int32_t(RoundToInt(w));
    }
    platform::StopDrawing();
    return widest;
}

std::string StatusLine(const State& s, int32_t last)
{
    using platform::Str;
    return Str(s.FontWidth) + " x " + Str(s.FontHeight) + "      Chr$(" + Str(s.FontStart) + ") to Chr$(" + Str(last) + ")";
}

// Draws code k on the render image, reduces it into its top-left corner and
// thresholds that into `Grid`.
void RenderCharacter(State& s, int k, int64_t scale, int threshold)
{
    const int W = s.FontWidth;
    const int H = s.FontHeight;
    platform::StartVectorDrawing(obj::TtfRenderImage);
    platform::VectorFont(obj::TtfFaceFont, double(scale) * (H - 2.0));
    platform::VectorColour(0xFFFFFFFFu);
    platform::AddPathBox(0, 0, 20.0 + double(W) * double(scale), 20.0 + double(H) * double(scale));
    platform::FillPath();
    platform::VectorColour(0xFF000000u);
    platform::MovePathCursor(10, 1);
    platform::DrawVectorText(CodePointText(s.CodePageTable[size_t(k)]));
    platform::StopVectorDrawing();

    platform::StartDrawingImage(obj::TtfRenderImage);
    platform::GrabImage(obj::TtfGrabImage, 1, 10, int(W * scale), int(H * scale));
    platform::DrawImageScaled(obj::TtfGrabImage, 1, 1, W, H);
    for (int x = 1; x <= W; ++x)
        for (int y = 1; y <= H; ++y)
            s.Grid(x - 1, y - 1) = GrayLevel(platform::Point(x, y)) < threshold ? 1 : 0;
    s.CharData[size_t(k)][1] = CharToHex(s);
    s.FontCount++;
    platform::AddItem(obj::CharList, -1, "Chr$(" + platform::Str(k) + ")  " + CodePointText(k));
    platform::StopDrawing();
}

}  // namespace

int InkThreshold(int weight)
{
    return int(std::min<int64_t>(32 * int64_t(weight), 250));
}

bool ReadTargetHeight(const std::string& text, int32_t& height)
{
    const double value = platform::ValD(text);
    if (!std::isfinite(value) || value < 0 || value > 1000)
        return false;
    const int64_t rounded = RoundToInt(value);
    if (rounded < 1 || rounded > 256)
        return false;
    height = int32_t(rounded);
    return true;
}

int64_t RenderScale(int32_t height)
{
    return height > 0 ? 256 / height : 0;
}

float SizeSearchStart(int32_t pointSize, int32_t height, int32_t h0)
{
    // A face that measures no height gives no estimate: the search starts at
    // its floor.
    const double estimate = h0 > 0 ? Measure * (double(pointSize) * double(height)) / double(h0) : 0.0;
    const float size = float(estimate);
    return float(std::trunc(size) + 1.5);
}

std::vector<int> SizeSearch(float& size, int32_t height, const std::function<int(int points)>& measure)
{
    std::vector<int> tried;
    for (;;) {
        size = size - 0.5f;
        const int points = int(RoundToInt(size));
        tried.push_back(points);
        if (measure(points) < Measure * int64_t(height) || points <= 1)
            return tried;
    }
}

bool RenderImageSize(int32_t width, int32_t height, int64_t scale, int& imageWidth, int& imageHeight)
{
    // The render box and the grab lie inside the image.
    const int64_t boxW = 20 + int64_t(width) * scale;
    const int64_t boxH = 20 + int64_t(height) * scale;
    if (boxW > LargestRender || boxH > LargestRender)
        return false;
    imageWidth = int(std::max<int64_t>(RenderSide, boxW));
    imageHeight = int(std::max<int64_t>(RenderSide, boxH));
    return true;
}

void ProcessTtfSelection(State& s)
{
    const int threshold = InkThreshold(platform::GetState(obj::TtfWeightSpin));
    if (s.ChartLast < 0 || s.ChartFirst < 0)
        return;
    int32_t height = 0;
    if (!ReadTargetHeight(platform::GetText(obj::TtfHeightField), height)) {
        Oops("The font height must be a number from 1 to 256.");
        return;
    }

    const int32_t h0 = FaceHeight();
    LoadViewCodePage(s);
    s.TtfPixelHeight = height;
    const int64_t scale = RenderScale(height);

    s.TtfFontSize = SizeSearchStart(s.TtfPointSize, height, h0);
    SizeSearch(s.TtfFontSize, height, [&](int points) {
        LoadFace(s, points);
        return FaceHeight();
    });
    const int fitted = int(RoundToInt(s.TtfFontSize));
    LoadFace(s, fitted);

    const int32_t width = WidestCharacter(s) / Measure + 1;
    // Refused before the font changes.
    int imageWidth = 0, imageHeight = 0;
    if (!RenderImageSize(width, height, scale, imageWidth, imageHeight)) {
        Oops("The characters of this font are too wide to render at this height.");
        return;
    }
    s.FontWidth = width;
    s.FontHeight = height;
    s.FontStart = s.ChartFirst;
    LoadFace(s, fitted);

    s.FontCount = 0;
    s.CharData.assign(CharTableRows, CharRow{});
    MakeCharLabels(s);
    s.FileInfo = s.DefaultPreamble;
    s.CurrentChar = s.FontStart;
    platform::ClearItems(obj::CharList);
    platform::SetState(obj::CharList, 0);
    platform::SetText(obj::StatusText, StatusLine(s, s.ChartLast));
    SetupGrid(s);

    platform::CreateImage(obj::TtfRenderImage, imageWidth, imageHeight, platform::RGB(0, 0, 0));
    for (int k = s.ChartFirst; k <= s.ChartLast; ++k)
        RenderCharacter(s, k, scale, threshold);

    platform::SetText(obj::StatusText, StatusLine(s, s.ChartLast));
    platform::SetState(obj::CharList, 0);
    s.FontName = platform::RemoveString(s.TtfFontName, " ");
    platform::SetWindowTitle(obj::MainWindow, "Glyphery: " + s.FontName);

    // The editor shows the first character of the new font, so what it holds
    // and what the font stores for it agree.
    s.SelectedGlyph = s.CharData[size_t(s.CurrentChar)][1];
    HexToChar(s, s.SelectedGlyph);
    PaintGrid(s);

    DrawTtfChart(s);
    RequestViewFont(s, ViewFontOpen);
}
