// The editor canvas: cell size, window and canvas geometry, the drawn grid,
// painting with the mouse and the status text. The main window's controls
// are made for real (offscreen), so sizes and canvas pixels can be read back.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
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

// The main window with the controls the editor drives, at their opening
// geometry for the glyph size in `s`.
void OpenMainWindow(const State& s)
{
    const int w = s.FontWidth * s.CellSize;
    const int h = s.FontHeight * s.CellSize;
    ASSERT_TRUE(platform::OpenWindow(0, 200, 200, w + 40, h + 70, "Glyphery",
                                     platform::WindowTitleBar | platform::WindowSystemMenu |
                                         platform::WindowSizeable | platform::WindowMinimizeBox));
    ASSERT_TRUE(platform::ButtonControl(0, 11, 180, 8, 50, 25, "Restore"));
    ASSERT_TRUE(platform::ComboBoxControl(0, 12, 235, 8, 100, 25));
    ASSERT_TRUE(platform::TextControl(0, 40, 5, 12, 172, 25, ""));
    ASSERT_TRUE(platform::ScrollAreaControl(0, 2, 10, 40, w + 25, h + 25, w, h));
    ASSERT_TRUE(platform::CanvasControl(0, 1, 0, 0, w, h, 2));
}

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
    platform::ScriptedRequesters* ask = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(platform::InitGui());
        auto requesters = std::make_unique<platform::ScriptedRequesters>();
        ask = requesters.get();
        platform::UseRequesters(std::move(requesters));
        s.FontWidth = 16;
        s.FontHeight = 24;
        s.CellSize = 10;
        s.Grid.Create(18, 26);
        OpenMainWindow(s);
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
    struct Case {
        int w, h, cell;
    };
    const Case cases[] = {{50, 50, 10}, {51, 50, 8}, {50, 51, 8}, {80, 80, 8},
                          {81, 8, 6},   {8, 81, 6},  {81, 81, 6}, {8, 8, 10}};
    for (const Case& c : cases) {
        State s;
        s.FontWidth = c.w;
        s.FontHeight = c.h;
        s.CurrentChar = -1;
        SetupGrid(s);  // no window: only the state changes
        EXPECT_EQ(s.CellSize, c.cell) << c.w << " x " << c.h;
        EXPECT_EQ(s.Grid.Columns, c.w + 2);
        EXPECT_EQ(s.Grid.Rows, c.h + 2);
    }
}

TEST_F(EditorCanvas, WindowAndCanvasFitTheGlyph)
{
    UseSize(16, 24);
    EXPECT_EQ(platform::WindowWidth(0), 345);
    EXPECT_EQ(platform::WindowHeight(0), 315);
    EXPECT_EQ(platform::WindowX(0), 200);
    EXPECT_EQ(platform::WindowY(0), 200);
    EXPECT_EQ(platform::ControlWidth(1), 160);
    EXPECT_EQ(platform::ControlHeight(1), 240);

    UseSize(32, 50);
    EXPECT_EQ(platform::WindowWidth(0), 365);
    EXPECT_EQ(platform::WindowHeight(0), 575);
    EXPECT_EQ(platform::ControlWidth(1), 320);
    EXPECT_EQ(platform::ControlHeight(1), 500);
    EXPECT_EQ(platform::ControlX(2), 10);
    EXPECT_EQ(platform::ControlY(2), 40);
    EXPECT_EQ(platform::ControlWidth(2), platform::WindowWidth(0, false) - 20);
    EXPECT_EQ(platform::ControlHeight(2), platform::WindowHeight(0, false) - 95);

    UseSize(128, 128);
    EXPECT_EQ(s.CellSize, 6);
    EXPECT_EQ(platform::WindowWidth(0), 128 * 6 + 45);
    EXPECT_EQ(platform::WindowHeight(0), 128 * 6 + 75);
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
    EXPECT_EQ(s.Grid(0, 0), 1);
    EXPECT_EQ(s.Grid(1, 0), 0);
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
    Click(0, 0, 1);
    EXPECT_EQ(s.Grid(0, 0), 1);
    Click(9, 9, 1);
    Click(10, 0, 1);
    EXPECT_EQ(s.Grid(1, 0), 1);
    EXPECT_EQ(CanvasPixel(15, 5), White);
    EXPECT_EQ(CanvasPixel(10, 5), Grey);  // the line stays
    Click(19, 9, 0);
    EXPECT_EQ(s.Grid(1, 0), 0);
    EXPECT_EQ(CanvasPixel(15, 5), Black);

    // A few pixels left of or above the canvas still count as column or row 0.
    Click(-5, 35, 1);
    EXPECT_EQ(s.Grid(0, 3), 1);
    Click(45, -9, 1);
    EXPECT_EQ(s.Grid(4, 0), 1);
    const auto before = s.Grid.Cells;
    Click(-10, 35, 1);
    Click(35, -10, 1);
    EXPECT_EQ(s.Grid.Cells, before);

    // The border column and row can be reached, nothing beyond.
    Click(165, 5, 1);
    EXPECT_EQ(s.Grid(16, 0), 1);
    Click(5, 245, 1);
    EXPECT_EQ(s.Grid(0, 24), 1);
    Click(165, 245, 1);
    EXPECT_EQ(s.Grid(16, 24), 1);
    const auto withBorder = s.Grid.Cells;
    Click(170, 5, 1);
    Click(5, 250, 1);
    EXPECT_EQ(s.Grid.Cells, withBorder);

    // Painting touches neither the table nor Modified.
    EXPECT_TRUE(s.CharData[32][1].empty());
    EXPECT_EQ(s.Modified, 0);
}

