// The "Font View" window on the real GUI layer (offscreen): the sheet in
// image 90, clicks mapped back to characters, resize and close. The driver
// script menu_commands dumps the sheet of a font from code 65 as well.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/fontview.h"
#include "core/fontstore.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"
#include "tests/platform/await_active.h"

namespace {

using platform::RGB;

const platform::Rgb Grey = RGB(196, 196, 196);
const platform::Rgb White = RGB(255, 255, 255);
const platform::Rgb Black = RGB(0, 0, 0);

// Pixel pattern distinct per code, so a glyph in the wrong cell shows.
bool Pattern(int code, int x, int y) { return (x * 7 + y * 3 + code) % 5 < 2; }

std::string PatternGlyph(int code, int w, int h)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    int value = 0;
    for (int i = 0; i < w * h; ++i) {
        if (Pattern(code, i % w, i / w)) value |= 1 << (7 - i % 8);
        if (i % 8 == 7) {
            text += {'0', 'x', digits[value >> 4], digits[value & 15], ','};
            value = 0;
        }
    }
    return text;
}

// "x,y wxh" of a control.
std::string Place(int control)
{
    return std::to_string(platform::ControlX(control)) + "," + std::to_string(platform::ControlY(control)) + " " +
           std::to_string(platform::ControlWidth(control)) + "x" + std::to_string(platform::ControlHeight(control));
}
class FontView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(platform::InitGui());
        auto scripted = std::make_unique<platform::ScriptedRequesters>();
        requesters = scripted.get();
        platform::UseRequesters(std::move(scripted));
    }
    void TearDown() override
    {
        platform::CloseWindow(69);
        platform::CloseWindow(0);
    }

    void MakeFont(int w, int h, int start, int count)
    {
        s.FontWidth = w;
        s.FontHeight = h;
        s.FontStart = start;
        s.FontCount = count;
        s.Grid.Create(w + 2, h + 2);
        for (auto& row : s.CharData) row[1].clear();
        for (int c = start; c < start + count; ++c) s.CharData[size_t(c)][1] = PatternGlyph(c, w, h);
    }

    // A main window with just the character list, so a pick can select.
    void OpenCharacterList()
    {
        ASSERT_TRUE(platform::OpenWindow(0, 10, 10, 400, 200, "Glyphery", platform::WindowTitleBar));
        ASSERT_TRUE(platform::ComboBoxControl(0, 12, 235, 8, 100, 25));
        for (int i = 0; i < s.FontCount; ++i) platform::AddItem(12, -1, "Chr$(" + std::to_string(s.FontStart + i) + ")");
    }

    // Compares image 90 with the sheet expected for the font in `s`, each
    // glyph decoded by the codec.
    void ExpectSheet(int rows)
    {
        const int W = s.FontWidth, H = s.FontHeight;
        const int p = H <= 24 ? 2 : 1;
        const int SW = 16 * (W + 1) * p + 2;
        const int SH = rows * (H + 1) * p + 2;
        EXPECT_EQ(s.FontViewRows, rows);
        platform::Image* sheet = platform::GetImage(90);
        ASSERT_NE(sheet, nullptr);
        ASSERT_EQ(sheet->Width, SW);
        ASSERT_EQ(sheet->Height, SH);

        std::vector<platform::Rgb> expected(size_t(SW) * size_t(SH), Grey);
        State codec;
        codec.FontWidth = W;
        codec.FontHeight = H;
        codec.Grid.Create(W + 2, H + 2);
        for (int c = s.FontStart; c < s.FontStart + s.FontCount; ++c) {
            HexToChar(codec, s.CharData[size_t(c)][1]);
            const int k = s.FontStart % 16 + (c - s.FontStart);
            for (int y = 0; y < H * p; ++y)
                for (int x = 0; x < W * p; ++x) {
                    const int px = 2 + (W + 1) * p * (k % 16) + x;
                    const int py = 2 + (H + 1) * p * (k / 16) + y;
                    expected[size_t(py) * size_t(SW) + size_t(px)] = codec.Grid(x / p, y / p) == 1 ? White : Black;
                }
        }
        int wrong = 0;
        for (int y = 0; y < SH; ++y)
            for (int x = 0; x < SW; ++x)
                if (sheet->Get(x, y) != expected[size_t(y) * size_t(SW) + size_t(x)] && ++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << sheet->Get(x, y);
        EXPECT_EQ(wrong, 0);
    }

    void Send(platform::EventKind kind, platform::ControlEvent type = platform::ControlEvent::None, int x = 0, int y = 0)
    {
        int object = kind == platform::EventKind::Control ? 70 : -1;
        s.Event = platform::Event{kind, 69, object, type, x, y};
        FontViewEvent(s);
    }

    // Clicks the canvas at the centre of the sheet cell (column, row), for
    // the canvas width in force.
    void ClickCell(int column, int row, platform::ControlEvent type = platform::ControlEvent::LeftClick)
    {
        const int p = s.FontViewPixel;
        const double scale = platform::ControlWidth(70) / (16.0 * (s.FontWidth + 1) * p + 2);
        const double x = 2 + (s.FontWidth + 1) * p * (column + 0.5);
        const double y = 2 + (s.FontHeight + 1) * p * (row + 0.5);
        Send(platform::EventKind::Control, type, int(x * scale), int(y * scale));
    }

    // After a pick: the label, the list position and the character in the editor.
    std::string Picked()
    {
        return platform::GetText(71) + " | " + std::to_string(platform::GetState(12)) + " " +
               std::to_string(s.CurrentChar);
    }

    State s;
    platform::ScriptedRequesters* requesters = nullptr;
};

