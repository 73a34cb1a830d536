// The "TrueType Font View" window: its controls, the chart's cell names and
// marks, "Font..." with and without a font file, and the window's events.
#include "capture/ttfview.h"

#include "capture/ttfraster.h"
#include "ttf_fixture.h"

namespace {

using platform::ControlEvent;
using platform::RGB;

using TtfView = TtfTest;

// The colour of a cell's bottom-right pixel, which no character reaches.
platform::Rgb CellCorner(const platform::Image& chart, int code)
{
    return chart.Get(15 + 30 * (code % 16) + 29, 45 + 30 * (code / 16) + 29);
}

std::string Marked()
{
    const platform::Image chart = platform::GetCanvasImage(obj::TtfChartCanvas);
    std::string grey;
    for (int code = 0; code < 256; ++code)
        if (CellCorner(chart, code) == RGB(180, 180, 180))
            grey += std::to_string(code) + " ";
    return grey;
}

TEST_F(TtfView, OpensWithItsControlsAndKeepsThemWhenOpenedAgain)
{
    ImportTtfFont(s);
    EXPECT_EQ(platform::GetWindowTitle(obj::TtfViewWindow), "TrueType Font View");
    EXPECT_EQ(platform::WindowWidth(obj::TtfViewWindow), 520);
    EXPECT_EQ(platform::WindowHeight(obj::TtfViewWindow), 600);
    const struct {
        int number;
        platform::ControlKind kind;
        int x, y, w, h;
        const char* text;
        int state;
    } controls[] = {
        {104, platform::ControlKind::Canvas, 10, 40, 500, 550, "", 0},
        {105, platform::ControlKind::Button, 400, 5, 60, 25, "Font...", 0},
        {108, platform::ControlKind::List, 120, 5, 125, 25, "CP437", 0},
        {109, platform::ControlKind::CheckBox, 255, 5, 55, 25, "Degree", 0},
        {110, platform::ControlKind::Field, 60, 5, 40, 25, "20", 0},
        {111, platform::ControlKind::Spin, 350, 5, 40, 25, "5", 5},
        {112, platform::ControlKind::Button, 470, 5, 40, 25, "Go", 0},
        {113, platform::ControlKind::Label, 5, 8, 50, 25, "Font Ht", 0},
        {114, platform::ControlKind::Label, 330, 8, 20, 25, "W", 0},
    };
    const std::vector<platform::ControlInfo> shown = platform::WindowControls(obj::TtfViewWindow);
    ASSERT_EQ(shown.size(), std::size(controls));
    for (size_t i = 0; i < shown.size(); ++i) {
        const auto& c = controls[i];
        const platform::ControlInfo& got = shown[i];
        EXPECT_EQ(got.Number, c.number);
        EXPECT_TRUE(got.Kind == c.kind && got.X == c.x && got.Y == c.y && got.Width == c.w && got.Height == c.h)
            << c.number;
        EXPECT_EQ(got.Text, c.text);
        EXPECT_EQ(got.State, c.state);
    }
    EXPECT_EQ(platform::FocusedControl(), obj::TtfChartCanvas);

    // Changed by the user, then "Import TTF Font" again: only the list and
    // the marks start afresh.
    platform::SetText(obj::TtfHeightField, "32");
    platform::SetState(obj::TtfDegreeBox, 1);
    platform::SetState(obj::TtfWeightSpin, 8);
    Send(obj::TtfWeightSpin, ControlEvent::Change);
    EXPECT_EQ(platform::GetText(obj::TtfWeightSpin), "8");
    ClickCode(3);
    ClickCode(4);
    platform::AddItem(obj::TtfCodePageList, -1, "stray");
    platform::SetState(obj::TtfCodePageList, 1);
    ImportTtfFont(s);
    EXPECT_EQ(platform::GetText(obj::TtfHeightField), "32");
    EXPECT_EQ(platform::GetState(obj::TtfDegreeBox), 1);
    EXPECT_EQ(platform::GetState(obj::TtfWeightSpin), 8);
    EXPECT_EQ(platform::CountItems(obj::TtfCodePageList), 1);
    EXPECT_EQ(platform::GetState(obj::TtfCodePageList), 0);
    EXPECT_EQ(s.ChartFirst, -1);
    EXPECT_EQ(s.ChartLast, -1);
}

// Unsaved changes: Yes keeps the editor as it is, No opens the view.
TEST_F(TtfView, AsksAboutUnsavedChangesFirst)
{
    s.Modified = 1;
    ask->MessageAnswers = {platform::MessageResult::Yes, platform::MessageResult::No};
    ImportTtfFont(s);
    EXPECT_FALSE(platform::IsWindow(obj::TtfViewWindow));
    EXPECT_EQ(s.Modified, 1);
    ImportTtfFont(s);
    EXPECT_TRUE(platform::IsWindow(obj::TtfViewWindow));
    EXPECT_EQ(s.Modified, 0);
    ASSERT_EQ(ask->Messages.size(), 2u);
    EXPECT_EQ(ask->Messages[0].Text, "Do you want to save changes first?");
}

TEST_F(TtfView, CellNamesAndToolTips)
{
    ImportTtfFont(s);
    const struct {
        int x, y;
        const char* tip;
    } moves[] = {
        {15, 45, "&h00 First"}, {494, 524, "&hFF First"}, {100, 200, "&h52 First"},
        {0, 0, "&h00 First"},   {44, 74, "&h00 First"},   {45, 75, "&h11 First"},
    };
    for (const auto& m : moves) {
        Send(obj::TtfChartCanvas, ControlEvent::MouseMove, m.x, m.y);
        EXPECT_EQ(platform::GetToolTip(obj::TtfChartCanvas), m.tip) << m.x << "," << m.y;
    }
    EXPECT_EQ(s.ChartMouseY, 75);
    Send(obj::TtfChartCanvas, ControlEvent::MouseMove, 3, 10);
    EXPECT_EQ(s.ChartMouseY, 45) << "raised to the chart's top";
    Send(obj::TtfChartCanvas, ControlEvent::LeftClick, 3, 10);
    Send(obj::TtfChartCanvas, ControlEvent::MouseMove, 100, 200);
    EXPECT_EQ(platform::GetToolTip(obj::TtfChartCanvas), "&h52 Last");
}

TEST_F(TtfView, MarksMakeARangeInEitherOrder)
{
    ImportTtfFont(s);
    // A click before any move marks code 0.
    Send(obj::TtfChartCanvas, ControlEvent::LeftClick, 300, 300);
    EXPECT_EQ(s.ChartFirst, 0);
    EXPECT_EQ(s.ChartLast, -1);
    EXPECT_EQ(Marked(), "0 ");
    Send(obj::TtfChartCanvas, ControlEvent::RightClick, 300, 300);
    EXPECT_EQ(s.ChartFirst, -1);
    EXPECT_EQ(Marked(), "");

    const struct {
        std::vector<int> clicks;
        int first, last;
        const char* grey;
    } cases[] = {
        {{65, 70}, 65, 70, "65 66 67 68 69 70 "},
        {{70, 65}, 65, 70, "65 66 67 68 69 70 "},
        {{65}, 65, -1, "65 "},
        {{65, 65}, 65, 65, "65 "},
        {{65, 70, 62}, 62, 65, "62 63 64 65 "},  // the old last mark is dropped
        {{65, 70, 72}, 65, 72, "65 66 67 68 69 70 71 72 "},
    };
    for (const auto& c : cases) {
        Send(obj::TtfChartCanvas, ControlEvent::RightClick, 300, 300);
        for (int code : c.clicks)
            ClickCode(code);
        EXPECT_EQ(s.ChartFirst, c.first);
        EXPECT_EQ(s.ChartLast, c.last);
        EXPECT_EQ(Marked(), c.grey);
    }

    // Right of or below the chart there is no cell: nothing is marked.
    Send(obj::TtfChartCanvas, ControlEvent::RightClick, 300, 300);
    for (auto [x, y] : {std::pair{495, 100}, std::pair{100, 525}, std::pair{499, 549}}) {
        Click(x, y);
        EXPECT_EQ(s.ChartFirst, -1) << x << "," << y;
    }
    MarkChartCell(s, "&h100");
    EXPECT_EQ(s.ChartFirst, -1);
}

// "Font..." loads the code page, takes the chooser's face and style and
// titles the window; reopening brings the first title back.
TEST_F(TtfView, FontButtonTakesTheChoiceAndTitlesTheWindow)
{
    ImportTtfFont(s);
    ask->FontAnswers.push_back(platform::FontChoice{true, "DejaVu Serif", 20, platform::StyleBold});
    Send(obj::TtfFontButton, ControlEvent::LeftClick);
    EXPECT_EQ(s.TtfFontName, "DejaVu Serif");
    EXPECT_EQ(s.TtfFontStyle, 256);
    EXPECT_EQ(s.TtfPointSize, 16);
    EXPECT_EQ(s.CodePageTable[0x01], 0x263A);
    EXPECT_EQ(platform::GetWindowTitle(obj::TtfViewWindow), "Glyphery:  DejaVu Serif");
    const platform::Image chart = platform::GetCanvasImage(obj::TtfChartCanvas);
    int ink = 0;
    for (int y = 45; y < 525; ++y)
        for (int x = 15; x < 495; ++x)
            ink += chart.Get(x, y) != RGB(255, 255, 255);
    EXPECT_GT(ink, 5000) << "the chart is drawn";

    s.Event.Kind = platform::EventKind::CloseWindow;
    s.Event.Window = obj::TtfViewWindow;
    TtfViewEvent(s);
    EXPECT_FALSE(platform::IsWindow(obj::TtfViewWindow));
    EXPECT_EQ(s.TtfViewW, 520);
    EXPECT_EQ(s.TtfViewH, 600);
    ImportTtfFont(s);
    EXPECT_EQ(platform::GetWindowTitle(obj::TtfViewWindow), "TrueType Font View");
    EXPECT_EQ(s.TtfFontName, "DejaVu Serif") << "the face outlives the window";
}

// Shift + "Font...": a font file is registered and its first four letters
// become the chooser's initial face, which a cancelled chooser reports back.
TEST_F(TtfView, ShiftFontTakesAFontFile)
{
    const std::string debian = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    const std::string lettering = program.Put("Lettering.ttf", TempFolder::Read(debian));
    const std::string notFont = program.Put("Notes.ttf", "not a font");
    const struct {
        std::string path;
        const char* face;
    } cases[] = {
        {debian, "Deja"},
        {lettering, "Lett"},
        {notFont, "Lett"},  // not registered: the face stays
        {"", "Lett"},       // cancelled
    };
    ImportTtfFont(s);
    ask->Shift = true;
    for (const auto& c : cases) {
        ask->Titles.clear();
        ask->OpenAnswers.push_back(c.path);
        Send(obj::TtfFontButton, ControlEvent::LeftClick);
        EXPECT_EQ(s.TtfFontName, c.face) << c.path;
        EXPECT_EQ(ask->Titles, (std::vector<std::string>{"TTF font file", "Font"}));
        EXPECT_EQ(platform::GetWindowTitle(obj::TtfViewWindow), std::string("Glyphery:  ") + c.face);
    }
    ask->Shift = false;
    ask->Titles.clear();
    Send(obj::TtfFontButton, ControlEvent::LeftClick);
    EXPECT_EQ(ask->Titles, (std::vector<std::string>{"Font"})) << "no file requester without Shift";
}

}  // namespace
