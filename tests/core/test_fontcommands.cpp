// The whole-font commands and New. Unless a test opens the main window, the
// character list has no selection and the frame shows the font's first
// character again (the fonts here start at code 1 for that reason).
#include <gtest/gtest.h>

#include <chrono>
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

// Row 0 set from column `from` to column `to`.
std::string Columns(int w, int h, int from, int to)
{
    Pixels p;
    for (int x = from; x <= to; x++)
        p.push_back({x, 0});
    return Glyph(w, h, p);
}

class FontCommands : public ::testing::Test {
protected:
    State s;
    platform::ScriptedRequesters* ask = nullptr;

    void SetUp() override
    {
        auto requesters = std::make_unique<platform::ScriptedRequesters>();
        ask = requesters.get();
        platform::UseRequesters(std::move(requesters));
    }

    // A font as a reader leaves it, with its first character in the editor.
    void Load(int w, int h, const std::vector<std::string>& texts, int start = 1)
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

    // The glyph in the editor as a glyph text.
    std::string Shown() const { return CharToHex(s); }
};

}  // namespace

TEST_F(FontCommands, CentreBalancesTheEmptyColumns)
{
    Load(8, 2,
         {Columns(8, 2, 0, 4),   // margins 0 and 3: one to the right
          Columns(8, 2, 3, 7),   // 3 and 0: one to the left
          Columns(8, 2, 1, 5),   // 1 and 2: stays
          Columns(8, 2, 2, 6),   // 2 and 1: stays
          Columns(8, 2, 0, 7),   // full
          Glyph(8, 2, {})});
    // A pixel pushed into the border column by a shift must not come in.
    s.Grid(8, 0) = 1;
    s.Grid(8, 1) = 1;
    CentreFont(s);
    EXPECT_EQ(Text(1), Columns(8, 2, 1, 5));
    EXPECT_EQ(Text(2), Columns(8, 2, 2, 6));
    EXPECT_EQ(Text(3), Columns(8, 2, 1, 5));
    EXPECT_EQ(Text(4), Columns(8, 2, 2, 6));
    EXPECT_EQ(Text(5), Columns(8, 2, 0, 7));
    EXPECT_EQ(Text(6), Glyph(8, 2, {}));
    EXPECT_EQ(s.CurrentChar, 1);
    EXPECT_EQ(Shown(), Text(1));
    EXPECT_EQ(s.Modified, 1);

    // A second run changes nothing and flags nothing.
    s.Modified = 0;
    CentreFont(s);
    EXPECT_EQ(Text(2), Columns(8, 2, 2, 6));
    EXPECT_EQ(s.Modified, 0);

    // 5 x 3: the surplus bits of a second token fall on column 0 of the
    // border row; decoded as set, they count as occupying that column.
    Load(5, 3, {Glyph(5, 3, {}), "0x08,0x01,", "0x08,0x00,"});
    CentreFont(s);
    EXPECT_EQ(Text(2), Glyph(5, 3, {{4, 0}}));
    EXPECT_EQ(Text(3), Glyph(5, 3, {{2, 0}}));
}

