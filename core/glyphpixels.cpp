// Glyph texts unpacked to one byte a pixel, and the whole-font transforms on
// them.
#include "core/glyphpixels.h"

#include <algorithm>
#include <cstring>

#include "core/glyphtext.h"

namespace {

// The eight pixels of every byte value, first pixel (the most significant
// bit) in the lowest byte in memory.
struct UnpackTable {
    uint64_t Pixels[256];
    constexpr UnpackTable() : Pixels()
    {
        for (int v = 0; v < 256; v++) {
            uint64_t eight = 0;
            for (int j = 0; j < 8; j++)
                eight |= uint64_t((v >> (7 - j)) & 1) << (8 * j);
            Pixels[v] = eight;
        }
    }
};
constexpr UnpackTable Unpacked;

// Every byte value with each of its bits doubled: the first bit of the byte
// becomes the first two bits of the pair, its high byte first.
struct DoublingTable {
    uint16_t Bits[256];
    constexpr DoublingTable() : Bits()
    {
        for (int v = 0; v < 256; v++) {
            uint16_t wide = 0;
            for (int j = 0; j < 8; j++)
                if (v >> j & 1)
                    wide = uint16_t(wide | 3u << (2 * j));
            Bits[v] = wide;
        }
    }
};
constexpr DoublingTable Doubling;

// Each of `count` pixels twice, side by side.
void DoublePixels(const uint8_t* from, int count, uint8_t* to)
{
    for (int x = 0; x < count; x++) {
        const uint16_t pair = uint16_t(from[x] * 0x0101u);
        std::memcpy(to + 2 * x, &pair, 2);
    }
}

int64_t WholeBytes(int64_t pixels)
{
    return pixels > 0 ? (pixels + 7) / 8 : 0;
}

}  // namespace

const uint8_t* GlyphPixels::Bytes(std::string_view text, int64_t count)
{
    bytes_.resize(size_t(std::max<int64_t>(count, 0)));
    DecodeGlyphBytes(text, bytes_);
    return bytes_.data();
}

const uint8_t* GlyphPixels::Unpack(std::string_view text, int64_t pixels)
{
    const size_t count = size_t(WholeBytes(pixels));
    bytes_.resize(count);
    DecodeGlyphBytes(text, bytes_);
    unpacked_.resize(count * 8 + 8);
    uint8_t* out = unpacked_.data();
    for (size_t i = 0; i < count; i++)
        std::memcpy(out + 8 * i, &Unpacked.Pixels[bytes_[i]], 8);
    return out;
}

void GlyphPixels::Pack(const uint8_t* px, int64_t pixels, std::string& text)
{
    const size_t count = pixels > 0 ? size_t(pixels / 8) : 0;
    bytes_.resize(count);
    for (size_t i = 0; i < count; i++) {
        uint64_t eight;
        std::memcpy(&eight, px + 8 * i, 8);
        // Gathers the low bit of each of the eight bytes, the lowest byte
        // into the most significant bit.
        bytes_[i] = uint8_t((eight * 0x8040201008040201ull) >> 56);
    }
    EncodeGlyphBytes(bytes_, text);
}

uint8_t* GlyphTransform::Blank()
{
    work.assign(size_t(W) * size_t(H) + 8, 0);
    return work.data();
}

uint8_t* GlyphTransform::Unfilled()
{
    work.resize(size_t(W) * size_t(H) + 8);
    return work.data();
}

const uint8_t* GlyphTransform::Moved(const uint8_t* px, int shift)
{
    uint8_t* moved = Blank();
    const int m = std::min(shift < 0 ? -shift : shift, W);
    for (int y = 0; y < H; y++) {
        const uint8_t* from = px + size_t(y) * size_t(W);
        uint8_t* to = moved + size_t(y) * size_t(W);
        if (shift > 0)
            std::memcpy(to + m, from, size_t(W - m));
        else
            std::memcpy(to, from + m, size_t(W - m));
    }
    return moved;
}

void GlyphTransform::Centre(std::string_view text, std::string& out)
{
    const int64_t pixels = int64_t(W) * H;
    const uint8_t* px = codec.Unpack(text, pixels);
    // Every decoded pixel marks its column, the unused end of a partial last
    // byte included (it wraps into the rows below the glyph).
    std::vector<uint8_t>& used = work;
    used.assign(size_t(W), 0);
    const int64_t decoded = WholeBytes(pixels) * 8;
    for (int64_t start = 0; start < decoded; start += W) {
        const int64_t n = std::min<int64_t>(W, decoded - start);
        for (int64_t x = 0; x < n; x++)
            used[size_t(x)] |= px[start + x];
    }
    int left = 0;
    while (left < W && !used[size_t(left)])
        left++;
    int right = 0;
    while (right < W && !used[size_t(W - 1 - right)])
        right++;
    const int shift = (right - left) / 2;
    codec.Pack(shift == 0 ? px : Moved(px, shift), pixels, out);
}

const uint8_t* GlyphTransform::Aligned(std::string_view text, int lastRow)
{
    const int64_t pixels = int64_t(W) * H;
    const uint8_t* px = codec.Unpack(text, pixels);
    // Rows below the glyph hold only what a partial last byte put there.
    const int64_t decoded = WholeBytes(pixels) * 8;
    int first = W;
    for (int y = 0; y <= lastRow; y++)
        for (int x = 0; x < first; x++) {
            const int64_t p = int64_t(y) * W + x;
            if (p < decoded && px[p]) {
                first = x;
                break;
            }
        }
    if (first < W && first > 1)
        return Moved(px, -first);
    return px;
}

