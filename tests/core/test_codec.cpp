// The glyph text codec, the decoders of older sizes, the font header and
// the rounding rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/fontstore.h"
#include "core/state.h"

namespace {

// A state whose grid is allocated for w x h, as SetupGrid leaves it; every
// cell holds `fill`, so that a cell left unwritten shows.
State Sized(int w, int h, int fill = 0)
{
    State s;
    s.FontWidth = w;
    s.FontHeight = h;
    s.Grid.Create(w + 2, h + 2);
    for (int32_t& c : s.Grid.Cells)
        c = fill;
    return s;
}

std::string Repeat(const std::string& token, int n)
{
    std::string out;
    for (int i = 0; i < n; i++)
        out += token;
    return out;
}

bool PatternBit(int x, int y)
{
    return ((x * 7 + y * 13 + x * y) % 5) < 2;
}

void FillPattern(State& s, int w, int h)
{
    for (int x = 0; x < w; x++)
        for (int y = 0; y < h; y++)
            s.Grid(x, y) = PatternBit(x, y) ? 1 : 0;
}

}  // namespace

TEST(GlyphCodec, EncodesRowsAsOneUnpaddedBitStream)
{
    State s = Sized(8, 2);
    s.Grid(0, 0) = 1;
    for (int x = 0; x < 8; x++)
        s.Grid(x, 1) = 1;
    EXPECT_EQ(CharToHex(s), "0x80,0xFF,");

    // 12 x 2: the second row starts in the middle of the second byte; only a
    // cell holding exactly 1 is set, and the border is never encoded.
    State t = Sized(12, 2);
    t.Grid(11, 0) = 1;
    t.Grid(0, 1) = 1;
    t.Grid(1, 1) = 2;
    t.Grid(2, 1) = -1;
    t.Grid(12, 0) = 1;
    t.Grid(0, 2) = 1;
    EXPECT_EQ(CharToHex(t), "0x00,0x18,0x00,");

    EXPECT_EQ(CharToHex(Sized(16, 24)), Repeat("0x00,", 48));

    State u = Sized(12, 10);
    FillPattern(u, 12, 10);
    State v = Sized(12, 10, 1);
    HexToChar(v, CharToHex(u));
    for (int x = 0; x < 12; x++)
        for (int y = 0; y < 10; y++)
            EXPECT_EQ(v.Grid(x, y), PatternBit(x, y) ? 1 : 0) << x << "," << y;
}

TEST(GlyphCodec, DecodesAnyText)
{
    State s = Sized(8, 2, 1);
    HexToChar(s, "");
    EXPECT_EQ(CharToHex(s), "0x00,0x00,");
    EXPECT_EQ(s.Grid(8, 0), 1) << "the border column is left as it was";

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0xFF,", "0xFF,0x00,"},                  // missing token: clear
        {"0x01,0x02,0xFF,0xFF,", "0x01,0x02,"},   // surplus tokens ignored
        {"0xff,0x1,", "0xFF,0x01,"},              // lower case, one digit
        {"0X3C,0x3c", "0x3C,0x3C,"},              // "0X"; no closing comma
        {"  0x3C, 0x3C,", "0x00,0x00,"},          // the first two characters are skipped unread
        {"0xG1,0x1G,", "0x00,0x01,"},             // reading stops at a non-digit
        {"é1,0x\xC3\xA9,", "0x00,0x00,"},         // a two-byte character counts as one
        {"0x-1,0x$1,", "0x00,0x00,"},
    };
    for (const auto& [text, encoded] : cases) {
        HexToChar(s, text);
        EXPECT_EQ(CharToHex(s), encoded) << text;
    }
    HexToChar(s, "x\xC3\xA9" "1F,");  // the two characters skipped are "x" and "é"
    EXPECT_EQ(CharToHex(s), "0x1F,0x00,");
}

TEST(GlyphCodec, PartialLastByteAndNarrowGlyphs)
{
    State s = Sized(5, 7);
    for (int x = 0; x < 5; x++)
        for (int y = 0; y < 7; y++)
            s.Grid(x, y) = 1;
    EXPECT_EQ(CharToHex(s), "0xFF,0xFF,0xFF,0xFF,");

    State t = Sized(5, 7);
    HexToChar(t, CharToHex(s));
    for (int x = 0; x < 5; x++)
        EXPECT_EQ(t.Grid(x, 6), x < 2 ? 1 : 0) << "x " << x;

    // A fifth token fills the last three pixels; its surplus bits land in
    // the border row, and the border column is not touched.
    t.Grid(5, 3) = 1;
    HexToChar(t, "0xFF,0xFF,0xFF,0xFF,0xFF,");
    for (int x = 0; x < 5; x++) {
        EXPECT_EQ(t.Grid(x, 6), 1);
        EXPECT_EQ(t.Grid(x, 7), 1) << "border row x " << x;
    }
    EXPECT_EQ(t.Grid(5, 3), 1);

    // One token of a 1 x 4 glyph covers rows 0 to 7; the grid has 6 rows.
    State n = Sized(1, 4);
    HexToChar(n, "0xFF,");
    for (int y = 0; y < 6; y++)
        EXPECT_EQ(n.Grid(0, y), 1) << y;
    EXPECT_EQ(CharToHex(n), "");

    // A grid that lost its spare row (after a turn) or was never made.
    State r = Sized(5, 3);
    r.Grid.Create(6, 4);
    HexToChar(r, "0xFF,0xFF,");
    EXPECT_EQ(r.Grid(4, 2), 1);
    r.Grid.Create(0, 0);
    HexToChar(r, "0xFF,0xFF,");
    EXPECT_EQ(CharToHex(r), "0x00,");
}