TEST_F(FontCommands, LeftAlignAndShiftFont)
{
    Load(8, 3, {Glyph(8, 3, {{1, 0}, {3, 2}}), Glyph(8, 3, {{2, 1}, {4, 2}}), Glyph(8, 3, {})});
    LeftAlignFont(s);
    EXPECT_EQ(Text(1), Glyph(8, 3, {{1, 0}, {3, 2}}));
    EXPECT_EQ(Text(2), Glyph(8, 3, {{0, 1}, {2, 2}}));
    EXPECT_EQ(Text(3), Glyph(8, 3, {}));

    // What a shift takes out of the glyph is lost; nothing leaks from one
    // glyph into the next.
    Load(8, 2, {Glyph(8, 2, {{7, 0}, {2, 1}}), Glyph(8, 2, {{0, 0}})});
    ShiftFont(s, 1, 0);
    EXPECT_EQ(Text(1), Glyph(8, 2, {{3, 1}}));
    EXPECT_EQ(Text(2), Glyph(8, 2, {{1, 0}}));
    ShiftFont(s, -1, 0);
    EXPECT_EQ(Text(1), Glyph(8, 2, {{2, 1}}));
    EXPECT_EQ(Text(2), Glyph(8, 2, {{0, 0}}));
    ShiftFont(s, 0, -1);
    EXPECT_EQ(Text(1), Glyph(8, 2, {}));
    EXPECT_EQ(Text(2), Glyph(8, 2, {{0, 1}}));
    EXPECT_EQ(Shown(), Glyph(8, 2, {}));
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

TEST_F(FontCommands, DoubleSizeAndWidthUpTo128)
{
    Load(128, 128, {Glyph(128, 128, {{0, 0}, {127, 127}}), Glyph(128, 128, {{5, 0}})});
    DoubleSizeFont(s);
    EXPECT_EQ(s.FontWidth, 256);
    EXPECT_EQ(s.FontHeight, 256);
    EXPECT_EQ(s.FontHeader, "0x100,0x100,0x01,0x02,");
    EXPECT_EQ(Text(1), Glyph(256, 256, {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {254, 254}, {255, 254}, {254, 255}, {255, 255}}));
    EXPECT_EQ(Text(2), Glyph(256, 256, {{10, 0}, {11, 0}, {10, 1}, {11, 1}}));
    EXPECT_EQ(Shown(), Text(1));
    EXPECT_EQ(s.Modified, 1);
    EXPECT_TRUE(ask->Messages.empty());

    Load(8, 8, {Glyph(8, 8, {{0, 0}, {7, 3}})});
    DoubleWidthFont(s);
    EXPECT_EQ(s.FontWidth, 16);
    EXPECT_EQ(s.FontHeight, 8);
    EXPECT_EQ(s.FontHeader, "0x10,0x08,0x01,0x01,");
    EXPECT_EQ(Text(1), Glyph(16, 8, {{0, 0}, {1, 0}, {14, 3}, {15, 3}}));
    EXPECT_TRUE(ask->Messages.empty());
}

TEST_F(FontCommands, DoublingIsRefusedAbove128EitherWay)
{
    Load(129, 8, {Glyph(129, 8, {{0, 0}})});
    const std::string before = Text(1);
    DoubleSizeFont(s);
    Load(8, 200, {Glyph(8, 200, {{0, 0}})});
    DoubleWidthFont(s);
    EXPECT_EQ(s.FontWidth, 8);
    EXPECT_EQ(s.Modified, 0);
    ASSERT_EQ(ask->Messages.size(), 2u);
    for (const auto& message : ask->Messages) {
        EXPECT_EQ(message.Title, "Oops!");
        EXPECT_EQ(message.Text, "That would be too big.");
    }
}

TEST_F(FontCommands, ResizeAnswers)
{
    Load(16, 24, {Glyph(16, 24, {{0, 0}, {8, 15}, {15, 23}})});

    for (const char* ends : {"0", "abc", ""}) {
        ask->InputAnswers = {ends};
        ResizeFont(s);
        EXPECT_EQ(s.FontWidth, 16) << ends;
        EXPECT_TRUE(ask->InputAnswers.empty());
    }
    ask->InputAnswers = {"3 x 3", "-8 x -8", ""};
    ResizeFont(s);
    EXPECT_TRUE(ask->InputAnswers.empty()) << "asked again twice";
    EXPECT_EQ(s.FontWidth, 16);
    EXPECT_EQ(ask->Titles.back(), "Current size is 16 by 24 pixels");
    EXPECT_EQ(s.Modified, 0);

    ask->InputAnswers = {"9 x 16"};
    ResizeFont(s);
    EXPECT_EQ(s.FontWidth, 9);
    EXPECT_EQ(s.FontHeight, 16);
    EXPECT_EQ(s.PrevFontWidth, 16);
    EXPECT_EQ(s.PrevFontHeight, 24);
    EXPECT_EQ(s.FontHeader, "0x09,0x10,0x01,0x01,");
    EXPECT_EQ(Text(1), Glyph(9, 16, {{0, 0}, {8, 15}}));

    ask->InputAnswers = {"10X8"};
    ResizeFont(s);
    EXPECT_EQ(s.FontWidth, 10);
    EXPECT_EQ(s.FontHeight, 8);
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
        NewFont(s);
        EXPECT_EQ(s.FontStart, 32) << size;
        EXPECT_EQ(s.FontWidth, 16) << size;
        EXPECT_EQ(s.FontHeight, 32) << size;
        EXPECT_EQ(s.FontCount, 1) << size;
        EXPECT_EQ(s.FileInfo, "preamble\r\n");
        EXPECT_TRUE(Text(2).empty()) << "the old glyphs are gone";
        EXPECT_EQ(ask->Titles, (std::vector<std::string>{"New font", "New font"}));
        EXPECT_TRUE(ask->Messages.empty());
        ask->Titles.clear();
    }
    // The new font's first character was stored back, so New asks first.
    ask->MessageAnswers = {platform::MessageResult::No};
    ask->InputAnswers = {"1", "12 x 6"};
    NewFont(s);
    EXPECT_EQ(s.FontWidth, 12);
    EXPECT_EQ(s.FontHeight, 6);
    EXPECT_EQ(s.FontStart, 1);
}