TEST_F(FontView, SheetOf95CharactersFrom32AndItsResize)
{
    MakeFont(16, 24, 32, 95);
    OpenCharacterList();
    ViewFont(s);

    ASSERT_TRUE(platform::IsWindow(69));
    EXPECT_EQ(platform::GetWindowTitle(69), "Font View");
    EXPECT_EQ(platform::WindowWidth(69), 566);
    EXPECT_EQ(platform::WindowHeight(69), 362);
    EXPECT_EQ(Place(70), "10,50 546x302");
    EXPECT_EQ(Place(71), "10,10 200x25");
    EXPECT_EQ(platform::GetText(71), "");
    ExpectSheet(6);

    // Hand-checked layout: grey margins, the first glyph at (2, 2), the gap.
    platform::Image* sheet = platform::GetImage(90);
    EXPECT_EQ(sheet->Get(1, 1), Grey);
    EXPECT_EQ(sheet->Get(2, 2), Pattern(32, 0, 0) ? White : Black);
    EXPECT_EQ(sheet->Get(35, 10), Grey);
    EXPECT_EQ(sheet->Get(545, 301), Grey);

    // The sheet shows one to one on the canvas right after opening.
    ASSERT_TRUE(platform::StartDrawingCanvas(70));
    EXPECT_EQ(platform::Point(2, 2), sheet->Get(2, 2));
    EXPECT_EQ(platform::Point(100, 60), sheet->Get(100, 60));
    platform::StopDrawing();

    // A smaller window: the canvas follows it and the sheet is drawn smaller,
    // the last cell (no glyph) in scale; clicks still find their codes.
    platform::ResizeWindow(69, platform::WindowX(69), platform::WindowY(69), 300, 250);
    Send(platform::EventKind::SizeWindow);
    EXPECT_EQ(Place(70), "10,50 " + std::to_string(platform::WindowWidth(69) - 20) + "x" +
                             std::to_string(platform::WindowHeight(69) - 20));
    const int w = platform::ControlWidth(70);
    ASSERT_TRUE(platform::StartDrawingCanvas(70));
    EXPECT_EQ(platform::Point((2 + 34 * 15 + 17) * w / 546, (2 + 50 * 5 + 25) * w / 546), Grey);
    platform::StopDrawing();
    for (int code : {32, 65, 90, 126}) {
        ClickCell((code - 32) % 16, (code - 32) / 16);
        EXPECT_EQ(s.CurrentChar, code);
    }
    ClickCell(15, 5);  // code 127, beyond the font
    EXPECT_EQ(Picked(), " | 94 126");

    // Below the smaller sheet the canvas is cleared: nothing of the sheet
    // drawn one to one before (its grey margin at x = 1) is left there.
    ASSERT_TRUE(platform::StartDrawingCanvas(70));
    const int drawn = w * 302 / 546;
    ASSERT_GT(platform::OutputHeight(), drawn + 10);
    EXPECT_EQ(platform::Point(1, drawn + 5), White);
    EXPECT_EQ(platform::Point(1, platform::OutputHeight() - 1), White);
    platform::StopDrawing();
}

