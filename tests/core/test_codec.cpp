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

bool Pattern(int x, int y)
{
    return ((x * 7 + y * 13 + x * y) % 5) < 2;
}

State Patterned(int w, int h)
{
    State s = Sized(w, h);
    for (int x = 0; x < w; x++)
        for (int y = 0; y < h; y++)
            s.Grid(x, y) = Pattern(x, y) ? 1 : 0;
    return s;
}

// Columns 0 to w - 1 and rows 0 to h - 1 of the grid against want(x, y).
template <class Want>
void ExpectCells(const State& s, int w, int h, Want want, const std::string& what = "")
{
    for (int x = 0; x < w; x++)
        for (int y = 0; y < h; y++)
            EXPECT_EQ(s.Grid(x, y), want(x, y) ? 1 : 0) << what << " at " << x << "," << y;
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
    t.Grid(11, 0) = t.Grid(0, 1) = t.Grid(12, 0) = t.Grid(0, 2) = 1;
    t.Grid(1, 1) = 2;
    t.Grid(2, 1) = -1;
    EXPECT_EQ(CharToHex(t), "0x00,0x18,0x00,");

    State v = Sized(12, 10, 1);
    HexToChar(v, CharToHex(Patterned(12, 10)));
    ExpectCells(v, 12, 10, Pattern);
}

TEST(GlyphCodec, DecodesAnyText)
{
    State s = Sized(8, 2, 1);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "0x00,0x00,"},
        {"0xFF,", "0xFF,0x00,"},                  // missing token: clear
        {"0x01,0x02,0xFF,0xFF,", "0x01,0x02,"},   // surplus tokens ignored
        {"0xff,0x1,", "0xFF,0x01,"},              // lower case, one digit
        {"0X3C,0x3c", "0x3C,0x3C,"},              // "0X"; no closing comma
        {"  0x3C, 0x3C,", "0x00,0x00,"},          // the first two characters are skipped unread
        {"0xG1,0x1G,", "0x00,0x01,"},             // reading stops at a non-digit
        {"é1,0x\xC3\xA9,", "0x00,0x00,"},         // a two-byte character counts as one
        {"x\xC3\xA9" "1F,", "0x1F,0x00,"},        // ... so "x" and "é" are the two skipped
        {"0x-1,0x$1,", "0x00,0x00,"},
    };
    for (const auto& [text, encoded] : cases) {
        HexToChar(s, text);
        EXPECT_EQ(CharToHex(s), encoded) << text;
    }
    EXPECT_EQ(s.Grid(8, 0), 1) << "the border column is left as it was";
}

TEST(GlyphCodec, PartialLastByteAndNarrowGlyphs)
{
    // 5 x 7: four whole bytes; the last three pixels are not stored.
    const std::string full = CharToHex(Sized(5, 7, 1));
    EXPECT_EQ(full, "0xFF,0xFF,0xFF,0xFF,");
    State t = Sized(5, 7);
    HexToChar(t, full);
    ExpectCells(t, 5, 7, [](int x, int y) { return y < 6 || x < 2; });

    // A fifth token fills the last three pixels; its surplus bits land in
    // the border row, and the border column is not touched.
    t.Grid(5, 3) = 1;
    HexToChar(t, full + "0xFF,");
    ExpectCells(t, 5, 8, [](int, int) { return true; });
    EXPECT_EQ(t.Grid(5, 3), 1);

    // One token of a 1 x 4 glyph covers rows 0 to 7; the grid has 6 rows.
    State n = Sized(1, 4);
    HexToChar(n, "0xFF,");
    ExpectCells(n, 1, 6, [](int, int) { return true; });
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
    // The old glyph's column 8 and row 16 land in the border.
    State small = Sized(8, 16, 1);
    small.PrevFontWidth = 16;
    small.PrevFontHeight = 24;
    HexToCharResized(small, CharToHex(Patterned(16, 24)));
    ExpectCells(small, 9, 17, Pattern);

    State wide = Sized(16, 24, 1);
    wide.PrevFontWidth = 8;
    wide.PrevFontHeight = 16;
    HexToCharResized(wide, CharToHex(small));
    ExpectCells(wide, 16, 24, [](int x, int y) { return x < 8 && y < 16 && Pattern(x, y); });
    EXPECT_EQ(wide.Grid(16, 0), 1) << "a larger size leaves the border alone";
}

TEST(GlyphCodec, DoublingReadsTheTrueBitStreamOfAnyWidth)
{
    // A byte-wide glyph and one whose rows do not start on byte boundaries.
    for (const int oldW : {8, 5}) {
        const std::string text = CharToHex(Patterned(oldW, 8));
        State w = Sized(2 * oldW, 8, 1);
        HexToCharDoubleWidth(w, text);
        const std::string what = std::to_string(oldW) + " pixels wide";
        ExpectCells(w, 2 * oldW, 8, [](int x, int y) { return Pattern(x / 2, y); }, what);
        State d = Sized(2 * oldW, 16, 1);
        HexToCharDoubleSize(d, text);
        ExpectCells(d, 2 * oldW, 16, [](int x, int y) { return Pattern(x / 2, y / 2); }, what);
    }

    // 5 x 3 has a partial last byte: its 7 pixels are not stored and double
    // as clear.
    State w = Sized(10, 3);
    HexToCharDoubleWidth(w, CharToHex(Sized(5, 3, 1)));
    EXPECT_EQ(w.Grid(1, 1), 1);  // pixel 5 of the stream: (0, 1)
    EXPECT_EQ(w.Grid(5, 1), 1);  // pixel 7, the last one stored
    EXPECT_EQ(w.Grid(6, 1), 0);  // pixel 8: the first one not stored
    EXPECT_EQ(w.Grid(9, 2), 0);
}

TEST(FontHeader, TwoDigitTokensAndHonestLargeValues)
{
    State s = Sized(8, 16);
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
