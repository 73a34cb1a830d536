// The editor canvas: cell size, window and canvas geometry, the drawn grid,
// painting with the mouse and the status text; then the character list. The
// main window's controls are made for real (offscreen), so sizes and canvas
// pixels can be read back.
#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/editor.h"
#include "core/fontstore.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

using platform::RGB;
using platform::Rgb;

constexpr Rgb Black = RGB(0, 0, 0);
constexpr Rgb White = RGB(255, 255, 255);
constexpr Rgb Grey = RGB(127, 127, 127);
constexpr Rgb Red = RGB(255, 0, 0);

Rgb CanvasPixel(int x, int y)
{
    EXPECT_TRUE(platform::StartDrawingCanvas(1));
    const Rgb c = platform::Point(x, y);
    platform::StopDrawing();
    return c;
}

class EditorCanvas : public ::testing::Test {
protected:
    State s;
    platform::ScriptedRequesters* ask = new platform::ScriptedRequesters;

    // The main window with the controls the editor drives, at their opening
    // geometry for a 16 x 24 glyph.
    void SetUp() override
    {
        platform::UseRequesters(std::unique_ptr<platform::ScriptedRequesters>(ask));
        ASSERT_TRUE(platform::InitGui());
        s.FontWidth = 16;
        s.FontHeight = 24;
        s.CellSize = 10;
        s.Grid.Create(18, 26);
        ASSERT_TRUE(platform::OpenWindow(0, 200, 200, 200, 310, "Glyphery",
                                         platform::WindowTitleBar | platform::WindowSystemMenu |
                                             platform::WindowSizeable | platform::WindowMinimizeBox));
        ASSERT_TRUE(platform::ComboBoxControl(0, 12, 235, 8, 100, 25));
        ASSERT_TRUE(platform::TextControl(0, 40, 5, 12, 172, 25, ""));
        ASSERT_TRUE(platform::ScrollAreaControl(0, 2, 10, 40, 185, 265, 160, 240));
        ASSERT_TRUE(platform::CanvasControl(0, 1, 0, 0, 160, 240, 2));
    }
    void TearDown() override { platform::CloseWindow(0); }

    void UseSize(int w, int h)
    {
        s.FontWidth = w;
        s.FontHeight = h;
        SetupGrid(s);
    }
    // A canvas event of the main window as the dispatch hands it on.
    void Click(int x, int y, int mode)
    {
        s.Event.MouseX = x;
        s.Event.MouseY = y;
        PaintGridCell(s, mode);
    }
};

TEST(EditorCellSize, ChosenFromTheGlyphSize)
{
    const int cases[][3] = {{50, 50, 10}, {51, 50, 8}, {50, 51, 8}, {80, 80, 8},
                            {81, 8, 6},   {8, 81, 6},  {81, 81, 6}, {8, 8, 10}};
    for (const auto& [w, h, cell] : cases) {
        State s;
        s.FontWidth = w;
        s.FontHeight = h;
        s.CurrentChar = -1;
        SetupGrid(s);  // no window: only the state changes
        EXPECT_EQ(s.CellSize, cell) << w << " x " << h;
        EXPECT_EQ(std::pair(s.Grid.Columns, s.Grid.Rows), std::pair(w + 2, h + 2));
    }
}

