// The glyph text codec: the editor grid to and from the "0xHH," byte tokens,
// the decoders that read a glyph of an older size, and the font header.
#include "core/fontstore.h"

#include "core/glyphtext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Decodes the bit stream of a glyph `width` pixels wide: every byte token
// whose first bit lies below `pixels`, eight bits each, most significant
// first. `put(x, y, bit)` receives every decoded bit with its position by the
// wrapping rule x = p mod width, y = p div width, partial last byte included.
// Bytes whose first pixel lies in row `rowLimit` or further down are of no
// use to the caller and are not read.
template <class Put>
void DecodeBits(std::string_view text, int width, int64_t pixels, int64_t rowLimit, Put&& put)
{
    if (width <= 0 || pixels <= 0)
        return;
    // Bytes whose first pixel lies in row `rowLimit` or below are not needed.
    const int64_t bytes = std::min((pixels + 7) / 8, rowLimit * width / 8 + 1);
    std::vector<uint8_t> values(size_t(std::max<int64_t>(bytes, 0)));
    DecodeGlyphBytes(text, values);
    int x = 0;
    int64_t y = 0;
    for (int64_t i = 0; i < bytes && y < rowLimit; i++) {
        const int value = values[size_t(i)];
        for (int j = 7; j >= 0; j--) {
            put(x, int(y), (value >> j) & 1);
            if (++x == width) {
                x = 0;
                ++y;
            }
        }
    }
}

void SetCell(GridArray& grid, int x, int y, int value)
{
    if (grid.Inside(x, y))
        grid(x, y) = value;
}

}  // namespace

std::string CharToHex(const State& s)
{
    const int w = s.FontWidth;
    const int h = s.FontHeight;
    const int64_t count = GlyphByteCount(w, h);
    if (count == 0)
        return {};
    std::vector<uint8_t> bytes(size_t(count), 0);

    // Only cells holding exactly 1 count as set; a partial last byte is
    // never stored.
    const GridArray& g = s.Grid;
    const int columns = g.Columns;
    const int rows = g.Rows;
    const int32_t* cells = g.Cells.data();
    unsigned value = 0;
    int k = 0;
    size_t i = 0;
    for (int y = 0; y < h && i < bytes.size(); y++) {
        const bool rowInside = y < rows;
        for (int x = 0; x < w; x++) {
            const bool set = rowInside && x < columns && cells[size_t(x) * size_t(rows) + size_t(y)] == 1;
            value = (value << 1) | (set ? 1u : 0u);
            if (++k == 8) {
                bytes[i++] = uint8_t(value);
                value = 0;
                k = 0;
                if (i == bytes.size())
                    break;
            }
        }
    }
    return EncodeGlyphBytes(bytes);
}

void HexToChar(State& s, const std::string& text)
{
    const int w = s.FontWidth;
    const int h = s.FontHeight;
    if (w <= 0 || h <= 0)
        return;
    GridArray& g = s.Grid;
    DecodeBits(text, w, int64_t(w) * h, g.Rows, [&g](int x, int y, int bit) { SetCell(g, x, y, bit); });
}

void HexToChar(State& s, const std::string& text, std::vector<char>& setColumns)
{
    const int w = s.FontWidth;
    const int h = s.FontHeight;
    setColumns.assign(size_t(w > 0 ? w : 0) + 1, 0);
    if (w <= 0 || h <= 0)
        return;
    GridArray& g = s.Grid;
    // Every decoded bit counts, also those of a partial last byte that fall
    // below the glyph area (or outside the grid).
    DecodeBits(text, w, int64_t(w) * h, h, [&g, &setColumns](int x, int y, int bit) {
        SetCell(g, x, y, bit);
        if (bit)
            setColumns[size_t(x)] = 1;
    });
}

