// The glyph text form, both ways.
#include "core/glyphtext.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

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
    GlyphTokenReader reader(text);
    size_t i = 0;
    for (; i < bytes.size() && !reader.AtEnd(); ++i)
        bytes[i] = reader.Next();
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
    text += HexDigits[value >> 4];
    text += HexDigits[value & 15];
}

void AppendGlyphToken(std::string& text, uint8_t value)
{
    text += "0x";
    AppendHexByte(text, value);
    text += ',';
}

std::string EncodeGlyphBytes(std::span<const uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() * 5);
    for (const uint8_t b : bytes)
        AppendGlyphToken(text, b);
    return text;
}

std::string EncodePixels(std::span<const uint8_t> pixels)
{
    std::string text;
    text.reserve(pixels.size() / 8 * 5);
    for (size_t i = 0; i + 8 <= pixels.size(); i += 8) {
        unsigned value = 0;
        for (size_t j = 0; j < 8; j++)
            value = (value << 1) | (pixels[i + j] ? 1u : 0u);
        AppendGlyphToken(text, uint8_t(value));
    }
    return text;
}

int64_t GlyphByteCount(int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0)
        return 0;
    return width * height / 8;
}