TEST_F(EditorCanvas, WindowAndCanvasFitTheGlyph)
{
    // Glyph size, then the window's inner size and the canvas size.
    const int cases[][6] = {{16, 24, 345, 315, 160, 240}, {32, 50, 365, 575, 320, 500}, {128, 128, 813, 843, 768, 768}};
    for (const auto& [w, h, windowW, windowH, canvasW, canvasH] : cases) {
        UseSize(w, h);
        EXPECT_EQ(platform::WindowWidth(0), windowW);
        EXPECT_EQ(platform::WindowHeight(0), windowH);
        EXPECT_EQ(platform::ControlWidth(1), canvasW);
        EXPECT_EQ(platform::ControlHeight(1), canvasH);
        EXPECT_EQ(std::pair(platform::WindowX(0), platform::WindowY(0)), std::pair(200, 200)) << "the window stays";
        EXPECT_EQ(std::pair(platform::ControlX(2), platform::ControlY(2)), std::pair(10, 40));
        // The rule's room for a frame; without a frame (offscreen) the rule
        // would hide the glyph's bottom rows, so the area shows it whole.
        const int border = 2 * platform::ScrollAreaBorder(2);
        EXPECT_EQ(platform::ControlWidth(2), std::max(platform::WindowWidth(0, false) - 20, canvasW + border));
        EXPECT_EQ(platform::ControlHeight(2), std::max(platform::WindowHeight(0, false) - 95, canvasH + border));
    }
}

TEST_F(EditorCanvas, GridLinesAndBaseline)
{
    const int heights[][2] = {{8, 6}, {16, 13}, {24, 20}};
    for (const auto& [h, baseline] : heights) {
        UseSize(8, h);
        const int c = s.CellSize;
        for (int y = 0; y < h; y++)
            EXPECT_EQ(CanvasPixel(c / 2, y * c), y == baseline ? Red : Grey) << "H " << h << " row " << y;
        EXPECT_EQ(CanvasPixel(0, c / 2), Grey);
        EXPECT_EQ(CanvasPixel(3 * c, c / 2), Grey);
        EXPECT_EQ(CanvasPixel(c / 2, c / 2), Black);
        EXPECT_EQ(CanvasPixel(8 * c - 1, h * c - 1), Black);  // no line on the right or bottom edge
    }
}

TEST_F(EditorCanvas, SetupGridShowsTheCurrentCharacter)
{
    s.FontStart = 65;
    s.FontCount = 1;
    s.CharData[65][1] = "0x80,";  // top-left pixel, the rest clear
    s.PasteBuffer = "0xFF,";
    s.CurrentChar = 65;
    UseSize(16, 24);
    EXPECT_EQ(std::pair(s.Grid(0, 0), s.Grid(1, 0)), std::pair(1, 0));
    EXPECT_EQ(CanvasPixel(5, 5), White);
    EXPECT_EQ(CanvasPixel(15, 5), Black);
    EXPECT_TRUE(s.PasteBuffer.empty());
    EXPECT_EQ(platform::GetText(40), "16 x 24      Chr$(65) to Chr$(65)");

    s.CurrentChar = -1;
    UseSize(16, 24);
    EXPECT_EQ(s.Grid(0, 0), 0);
    EXPECT_EQ(CanvasPixel(5, 5), Black);
}

TEST_F(EditorCanvas, ClicksSetAndClearTheCellUnderTheMouse)
{
    UseSize(16, 24);
    // Canvas position, mode, the cell it reaches: a few pixels left of or
    // above the canvas still count as column or row 0; the border column and
    // row can be reached.
    const int cases[][5] = {{0, 0, 1, 0, 0},    {9, 9, 1, 0, 0},      {10, 0, 1, 1, 0},  {19, 9, 0, 1, 0},
                            {-5, 35, 1, 0, 3},  {45, -9, 1, 4, 0},    {165, 5, 1, 16, 0}, {5, 245, 1, 0, 24},
                            {165, 245, 1, 16, 24}};
    for (const auto& [x, y, mode, cx, cy] : cases) {
        Click(x, y, mode);
        EXPECT_EQ(s.Grid(cx, cy), mode) << x << "," << y;
    }
    EXPECT_EQ(CanvasPixel(15, 5), Black);  // (1, 0) set, then cleared
    EXPECT_EQ(CanvasPixel(10, 5), Grey);   // the line stays
    EXPECT_EQ(CanvasPixel(5, 35), White);

    // Nothing beyond.
    const auto before = s.Grid.Cells;
    const int outside[][2] = {{-10, 35}, {35, -10}, {170, 5}, {5, 250}};
    for (const auto& [x, y] : outside)
        Click(x, y, 1);
    EXPECT_EQ(s.Grid.Cells, before);

    // Painting touches neither the table nor Modified.
    EXPECT_TRUE(s.CharData[32][1].empty());
    EXPECT_EQ(s.Modified, 0);
}

