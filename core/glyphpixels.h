// Glyphs as one byte a pixel (1 set, 0 clear), row after row: the bit stream
// of a glyph text unpacked, so that the whole-font commands move rows and
// columns of the stored glyphs without going through the editor's grid.
//
// Each transform gives the text the command stores for a glyph: the same
// text that decoding it into `Grid`, changing it there and encoding `Grid`
// gives, odd texts included (a test holds the two paths together).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class GlyphPixels {
public:
    // Unpacks the tokens of `text` that hold pixels 0 to pixels - 1, eight
    // pixels a token (a partial last byte unpacked whole); the pixels of
    // missing tokens are 0. The result holds 8 x ceil(pixels / 8) pixels and
    // stays valid until the next Unpack.
    const uint8_t* Unpack(std::string_view text, int64_t pixels);
    // The glyph text of the first `pixels` of `px` (0 or 1 each), one token
    // per whole byte: a partial last byte is not stored.
    void Pack(const uint8_t* px, int64_t pixels, std::string& text);
    // The first `count` bytes of `text` (missing tokens give 0), valid until
    // the next call.
    const uint8_t* Bytes(std::string_view text, int64_t count);

private:
    std::vector<uint8_t> bytes_;
    std::vector<uint8_t> unpacked_;
};

// The whole-font transforms of one glyph text of a W x H font into the text
// to store. `codec` and `work` are buffers reused from glyph to glyph.
class GlyphTransform {
public:
    GlyphTransform(int width, int height) : W(width), H(height) {}

    const int W;
    const int H;

    // Centre between its empty columns.
    void Centre(std::string_view text, std::string& out);
    // To column 0 when its first set column in rows 0 to lastRow is 2 or more.
    void LeftAlign(std::string_view text, int lastRow, std::string& out);
    // One pixel along one axis (dx or dy is 0).
    void Shift(std::string_view text, int dx, int dy, std::string& out);
    // A glyph of oldW x oldH, anchored top-left, cropped or padded with clear
    // pixels.
    void Resize(std::string_view text, int oldW, int oldH, std::string& out);
    // A glyph of W / 2 x H / 2 (each pixel a 2 x 2 block) or W / 2 x H (each
    // pixel doubled across).
    void DoubleSize(std::string_view text, std::string& out);
    void DoubleWidth(std::string_view text, std::string& out);
    // The proportional save: left-aligned by rows 0 to H - 1, and its width
    // (one more than its last set column; an empty glyph is 1 wide, an empty
    // code 32 half the cell).
    int32_t AlignAndMeasure(std::string_view text, int32_t code, std::string& out);

private:
    GlyphPixels codec;
    std::vector<uint8_t> work;
    std::vector<uint8_t> doubledBytes;

    // Doubling of a glyph whose rows are whole bytes: byte by byte.
    void DoubleBytes(std::string_view text, int oldW, int oldH, bool tall, std::string& out);

    uint8_t* Blank();
    // The work buffer for a glyph whose every pixel is about to be written.
    uint8_t* Unfilled();
    // The glyph of the unpacked `px` moved by `shift` columns (right when
    // positive), clear columns entering; held in `work`.
    const uint8_t* Moved(const uint8_t* px, int shift);
    // The pixels of the glyph after the left alignment.
    const uint8_t* Aligned(std::string_view text, int lastRow);
};
