// The "Edit" menu commands on the glyph in the editor. No window is open:
// the repaints find no canvas and do nothing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/commands.h"
#include "core/fontstore.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/requesters.h"

namespace {

using Pixels = std::vector<std::pair<int, int>>;

const std::string Corners = "0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01,";  // 8 x 8, (0, 0) and (7, 7)

class GlyphCommands : public ::testing::Test {
protected:
    State s;
    platform::ScriptedRequesters* ask = new platform::ScriptedRequesters;

    void SetUp() override
    {
        platform::UseRequesters(std::unique_ptr<platform::ScriptedRequesters>(ask));
        Size(8, 8);
        s.FontStart = 1;
        s.FontCount = 3;
        s.CurrentChar = 1;
    }

    // A grid of w x h, as SetupGrid leaves it, with `pixels` drawn.
    void Size(int w, int h, const Pixels& pixels = {})
    {
        s.FontWidth = w;
        s.FontHeight = h;
        s.Grid.Create(w + 2, h + 2);
        for (const auto& [x, y] : pixels)
            s.Grid(x, y) = 1;
    }

    // Every set cell of columns 0 to W and rows 0 to H, border included.
    Pixels SetCells() const
    {
        Pixels out;
        for (int y = 0; y <= s.FontHeight; y++)
            for (int x = 0; x <= s.FontWidth; x++)
                if (s.Grid.Inside(x, y) && s.Grid(x, y) == 1)
                    out.push_back({x, y});
        return out;
    }
};

}  // namespace

TEST_F(GlyphCommands, ShiftsKeepOneColumnOrRowInTheBorder)
{
    struct Case {
        Pixels draw;
        Pixels shifts;  // (dx, dy) of each call
        Pixels want;
    };
    const Case cases[] = {
        {{{7, 2}, {3, 7}}, {{1, 0}, {-1, 0}}, {{7, 2}, {3, 7}}},  // right then left gives the edge back
        {{{7, 2}, {3, 7}}, {{0, -1}, {0, 1}}, {{7, 2}, {3, 7}}},  // down then up too
        {{{0, 4}, {5, 0}}, {{-1, 0}, {1, 0}}, {{5, 0}}},          // left then right loses it
        {{{0, 4}, {5, 0}}, {{0, 1}, {0, -1}}, {{0, 4}}},          // up then down too
        {{{7, 1}, {6, 5}}, {{1, 0}, {1, 0}}, {{8, 5}}},           // the second right loses the first
        {{{2, 2}}, {{1, -1}}, {{3, 3}}},                          // both steps in one call
    };
    for (const Case& c : cases) {
        Size(8, 8, c.draw);
        s.Grid(9, 9) = 1;
        for (const auto& [dx, dy] : c.shifts)
            ShiftCharacter(s, dx, dy);
        EXPECT_EQ(SetCells(), c.want) << c.shifts[0].first << "," << c.shifts[0].second;
        EXPECT_EQ(s.Grid(9, 9), 1) << "the spare column and row are not touched";
    }
}

TEST_F(GlyphCommands, FlipsAndTurnsOfASinglePixel)
{
    const std::vector<std::pair<void (*)(State&), std::pair<int, int>>> cases = {
        {FlipRightLeft, {7, 0}}, {FlipUpDown, {0, 7}}, {RotateRight, {7, 0}}, {RotateLeft, {0, 7}}};
    for (const auto& [command, pixel] : cases) {
        Size(8, 8, {{0, 0}});
        command(s);
        EXPECT_EQ(SetCells(), Pixels{pixel});
    }

    // The flips leave the border alone; odd sizes keep their middle column
    // and row.
    Size(5, 3, {{2, 0}, {0, 1}, {5, 0}});
    FlipRightLeft(s);
    EXPECT_EQ(SetCells(), (Pixels{{2, 0}, {5, 0}, {4, 1}}));
    FlipUpDown(s);
    EXPECT_EQ(SetCells(), (Pixels{{5, 0}, {4, 1}, {2, 2}}));

    // Four turns give the square back.
    Size(8, 8, {{1, 2}, {6, 3}, {4, 7}});
    const std::string before = CharToHex(s);
    for (int i = 0; i < 4; i++)
        RotateLeft(s);
    EXPECT_EQ(CharToHex(s), before);
}

TEST_F(GlyphCommands, TurnOfATallGlyphKeepsOnlyTheTopSquare)
{
    Size(16, 24, {{0, 0}, {15, 15}, {3, 20}, {16, 1}});
    RotateRight(s);
    EXPECT_EQ(SetCells(), (Pixels{{15, 0}, {0, 15}}));
    EXPECT_EQ(s.Grid.Columns, 17);
    EXPECT_EQ(s.Grid.Rows, 25);

    // Without its spare column and row the grid still takes every command.
    HexToChar(s, std::string(240, '0'));
    for (void (*command)(State&) :
         {FlipRightLeft, FlipUpDown, RotateLeft, InverseCharacter, OutlineCharacter, CopyCharacter})
        command(s);
    ShiftCharacter(s, 1, -1);
    ShiftCharacter(s, -1, 1);
    EXPECT_EQ(CharToHex(s).size(), 240u);
}