TEST_F(EditorCanvas, ClearCharacterClearsTheBorderToo)
{
    UseSize(16, 24);
    s.Grid.Cells.assign(s.Grid.Cells.size(), 1);
    ClearCharacter(s);
    for (int x = 0; x <= 16; x++)
        for (int y = 0; y <= 24; y++)
            EXPECT_EQ(s.Grid(x, y), 0);
    EXPECT_EQ(s.Grid(17, 0), 1);  // the spare column is left alone
    EXPECT_EQ(CanvasPixel(5, 5), Black);
}

TEST_F(EditorCanvas, PaintGridShowsEveryCell)
{
    UseSize(128, 128);
    for (int x = 0; x < 128; x++)
        for (int y = 0; y < 128; y++)
            s.Grid(x, y) = (x + y) % 2;
    s.Grid(5, 7) = 2;  // only exactly 1 is set
    PaintGrid(s);
    const int c = s.CellSize;
    EXPECT_EQ(CanvasPixel(1 * c + 2, 0 * c + 2), White);
    EXPECT_EQ(CanvasPixel(1 * c + 2, 1 * c + 2), Black);
    EXPECT_EQ(CanvasPixel(127 * c + 3, 126 * c + 3), White);
    EXPECT_EQ(CanvasPixel(5 * c + 3, 7 * c + 3), Black);
    EXPECT_EQ(CanvasPixel(c, 2), Grey);
}

// ---- The character list -------------------------------------------------------

// A 16 x 24 glyph text whose first byte is `first`, the rest clear.
std::string Glyph(int first)
{
    std::string text = "0x" + platform::RSet(platform::Hex(first), 2, '0') + ",";
    for (int i = 1; i < 48; i++)
        text += "0x00,";
    return text;
}

const std::string ClearGlyph = Glyph(0);

class CharList : public EditorCanvas {
protected:
    // A font of `count` characters from `first`, listed and selected the way
    // the readers leave it; glyph i has the first byte i + 1.
    void LoadFont(int first, int count)
    {
        s.CharData.assign(CharTableRows, CharRow{});
        MakeCharLabels(s);
        s.FontStart = first;
        s.FontCount = count;
        platform::ClearItems(12);
        for (int i = 0; i < count; i++) {
            platform::AddItem(12, -1, s.CharData[size_t(first + i)][2]);
            s.CharData[size_t(first + i)][1] = Glyph((i + 1) & 255);
        }
        s.CurrentChar = -1;
        SetupGrid(s);
        SelectCharacter(s);
        s.Modified = 0;
    }
    void Select(int position)
    {
        platform::SetState(12, position);
        SelectCharacter(s);
    }
    int Position() { return platform::GetState(12); }
    // The font and its list in one line: first code + count, list items,
    // list position and the code in the editor; and the status text when it
    // does not show the font's range.
    std::string List()
    {
        using std::to_string;
        const std::string status = "16 x 24      Chr$(" + to_string(s.FontStart) + ") to Chr$(" +
                                   to_string(s.FontStart + s.FontCount - 1) + ")";
        return to_string(s.FontStart) + "+" + to_string(s.FontCount) + " items " + to_string(platform::CountItems(12)) +
               " at " + to_string(Position()) + " char " + to_string(s.CurrentChar) +
               (platform::GetText(40) == status ? "" : ", status " + platform::GetText(40));
    }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> texts;
        for (int c = 0; c < CharTableRows; c++)
            texts.push_back(s.CharData[size_t(c)][1]);
        return texts;
    }
};

