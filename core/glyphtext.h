// The glyph text form: one byte a token, "0x", two upper-case hexadecimal
// digits and ",", the bytes holding the glyph's pixels as one bit stream
// (rows top to bottom, pixels left to right, the first pixel in the most
// significant bit, rows not padded to whole bytes).
//
// These are the one place where a glyph text is turned into bytes and back.
// Reading is lenient, as the editor has always read glyph texts: token i is
// the i-th field between commas; its first two characters are skipped unread
// (a multi-byte UTF-8 character counts as one) and the next two are read as
// hexadecimal digits of either case, stopping at the first other character.
// A field with nothing readable, or one past the end of the text, gives 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Reads the tokens of a glyph text in order, without copying.
class GlyphTokenReader {
public:
    explicit GlyphTokenReader(std::string_view text)
        : pos_(text.data()), end_(text.data() + text.size())
    {
    }
    // The next byte; 0 once the text is used up.
    uint8_t Next();
    bool AtEnd() const { return pos_ >= end_; }
    // Where the next token starts.
    const char* Position() const { return pos_; }

private:
    const char* pos_;
    const char* end_;
};

// Fills `bytes` with the first bytes.size() tokens of `text`; missing tokens
// give 0.
void DecodeGlyphBytes(std::string_view text, std::span<uint8_t> bytes);
// The first `count` bytes of `text` (count below 0 gives none).
std::vector<uint8_t> GlyphBytes(std::string_view text, int64_t count);

// Appends one token for `value`: "0x", two upper-case digits, ",".
void AppendGlyphToken(std::string& text, uint8_t value);
// The glyph text of `bytes`.
std::string EncodeGlyphBytes(std::span<const uint8_t> bytes);
// The same into `text` (replacing what it held), so that one buffer can
// serve a whole font.
void EncodeGlyphBytes(std::span<const uint8_t> bytes, std::string& text);
// Two upper-case hexadecimal digits.
void AppendHexByte(std::string& text, uint8_t value);

// Bytes per glyph of a width x height glyph: (width x height) div 8, 0 for an
// empty or negative size.
int64_t GlyphByteCount(int64_t width, int64_t height);
