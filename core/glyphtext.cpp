// The glyph text form, both ways.
#include "core/glyphtext.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// The value of every byte as a hexadecimal digit, -1 for any other byte.
struct HexTable {
    int8_t Value[256];
    constexpr HexTable() : Value()
    {
        for (int c = 0; c < 256; c++)
            Value[c] = c >= '0' && c <= '9' ? int8_t(c - '0')
                       : c >= 'A' && c <= 'F' ? int8_t(c - 'A' + 10)
                       : c >= 'a' && c <= 'f' ? int8_t(c - 'a' + 10)
                                              : int8_t(-1);
    }
};
constexpr HexTable Hex;

int HexDigitValue(char c)
{
    return Hex.Value[static_cast<unsigned char>(c)];
}

// The token of every byte value, "0xHH," five characters each.
struct TokenTable {
    char Text[256][5];
    constexpr TokenTable() : Text()
    {
        for (int v = 0; v < 256; v++) {
            Text[v][0] = '0';
            Text[v][1] = 'x';
            Text[v][2] = HexDigits[v >> 4];
            Text[v][3] = HexDigits[v & 15];
            Text[v][4] = ',';
        }
    }
};
constexpr TokenTable Tokens;

}  // namespace

uint8_t GlyphTokenReader::Next()
{
    const char* field = pos_;
    const char* comma = static_cast<const char*>(std::memchr(field, ',', size_t(end_ - field)));
    const char* fieldEnd = comma ? comma : end_;
    pos_ = comma ? comma + 1 : end_;

    // Skip two characters (UTF-8 sequences count as one character each).
    const char* p = field;
    for (int k = 0; k < 2 && p < fieldEnd; k++) {
        ++p;
        while (p < fieldEnd && (static_cast<unsigned char>(*p) & 0xC0) == 0x80)
            ++p;
    }
    int value = 0;
    for (int k = 0; k < 2 && p < fieldEnd; k++, p++) {
        const int digit = HexDigitValue(*p);
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return uint8_t(value & 0xFF);
}

void DecodeGlyphBytes(std::string_view text, std::span<uint8_t> bytes)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    size_t i = 0;
    while (i < bytes.size() && p < end) {
        // The usual token: two plain characters, two digits and the comma.
        if (end - p >= 5 && p[4] == ',') {
            const unsigned char c0 = static_cast<unsigned char>(p[0]);
            const unsigned char c1 = static_cast<unsigned char>(p[1]);
            const int high = Hex.Value[static_cast<unsigned char>(p[2])];
            const int low = Hex.Value[static_cast<unsigned char>(p[3])];
            if (c0 < 0x80 && c1 < 0x80 && c0 != ',' && c1 != ',' && high >= 0 && low >= 0) {
                bytes[i++] = uint8_t(high * 16 + low);
                p += 5;
                continue;
            }
        }
        // Anything else by the general rule, one field.
        GlyphTokenReader reader(std::string_view(p, size_t(end - p)));
        bytes[i++] = reader.Next();
        p = reader.Position();
    }
    std::fill(bytes.begin() + ptrdiff_t(i), bytes.end(), uint8_t(0));
}

std::vector<uint8_t> GlyphBytes(std::string_view text, int64_t count)
{
    std::vector<uint8_t> bytes(size_t(std::max<int64_t>(count, 0)));
    DecodeGlyphBytes(text, bytes);
    return bytes;
}

void AppendHexByte(std::string& text, uint8_t value)
{
    text.append(Tokens.Text[value] + 2, 2);
}

void AppendGlyphToken(std::string& text, uint8_t value)
{
    text.append(Tokens.Text[value], 5);
}

void EncodeGlyphBytes(std::span<const uint8_t> bytes, std::string& text)
{
    text.resize(bytes.size() * 5);
    char* out = text.data();
    for (const uint8_t b : bytes) {
        std::memcpy(out, Tokens.Text[b], 5);
        out += 5;
    }
}

std::string EncodeGlyphBytes(std::span<const uint8_t> bytes)
{
    std::string text;
    EncodeGlyphBytes(bytes, text);
    return text;
}

int64_t GlyphByteCount(int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0)
        return 0;
    return width * height / 8;
}