TEST(EditorNoCanvas, PaintingNeedsTheCanvas)
{
    State s;
    s.FontWidth = 8;
    s.FontHeight = 8;
    SetupGrid(s);
    s.Event.MouseX = 5;
    s.Event.MouseY = 5;
    PaintGridCell(s, 1);
    EXPECT_EQ(s.Grid(0, 0), 0);
}

TEST_F(EditorCanvas, ClearCharacterClearsTheBorderToo)
{
    UseSize(16, 24);
    for (int x = 0; x <= 17; x++)
        for (int y = 0; y <= 25; y++)
            s.Grid(x, y) = 1;
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
    const auto start = std::chrono::steady_clock::now();
    PaintGrid(s);
    const auto took = std::chrono::steady_clock::now() - start;
    const int c = s.CellSize;
    EXPECT_EQ(CanvasPixel(1 * c + 2, 0 * c + 2), White);
    EXPECT_EQ(CanvasPixel(1 * c + 2, 1 * c + 2), Black);
    EXPECT_EQ(CanvasPixel(127 * c + 3, 126 * c + 3), White);
    EXPECT_EQ(CanvasPixel(5 * c + 3, 7 * c + 3), Black);
    EXPECT_EQ(CanvasPixel(c, 2), Grey);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 500);
}

}  // namespace

// ---- The character list -------------------------------------------------------

namespace {

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
    EXPECT_EQ(s.CharData[32][2], "Chr$(32)   ");
    EXPECT_EQ(s.CharData[65][2], "Chr$(65)  A");
    EXPECT_EQ(s.CharData[126][2], "Chr$(126)  ~");
    EXPECT_EQ(s.CharData[92][2], "Chr$(92) backslash");
    EXPECT_EQ(s.CharData[0][2], "Chr$(0) ");
    EXPECT_EQ(s.CharData[10][2], "Chr$(10) ");
    EXPECT_EQ(s.CharData[31][2], "Chr$(31) ");
    EXPECT_EQ(s.CharData[127][2], "Chr$(127) ");
    EXPECT_EQ(s.CharData[255][2], "Chr$(255) ");
    EXPECT_EQ(s.CharData[256][2], "kept");
}

