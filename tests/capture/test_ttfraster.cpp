// The TrueType rasteriser: its rules on their own, then real renders of
// installed faces. Renders are judged by the shapes of a few glyphs, never
// by the exact antialiased pixels.
#include "capture/ttfraster.h"

#include <algorithm>
#include <numeric>

#include "capture/codepage.h"
#include "core/editor.h"
#include "ttf_fixture.h"

namespace {

TEST(TtfRules, ThresholdScaleAndHeight)
{
    const std::pair<int, int> thresholds[] = {{1, 32}, {5, 160}, {7, 224}, {8, 250}, {9, 250}};
    for (auto [weight, t] : thresholds)
        EXPECT_EQ(InkThreshold(weight), t) << weight;
    const std::pair<int, int64_t> scales[] = {{20, 12}, {24, 10}, {32, 8}, {100, 2}, {200, 1}, {256, 1}};
    for (auto [height, scale] : scales)
        EXPECT_EQ(RenderScale(height), scale) << height;

    const struct {
        const char* text;
        int32_t height;  // 0: refused
    } heights[] = {
        {"20", 20},  {" 19.5", 20}, {"20.5", 20}, {"1", 1},   {"256", 256}, {"256.5", 256}, {"24px", 24},
        {"0.5", 0},  {"0", 0},      {"", 0},      {"abc", 0}, {"257", 0},   {"-3", 0},      {"1e9", 0},
        {"nan", 0},  {"inf", 0},
    };
    for (const auto& c : heights) {
        int32_t height = 0;
        EXPECT_EQ(ReadTargetHeight(c.text, height), c.height != 0) << c.text;
        if (c.height != 0) {
            EXPECT_EQ(height, c.height) << c.text;
        }
    }
}

// Half a point at a time, each size rounded halves to even; never below 1.
TEST(TtfRules, SizeSearch)
{
    // 7 x 16 x 20 / 21 = 106.67: the search starts just above 107.
    float size = SizeSearchStart(16, 20, 21);
    EXPECT_EQ(size, 107.5f);
    std::vector<int> measured;
    auto fits = [&](int points) {
        measured.push_back(points);
        return points >= 104 ? 140 : 139;
    };
    EXPECT_EQ(SizeSearch(size, 20, fits), (std::vector<int>{107, 106, 106, 106, 105, 104, 104, 104, 103}));
    EXPECT_EQ(measured, (std::vector<int>{107, 106, 106, 106, 105, 104, 104, 104, 103}));
    EXPECT_EQ(size, 103.0f);

    const struct {
        float start;
        std::vector<int> tried;
    } floors[] = {
        {SizeSearchStart(16, 20, 0), {1}},   // no reference height: no estimate
        {SizeSearchStart(0, 20, 21), {1}},   // before the first "Font..."
        {3.5f, {3, 2, 2, 2, 1}},
    };
    for (const auto& c : floors) {
        float at = c.start;
        EXPECT_EQ(SizeSearch(at, 20, [](int) { return 100000; }), c.tried) << c.start;
        EXPECT_EQ(at, 1.0f);
    }
}

TEST(TtfRules, RenderImageSize)
{
    const struct {
        int32_t width, height;
        int64_t scale;
        int w, h;  // 0: refused
    } cases[] = {
        {19, 20, 12, 1024, 1024}, {84, 20, 12, 1028, 1024}, {12, 1, 256, 3092, 1024},
        {1364, 20, 12, 0, 0},     {63, 1, 256, 16148, 1024},
    };
    for (const auto& c : cases) {
        int w = -1, h = -1;
        EXPECT_EQ(RenderImageSize(c.width, c.height, c.scale, w, h), c.w != 0) << c.width;
        if (c.w != 0) {
            EXPECT_EQ(w, c.w);
            EXPECT_EQ(h, c.h);
        }
    }
}

using TtfRender = TtfTest;

// The widest of codes 32 to 126 in font 0 as it is loaded now.
int Widest()
{
    int widest = 0;
    if (platform::StartDrawingCanvas(obj::TtfChartCanvas)) {
        platform::DrawingFont(obj::TtfFaceFont);
        for (int k = 32; k <= 126; ++k)
            widest = std::max(widest, platform::TextWidth(CodePointText(k)));
        platform::StopDrawing();
    }
    return widest;
}

int LineHeight(const State& s, int points)
{
    platform::LoadFont(obj::TtfFaceFont, s.TtfFontName, points, s.TtfFontStyle);
    platform::StartDrawingCanvas(obj::TtfChartCanvas);
    platform::DrawingFont(obj::TtfFaceFont);
    const int h = platform::TextHeight("Hg_^");
    platform::StopDrawing();
    return h;
}

bool Contiguous(const std::vector<int>& v) { return !v.empty() && v.back() - v.front() + 1 == int(v.size()); }

// Codes 32 to 126 of two faces at two heights: the geometry, the fitted
// size, the shapes of space, "I", "-" and ".", and the font store around
// them.
TEST_F(TtfRender, PrintableAsciiKeepsItsShapes)
{
    for (const char* face : {"Arial", "DejaVu Sans"})
        for (int height : {20, 64}) {
            SCOPED_TRACE(std::string(face) + " at " + std::to_string(height));
            s.FileInfo = "from an earlier font";
            s.Modified = 0;
            s.ChartFirst = s.ChartLast = -1;
            OpenWithFace(face);
            s.Modified = 1;
            Render(32, 126, std::to_string(height));

            EXPECT_EQ(s.FontHeight, height);
            EXPECT_EQ(s.FontStart, 32);
            EXPECT_EQ(s.FontCount, 95);
            EXPECT_EQ(s.TtfPixelHeight, height);
            // The fitted size keeps the line below 7 x height; a size the
            // search went past did not.
            const int fitted = int(RoundToInt(s.TtfFontSize));
            const int firstTried = int(RoundToInt(SizeSearchStart(16, height, LineHeight(s, 16)) - 0.5f));
            EXPECT_LT(LineHeight(s, fitted), 7 * height);
            EXPECT_LE(fitted, firstTried);
            if (fitted < firstTried) {
                EXPECT_GE(LineHeight(s, fitted + 1), 7 * height);
            }
            LineHeight(s, fitted);
            EXPECT_EQ(s.FontWidth, Widest() / 7 + 1);

            const Glyph space = GlyphOf(32), bar = GlyphOf('I'), dash = GlyphOf('-'), dot = GlyphOf('.');
            EXPECT_TRUE(space.InkedRows().empty()) << space.Picture();

            // "I": one narrow stem; some column is set on every row of it.
            const std::vector<int> stemRows = bar.InkedRows(), stemColumns = bar.InkedColumns();
            ASSERT_TRUE(Contiguous(stemRows)) << bar.Picture();
            EXPECT_GE(int(stemRows.size()), height / 2) << bar.Picture();
            EXPECT_TRUE(Contiguous(stemColumns) && int(stemColumns.size()) <= std::max(3, height / 8)) << bar.Picture();
            EXPECT_TRUE(std::any_of(stemColumns.begin(), stemColumns.end(), [&](int x) {
                return std::all_of(stemRows.begin(), stemRows.end(), [&](int y) { return bar.At(x, y); });
            })) << bar.Picture();

            // "-": one flat band in the middle.
            const std::vector<int> bandRows = dash.InkedRows(), bandColumns = dash.InkedColumns();
            ASSERT_TRUE(Contiguous(bandRows)) << dash.Picture();
            EXPECT_LE(int(bandRows.size()), height / 8 + 1) << dash.Picture();
            EXPECT_GE(bandColumns.size(), 2 * bandRows.size()) << dash.Picture();
            EXPECT_GT(bandRows.front(), stemRows.front()) << dash.Picture();
            EXPECT_LT(bandRows.back(), stemRows.back()) << dash.Picture();

            // ".": a small blob on the bottom rows of the stem.
            const std::vector<int> blobRows = dot.InkedRows();
            ASSERT_TRUE(Contiguous(blobRows)) << dot.Picture();
            EXPECT_LE(int(blobRows.size()), height / 6 + 1) << dot.Picture();
            EXPECT_GT(blobRows.front(), bandRows.back()) << dot.Picture();
            EXPECT_LE(std::abs(blobRows.back() - stemRows.back()), 1) << dot.Picture();

            // The font store around the glyphs.
            EXPECT_TRUE(s.CharData[31][1].empty());
            EXPECT_TRUE(s.CharData[127][1].empty());
            EXPECT_EQ(s.CharData[65][2], "Chr$(65)  A");
            EXPECT_EQ(s.CharData[200][2], "Chr$(200) ");
            ASSERT_EQ(platform::CountItems(obj::CharList), 95);
            EXPECT_EQ(platform::GetItemText(obj::CharList, 0), "Chr$(32)   ");
            EXPECT_EQ(platform::GetItemText(obj::CharList, 33), "Chr$(65)  A");
            EXPECT_EQ(platform::GetState(obj::CharList), 0);
            EXPECT_EQ(s.FileInfo, s.DefaultPreamble);
            EXPECT_EQ(s.CurrentChar, 32);
            EXPECT_EQ(s.Modified, 1) << "an import is not a change";
            const std::string name = face == std::string("Arial") ? "Arial" : "DejaVuSans";
            EXPECT_EQ(s.FontName, name);
            EXPECT_EQ(platform::GetWindowTitle(obj::MainWindow), "Glyphery: " + name);
            EXPECT_EQ(platform::GetText(obj::StatusText),
                      std::to_string(s.FontWidth) + " x " + std::to_string(height) + "      Chr$(32) to Chr$(126)");
            EXPECT_EQ(s.ViewFontRequest, ViewFontOpen);
            s.ViewFontRequest = ViewFontNone;
        }
}

// "Arial" is found through fontconfig's substitutes, not the default face.
TEST_F(TtfRender, ArialIsItsMetricTwin)
{
    ASSERT_TRUE(platform::CreateImage(1000, 10, 10).Width == 10);
    auto width = [](const char* face) {
        platform::LoadFont(5, face, 40, 0);
        platform::StartDrawingImage(1000);
        platform::DrawingFont(5);
        const int w = platform::TextWidth("Hg_^ WAVE iii");
        platform::StopDrawing();
        return w;
    };
    EXPECT_EQ(width("Arial"), width("Liberation Sans"));
    EXPECT_NE(width("Arial"), width("DejaVu Sans"));
    platform::FreeImage(1000);
    platform::FreeFont(5);
}

// The editor ends on the first glyph of the new font, as stored, and the
// view's "Degree" draws code 96 as a degree sign yet labels it as itself.
TEST_F(TtfRender, EditorShowsTheFirstGlyphAndDegreeDrawsCode96)
{
    OpenWithFace("DejaVu Sans");
    platform::SetState(obj::TtfDegreeBox, 1);
    Render(65, 96, "24");
    EXPECT_EQ(CharToHex(s), s.CharData[65][1]);
    EXPECT_EQ(s.SelectedGlyph, s.CharData[65][1]);
    EXPECT_FALSE(GlyphOf(65).InkedRows().empty());
    EXPECT_EQ(s.CodePageTable[96], 176);
    EXPECT_EQ(platform::GetItemText(obj::CharList, 96 - 65), "Chr$(96)  `");
    // The degree sign sits high up.
    const std::vector<int> degree = GlyphOf(96).InkedRows();
    ASSERT_FALSE(degree.empty());
    EXPECT_LT(degree.back(), 12);

    // The same marks again build the same font anew.
    const std::vector<CharRow> first = s.CharData;
    Send(obj::TtfChartCanvas, platform::ControlEvent::Input, 0, 0, ' ');
    EXPECT_EQ(s.CharData, first);
    EXPECT_EQ(s.FontCount, 32);
}

// Heights 1 and 2 draw at no size at all: the glyphs stay clear. Code 9 at
// height 1 measures as a whole tab stop, so the render box outgrows 1024
// pixels and the render image grows with it.
TEST_F(TtfRender, TinyHeightsGiveClearGlyphsAndAWideRenderImage)
{
    OpenWithFace("DejaVu Sans");
    for (const char* height : {"2", "1"}) {
        s.ChartFirst = s.ChartLast = -1;
        Render(0, 255, height);
        ASSERT_EQ(s.FontCount, 256) << height;
        for (int k = 0; k < 256; ++k)
            ASSERT_TRUE(GlyphOf(k).InkedRows().empty()) << height << " code " << k;
    }
    const platform::Image* render = platform::GetImage(obj::TtfRenderImage);
    ASSERT_NE(render, nullptr);
    EXPECT_GT(20 + s.FontWidth * 256, 1024);
    EXPECT_EQ(render->Width, 20 + s.FontWidth * 256);
    EXPECT_EQ(render->Height, 1024);
}

// A height that is no number from 1 to 256 is refused and changes nothing;
// so does a run with no complete range.
TEST_F(TtfRender, RefusedHeightsChangeNothing)
{
    OpenWithFace("DejaVu Sans");
    s.FontWidth = 8;
    s.FontHeight = 12;
    s.FontStart = 40;
    s.FontCount = 2;
    s.CharData[40][1] = "kept";
    s.CodePageTable.assign(CharTableRows, 7);
    const State before = s;
    for (const char* height : {"", "abc", "0", "0.4", "257", "256.6", "-20", "1e400"}) {
        ask->Messages.clear();
        s.ChartFirst = s.ChartLast = -1;
        Render(65, 70, height);
        ASSERT_EQ(ask->Messages.size(), 1u) << height;
        EXPECT_EQ(ask->Messages[0].Title, "Oops!");
        EXPECT_NE(ask->Messages[0].Text.find("from 1 to 256"), std::string::npos);
        EXPECT_EQ(s.FontWidth, 8);
        EXPECT_EQ(s.FontCount, 2);
        EXPECT_EQ(s.CharData, before.CharData);
        EXPECT_EQ(s.CodePageTable, before.CodePageTable);
        EXPECT_EQ(s.ViewFontRequest, ViewFontNone);
    }
    // One mark only: Space does nothing, silently.
    s.ChartFirst = s.ChartLast = -1;
    ClickCode(65);
    platform::SetText(obj::TtfHeightField, "20");
    ask->Messages.clear();
    Send(obj::TtfChartCanvas, platform::ControlEvent::Input, 0, 0, ' ');
    EXPECT_TRUE(ask->Messages.empty());
    EXPECT_EQ(s.FontCount, 2);
    EXPECT_EQ(s.CodePageTable, before.CodePageTable);
}

}  // namespace