void GlyphTransform::LeftAlign(std::string_view text, int lastRow, std::string& out)
{
    codec.Pack(Aligned(text, lastRow), int64_t(W) * H, out);
}

void GlyphTransform::Shift(std::string_view text, int dx, int dy, std::string& out)
{
    const int64_t pixels = int64_t(W) * H;
    const uint8_t* px = codec.Unpack(text, pixels);
    if (dx != 0) {
        codec.Pack(Moved(px, dx > 0 ? 1 : -1), pixels, out);
        return;
    }
    if (dy == 0 || H <= 0) {
        codec.Pack(px, pixels, out);
        return;
    }
    uint8_t* moved = Blank();
    const size_t row = size_t(W);
    if (dy > 0) {
        // Up: the last row takes the row below the glyph, which holds only
        // what a partial last byte put there.
        std::memcpy(moved, px + row, row * size_t(H - 1));
        const int64_t decoded = WholeBytes(pixels) * 8;
        for (int64_t x = 0; x < W && pixels + x < decoded; x++)
            moved[size_t(pixels - W + x)] = px[pixels + x];
    } else {
        std::memcpy(moved + row, px, row * size_t(H - 1));
    }
    codec.Pack(moved, pixels, out);
}

void GlyphTransform::Resize(std::string_view text, int oldW, int oldH, std::string& out)
{
    uint8_t* resized = Blank();
    if (oldW > 0 && oldH > 0) {
        const uint8_t* px = codec.Unpack(text, int64_t(oldW) * oldH);
        const int w = std::min(oldW, W);
        for (int y = 0; y < std::min(oldH, H); y++)
            std::memcpy(resized + size_t(y) * size_t(W), px + size_t(y) * size_t(oldW), size_t(w));
    }
    codec.Pack(resized, int64_t(W) * H, out);
}

void GlyphTransform::DoubleBytes(std::string_view text, int oldW, int oldH, bool tall, std::string& out)
{
    const size_t rowBytes = size_t(oldW / 8);
    const uint8_t* old = codec.Bytes(text, int64_t(rowBytes) * oldH);
    doubledBytes.resize(rowBytes * 2 * size_t(oldH) * (tall ? 2 : 1));
    uint8_t* to = doubledBytes.data();
    for (int y = 0; y < oldH; y++) {
        const uint8_t* from = old + size_t(y) * rowBytes;
        for (size_t b = 0; b < rowBytes; b++) {
            const uint16_t wide = Doubling.Bits[from[b]];
            to[2 * b] = uint8_t(wide >> 8);
            to[2 * b + 1] = uint8_t(wide);
        }
        if (tall) {
            std::memcpy(to + 2 * rowBytes, to, 2 * rowBytes);
            to += 4 * rowBytes;
        } else {
            to += 2 * rowBytes;
        }
    }
    EncodeGlyphBytes(doubledBytes, out);
}

void GlyphTransform::DoubleSize(std::string_view text, std::string& out)
{
    const int oldW = W / 2;
    const int oldH = H / 2;
    if (oldW > 0 && oldH > 0 && oldW % 8 == 0 && W == 2 * oldW && H == 2 * oldH) {
        DoubleBytes(text, oldW, oldH, true, out);
        return;
    }
    // Every pixel is written when the old glyph has any.
    uint8_t* doubled = oldW > 0 && oldH > 0 && W == 2 * oldW && H == 2 * oldH ? Unfilled() : Blank();
    if (oldW > 0 && oldH > 0) {
        const uint8_t* px = codec.Unpack(text, int64_t(oldW) * oldH);
        for (int y = 0; y < oldH; y++) {
            uint8_t* to = doubled + size_t(2 * y) * size_t(W);
            DoublePixels(px + size_t(y) * size_t(oldW), oldW, to);
            std::memcpy(to + W, to, size_t(W));
        }
    }
    codec.Pack(doubled, int64_t(W) * H, out);
}

void GlyphTransform::DoubleWidth(std::string_view text, std::string& out)
{
    const int oldW = W / 2;
    if (oldW > 0 && H > 0 && oldW % 8 == 0 && W == 2 * oldW) {
        DoubleBytes(text, oldW, H, false, out);
        return;
    }
    uint8_t* doubled = oldW > 0 && H > 0 && W == 2 * oldW ? Unfilled() : Blank();
    if (oldW > 0 && H > 0) {
        const uint8_t* px = codec.Unpack(text, int64_t(oldW) * H);
        for (int y = 0; y < H; y++)
            DoublePixels(px + size_t(y) * size_t(oldW), oldW, doubled + size_t(y) * size_t(W));
    }
    codec.Pack(doubled, int64_t(W) * H, out);
}

int32_t GlyphTransform::AlignAndMeasure(std::string_view text, int32_t code, std::string& out)
{
    const uint8_t* px = Aligned(text, H - 1);
    codec.Pack(px, int64_t(W) * H, out);
    // Measured on the pixels, so the end of a partial last byte counts as
    // the editor shows it.
    for (int x = W - 1; x >= 0; x--)
        for (int y = 0; y < H; y++)
            if (px[int64_t(y) * W + x])
                return x + 1;
    return code == 32 ? W / 2 : 1;
}
