// The whole-font commands and New. Unless a test opens the main window, the
// character list has no selection and the frame shows the font's first
// character again (the fonts here start at code 1 for that reason).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/commands.h"
#include "core/editor.h"
#include "core/fontstore.h"
#include "core/objects.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/requesters.h"

namespace {

using Pixels = std::vector<std::pair<int, int>>;
using Texts = std::vector<std::string>;

std::string Glyph(int w, int h, const Pixels& pixels)
{
    State t;
    t.FontWidth = w;
    t.FontHeight = h;
    t.Grid.Create(w + 2, h + 2);
    for (const auto& [x, y] : pixels)
        t.Grid(x, y) = 1;
    return CharToHex(t);
}

// Row 0 of an 8 x 2 glyph set from column `from` to column `to`.
std::string Columns(int from, int to)
{
    Pixels p;
    for (int x = from; x <= to; x++)
        p.push_back({x, 0});
    return Glyph(8, 2, p);
}

class FontCommands : public ::testing::Test {
protected:
    State s;
    platform::ScriptedRequesters* ask = new platform::ScriptedRequesters;

    void SetUp() override { platform::UseRequesters(std::unique_ptr<platform::ScriptedRequesters>(ask)); }

    // A font as a reader leaves it, with its first character in the editor.
    void Load(int w, int h, const Texts& texts, int start = 1)
    {
        s.FontWidth = w;
        s.FontHeight = h;
        s.FontStart = start;
        s.FontCount = int(texts.size());
        s.CharData.assign(CharTableRows, CharRow{});
        for (size_t i = 0; i < texts.size(); i++)
            s.CharData[size_t(start) + i][1] = texts[i];
        s.CurrentChar = -1;
        SetupGrid(s);
        s.CurrentChar = start;
        s.SelectedGlyph = s.CharData[size_t(start)][1];
        HexToChar(s, s.SelectedGlyph);
        s.Modified = 0;
    }

    const std::string& Text(int code) const { return s.CharData[size_t(code)][1]; }

    // The stored texts of codes 1 to `count`.
    Texts Stored(int count) const
    {
        Texts out;
        for (int c = 1; c <= count; c++)
            out.push_back(Text(c));
        return out;
    }

    // The glyph in the editor as a glyph text.
    std::string Shown() const { return CharToHex(s); }
};

}  // namespace

TEST_F(FontCommands, CentreBalancesTheEmptyColumns)
{
    // Margins 0 and 3: one to the right; 3 and 0: one to the left; 1 and 2
    // or 2 and 1: stay; full and empty glyphs stay.
    Load(8, 2, {Columns(0, 4), Columns(3, 7), Columns(1, 5), Columns(2, 6), Columns(0, 7), Glyph(8, 2, {})});
    s.Grid(8, 0) = s.Grid(8, 1) = 1;  // pushed into the border by a shift: must not come in
    CentreFont(s);
    const Texts centred = {Columns(1, 5), Columns(2, 6), Columns(1, 5), Columns(2, 6), Columns(0, 7), Glyph(8, 2, {})};
    EXPECT_EQ(Stored(6), centred);
    EXPECT_EQ(s.CurrentChar, 1);
    EXPECT_EQ(Shown(), Text(1));
    EXPECT_EQ(s.Modified, 1);

    // A second run changes nothing and flags nothing.
    s.Modified = 0;
    CentreFont(s);
    EXPECT_EQ(Stored(6), centred);
    EXPECT_EQ(s.Modified, 0);

    // 5 x 3: the surplus bits of a second token fall on column 0 of the
    // border row; decoded as set, they count as occupying that column.
    Load(5, 3, {Glyph(5, 3, {}), "0x08,0x01,", "0x08,0x00,"});
    CentreFont(s);
    EXPECT_EQ(Stored(3), (Texts{Glyph(5, 3, {}), Glyph(5, 3, {{4, 0}}), Glyph(5, 3, {{2, 0}})}));
}

TEST_F(FontCommands, LeftAlignMovesGlyphsFromColumnTwoOn)
{
    Load(8, 3, {Glyph(8, 3, {{1, 0}, {3, 2}}), Glyph(8, 3, {{2, 1}, {4, 2}}), Glyph(8, 3, {})});
    LeftAlignFont(s);
    EXPECT_EQ(Stored(3), (Texts{Glyph(8, 3, {{1, 0}, {3, 2}}), Glyph(8, 3, {{0, 1}, {2, 2}}), Glyph(8, 3, {})}));
}