TEST_F(FontCommands, NewRejectsAndKeepsTheFont)
{
    const std::string invalidSize = " is not a valid input\r\nMust be Width X Height with\r\nWidth X Height a multiple of 8";
    struct Case {
        std::vector<std::string> answers;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"0"}, "0 is not a valid starting character"},
        {{"254"}, "254 is not a valid starting character"},
        {{""}, " is not a valid starting character"},
        {{"32", "16,32"}, "16,32" + invalidSize},
        {{"32", "3 x 5"}, "3 X 5" + invalidSize},
        {{"32", "0 x 8"}, "0 X 8" + invalidSize},
        {{"32", ""}, invalidSize},
        {{"32", "2000 x 8"}, "2000 X 8 is too big\r\nWidth and Height must be 1024 at most"},
    };
    for (const Case& c : cases) {
        Load(8, 8, {Glyph(8, 8, {{1, 1}}), Glyph(8, 8, {{2, 2}})});
        s.Modified = 1;
        ask->MessageAnswers = {platform::MessageResult::No};
        ask->InputAnswers = {c.answers.begin(), c.answers.end()};
        ask->Messages.clear();
        NewFont(s);
        EXPECT_TRUE(ask->InputAnswers.empty()) << c.message;
        ASSERT_EQ(ask->Messages.size(), 2u) << c.message;
        EXPECT_EQ(ask->Messages[1].Title, "Oops!");
        EXPECT_EQ(ask->Messages[1].Text, c.message);
        EXPECT_EQ(s.FontWidth, 8);
        EXPECT_EQ(s.FontStart, 1);
        EXPECT_EQ(s.FontCount, 2);
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
    EXPECT_EQ(ask->Messages[0].Title, "Oops!");
    EXPECT_EQ(ask->Messages[0].Text, "Do you want to save changes first?");
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

    // A font reaching past the table, or starting below it.
    for (const auto& [start, count] : std::vector<std::pair<int, int>>{{250, 100}, {-5, 10}, {300, 2}}) {
        Load(8, 8, {});
        s.FontStart = start;
        s.FontCount = count;
        s.CharData[256][1] = Columns(8, 8, 3, 7);
        CentreFont(s);
        LeftAlignFont(s);
        ShiftFont(s, 0, 1);
        DoubleWidthFont(s);
        ask->InputAnswers = {"8 x 8"};
        ResizeFont(s);
    }
}

TEST_F(FontCommands, EveryCommandIsQuickOnALargeFont)
{
    // 224 glyphs of 128 x 128, about a third of the pixels set.
    std::vector<std::string> texts;
    uint32_t seed = 7;
    for (int c = 0; c < 224; c++) {
        State t;
        t.FontWidth = t.FontHeight = 128;
        t.Grid.Create(130, 130);
        for (int32_t& cell : t.Grid.Cells)
            cell = ((seed = seed * 1103515245u + 12345u) >> 16) % 3 == 0;
        texts.push_back(CharToHex(t));
    }
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"centre", [&] { CentreFont(s); }},
        {"left align", [&] { LeftAlignFont(s); }},
        {"shift", [&] { ShiftFont(s, 1, -1); }},
        {"resize", [&] {
             ask->InputAnswers = {"120 x 120"};
             ResizeFont(s);
         }},
        {"double width", [&] { DoubleWidthFont(s); }},
        {"double size", [&] { DoubleSizeFont(s); }},
    };
    for (const auto& [name, run] : commands) {
        Load(128, 128, texts, 32);
        const auto start = std::chrono::steady_clock::now();
        run();
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(ms, 1000) << name;
    }
}
