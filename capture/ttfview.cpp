// The "TrueType Font View" window and its character chart.
#include "capture/ttfview.h"

#include <cstdint>

#include "capture/codepage.h"
#include "capture/ttfobjects.h"
#include "capture/ttfraster.h"
#include "core/editor.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

using platform::RGB;

constexpr platform::Rgb Black = RGB(0, 0, 0);
constexpr platform::Rgb White = RGB(255, 255, 255);
constexpr platform::Rgb MarkGrey = RGB(180, 180, 180);

// The chart: 16 x 16 cells of 30 pixels from (15, 45).
constexpr int ChartLeft = 15;
constexpr int ChartTop = 45;
constexpr int CellSide = 30;
constexpr int ChartRight = ChartLeft + 16 * CellSide;   // 495: first x past it
constexpr int ChartBottom = ChartTop + 16 * CellSide;   // 525: first y past it

const char* const ViewTitle = "TrueType Font View";
const char* const Heading = "Select Characters then <space> to process.";

int CellX(int code) { return ChartLeft + CellSide * (code % 16); }
int CellY(int code) { return ChartTop + CellSide * (code / 16); }

std::string CellText(const State& s, int code)
{
    return CodePointText(s.CodePageTable[size_t(code)]);
}

void PaintMarkedCell(const State& s, int code)
{
    platform::Box(CellX(code), CellY(code), CellSide, CellSide, MarkGrey);
    platform::DrawText(CellX(code), CellY(code), CellText(s, code), Black);
}

void LoadFaceFont(const State& s)
{
    platform::LoadFont(obj::TtfFaceFont, s.TtfFontName, s.TtfPointSize, s.TtfFontStyle);
}

void ChartMouseMove(State& s)
{
    s.ChartMouseX = s.Event.MouseX;
    s.ChartMouseY = s.Event.MouseY <= ChartTop - 1 ? ChartTop : s.Event.MouseY;
    const int64_t row = (int64_t(s.ChartMouseY) - ChartTop) / CellSide;
    const int64_t column = (int64_t(s.ChartMouseX) - ChartLeft) / CellSide;
    s.ChartCellName = "&h" + platform::Hex(row) + platform::Hex(column);
    platform::SetToolTip(obj::TtfChartCanvas, s.ChartCellName + (s.ChartFirst == -1 ? " First" : " Last"));
}

// A click marks the cell under the last mouse move; right of or below the
// chart there is no cell, and nothing is marked.
void ChartLeftClick(State& s)
{
    if (s.ChartMouseX >= ChartRight || s.ChartMouseY >= ChartBottom)
        return;
    MarkChartCell(s, s.ChartCellName);
}

void ChartEvent(State& s)
{
    switch (s.Event.Type) {
    case platform::ControlEvent::MouseMove:
        ChartMouseMove(s);
        break;
    case platform::ControlEvent::LeftClick:
        ChartLeftClick(s);
        break;
    case platform::ControlEvent::RightClick:
        DrawTtfChart(s);
        s.ChartFirst = -1;
        s.ChartLast = -1;
        break;
    case platform::ControlEvent::Input:
        if (s.Event.Character == ' ')
            ProcessTtfSelection(s);
        break;
    default:
        break;
    }
}

void CreateViewControls()
{
    using namespace platform;
    const int w = obj::TtfViewWindow;
    TextControl(w, obj::TtfHeightLabel, 5, 8, 50, 25, "Font Ht");
    StringControl(w, obj::TtfHeightField, 60, 5, 40, 25, "20");
    ComboBoxControl(w, obj::TtfCodePageList, 120, 5, 125, 25);
    CheckBoxControl(w, obj::TtfDegreeBox, 255, 5, 55, 25, "Degree");
    TextControl(w, obj::TtfWeightLabel, 330, 8, 20, 25, "W");
    SpinControl(w, obj::TtfWeightSpin, 350, 5, 40, 25, 1, 9);
    ButtonControl(w, obj::TtfFontButton, 400, 5, 60, 25, "Font...");
    ButtonControl(w, obj::TtfGoButton, 470, 5, 40, 25, "Go");
    CanvasControl(w, obj::TtfChartCanvas, 10, 40, 500, 550);
    FocusControl(obj::TtfChartCanvas);
}

}  // namespace

void ImportTtfFont(State& s)
{
    s.ChartFirst = -1;
    s.ChartLast = -1;
    OpenTtfView(s);
}