TEST_F(CharList, NextAndPrevious)
{
    LoadFont(32, 3);
    EXPECT_EQ(s.CurrentChar, 32);
    PreviousCharacter(s);
    EXPECT_EQ(Position(), 0);
    EXPECT_EQ(s.CurrentChar, 32);
    NextCharacter(s);
    EXPECT_EQ(Position(), 1);
    EXPECT_EQ(s.CurrentChar, 33);
    EXPECT_EQ(s.SelectedGlyph, Glyph(2));
    EXPECT_EQ(CharToHex(s), Glyph(2));
    NextCharacter(s);
    NextCharacter(s);
    EXPECT_EQ(Position(), 2);
    EXPECT_EQ(s.CurrentChar, 34);
    PreviousCharacter(s);
    EXPECT_EQ(s.CurrentChar, 33);

    platform::SetState(12, -1);
    PreviousCharacter(s);
    EXPECT_EQ(Position(), -1);
    EXPECT_EQ(s.CurrentChar, 33);
    NextCharacter(s);
    EXPECT_EQ(Position(), 0);
    EXPECT_EQ(s.CurrentChar, 32);
    EXPECT_EQ(s.Modified, 0);  // stepping without drawing changes nothing
}

TEST_F(CharList, StoreBackAndModified)
{
    LoadFont(32, 3);
    Select(1);
    Select(2);
    EXPECT_EQ(s.Modified, 0);

    Click(15, 5, 1);  // pixel (1, 0)
    EXPECT_EQ(s.CharData[34][1], Glyph(3));  // not before the store-back
    Select(0);
    EXPECT_EQ(s.CharData[34][1], Glyph(3 | 0x40));
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CurrentChar, 32);

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

    // Nothing is bound: nothing is stored.
    s.Modified = 0;
    s.CurrentChar = -1;
    Click(5, 5, 0);
    StoreBackGlyph(s);
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(s.CharData[32][1], Glyph(0xFF));
}

TEST_F(CharList, AskSaveFirst)
{
    s.Modified = 0;
    EXPECT_TRUE(AskSaveFirst(s));
    EXPECT_TRUE(ask->Messages.empty());
    s.Modified = 1;
    // A box closed without an answer keeps the changes, as Yes does.
    ask->MessageAnswers = {platform::MessageResult::Yes, platform::MessageResult::Cancel,
                           platform::MessageResult::No};
    EXPECT_FALSE(AskSaveFirst(s));
    EXPECT_FALSE(AskSaveFirst(s));
    EXPECT_TRUE(AskSaveFirst(s));
    ASSERT_EQ(ask->Messages.size(), 3u);
    EXPECT_EQ(ask->Messages[0].Title, "Oops!");
    EXPECT_EQ(ask->Messages[0].Text, "Do you want to save changes first?");
    EXPECT_EQ(s.Modified, 1);
}

TEST_F(CharList, AddAtTheEnd)
{
    LoadFont(32, 95);
    Select(94);
    Click(5, 5, 1);
    const auto before = Texts();
    AddCharacter(s, 1);
    EXPECT_EQ(s.FontStart, 32);
    EXPECT_EQ(s.FontCount, 96);
    ASSERT_EQ(platform::CountItems(12), 96);
    EXPECT_EQ(platform::GetItemText(12, 95), "Chr$(127)  " + platform::Chr(127));
    EXPECT_EQ(Position(), 95);
    EXPECT_EQ(s.CurrentChar, 127);
    EXPECT_EQ(CharToHex(s), ClearGlyph);
    EXPECT_EQ(CanvasPixel(5, 5), Black);
    // The drawing went to the character being edited, nothing else changed.
    auto expected = before;
    expected[126] = Glyph(95 | 0x80);
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(platform::GetText(40), "16 x 24      Chr$(32) to Chr$(127)");
    EXPECT_TRUE(ask->Messages.empty());
}

TEST_F(CharList, AddAtTheBeginning)
{
    LoadFont(32, 95);
    Select(3);
    Click(5, 5, 1);  // dropped: adding at the beginning keeps every glyph text
    const auto before = Texts();
    s.CurrentChar = s.FontStart;  // as the menu command does
    AddCharacter(s, 0);
    EXPECT_EQ(s.FontStart, 31);
    EXPECT_EQ(s.FontCount, 96);
    ASSERT_EQ(platform::CountItems(12), 96);
    EXPECT_EQ(platform::GetItemText(12, 0), "Chr$(31) ");
    EXPECT_EQ(platform::GetItemText(12, 1), "Chr$(32)   ");
    EXPECT_EQ(Position(), 0);
    EXPECT_EQ(s.CurrentChar, 31);
    EXPECT_EQ(CharToHex(s), ClearGlyph);
    EXPECT_EQ(Texts(), before);
    EXPECT_EQ(platform::GetText(40), "16 x 24      Chr$(31) to Chr$(126)");
    Select(1);
    EXPECT_EQ(CharToHex(s), Glyph(1));
}