void HexToCharResized(State& s, const std::string& text)
{
    const int w = s.FontWidth;
    const int h = s.FontHeight;
    const int oldW = s.PrevFontWidth;
    const int oldH = s.PrevFontHeight;
    GridArray& g = s.Grid;

    for (int x = 0; x < w && x < g.Columns; x++)
        for (int y = 0; y < h && y < g.Rows; y++)
            g(x, y) = 0;
    if (oldW <= 0 || oldH <= 0)
        return;

    // The old glyph stays anchored top-left: cropped or padded at the right
    // and the bottom; its column w and row h land in the border.
    const int64_t rows = std::min<int64_t>(oldH, int64_t(h) + 1);
    DecodeBits(text, oldW, int64_t(oldW) * oldH, rows, [&g, w, h, oldH](int x, int y, int bit) {
        if (y < oldH && x <= w && y <= h)
            SetCell(g, x, y, bit);
    });
}

void HexToCharDoubleWidth(State& s, const std::string& text)
{
    const int oldW = s.FontWidth / 2;
    const int oldH = s.FontHeight;
    if (oldW <= 0 || oldH <= 0)
        return;
    GridArray& g = s.Grid;
    // The old glyph is read as its true bit stream, whatever its width.
    DecodeBits(text, oldW, int64_t(oldW) * oldH, std::min<int64_t>(oldH, g.Rows), [&g, oldH](int x, int y, int bit) {
        if (y < oldH) {
            SetCell(g, 2 * x, y, bit);
            SetCell(g, 2 * x + 1, y, bit);
        }
    });
}

void HexToCharDoubleSize(State& s, const std::string& text)
{
    const int oldW = s.FontWidth / 2;
    const int oldH = s.FontHeight / 2;
    if (oldW <= 0 || oldH <= 0)
        return;
    GridArray& g = s.Grid;
    const int64_t rows = std::min<int64_t>(oldH, (int64_t(g.Rows) + 1) / 2);
    DecodeBits(text, oldW, int64_t(oldW) * oldH, rows, [&g, oldH](int x, int y, int bit) {
        if (y < oldH) {
            SetCell(g, 2 * x, 2 * y, bit);
            SetCell(g, 2 * x + 1, 2 * y, bit);
            SetCell(g, 2 * x, 2 * y + 1, bit);
            SetCell(g, 2 * x + 1, 2 * y + 1, bit);
        }
    });
}

void MakeFontHeader(State& s)
{
    // Values 0 to 255 take two digits; a larger value keeps all its digits,
    // so the header never states a size other than the real one.
    std::string header;
    for (const int32_t value : {s.FontWidth, s.FontHeight, s.FontStart, s.FontCount}) {
        char digits[24];
        std::snprintf(digits, sizeof digits, "%02llX", static_cast<unsigned long long>(int64_t(value)));
        header += "0x";
        header += digits;
        header += ',';
    }
    s.FontHeader = std::move(header);
}

std::string MakeDefaultPreamble()
{
    std::string text;
    for (const char* line : {"",
                             "#if defined(__AVR__)",
                             "    #include <avr/pgmspace.h>",
                             "    #define fontdatatype const uint8_t",
                             "#elif defined(__PIC32MX__)",
                             "    #define PROGMEM",
                             "    #define fontdatatype const unsigned char",
                             "#elif defined(__arm__)",
                             "    #define PROGMEM",
                             "    #define fontdatatype const unsigned char",
                             "#endif",
                             ""}) {
        text += line;
        text += "\r\n";
    }
    return text;
}

int64_t RoundToInt(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double limit = 9223372036854775807.0;  // 2^63
    if (value >= limit)
        return std::numeric_limits<int64_t>::max();
    if (value <= -limit)
        return std::numeric_limits<int64_t>::min();
    const double below = std::floor(value);
    const double fraction = value - below;  // exact
    double result = below;
    if (fraction > 0.5)
        result = below + 1.0;
    else if (fraction == 0.5)
        result = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
    return static_cast<int64_t>(result);
}
