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

// A state whose grid is allocated for w x h, as SetupGrid leaves it.
State Sized(int w, int h)
{
    State s;
    s.FontWidth = w;
    s.FontHeight = h;
    s.Grid.Create(w + 2, h + 2);
    return s;
}

std::string Repeat(const std::string& token, int n)
{
    std::string out;
    for (int i = 0; i < n; i++)
        out += token;
    return out;
}

// A reproducible pattern of set and clear pixels.
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

void FillAll(State& s, int value)
{
    for (int32_t& c : s.Grid.Cells)
        c = value;
}

}  // namespace

TEST(GlyphCodec, EncodesRowsAsOneUnpaddedBitStream)
{
    State s = Sized(8, 2);
    s.Grid(0, 0) = 1;
    for (int x = 0; x < 8; x++)
        s.Grid(x, 1) = 1;
    EXPECT_EQ(CharToHex(s), "0x80,0xFF,");

    // 12 x 2: the second row starts in the middle of the second byte.
    State t = Sized(12, 2);
    t.Grid(11, 0) = 1;
    t.Grid(0, 1) = 1;
    EXPECT_EQ(CharToHex(t), "0x00,0x18,0x00,");
}

TEST(GlyphCodec, OnlyCellsHoldingOneEncodeAsSet)
{
    State s = Sized(8, 1);
    s.Grid(0, 0) = 2;
    s.Grid(1, 0) = -1;
    s.Grid(2, 0) = 1;
    s.Grid(8, 0) = 1;  // border column: never encoded
    EXPECT_EQ(CharToHex(s), "0x20,");
}

TEST(GlyphCodec, AllClear16x24IsFortyEightZeroTokens)
{
    State s = Sized(16, 24);
    const std::string text = CharToHex(s);
    EXPECT_EQ(text.size(), 240u);
    EXPECT_EQ(text, Repeat("0x00,", 48));
}

TEST(GlyphCodec, RoundTripKeepsEveryPixel)
{
    State s = Sized(12, 10);
    FillPattern(s, 12, 10);
    const std::string text = CharToHex(s);
    State t = Sized(12, 10);
    FillAll(t, 1);
    HexToChar(t, text);
    for (int x = 0; x < 12; x++)
        for (int y = 0; y < 10; y++)
            EXPECT_EQ(t.Grid(x, y), PatternBit(x, y) ? 1 : 0) << x << "," << y;
}

TEST(GlyphCodec, EmptyShortAndLongTexts)
{
    State s = Sized(8, 2);
    FillAll(s, 1);
    HexToChar(s, "");
    for (int x = 0; x < 8; x++)
        for (int y = 0; y < 2; y++)
            EXPECT_EQ(s.Grid(x, y), 0);
    EXPECT_EQ(s.Grid(8, 0), 1) << "the border column is left as it was";

    FillAll(s, 1);
    HexToChar(s, "0xFF,");  // the second token is missing: its pixels clear
    EXPECT_EQ(CharToHex(s), "0xFF,0x00,");

    HexToChar(s, "0x01,0x02,0xFF,0xFF,");  // surplus tokens are ignored
    EXPECT_EQ(CharToHex(s), "0x01,0x02,");
}

TEST(GlyphCodec, TokenSpellings)
{
    State s = Sized(8, 2);
    HexToChar(s, "0xff,0x1,");
    EXPECT_EQ(CharToHex(s), "0xFF,0x01,");

    HexToChar(s, "0X3C,0x3c");  // no closing comma: the last field still reads
    EXPECT_EQ(CharToHex(s), "0x3C,0x3C,");

    // The first two characters are skipped unread: leading blanks shift the
    // digits out of place.
    HexToChar(s, "  0x3C, 0x3C,");
    EXPECT_EQ(CharToHex(s), "0x00,0x00,");

    HexToChar(s, "0xG1,0x1G,");  // reading stops at the first non-digit
    EXPECT_EQ(CharToHex(s), "0x00,0x01,");
}

TEST(GlyphCodec, PartialLastByteIsNotStored)
{
    State s = Sized(5, 7);
    FillAll(s, 0);
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
}

TEST(GlyphCodec, NarrowGlyphsWriteNothingOutsideTheGrid)
{
    State s = Sized(1, 4);  // one byte token covers rows 0 to 7
    HexToChar(s, "0xFF,");
    for (int y = 0; y < 6; y++)
        EXPECT_EQ(s.Grid(0, y), 1) << y;
    EXPECT_EQ(s.Grid.Cells.size(), 3u * 6u);
    EXPECT_EQ(CharToHex(s), "");  // 4 pixels: no whole byte
}