TEST(CharLabels, LabelsOfTheCodes)
{
    State s;
    s.CharData[256][2] = "kept";
    MakeCharLabels(s);
    const std::vector<std::pair<int, std::string>> labels = {
        {32, "Chr$(32)   "}, {65, "Chr$(65)  A"}, {126, "Chr$(126)  ~"}, {92, "Chr$(92) backslash"}, {0, "Chr$(0) "},
        {10, "Chr$(10) "},   {31, "Chr$(31) "},   {127, "Chr$(127) "},   {255, "Chr$(255) "},          {256, "kept"}};
    for (const auto& [code, label] : labels)
        EXPECT_EQ(s.CharData[size_t(code)][2], label);
}

TEST_F(CharList, NextAndPrevious)
{
    LoadFont(32, 3);
    PreviousCharacter(s);  // at the first: stays
    NextCharacter(s);
    EXPECT_EQ(s.SelectedGlyph, Glyph(2));
    EXPECT_EQ(CharToHex(s), Glyph(2));
    NextCharacter(s);
    NextCharacter(s);  // at the last: stays
    EXPECT_EQ(List(), "32+3 items 3 at 2 char 34");
    PreviousCharacter(s);
    EXPECT_EQ(s.CurrentChar, 33);

    // No selection: Previous does nothing, Next picks the first.
    platform::SetState(12, -1);
    PreviousCharacter(s);
    EXPECT_EQ(List(), "32+3 items 3 at -1 char 33");
    NextCharacter(s);
    EXPECT_EQ(List(), "32+3 items 3 at 0 char 32");
    EXPECT_EQ(s.Modified, 0);  // stepping without drawing changes nothing
}

TEST_F(CharList, StoreBackAndModified)
{
    LoadFont(32, 3);
    Select(2);
    EXPECT_EQ(s.Modified, 0);
    Click(15, 5, 1);  // pixel (1, 0)
    EXPECT_EQ(s.CharData[34][1], Glyph(3));  // not before the store-back
    Select(0);
    EXPECT_EQ(s.CharData[34][1], Glyph(3 | 0x40));
    EXPECT_EQ(s.Modified, 1);

    // A glyph never stored (empty text) is stored as explicit clear pixels.
    s.Modified = 0;
    s.CharData[33][1].clear();
    Select(1);
    EXPECT_EQ(CharToHex(s), ClearGlyph);
    Select(0);
    EXPECT_EQ(s.CharData[33][1], ClearGlyph);
    EXPECT_EQ(s.Modified, 1);

    // The comparison is exact: lower-case digits differ from the encoding.
    s.Modified = 0;
    s.CharData[32][1] = "0xff," + std::string(ClearGlyph, 5);
    s.CurrentChar = -1;
    Select(0);
    EXPECT_EQ(s.Grid(7, 0), 1);
    EXPECT_EQ(s.Modified, 0);
    StoreBackGlyph(s);
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CharData[32][1], Glyph(0xFF));
}

TEST_F(CharList, AskSaveFirst)
{
    EXPECT_TRUE(AskSaveFirst(s));  // nothing to save: no question
    s.Modified = 1;
    // A box closed without an answer keeps the changes, as Yes does.
    ask->MessageAnswers = {platform::MessageResult::Yes, platform::MessageResult::Cancel, platform::MessageResult::No};
    EXPECT_FALSE(AskSaveFirst(s));
    EXPECT_FALSE(AskSaveFirst(s));
    EXPECT_TRUE(AskSaveFirst(s));
    EXPECT_EQ(ask->Messages.size(), 3u);
    EXPECT_EQ(s.Modified, 1);
}