void OpenTtfView(State& s)
{
    StoreBackGlyph(s);
    if (!AskSaveFirst(s))
        return;
    s.Modified = 0;
    if (!platform::IsWindow(obj::TtfViewWindow)) {
        platform::OpenWindow(obj::TtfViewWindow, s.TtfViewX, s.TtfViewY, s.TtfViewW, s.TtfViewH, ViewTitle,
                             platform::WindowTitleBar | platform::WindowSystemMenu);
        CreateViewControls();
        platform::SetState(obj::TtfWeightSpin, 5);
        platform::SetText(obj::TtfWeightSpin, "5");
    } else {
        // Behind other windows or minimised, the view comes forward as a new
        // one would.
        platform::ActivateWindow(obj::TtfViewWindow);
    }
    platform::ClearItems(obj::TtfCodePageList);
    platform::AddItem(obj::TtfCodePageList, -1, "CP437");
    platform::SetState(obj::TtfCodePageList, 0);
    ListCodePages(s);
}

void LoadViewCodePage(State& s)
{
    LoadCodePage(s, platform::GetText(obj::TtfCodePageList));
    s.CodePageTable[96] = platform::GetState(obj::TtfDegreeBox) == 1 ? 176 : 96;
}

void ChooseTtfFont(State& s)
{
    LoadViewCodePage(s);
    s.TtfPointSize = 16;
    platform::Requesters& ask = platform::Ask();
    if (ask.ShiftDown()) {
        const std::string path = ask.OpenFile("TTF font file", "*.ttf", "TTF|*.ttf;*.otf|All files (*.*)|*.*", 0);
        if (!path.empty() && platform::RegisterFontFile(path))
            s.TtfFontName = platform::Left(platform::GetFilePartNoExtension(path), 4);
    }
    // The chooser's answer is taken as it comes: cancelled, it reports the
    // face and style it started with.
    const platform::FontChoice choice = ask.ChooseFont(s.TtfFontName, s.TtfPointSize, s.TtfFontStyle);
    s.TtfFontName = choice.Face;
    s.TtfFontStyle = choice.Style;
    platform::SetWindowTitle(obj::TtfViewWindow, "Glyphery:  " + s.TtfFontName);
    LoadFaceFont(s);
    platform::LoadFont(obj::TtfHeadingFont, "Arial", 16, 0);
    DrawTtfChart(s);
}

void DrawTtfChart(State& s)
{
    LoadFaceFont(s);
    if (!platform::StartDrawingCanvas(obj::TtfChartCanvas))
        return;
    platform::Box(0, 0, 550, 550, White);
    platform::DrawingFont(obj::TtfHeadingFont);
    platform::DrawText(50, 5, Heading, Black);
    platform::DrawingFont(obj::TtfFaceFont);
    for (int code = 0; code < 256; ++code)
        platform::DrawText(CellX(code), CellY(code), CellText(s, code), Black);
    platform::StopDrawing();
}

void MarkChartCell(State& s, const std::string& name)
{
    const int64_t code = platform::Val("$" + platform::Mid(name, 3));
    // Only the chart's 256 cells can be marked.
    if (code < 0 || code > 255)
        return;
    if (s.ChartFirst == -1) {
        s.ChartFirst = int32_t(code);
    } else {
        s.ChartLast = int32_t(code);
        if (s.ChartLast < s.ChartFirst) {
            s.ChartLast = s.ChartFirst;
            s.ChartFirst = int32_t(code);
        }
        DrawTtfChart(s);
    }
    if (!platform::StartDrawingCanvas(obj::TtfChartCanvas))
        return;
    platform::DrawingFont(obj::TtfFaceFont);
    PaintMarkedCell(s, int(code));
    for (int k = s.ChartFirst; k >= 0 && k <= s.ChartLast; ++k)
        PaintMarkedCell(s, k);
    platform::StopDrawing();
}

void TtfViewEvent(State& s)
{
    const platform::Event& e = s.Event;
    switch (e.Kind) {
    case platform::EventKind::CloseWindow:
        s.TtfViewX = platform::WindowX(obj::TtfViewWindow);
        s.TtfViewY = platform::WindowY(obj::TtfViewWindow);
        s.TtfViewW = platform::WindowWidth(obj::TtfViewWindow);
        s.TtfViewH = platform::WindowHeight(obj::TtfViewWindow);
        platform::CloseWindow(obj::TtfViewWindow);
        break;
    case platform::EventKind::Control:
        switch (e.Object) {
        case obj::TtfChartCanvas:
            ChartEvent(s);
            break;
        case obj::TtfFontButton:
            ChooseTtfFont(s);
            break;
        case obj::TtfGoButton:
            ProcessTtfSelection(s);
            break;
        case obj::TtfWeightSpin:
            platform::SetText(obj::TtfWeightSpin, platform::Str(platform::GetState(obj::TtfWeightSpin)));
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}