TEST_F(CharList, NothingIsAddedBeforeCodeOne)
{
    LoadFont(1, 3);
    Select(2);
    Click(5, 5, 1);
    s.CurrentChar = s.FontStart;
    AddCharacter(s, 0);
    EXPECT_EQ(s.FontStart, 1);
    EXPECT_EQ(s.FontCount, 3);
    EXPECT_EQ(platform::CountItems(12), 3);
    EXPECT_TRUE(ask->Messages.empty());
    // The editor is bound to the character it shows again: the drawing is
    // stored there, not into the first character.
    EXPECT_EQ(s.CurrentChar, 3);
    Select(0);
    EXPECT_EQ(s.CharData[3][1], Glyph(3 | 0x80));
    EXPECT_EQ(s.CharData[1][1], Glyph(1));
}

TEST_F(CharList, FontStartingAtZeroAsksForTheFirstCode)
{
    LoadFont(0, 4);
    Select(3);
    Click(15, 5, 1);  // pixel (1, 0) of code 3, not stored yet
    auto expected = Texts();
    for (const std::string answer : {"0", "", "254", "300", "-3"}) {
        ask->InputAnswers = {answer};
        AddCharacter(s, 1);
        ASSERT_FALSE(ask->Messages.empty());
        EXPECT_EQ(ask->Messages.back().Title, "Oops!");
        EXPECT_EQ(ask->Messages.back().Text, answer + " is not a valid character");
        EXPECT_EQ(s.FontStart, 0) << answer;
        EXPECT_EQ(s.FontCount, 4);
        EXPECT_EQ(platform::CountItems(12), 4);
        EXPECT_EQ(platform::GetText(40), "16 x 24      Chr$(0) to Chr$(3)");
    }
    EXPECT_EQ(ask->Messages.size(), 5u);
    EXPECT_EQ(ask->Titles.front(), "New font");
    // Setting up the grid for the question did not lose the edit: it went to
    // its own character first, and the editor still shows it.
    expected[3] = Glyph(4 | 0x40);
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CurrentChar, 3);
    EXPECT_EQ(CharToHex(s), Glyph(4 | 0x40));
    // The list still maps to codes inside the table.
    Select(3);
    EXPECT_EQ(s.CurrentChar, 3);
    EXPECT_EQ(CharToHex(s), Glyph(4 | 0x40));

    Click(25, 5, 1);  // pixel (2, 0)
    ask->InputAnswers = {"65"};
    AddCharacter(s, 1);
    EXPECT_EQ(s.CharData[3][1], Glyph(4 | 0x60));
    EXPECT_EQ(s.FontStart, 65);
    EXPECT_EQ(s.FontCount, 5);
    ASSERT_EQ(platform::CountItems(12), 5);
    EXPECT_EQ(platform::GetItemText(12, 4), "Chr$(69)  E");
    EXPECT_EQ(Position(), 4);
    EXPECT_EQ(s.CurrentChar, 69);
    EXPECT_EQ(CharToHex(s), ClearGlyph);
    EXPECT_EQ(platform::GetText(40), "16 x 24      Chr$(65) to Chr$(69)");
    EXPECT_EQ(ask->Messages.size(), 5u);
}