TEST(GlyphCodec, ResizeCropsAndPadsAtRightAndBottom)
{
    State big = Sized(16, 24);
    FillPattern(big, 16, 24);

    State small = Sized(8, 16, 1);
    small.PrevFontWidth = 16;
    small.PrevFontHeight = 24;
    HexToCharResized(small, CharToHex(big));
    // The old glyph's column 8 and row 16 land in the border.
    for (int x = 0; x <= 8; x++)
        for (int y = 0; y <= 16; y++)
            EXPECT_EQ(small.Grid(x, y), PatternBit(x, y) ? 1 : 0) << x << "," << y;

    State wide = Sized(16, 24, 1);
    wide.PrevFontWidth = 8;
    wide.PrevFontHeight = 16;
    HexToCharResized(wide, CharToHex(small));
    for (int x = 0; x < 16; x++)
        for (int y = 0; y < 24; y++)
            EXPECT_EQ(wide.Grid(x, y), x < 8 && y < 16 && PatternBit(x, y) ? 1 : 0) << x << "," << y;
    EXPECT_EQ(wide.Grid(16, 0), 1) << "a larger size leaves the border alone";
}

TEST(GlyphCodec, DoublingReadsTheTrueBitStreamOfAnyWidth)
{
    // A byte-wide glyph and one whose rows do not start on byte boundaries.
    for (const int oldW : {8, 5}) {
        const int oldH = 8;
        State old = Sized(oldW, oldH);
        FillPattern(old, oldW, oldH);
        const std::string text = CharToHex(old);

        State w = Sized(2 * oldW, oldH, 1);
        HexToCharDoubleWidth(w, text);
        for (int x = 0; x < 2 * oldW; x++)
            for (int y = 0; y < oldH; y++)
                EXPECT_EQ(w.Grid(x, y), PatternBit(x / 2, y) ? 1 : 0) << "width " << oldW << " at " << x << "," << y;

        State d = Sized(2 * oldW, 2 * oldH, 1);
        HexToCharDoubleSize(d, text);
        for (int x = 0; x < 2 * oldW; x++)
            for (int y = 0; y < 2 * oldH; y++)
                EXPECT_EQ(d.Grid(x, y), PatternBit(x / 2, y / 2) ? 1 : 0) << "size " << oldW << " at " << x << "," << y;
    }

    // 5 x 3 has a partial last byte: its 7 pixels are not stored and double
    // as clear.
    State old = Sized(5, 3, 1);
    State w = Sized(10, 3);
    HexToCharDoubleWidth(w, CharToHex(old));
    EXPECT_EQ(w.Grid(1, 1), 1);  // pixel 5 of the stream: (0, 1)
    EXPECT_EQ(w.Grid(5, 1), 1);  // pixel 7, the last one stored
    EXPECT_EQ(w.Grid(6, 1), 0);  // pixel 8: the first one not stored
    EXPECT_EQ(w.Grid(9, 2), 0);
}

TEST(FontHeader, TwoDigitTokensAndHonestLargeValues)
{
    State s;
    s.FontWidth = 8;
    s.FontHeight = 16;
    s.FontStart = 65;
    s.FontCount = 1;
    MakeFontHeader(s);
    EXPECT_EQ(s.FontHeader, "0x08,0x10,0x41,0x01,");

    s.FontWidth = 256;
    s.FontHeight = 255;
    MakeFontHeader(s);
    EXPECT_EQ(s.FontHeader, "0x100,0xFF,0x41,0x01,");
}

TEST(RoundToInt, HalvesGoToTheEvenNeighbour)
{
    const std::vector<std::pair<double, int64_t>> cases = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-0.5, 0}, {2.4999, 2}, {2.5001, 3}, {-7.6, -8},
        {std::nan(""), 0}, {1e300, INT64_MAX}, {-1e300, INT64_MIN}};
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(RoundToInt(value), rounded) << value;
}