TEST_F(FontCommands, EditsInTheEditorAreNotLost)
{
    Load(8, 2, {Glyph(8, 2, {{0, 0}}), Glyph(8, 2, {{1, 1}})});
    s.Grid(5, 0) = 1;  // drawn, not stored yet
    ShiftFont(s, 1, 0);
    EXPECT_EQ(Text(1), Glyph(8, 2, {{1, 0}, {6, 0}}));
    EXPECT_EQ(s.Modified, 1);

    Load(8, 8, {Glyph(8, 8, {})});
    s.Grid(7, 7) = 1;
    ask->InputAnswers = {"16 x 16"};
    ResizeFont(s);
    EXPECT_EQ(Text(1), Glyph(16, 16, {{7, 7}}));
}

TEST_F(FontCommands, FrameShowsTheSelectedCharacterAgain)
{
    ASSERT_TRUE(platform::InitGui());
    ASSERT_TRUE(platform::OpenWindow(obj::MainWindow, 200, 200, 400, 300, "Glyphery", 0));
    ASSERT_TRUE(platform::ComboBoxControl(obj::MainWindow, obj::CharList, 235, 8, 100, 25));
    Load(8, 8, {Glyph(8, 8, {{0, 0}}), Glyph(8, 8, {{1, 1}}), Glyph(8, 8, {{2, 2}})}, 40);
    for (int i = 0; i < 3; i++)
        platform::AddItem(obj::CharList, -1, "item");
    platform::SetState(obj::CharList, 1);
    DoubleWidthFont(s);
    EXPECT_EQ(s.CurrentChar, 41);
    EXPECT_EQ(platform::GetState(obj::CharList), 1);
    EXPECT_EQ(Shown(), Text(41));
    EXPECT_EQ(s.SelectedGlyph, Text(41)) << "Restore puts back a glyph of the new size";

    // No selection: the code before the first one.
    platform::SetState(obj::CharList, -1);
    CentreFont(s);
    EXPECT_EQ(s.CurrentChar, 39);
    platform::CloseWindow(obj::MainWindow);
}

TEST_F(FontCommands, DoublingUpTo128AndRefusedAbove)
{
    Load(128, 128, {Glyph(128, 128, {{0, 0}, {127, 127}}), Glyph(128, 128, {{5, 0}})});
    DoubleSizeFont(s);
    EXPECT_EQ(s.FontHeader, "0x100,0x100,0x01,0x02,");
    const Pixels corners = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {254, 254}, {255, 254}, {254, 255}, {255, 255}};
    EXPECT_EQ(Stored(2), (Texts{Glyph(256, 256, corners), Glyph(256, 256, {{10, 0}, {11, 0}, {10, 1}, {11, 1}})}));
    EXPECT_EQ(Shown(), Text(1));
    EXPECT_EQ(s.Modified, 1);
    EXPECT_TRUE(ask->Messages.empty());

    // 129 wide, or 200 tall: refused either way.
    Load(129, 8, {Glyph(129, 8, {{0, 0}})});
    DoubleSizeFont(s);
    EXPECT_EQ(s.FontWidth, 129);
    Load(8, 200, {Glyph(8, 200, {{0, 0}})});
    DoubleWidthFont(s);
    EXPECT_EQ(s.FontWidth, 8);
    EXPECT_EQ(s.Modified, 0);
    ASSERT_EQ(ask->Messages.size(), 2u);
    for (const auto& message : ask->Messages)
        EXPECT_EQ(message.Title + "|" + message.Text, "Oops!|That would be too big.");
}

TEST_F(FontCommands, ResizeAnswers)
{
    Load(16, 24, {Glyph(16, 24, {{0, 0}, {8, 15}, {15, 23}})});
    // Each list ends the command without a change: "0", "abc" and "" at
    // once, "3 x 3" and negative sizes are asked again.
    for (const Texts& answers : {Texts{"0"}, Texts{"abc"}, Texts{""}, Texts{"3 x 3", "-8 x -8", ""}}) {
        ask->InputAnswers = {answers.begin(), answers.end()};
        ResizeFont(s);
        EXPECT_TRUE(ask->InputAnswers.empty()) << answers[0];
        EXPECT_EQ(s.FontWidth, 16) << answers[0];
    }
    EXPECT_EQ(ask->Titles.back(), "Current size is 16 by 24 pixels");
    EXPECT_EQ(s.Modified, 0);

    ask->InputAnswers = {"9 x 16"};
    ResizeFont(s);
    EXPECT_EQ(s.PrevFontWidth, 16);
    EXPECT_EQ(s.PrevFontHeight, 24);
    EXPECT_EQ(s.FontHeader, "0x09,0x10,0x01,0x01,");
    EXPECT_EQ(Text(1), Glyph(9, 16, {{0, 0}, {8, 15}}));

    ask->InputAnswers = {"10X8"};
    ResizeFont(s);
    EXPECT_EQ(s.FontHeader, "0x0A,0x08,0x01,0x01,");
    EXPECT_EQ(Text(1), Glyph(10, 8, {{0, 0}}));

    ask->InputAnswers = {"2000 x 8", ""};
    ResizeFont(s);
    EXPECT_EQ(s.FontWidth, 10);
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Text, "2000 x 8 is too big\r\nWidth and Height must be 1024 at most");
}