TEST_F(GlyphCommands, InverseAndOutline)
{
    Size(16, 24);
    InverseCharacter(s);
    EXPECT_EQ(SetCells().size(), 384u) << "all set, the border not";
    InverseCharacter(s);
    EXPECT_TRUE(SetCells().empty());

    // A block keeps its rim: 28 pixels.
    Size(8, 8);
    for (int x = 0; x < 8; x++)
        for (int y = 0; y < 8; y++)
            s.Grid(x, y) = 1;
    OutlineCharacter(s);
    EXPECT_EQ(SetCells().size(), 28u);
    EXPECT_EQ(s.Grid(3, 3), 0);

    // A plus loses only its centre: neighbours are read before any change.
    Size(8, 8, {{3, 3}, {2, 3}, {4, 3}, {3, 2}, {3, 4}});
    OutlineCharacter(s);
    EXPECT_EQ(SetCells(), (Pixels{{3, 2}, {2, 3}, {4, 3}, {3, 4}}));

    // A T keeps its joint: three set neighbours are not four.
    Size(8, 8, {{3, 3}, {2, 3}, {4, 3}, {3, 2}});
    OutlineCharacter(s);
    EXPECT_EQ(SetCells(), (Pixels{{3, 2}, {2, 3}, {3, 3}, {4, 3}}));

    Size(2, 8, {{0, 0}, {1, 0}, {0, 1}, {1, 1}});  // nothing to do below three pixels
    OutlineCharacter(s);
    EXPECT_EQ(SetCells().size(), 4u);
}

TEST_F(GlyphCommands, RestorePutsBackTheGlyphAsSelected)
{
    s.SelectedGlyph = "0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x0f,";  // stored as it stands
    s.CharData[1][1] = "0xFF,0x00,0x00,0x00,0x00,0x00,0x00,0x00,";
    Size(8, 8, {{4, 4}});
    RestoreCharacter(s);
    EXPECT_EQ(s.CharData[1][1], s.SelectedGlyph);
    EXPECT_EQ(SetCells(), (Pixels{{0, 0}, {4, 7}, {5, 7}, {6, 7}, {7, 7}}));
    EXPECT_EQ(s.Modified, 0);

    s.CurrentChar = -1;  // no character: nothing happens
    s.Grid(4, 4) = 1;
    RestoreCharacter(s);
    EXPECT_EQ(s.Grid(4, 4), 1);

    // A text made for 8 x 8 never lands in the table of a 16 x 16 font.
    s.CurrentChar = 1;
    s.SelectedGlyph = Corners;
    Size(16, 16);
    RestoreCharacter(s);
    EXPECT_EQ(s.CharData[1][1].size(), 160u);
}

TEST_F(GlyphCommands, CopyAndPaste)
{
    ASSERT_TRUE(platform::InitGui());
    Size(8, 8, {{0, 0}, {7, 7}});
    CopyCharacter(s);
    EXPECT_EQ(s.PasteBuffer, Corners);
    EXPECT_EQ(platform::GetClipboardText(), Corners);

    // A line of an 8-bit C file is a glyph text, stored at once; texts that
    // are not ("0X", not ending in ",", empty) fall back on the last one.
    const std::string line = "0x18,0x24,0x42,0x7E,0x42,0x42,0x42,0x00,";
    for (const std::string& clip : {line, "0X" + line.substr(2), line + " // A", std::string()}) {
        platform::SetClipboardText(clip);
        s.CharData[1][1].clear();
        Size(8, 8);
        PasteCharacter(s);
        EXPECT_EQ(s.CharData[1][1], line) << clip;
        EXPECT_EQ(CharToHex(s), line) << clip;
        EXPECT_EQ(s.PasteBuffer, line) << clip;
    }
    EXPECT_EQ(s.Modified, 0);
    EXPECT_TRUE(ask->Messages.empty());
}

TEST_F(GlyphCommands, PasteOfAnotherLengthWarnsAndPastes)
{
    ASSERT_TRUE(platform::InitGui());
    platform::SetClipboardText("0xFF,0x81,");
    PasteCharacter(s);
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Title, "Missmatch!");
    EXPECT_EQ(ask->Messages[0].Text, "Data to paste not same size.");
    EXPECT_EQ(s.CharData[1][1], "0xFF,0x81,0x00,0x00,0x00,0x00,0x00,0x00,");

    // Lengths are compared in characters, not bytes.
    platform::SetClipboardText("0xFF,0xFF,0x00,0x00,0x00,0x00,0x00,0x0é,");
    PasteCharacter(s);
    EXPECT_EQ(ask->Messages.size(), 1u);

    // Nothing to paste at all: the warning, and nothing changes.
    s.PasteBuffer.clear();
    platform::SetClipboardText("hello");
    s.CharData[1][1] = "kept";
    Size(8, 8, {{3, 3}});
    PasteCharacter(s);
    EXPECT_EQ(ask->Messages.size(), 2u);
    EXPECT_EQ(s.CharData[1][1], "kept");
    EXPECT_EQ(SetCells(), (Pixels{{3, 3}}));

    // No character in the editor: the grid shows the paste, nothing stored.
    s.CurrentChar = -1;
    platform::SetClipboardText("0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x00,");
    PasteCharacter(s);
    EXPECT_EQ(SetCells(), (Pixels{{0, 0}}));
    EXPECT_EQ(s.CharData[1][1], "kept");
}