TEST_F(FontView, BigSheetOpensNoLargerThanTheScreen)
{
    // 128 x 96 pixels, 112 characters: a sheet of 2066 x 778.
    MakeFont(128, 96, 32, 112);
    OpenCharacterList();
    ViewFont(s);
    int x = 0, y = 0, screenW = 0, screenH = 0;
    platform::ScreenArea(69, x, y, screenW, screenH);
    ASSERT_GT(screenW, 0);
    ASSERT_LT(screenW, 2086) << "the test needs a screen narrower than the sheet";
    EXPECT_LE(platform::WindowWidth(69, false), screenW);
    EXPECT_LE(platform::WindowHeight(69, false), screenH);
    EXPECT_LE(platform::WindowX(69) + platform::WindowWidth(69, false), x + screenW) << "the close box in reach";
    EXPECT_GE(platform::WindowX(69), x);

    // The canvas keeps the sheet's aspect and the sheet fills it; image 90
    // keeps its full size for saving.
    const int cw = platform::ControlWidth(70), ch = platform::ControlHeight(70);
    EXPECT_EQ(ch, cw * 778 / 2066);
    EXPECT_EQ(platform::GetImage(90)->Width, 2066);
    EXPECT_EQ(platform::GetImage(90)->Height, 778);

    for (int code : {32, 100, 143}) {
        ClickCell((code - 32) % 16, (code - 32) / 16);
        EXPECT_EQ(s.CurrentChar, code);
    }
}

TEST_F(FontView, PixelSizeAndRows)
{
    // 16 characters from 48: one whole row, and an empty one below it.
    MakeFont(8, 24, 48, 16);
    ViewFont(s);
    ExpectSheet(2);
    MakeFont(8, 25, 48, 16);
    ViewFont(s);
    EXPECT_EQ(platform::WindowWidth(69), 16 * 9 + 2 + 20);
    EXPECT_EQ(platform::WindowHeight(69), 2 * 26 + 2 + 60);
    ExpectSheet(2);
}

TEST_F(FontView, EveryGlyphFitsWhenTheFirstRowStartsLate)
{
    // 13 characters from 46: columns 14 and 15 of the first row, then 11 more.
    MakeFont(8, 12, 46, 13);
    ViewFont(s);
    ExpectSheet(2);

    // The last glyph (code 58) is picked from the second row.
    OpenCharacterList();
    ClickCell(10, 1);
    EXPECT_EQ(Picked(), "Chr$(58),    Chr$($3A) | 12 58");
}

TEST_F(FontView, ClicksPickCharacters)
{
    MakeFont(8, 8, 65, 26);
    OpenCharacterList();
    ViewFont(s);

    // The click hands the focus back to the main window.
    platform::ActivateWindow(69);
    ASSERT_EQ(AwaitActive(69), 69);
    ClickCell(1, 0);
    EXPECT_EQ(Picked(), "Chr$(65),    Chr$($41) | 0 65");
    EXPECT_EQ(AwaitActive(0), 0);
    ClickCell(2, 1);  // code 64 + 16 + 2
    EXPECT_EQ(Picked(), "Chr$(82),    Chr$($52) | 17 82");

    // Code 64 lies before the font, code 91 after it: the label clears and
    // nothing is selected.
    ClickCell(0, 0);
    EXPECT_EQ(Picked(), " | 17 82");
    ClickCell(11, 1);
    EXPECT_EQ(Picked(), " | 17 82");

    // Row 2 x (19 / 290 x 290 / 38) is just below 1 in double precision and
    // exactly 1 in single precision: the click falls in the second row.
    Send(platform::EventKind::Control, platform::ControlEvent::LeftClick, 29, 19);
    EXPECT_EQ(s.CurrentChar, 81);

    // Low codes: the label of code 10; code 0 never selects.
    MakeFont(8, 8, 0, 16);
    platform::CloseWindow(0);
    OpenCharacterList();
    ViewFont(s);
    ClickCell(10, 0);
    EXPECT_EQ(Picked(), "Chr$(10),    Chr$($0A) | 10 10");
    ClickCell(0, 0);
    EXPECT_EQ(Picked(), " | 10 10");
}

