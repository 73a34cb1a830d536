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

class GlyphCommands : public ::testing::Test {
protected:
    State s;
    platform::ScriptedRequesters* ask = nullptr;

    void SetUp() override
    {
        auto requesters = std::make_unique<platform::ScriptedRequesters>();
        ask = requesters.get();
        platform::UseRequesters(std::move(requesters));
        Size(8, 8);
        s.FontStart = 1;
        s.FontCount = 3;
        s.CurrentChar = 1;
    }

    void Size(int w, int h)
    {
        s.FontWidth = w;
        s.FontHeight = h;
        s.Grid.Create(w + 2, h + 2);
    }

    void Draw(const Pixels& pixels)
    {
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

    int CountSet() const { return int(SetCells().size()); }
};

}  // namespace

TEST_F(GlyphCommands, ShiftRightAndDownKeepWhatTheyPushIntoTheBorder)
{
    Draw({{7, 2}, {3, 7}});
    ShiftCharacter(s, 1, 0);
    EXPECT_EQ(SetCells(), (Pixels{{8, 2}, {4, 7}}));
    ShiftCharacter(s, -1, 0);
    EXPECT_EQ(SetCells(), (Pixels{{7, 2}, {3, 7}}));

    ShiftCharacter(s, 0, -1);  // down
    EXPECT_EQ(SetCells(), (Pixels{{7, 3}, {3, 8}}));
    ShiftCharacter(s, 0, 1);  // up
    EXPECT_EQ(SetCells(), (Pixels{{7, 2}, {3, 7}}));
}

TEST_F(GlyphCommands, ShiftLeftAndUpLoseTheEdge)
{
    Draw({{0, 4}, {5, 0}});
    ShiftCharacter(s, -1, 0);
    ShiftCharacter(s, 1, 0);
    EXPECT_EQ(SetCells(), (Pixels{{5, 0}}));
    ShiftCharacter(s, 0, 1);
    ShiftCharacter(s, 0, -1);
    EXPECT_TRUE(SetCells().empty());
}

TEST_F(GlyphCommands, TwoShiftsRightLoseTheColumnInTheBorder)
{
    Draw({{7, 1}, {6, 5}});
    ShiftCharacter(s, 1, 0);
    ShiftCharacter(s, 1, 0);
    EXPECT_EQ(SetCells(), (Pixels{{8, 5}}));
    ShiftCharacter(s, -1, 0);
    ShiftCharacter(s, -1, 0);
    EXPECT_EQ(SetCells(), (Pixels{{6, 5}}));
}

TEST_F(GlyphCommands, DiagonalShiftMovesBothWays)
{
    Draw({{2, 2}});
    ShiftCharacter(s, 1, -1);
    EXPECT_EQ(SetCells(), (Pixels{{3, 3}}));
    EXPECT_EQ(s.Grid.Columns, 10) << "the spare column is not touched";
}

TEST_F(GlyphCommands, FlipsMirrorTheGlyphArea)
{
    Draw({{0, 0}});
    s.Grid(8, 0) = 1;  // the border stays
    FlipRightLeft(s);
    EXPECT_EQ(SetCells(), (Pixels{{7, 0}, {8, 0}}));
    FlipRightLeft(s);
    FlipUpDown(s);
    EXPECT_EQ(SetCells(), (Pixels{{8, 0}, {0, 7}}));

    Size(5, 3);  // odd sizes keep their middle column and row
    Draw({{2, 0}, {0, 1}});
    FlipRightLeft(s);
    EXPECT_EQ(SetCells(), (Pixels{{2, 0}, {4, 1}}));
    FlipUpDown(s);
    EXPECT_EQ(SetCells(), (Pixels{{4, 1}, {2, 2}}));
}

TEST_F(GlyphCommands, RotationsOfASinglePixel)
{
    Draw({{0, 0}});
    RotateRight(s);
    EXPECT_EQ(SetCells(), (Pixels{{7, 0}}));

    Size(8, 8);
    Draw({{0, 0}});
    RotateLeft(s);
    EXPECT_EQ(SetCells(), (Pixels{{0, 7}}));

    // Four turns give the square back; the grid is then W + 1 by H + 1.
    Size(8, 8);
    Draw({{1, 2}, {6, 3}, {4, 7}});
    const std::string before = CharToHex(s);
    for (int i = 0; i < 4; i++)
        RotateRight(s);
    EXPECT_EQ(CharToHex(s), before);
    EXPECT_EQ(s.Grid.Columns, 9);
    EXPECT_EQ(s.Grid.Rows, 9);
}

TEST_F(GlyphCommands, RotationOfATallGlyphTurnsTheTopSquare)
{
    Size(16, 24);
    Draw({{0, 0}, {15, 15}, {3, 20}});
    s.Grid(16, 1) = 1;
    RotateRight(s);
    EXPECT_EQ(SetCells(), (Pixels{{15, 0}, {0, 15}}));

    // The grid that lacks its spare column and row still decodes and shifts.
    HexToChar(s, std::string(240, '0'));
    ShiftCharacter(s, 1, -1);
    EXPECT_EQ(CharToHex(s).size(), 240u);
}