// Adding and deleting on a font of `count` characters from `first`, list
// position `at` selected: the font and list afterwards, the first and last
// items, and the message shown. A font starting at 0 asks for its first
// code, which gets `answer`.
TEST_F(CharList, AddAndDeleteAtBothEnds)
{
    struct Case {
        int first, count, at;
        void (*command)(State&, int);
        int atEnd;
        std::string answer, list, items;
        std::optional<std::string> refused;  // the answer or code in the message, if one is shown
    };
    const std::string zeroToThree = "0+4 items 4 at 0 char 0";
    const Case cases[] = {
        {32, 95, 94, AddCharacter, 1, "", "32+96 items 96 at 95 char 127", "Chr$(32)   |Chr$(127)  \x7F", {}},
        {32, 95, 3, AddCharacter, 0, "", "31+96 items 96 at 0 char 31", "Chr$(31) |Chr$(126)  ~", {}},
        // Nothing goes before code 1; the editor stays with the character it shows.
        {1, 3, 2, AddCharacter, 0, "", "1+3 items 3 at 2 char 3", "Chr$(1) |Chr$(3) ", {}},
        {0, 4, 0, AddCharacter, 1, "65", "65+5 items 5 at 4 char 69", "Chr$(0) |Chr$(69)  E", {}},
        {0, 4, 0, AddCharacter, 0, "65", "64+5 items 5 at 0 char 64", "Chr$(64)  @|Chr$(3) ", {}},
        {0, 4, 0, AddCharacter, 0, "1", "1+4 items 4 at 0 char 1", "Chr$(0) |Chr$(3) ", {}},
        {0, 4, 0, AddCharacter, 0, "", zeroToThree, "Chr$(0) |Chr$(3) ", ""},
        {0, 4, 0, AddCharacter, 1, "0", zeroToThree, "Chr$(0) |Chr$(3) ", "0"},
        {0, 4, 0, AddCharacter, 1, "254", zeroToThree, "Chr$(0) |Chr$(3) ", "254"},
        {0, 4, 0, AddCharacter, 1, "300", zeroToThree, "Chr$(0) |Chr$(3) ", "300"},
        {0, 4, 0, AddCharacter, 1, "-3", zeroToThree, "Chr$(0) |Chr$(3) ", "-3"},
        // No code beyond 255, also not for a font of every code rebased by the answer.
        {250, 6, 5, AddCharacter, 1, "", "250+6 items 6 at 5 char 255", "Chr$(250) |Chr$(255) ", "256"},
        {0, 256, 0, AddCharacter, 1, "32", "0+256 items 256 at 0 char 0", "Chr$(0) |Chr$(255) ", "288"},
        // A first code above 253 from a file: refused, no question asked.
        {254, 2, 0, AddCharacter, 0, "", "254+2 items 2 at 0 char 254", "Chr$(254) |Chr$(255) ", ""},
        {32, 3, 2, DeleteCharacter, 1, "", "32+2 items 2 at 1 char 33", "Chr$(32)   |Chr$(33)  !", {}},
        {32, 1, 0, DeleteCharacter, 1, "", "32+0 items 0 at -1 char 31", "", {}},
        {32, 0, 0, DeleteCharacter, 1, "", "32+0 items 0 at -1 char 31", "", {}},  // nothing to delete
        // Another character selected stays selected; the selected one leaves
        // no selection and the editor keeps it under its old code.
        {32, 3, 2, DeleteCharacter, 0, "", "33+2 items 2 at 1 char 34", "Chr$(33)  !|Chr$(34)  \"", {}},
        {32, 3, 0, DeleteCharacter, 0, "", "33+2 items 2 at -1 char 32", "Chr$(33)  !|Chr$(34)  \"", {}},
    };
    for (const Case& c : cases) {
        LoadFont(c.first, c.count);
        Select(c.at);
        if (c.command == AddCharacter && c.atEnd == 0)
            s.CurrentChar = s.FontStart;  // as the menu command does
        ask->InputAnswers = {c.answer};
        ask->Messages.clear();
        c.command(s, c.atEnd);
        const std::string what = std::to_string(c.first) + "+" + std::to_string(c.count) + " " + c.answer;
        EXPECT_EQ(List(), c.list) << what;
        const int n = platform::CountItems(12);
        EXPECT_EQ(n ? platform::GetItemText(12, 0) + "|" + platform::GetItemText(12, n - 1) : "", c.items) << what;
        const std::string shown = ask->Messages.empty() ? "none" : ask->Messages[0].Title + "|" + ask->Messages[0].Text;
        EXPECT_EQ(shown, c.refused ? "Oops!|" + *c.refused + " is not a valid character" : "none") << what;
        EXPECT_EQ(ask->InputAnswers.empty(), c.first == 0) << what << ": asked for the first code";
    }
}