TEST_F(CharList, FontStartingAtZeroAddingAtTheBeginning)
{
    LoadFont(0, 4);
    ask->InputAnswers = {""};
    s.CurrentChar = s.FontStart;
    AddCharacter(s, 0);
    EXPECT_EQ(ask->Messages.back().Text, " is not a valid character");
    EXPECT_EQ(s.FontStart, 0);
    EXPECT_EQ(s.CurrentChar, Position() + s.FontStart);

    ask->InputAnswers = {"65"};
    s.CurrentChar = s.FontStart;
    AddCharacter(s, 0);
    EXPECT_EQ(s.FontStart, 64);
    EXPECT_EQ(s.FontCount, 5);
    EXPECT_EQ(platform::GetItemText(12, 0), "Chr$(64)  @");
    EXPECT_EQ(s.CurrentChar, 64);

    // A first code of 1 is valid and kept, but nothing goes before it.
    LoadFont(0, 4);
    ask->InputAnswers = {"1"};
    s.CurrentChar = s.FontStart;
    AddCharacter(s, 0);
    EXPECT_EQ(s.FontStart, 1);
    EXPECT_EQ(s.FontCount, 4);
    EXPECT_EQ(s.CurrentChar, Position() + 1);
    EXPECT_EQ(ask->Messages.size(), 1u);
}

TEST_F(CharList, NoCodeBeyond255)
{
    LoadFont(250, 6);
    Select(5);
    AddCharacter(s, 1);
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Title, "Oops!");
    EXPECT_EQ(ask->Messages[0].Text, "256 is not a valid character");
    EXPECT_EQ(s.FontCount, 6);
    EXPECT_EQ(platform::CountItems(12), 6);
    EXPECT_EQ(s.CurrentChar, 255);

    // A font of every code rebased by the answer would run past 255.
    LoadFont(0, 256);
    ask->InputAnswers = {"32"};
    AddCharacter(s, 1);
    EXPECT_EQ(ask->Messages.back().Text, "288 is not a valid character");
    EXPECT_EQ(s.FontStart, 0);
    EXPECT_EQ(s.FontCount, 256);

    // A first code above 253 from a file: refused, no question asked.
    LoadFont(254, 2);
    AddCharacter(s, 0);
    EXPECT_EQ(ask->Messages.back().Text, " is not a valid character");
    EXPECT_EQ(s.FontCount, 2);
}

TEST_F(CharList, DeleteLast)
{
    LoadFont(32, 3);
    Select(2);
    DeleteCharacter(s, 1);
    EXPECT_EQ(s.FontCount, 2);
    EXPECT_EQ(platform::CountItems(12), 2);
    EXPECT_EQ(Position(), 1);
    EXPECT_EQ(s.CurrentChar, 33);
    EXPECT_EQ(s.CharData[34][1], Glyph(3));  // not erased
    EXPECT_EQ(platform::GetText(40), "16 x 24      Chr$(32) to Chr$(33)");

    DeleteCharacter(s, 1);
    DeleteCharacter(s, 1);
    EXPECT_EQ(s.FontCount, 0);
    EXPECT_EQ(platform::CountItems(12), 0);
    EXPECT_EQ(Position(), -1);
    EXPECT_EQ(s.CurrentChar, 31);
    EXPECT_EQ(platform::GetText(40), "16 x 24      Chr$(32) to Chr$(31)");
    DeleteCharacter(s, 1);  // empty font: nothing removed
    EXPECT_EQ(s.FontCount, 0);
    EXPECT_EQ(s.FontStart, 32);
}

TEST_F(CharList, DeleteFirst)
{
    LoadFont(32, 3);
    Select(2);
    DeleteCharacter(s, 0);  // another character selected: it stays selected
    EXPECT_EQ(s.FontStart, 33);
    EXPECT_EQ(s.FontCount, 2);
    EXPECT_EQ(Position(), 1);
    EXPECT_EQ(s.CurrentChar, 34);
    EXPECT_EQ(platform::GetItemText(12, 0), "Chr$(33)  !");

    Select(0);
    Click(5, 5, 1);
    const auto before = Texts();
    DeleteCharacter(s, 0);  // the selected one goes
    EXPECT_EQ(s.FontStart, 34);
    EXPECT_EQ(s.FontCount, 1);
    EXPECT_EQ(Position(), -1);
    EXPECT_EQ(s.CurrentChar, 33);  // the removed glyph, under its old code
    EXPECT_EQ(CharToHex(s), Glyph(2 | 0x80));
    auto expected = before;
    expected[33] = Glyph(2 | 0x80);
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(platform::GetText(40), "16 x 24      Chr$(34) to Chr$(34)");
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