TEST_F(FontView, GeometryKeptOnlyByTheCloseBox)
{
    MakeFont(8, 8, 32, 20);
    s.FontViewX = 150;
    s.FontViewY = 120;
    ViewFont(s);
    const int x = platform::WindowX(69), y = platform::WindowY(69);

    // Reopening forgets where the window was moved.
    platform::ResizeWindow(69, x + 100, y + 50, 200, 150);
    ViewFont(s);
    EXPECT_EQ((std::vector<int>{platform::WindowX(69), platform::WindowY(69), platform::WindowWidth(69)}),
              (std::vector<int>{x, y, 16 * 18 + 2 + 20}));

    platform::ResizeWindow(69, x + 100, y + 50, 200, 150);
    Send(platform::EventKind::CloseWindow);
    EXPECT_FALSE(platform::IsWindow(69));
    EXPECT_EQ((std::vector<int>{s.FontViewX, s.FontViewY, s.FontViewW, s.FontViewH}),
              (std::vector<int>{x + 100, y + 50, 200, 150}));
    EXPECT_TRUE(platform::IsImage(90));  // image 90 outlives the window
}

TEST_F(FontView, RightClickOffersToSaveTheSheet)
{
    MakeFont(8, 8, 32, 4);
    ViewFont(s);
    ClickCell(0, 0, platform::ControlEvent::RightClick);
    ASSERT_FALSE(requesters->Titles.empty());
    EXPECT_EQ(requesters->Titles.back(), "Save font As image");
}

TEST_F(FontView, GridKeepsTheEditorsGlyph)
{
    MakeFont(8, 8, 32, 10);
    s.CurrentChar = 35;
    HexToChar(s, s.CharData[35][1]);
    s.Grid(3, 3) = s.Grid(3, 3) == 1 ? 0 : 1;  // an edit not stored yet
    s.Grid(8, 2) = 1;                          // the border column too
    const GridArray before = s.Grid;
    const auto data = s.CharData;

    ViewFont(s);
    EXPECT_EQ(s.Grid.Cells, before.Cells);
    EXPECT_EQ(s.CharData, data);
    EXPECT_EQ(s.Modified, 0);
    // The sheet shows the glyph as the editor does, edit included: pixel
    // (3, 3) of code 35 (column 3, p = 2).
    EXPECT_EQ(platform::GetImage(90)->Get(2 + 18 * 3 + 6, 2 + 6), s.Grid(3, 3) == 1 ? White : Black);
    EXPECT_EQ(platform::GetImage(90)->Get(2 + 18 * 2 + 6, 2 + 6), Pattern(34, 3, 3) ? White : Black);

    // With no character in the editor the grid is left alone as well.
    s.CurrentChar = -1;
    ViewFont(s);
    EXPECT_EQ(s.Grid.Cells, before.Cells);
}

TEST_F(FontView, OddGlyphTextsDrawAsTheCodecReadsThem)
{
    // Lower-case digits, one-digit tokens, missing and surplus tokens, a
    // blank-led field, a non-ASCII character, an empty text; 5 x 7 leaves a
    // partial last byte.
    MakeFont(5, 7, 32, 6);
    s.CharData[32][1] = "0xff,0x1,0xAB,";
    s.CharData[33][1] = "";
    s.CharData[34][1] = "  0x3C,0X81,0xF0,0x0F,0x55,0x66,";
    s.CharData[35][1] = "0x12";
    s.CharData[36][1] = "garbage,,0x,0xZ1,";
    s.CharData[37][1] = "\xC3\xA9" "041,0xFF,";  // a two-byte character counts as one
    ViewFont(s);
    ExpectSheet(1);
}

TEST_F(FontView, SheetTooBigIsRefused)
{
    MakeFont(8, 8, 32, 16);
    // Too many pixels; then few, but wider than any image may be.
    for (auto [w, h] : {std::pair{4000, 4000}, {40000, 1}}) {
        s.FontWidth = w;
        s.FontHeight = h;
        ViewFont(s);
        EXPECT_FALSE(platform::IsWindow(69));
    }
    ASSERT_EQ(requesters->Messages.size(), 2u);
    EXPECT_EQ(requesters->Messages[0].Title, "Oops!");
}

TEST_F(FontView, LargeFontSheet)
{
    MakeFont(128, 128, 32, 224);
    ViewFont(s);
    EXPECT_EQ(platform::GetImage(90)->Height, 15 * 129 + 2);
}

}  // namespace