// Edits in the editor across adding and deleting.
TEST_F(CharList, EditsAcrossAddingAndDeleting)
{
    // At the end: the drawing goes to the character being edited, nothing
    // else changes, and the new character shows blank.
    LoadFont(32, 95);
    Select(94);
    Click(5, 5, 1);
    auto expected = Texts();
    expected[126] = Glyph(95 | 0x80);
    AddCharacter(s, 1);
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(CharToHex(s), ClearGlyph);
    EXPECT_EQ(s.Modified, 1);

    // At the beginning the drawing is dropped: every glyph text is kept.
    LoadFont(32, 95);
    Select(3);
    Click(5, 5, 1);
    expected = Texts();
    s.CurrentChar = s.FontStart;
    AddCharacter(s, 0);
    EXPECT_EQ(CharToHex(s), ClearGlyph);
    EXPECT_EQ(Texts(), expected);
    Select(1);
    EXPECT_EQ(CharToHex(s), Glyph(1));

    // Nothing goes before code 1: the drawing is stored where it was made.
    LoadFont(1, 3);
    Select(2);
    Click(5, 5, 1);
    s.CurrentChar = s.FontStart;
    AddCharacter(s, 0);
    Select(0);
    EXPECT_EQ(s.CharData[3][1], Glyph(3 | 0x80));
    EXPECT_EQ(s.CharData[1][1], Glyph(1));

    // Deleting stores the edit first, and erases no glyph text.
    LoadFont(32, 3);
    Select(0);
    Click(5, 5, 1);
    DeleteCharacter(s, 0);
    DeleteCharacter(s, 1);
    EXPECT_EQ(s.CharData[32][1], Glyph(1 | 0x80));
    EXPECT_EQ(s.CharData[34][1], Glyph(3));
}

// Setting up the grid for the question about the first code does not lose
// the edit: it goes to its own character first, and the editor still shows
// it, also when the answer is refused.
TEST_F(CharList, FontStartingAtZeroKeepsTheEdit)
{
    LoadFont(0, 4);
    Select(3);
    Click(15, 5, 1);  // pixel (1, 0) of code 3, not stored yet
    auto expected = Texts();
    expected[3] = Glyph(4 | 0x40);
    ask->InputAnswers = {"300"};
    AddCharacter(s, 1);
    EXPECT_EQ(ask->Titles.front(), "New font");
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CurrentChar, 3);
    EXPECT_EQ(CharToHex(s), Glyph(4 | 0x40));
    Select(3);  // the list still maps to codes inside the table
    EXPECT_EQ(s.CurrentChar, 3);
    EXPECT_EQ(CharToHex(s), Glyph(4 | 0x40));

    Click(25, 5, 1);  // pixel (2, 0)
    ask->InputAnswers = {"65"};
    AddCharacter(s, 1);
    EXPECT_EQ(s.CharData[3][1], Glyph(4 | 0x60));
    EXPECT_EQ(s.CurrentChar, 69);
}

TEST_F(CharList, RemovedGlyphComesBackAfterAddingAgain)
{
    LoadFont(32, 3);
    Select(2);
    DeleteCharacter(s, 1);
    AddCharacter(s, 1);
    EXPECT_EQ(s.CurrentChar, 34);
    EXPECT_EQ(CharToHex(s), ClearGlyph);  // shown blank
    EXPECT_EQ(s.SelectedGlyph, Glyph(3));  // what Restore puts back
    EXPECT_EQ(s.CharData[34][1], Glyph(3));
    EXPECT_EQ(s.Modified, 0);
    Select(0);  // without Restore the blank glyph replaces it
    EXPECT_EQ(s.CharData[34][1], ClearGlyph);
    EXPECT_EQ(s.Modified, 1);
}

}  // namespace