TEST_F(GlyphCommands, InverseTwiceGivesTheGlyphBack)
{
    Size(16, 24);
    InverseCharacter(s);
    EXPECT_EQ(CountSet(), 384);
    EXPECT_EQ(s.Grid(16, 0), 0) << "the border is not inverted";

    Size(8, 8);
    Draw({{1, 1}, {7, 3}});
    const std::string before = CharToHex(s);
    InverseCharacter(s);
    EXPECT_NE(CharToHex(s), before);
    InverseCharacter(s);
    EXPECT_EQ(CharToHex(s), before);
}

TEST_F(GlyphCommands, OutlineKeepsTheRim)
{
    for (int x = 0; x < 8; x++)
        for (int y = 0; y < 8; y++)
            s.Grid(x, y) = 1;
    OutlineCharacter(s);
    EXPECT_EQ(CountSet(), 28);
    EXPECT_EQ(s.Grid(3, 3), 0);
    EXPECT_EQ(s.Grid(0, 4), 1);

    Size(8, 8);
    Draw({{3, 3}, {2, 3}, {4, 3}, {3, 2}, {3, 4}});
    OutlineCharacter(s);
    EXPECT_EQ(SetCells(), (Pixels{{3, 2}, {2, 3}, {4, 3}, {3, 4}}));

    Size(2, 8);  // nothing to do below three pixels
    Draw({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    OutlineCharacter(s);
    EXPECT_EQ(CountSet(), 4);
}

TEST_F(GlyphCommands, RestorePutsBackTheGlyphAsSelected)
{
    s.SelectedGlyph = "0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01,";
    s.CharData[1][1] = "0xFF,0x00,0x00,0x00,0x00,0x00,0x00,0x00,";
    Draw({{4, 4}});
    const int modified = s.Modified;
    RestoreCharacter(s);
    EXPECT_EQ(s.CharData[1][1], s.SelectedGlyph);
    EXPECT_EQ(SetCells(), (Pixels{{0, 0}, {7, 7}}));
    EXPECT_EQ(s.Modified, modified);

    s.CurrentChar = -1;  // no character: nothing happens
    Draw({{4, 4}});
    RestoreCharacter(s);
    EXPECT_EQ(s.Grid(4, 4), 1);
}

TEST_F(GlyphCommands, RestoreNeverStoresATextOfAnotherSize)
{
    s.SelectedGlyph = "0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01,";  // made for 8 x 8
    Size(16, 16);
    RestoreCharacter(s);
    EXPECT_EQ(s.CharData[1][1].size(), 160u);
}

TEST_F(GlyphCommands, CopyAndPasteThroughTheClipboard)
{
    ASSERT_TRUE(platform::InitGui());
    Draw({{0, 0}, {7, 7}});
    CopyCharacter(s);
    const std::string copied = "0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01,";
    EXPECT_EQ(s.PasteBuffer, copied);
    EXPECT_EQ(platform::GetClipboardText(), copied);

    // Another character of the same size takes the glyph and stores it.
    s.CurrentChar = 2;
    Size(8, 8);
    PasteCharacter(s);
    EXPECT_EQ(s.CharData[2][1], copied);
    EXPECT_EQ(SetCells(), (Pixels{{0, 0}, {7, 7}}));
    EXPECT_TRUE(ask->Messages.empty());

    // The glyph text of a line of an 8-bit C file.
    platform::SetClipboardText("0x18,0x24,0x42,0x7E,0x42,0x42,0x42,0x00,");
    PasteCharacter(s);
    EXPECT_EQ(s.CharData[2][1], "0x18,0x24,0x42,0x7E,0x42,0x42,0x42,0x00,");
    EXPECT_EQ(s.PasteBuffer, s.CharData[2][1]);
}

TEST_F(GlyphCommands, PasteFallsBackOnTheLastCopy)
{
    ASSERT_TRUE(platform::InitGui());
    s.PasteBuffer = "0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01,";
    for (const std::string clip : {"0X18,0x24,0x42,0x7E,0x42,0x42,0x42,0x00,",
                                   "0x18,0x24,0x42,0x7E,0x42,0x42,0x42,0x00, // Chr$(65)  A", ""}) {
        platform::SetClipboardText(clip);
        s.CharData[1][1].clear();
        PasteCharacter(s);
        EXPECT_EQ(s.CharData[1][1], "0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01,") << clip;
    }
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

    // Nothing to paste at all: the warning, and nothing changes.
    s.PasteBuffer.clear();
    platform::SetClipboardText("hello");
    s.CharData[1][1] = "kept";
    Draw({{3, 3}});
    PasteCharacter(s);
    EXPECT_EQ(ask->Messages.size(), 2u);
    EXPECT_EQ(s.CharData[1][1], "kept");
    EXPECT_EQ(s.Grid(3, 3), 1);
    EXPECT_EQ(s.ClipText, "hello");

    // No character in the editor: the grid shows the paste, nothing stored.
    s.CurrentChar = -1;
    platform::SetClipboardText("0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x00,");
    PasteCharacter(s);
    EXPECT_EQ(SetCells(), (Pixels{{0, 0}}));
    EXPECT_EQ(s.CharData[1][1], "kept");
}