TEST_F(FontCommands, NewReadsSizesInThreeSpellings)
{
    s.DefaultPreamble = "preamble\r\n";
    for (const char* size : {"16x32", "16 X 32", "16 32"}) {
        Load(8, 8, {Glyph(8, 8, {{1, 1}}), Glyph(8, 8, {{1, 1}})});
        ask->InputAnswers = {"$20", size};
        ask->Titles.clear();
        NewFont(s);
        MakeFontHeader(s);
        EXPECT_EQ(s.FontHeader, "0x10,0x20,0x20,0x01,") << size;
        EXPECT_EQ(s.FileInfo, "preamble\r\n");
        EXPECT_TRUE(Text(2).empty()) << "the old glyphs are gone";
        EXPECT_EQ(ask->Titles, (Texts{"New font", "New font"}));
        EXPECT_TRUE(ask->Messages.empty());
    }
    // The new font's first character was stored back, so New asks first.
    ask->MessageAnswers = {platform::MessageResult::No};
    ask->InputAnswers = {"1", "12 x 6"};
    NewFont(s);
    MakeFontHeader(s);
    EXPECT_EQ(s.FontHeader, "0x0C,0x06,0x01,0x01,");
}

TEST_F(FontCommands, NewRejectsAndKeepsTheFont)
{
    const std::string invalidSize =
        " is not a valid input\r\nMust be Width X Height with\r\nWidth X Height a multiple of 8";
    const std::vector<std::pair<Texts, std::string>> cases = {
        {{"0"}, "0 is not a valid starting character"},
        {{"254"}, "254 is not a valid starting character"},
        {{""}, " is not a valid starting character"},
        {{"32", "16,32"}, "16,32" + invalidSize},
        {{"32", "3 x 5"}, "3 X 5" + invalidSize},
        {{"32", "0 x 8"}, "0 X 8" + invalidSize},
        {{"32", ""}, invalidSize},
        {{"32", "2000 x 8"}, "2000 X 8 is too big\r\nWidth and Height must be 1024 at most"},
    };
    for (const auto& [answers, message] : cases) {
        Load(8, 8, {Glyph(8, 8, {{1, 1}}), Glyph(8, 8, {{2, 2}})});
        s.Modified = 1;
        ask->MessageAnswers = {platform::MessageResult::No};
        ask->InputAnswers = {answers.begin(), answers.end()};
        ask->Messages.clear();
        NewFont(s);
        EXPECT_TRUE(ask->InputAnswers.empty()) << message;
        ASSERT_EQ(ask->Messages.size(), 2u) << message;
        EXPECT_EQ(ask->Messages[1].Title + "|" + ask->Messages[1].Text, "Oops!|" + message);
        MakeFontHeader(s);
        EXPECT_EQ(s.FontHeader, "0x08,0x08,0x01,0x02,");
        EXPECT_EQ(Text(2), Glyph(8, 8, {{2, 2}}));
        EXPECT_EQ(s.Modified, 1) << "the unsaved changes stay flagged";
    }

    // Yes to the save question ends New before anything is asked; the edit
    // in the editor is stored.
    Load(8, 8, {Glyph(8, 8, {{1, 1}})});
    s.Grid(4, 4) = 1;
    ask->Messages.clear();
    ask->MessageAnswers = {platform::MessageResult::Yes};
    ask->InputAnswers = {"32", "16 x 16"};
    NewFont(s);
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Title + "|" + ask->Messages[0].Text, "Oops!|Do you want to save changes first?");
    EXPECT_EQ(ask->InputAnswers.size(), 2u);
    EXPECT_EQ(Text(1), Glyph(8, 8, {{1, 1}, {4, 4}}));
    EXPECT_EQ(s.FontWidth, 8);
}

TEST_F(FontCommands, OddTablesAndEmptyFonts)
{
    Load(8, 8, {Glyph(8, 8, {})});
    s.FontCount = 0;
    s.CurrentChar = -1;
    s.CharData[1][1] = "0x01,";
    LeftAlignFont(s);
    EXPECT_EQ(Text(1), "0x01,") << "no glyph to align";

    // A font reaching past the table, or starting below it: nothing breaks.
    for (const auto& [start, count] : std::vector<std::pair<int, int>>{{250, 100}, {-5, 10}, {300, 2}}) {
        Load(8, 8, {});
        s.FontStart = start;
        s.FontCount = count;
        s.CharData[256][1] = Glyph(8, 8, {{3, 0}});
        CentreFont(s);
        LeftAlignFont(s);
        ShiftFont(s, 0, 1);
        DoubleWidthFont(s);
        ask->InputAnswers = {"8 x 8"};
        ResizeFont(s);
    }
}