TEST(GlyphCodec, ResizeCropsAndPadsAtRightAndBottom)
{
    State big = Sized(16, 24);
    FillPattern(big, 16, 24);
    const std::string text = CharToHex(big);

    State small = Sized(8, 16);
    FillAll(small, 1);
    small.PrevFontWidth = 16;
    small.PrevFontHeight = 24;
    HexToCharResized(small, text);
    for (int x = 0; x <= 8; x++)
        for (int y = 0; y <= 16; y++)
            EXPECT_EQ(small.Grid(x, y), PatternBit(x, y) ? 1 : 0) << x << "," << y;

    State wide = Sized(16, 24);
    FillAll(wide, 1);
    wide.PrevFontWidth = 8;
    wide.PrevFontHeight = 16;
    HexToCharResized(wide, CharToHex(small));
    for (int x = 0; x < 16; x++)
        for (int y = 0; y < 24; y++)
            EXPECT_EQ(wide.Grid(x, y), x < 8 && y < 16 && PatternBit(x, y) ? 1 : 0) << x << "," << y;
    EXPECT_EQ(wide.Grid(16, 0), 1) << "a larger size leaves the border alone";
}

TEST(GlyphCodec, DoublingOfByteWideGlyphs)
{
    State old = Sized(8, 8);
    old.Grid(0, 0) = 1;
    const std::string text = CharToHex(old);

    State w = Sized(16, 8);
    HexToCharDoubleWidth(w, text);
    EXPECT_EQ(CharToHex(w), "0xC0,0x00," + Repeat("0x00,", 14));

    State d = Sized(16, 16);
    HexToCharDoubleSize(d, text);
    EXPECT_EQ(CharToHex(d), "0xC0,0x00,0xC0,0x00," + Repeat("0x00,", 28));
}

TEST(GlyphCodec, DoublingReadsTheTrueBitStreamOfAnyWidth)
{
    // Old widths 5, 6 and 16 (the last a multiple of 8); the grid starts
    // full so that any cell left unwritten would show.
    for (const int oldW : {5, 6, 16}) {
        const int oldH = 8;
        State old = Sized(oldW, oldH);
        FillPattern(old, oldW, oldH);
        const std::string text = CharToHex(old);

        State w = Sized(2 * oldW, oldH);
        FillAll(w, 1);
        HexToCharDoubleWidth(w, text);
        for (int x = 0; x < 2 * oldW; x++)
            for (int y = 0; y < oldH; y++)
                EXPECT_EQ(w.Grid(x, y), PatternBit(x / 2, y) ? 1 : 0) << "width " << oldW << " at " << x << "," << y;

        State d = Sized(2 * oldW, 2 * oldH);
        FillAll(d, 1);
        HexToCharDoubleSize(d, text);
        for (int x = 0; x < 2 * oldW; x++)
            for (int y = 0; y < 2 * oldH; y++)
                EXPECT_EQ(d.Grid(x, y), PatternBit(x / 2, y / 2) ? 1 : 0) << "size " << oldW << " at " << x << "," << y;
    }

    // 5 x 3 has a partial last byte: its 7 pixels are not stored and double
    // as clear.
    State old = Sized(5, 3);
    FillAll(old, 1);
    State w = Sized(10, 3);
    HexToCharDoubleWidth(w, CharToHex(old));
    EXPECT_EQ(w.Grid(0, 1), 1);
    EXPECT_EQ(w.Grid(1, 1), 1);  // pixel 5 of the stream: (0, 1)
    EXPECT_EQ(w.Grid(5, 1), 1);  // pixel 7, the last one stored
    EXPECT_EQ(w.Grid(6, 1), 0);  // pixel 8: the first one not stored
    EXPECT_EQ(w.Grid(9, 2), 0);
}

TEST(FontHeader, TwoDigitTokensAndHonestLargeValues)
{
    State s;
    s.FontWidth = 16;
    s.FontHeight = 24;
    s.FontStart = 32;
    s.FontCount = 95;
    MakeFontHeader(s);
    EXPECT_EQ(s.FontHeader, "0x10,0x18,0x20,0x5F,");

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
    EXPECT_EQ(RoundToInt(0.5), 0);
    EXPECT_EQ(RoundToInt(1.5), 2);
    EXPECT_EQ(RoundToInt(2.5), 2);
    EXPECT_EQ(RoundToInt(3.5), 4);
    EXPECT_EQ(RoundToInt(-2.5), -2);
    EXPECT_EQ(RoundToInt(-1.5), -2);
    EXPECT_EQ(RoundToInt(-0.5), 0);
    EXPECT_EQ(RoundToInt(2.4999), 2);
    EXPECT_EQ(RoundToInt(2.5001), 3);
    EXPECT_EQ(RoundToInt(-7.6), -8);
    EXPECT_EQ(RoundToInt(std::nan("")), 0);
    EXPECT_EQ(RoundToInt(1e300), INT64_MAX);
}
