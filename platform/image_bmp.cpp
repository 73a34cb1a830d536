// BMP files, read and written by our own code. Reads 1, 4 and 8 bits with a
// palette (4 and 8 bits also run-length encoded) and 16, 24 and 32 bits direct
// (16 and 32 also with bit fields, an alpha field among them), bottom-up or
// top-down; writes 24-bit bottom-up files.
#include <algorithm>
#include <bit>
#include <cstdio>
#include <new>

#include "platform/image_codecs.h"

namespace platform {

namespace {

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t U32(const uint8_t* p) { return U16(p) | U16(p + 2) << 16; }

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = 32 - std::countl_zero(m >> shift);
        }
    }
    uint32_t Get(uint32_t v) const
    {
        if (!bits)
            return 0;
        uint64_t x = (v & mask) >> shift;
        if (bits >= 8)
            return uint32_t(x >> (bits - 8)) & 255;
        return uint32_t(x * 255 / ((uint64_t(1) << bits) - 1));
    }
};

constexpr uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiAlphaBitfields = 6;

const char* const Damaged = "The BMP file is damaged: its header is wrong.";
const char* const Truncated = "The BMP file is truncated.";

// The run-length codes of a 4- or 8-bit picture from `at` on, rows stored
// bottom-up: a count with an index (a run; at 4 bits two indices taking
// turns), or 0 with an escape: 0 ends the row, 1 the picture, 2 jumps right
// and up by the next two bytes, 3 to 255 that many literal indices padded to
// whole 16-bit words. Pixels the codes skip keep palette entry 0, and
// pixels past the right edge are dropped. A stream that ends before the
// picture does is a cut file.
bool DecodeRle(const uint8_t* data, size_t size, size_t at, int bits, const uint32_t* palette, Image& image,
               std::string& error)
{
    const int64_t width = image.Width, height = image.Height;
    std::fill(image.Pixels.begin(), image.Pixels.end(), palette[0] | 0xFF000000u);
    int64_t x = 0, row = 0;  // row counted from the bottom
    auto paint = [&](uint32_t count, auto indexAt) {
        uint32_t* out = image.Pixels.data() + size_t(height - 1 - row) * size_t(width);
        for (uint32_t i = 0; i < count && x + i < width; i++)
            out[x + i] = palette[indexAt(i)] | 0xFF000000u;
        x += count;
    };
    while (row < height) {
        if (size - at < 2) {
            error = Truncated;
            return false;
        }
        const uint8_t count = data[at], code = data[at + 1];
        at += 2;
        if (count > 0) {
            const uint32_t even = bits == 8 ? code : code >> 4u, odd = bits == 8 ? code : code & 15u;
            paint(count, [&](uint32_t i) { return i & 1 ? odd : even; });
        } else if (code == 0) {
            x = 0;
            row++;
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (size - at < 2) {
                error = Truncated;
                return false;
            }
            x += data[at];
            row += data[at + 1];
            at += 2;
        } else {
            const size_t bytes = bits == 8 ? code : (code + 1u) / 2;
            if (size - at < bytes) {
                error = Truncated;
                return false;
            }
            const uint8_t* literal = data + at;
            paint(code, [&](uint32_t i) {
                return bits == 8 ? literal[i] : uint32_t(literal[i / 2] >> (i & 1 ? 0 : 4) & 15);
            });
            at += std::min(bytes + (bytes & 1), size - at);
        }
    }
    return true;
}

}  // namespace

namespace codec {

bool DecodeBmp(const uint8_t* data, size_t size, Image& image, std::string& error)
{
    if (size < 26) {
        error = Truncated;
        return false;
    }
    uint64_t pixelOffset = U32(data + 10);
    uint64_t headerSize = U32(data + 14);
    if (headerSize < 12 || 14 + headerSize > size || (headerSize > 12 && headerSize < 40)) {
        error = Damaged;
        return false;
    }
    int64_t width, height;
    uint32_t bits, compression = BiRgb, colorsUsed = 0;
    if (headerSize == 12) {  // the old core header: 16-bit sizes, 3-byte palette entries
        width = U16(data + 18);
        height = U16(data + 20);
        bits = U16(data + 24);
    } else {
        width = int32_t(U32(data + 18));
        height = int32_t(U32(data + 22));
        bits = U16(data + 28);
        compression = U32(data + 30);
        colorsUsed = U32(data + 46);
    }
    bool topDown = height < 0;
    height = topDown ? -height : height;
    if (width <= 0 || height <= 0) {
        error = Damaged;
        return false;
    }
    if (!DecodedSizeAllowed(width, height)) {
        error = "The image is too large.";
        return false;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        error = "BMP files with " + std::to_string(bits) + " bits per pixel are not supported.";
        return false;
    }
    // Run-length codes come only with their own depth, and only bottom-up.
    const bool rle = compression == BiRle8 || compression == BiRle4;
    if (rle && (bits != (compression == BiRle8 ? 8u : 4u) || topDown)) {
        error = Damaged;
        return false;
    }
    uint64_t tableStart = 14 + headerSize;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    if ((compression == BiBitfields || compression == BiAlphaBitfields) && (bits == 16 || bits == 32)) {
        // The masks are part of a header of 52 bytes or more (an alpha mask
        // from 56 bytes on), or follow a 40-byte one: three, or four with
        // alpha.
        uint64_t at = tableStart;
        int count = 3;
        if (headerSize >= 52) {
            at = 54;
            count = headerSize >= 56 ? 4 : 3;
        } else {
            count = compression == BiAlphaBitfields ? 4 : 3;
            tableStart += 4 * uint64_t(count);
        }
        if (at + 4 * uint64_t(count) > size) {
            error = Damaged;
            return false;
        }
        for (int i = 0; i < count; i++)
            masks[i] = U32(data + at + 4 * uint64_t(i));
    } else if (compression != BiRgb && !rle) {
        error = "Compressed BMP files are not supported.";
        return false;
    } else if (bits == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }

    // The palette: entries that lie past the pixel data or the end of the file
    // are missing and read as black.
    uint32_t palette[256] = {};
    if (bits <= 8) {
        uint64_t entrySize = headerSize == 12 ? 3 : 4;
        uint64_t entries = colorsUsed == 0 ? uint64_t(1) << bits : std::min<uint64_t>(colorsUsed, uint64_t(1) << bits);
        uint64_t end = std::min<uint64_t>(pixelOffset, size);
        uint64_t room = end > tableStart ? (end - tableStart) / entrySize : 0;
        entries = std::min(entries, room);
        if (entries == 0) {
            error = "The BMP file has no colour palette.";
            return false;
        }
        for (uint64_t i = 0; i < entries; i++) {
            const uint8_t* p = data + tableStart + i * entrySize;
            palette[i] = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
        }
    }

    uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    uint64_t lastRow = (uint64_t(width) * bits + 7) / 8;  // the last row may lack its padding
    if (pixelOffset < tableStart || pixelOffset > size ||
        (!rle && pixelOffset + stride * uint64_t(height - 1) + lastRow > size)) {
        error = "The BMP file is truncated or its header is wrong.";
        return false;
    }
    if (!AllocateImage(&image, width, height)) {
        error = "Not enough memory for the image.";
        return false;
    }
    if (rle)
        return DecodeRle(data, size, size_t(pixelOffset), int(bits), palette, image, error);

    Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const bool bitFields = compression != BiRgb;
    uint32_t alphaSeen = 0;  // the alpha values of all pixels, or-ed
    for (int64_t y = 0; y < height; y++) {
        const uint8_t* row = data + pixelOffset + stride * uint64_t(topDown ? y : height - 1 - y);
        uint32_t* out = image.Pixels.data() + size_t(y) * size_t(width);
        for (int64_t x = 0; x < width; x++) {
            uint32_t c, a = 255;
            switch (bits) {
            case 1: c = palette[row[x >> 3] >> (7 - (x & 7)) & 1]; break;
            case 4: c = palette[row[x >> 1] >> (x & 1 ? 0 : 4) & 15]; break;
            case 8: c = palette[row[x]]; break;
            case 24: {
                const uint8_t* p = row + 3 * x;
                c = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
                break;
            }
            default: {  // 16 bits, and 32 bits with fields: the masks say where
                const uint32_t v = bits == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
                if (bits == 32 && !bitFields) {
                    c = (v >> 16 & 255) | (v & 0xFF00) | (v & 255) << 16;  // B, G, R and a byte not used
                } else {
                    c = red.Get(v) | green.Get(v) << 8 | blue.Get(v) << 16;
                    if (alpha.bits) {
                        a = alpha.Get(v);
                        alphaSeen |= a;
                    }
                }
                break;
            }
            }
            out[x] = c | a << 24;
        }
    }
    if (alpha.bits) {
        // Some writers give an alpha field and leave it 0 throughout: such a
        // picture is meant opaque.
        if (alphaSeen == 0)
            for (uint32_t& p : image.Pixels)
                p |= 0xFF000000u;
        else
            LayOverWhite(image);
    }
    return true;
}

}  // namespace codec

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

}  // namespace

bool SaveBmp(const Image& image, const std::string& path)
{
    if (image.Empty() || image.Pixels.size() != size_t(image.Width) * size_t(image.Height))
        return false;
    const size_t stride = (size_t(image.Width) * 3 + 3) / 4 * 4;
    const uint64_t imageBytes = uint64_t(stride) * uint64_t(image.Height);
    if (54 + imageBytes > 0xFFFFFFFFu)
        return false;
    std::vector<uint8_t> buffer;
    try {
        buffer.reserve(std::max<size_t>(stride, 54));
    } catch (const std::bad_alloc&) {
        return false;
    }
    // File header, then a 40-byte info header: 24 bits, uncompressed, bottom-up.
    buffer.push_back('B');
    buffer.push_back('M');
    Put32(buffer, uint32_t(54 + imageBytes));
    Put32(buffer, 0);
    Put32(buffer, 54);
    Put32(buffer, 40);
    Put32(buffer, uint32_t(image.Width));
    Put32(buffer, uint32_t(image.Height));
    Put16(buffer, 1);
    Put16(buffer, 24);
    Put32(buffer, BiRgb);
    Put32(buffer, uint32_t(imageBytes));
    Put32(buffer, 2835);  // 72 dots per inch
    Put32(buffer, 2835);
    Put32(buffer, 0);
    Put32(buffer, 0);

    return codec::WriteImageFile(path, [&](std::FILE* f) {
        bool ok = std::fwrite(buffer.data(), 1, buffer.size(), f) == buffer.size();
        buffer.assign(stride, 0);
        for (int y = image.Height - 1; ok && y >= 0; y--) {
            const uint32_t* row = image.Pixels.data() + size_t(y) * size_t(image.Width);
            for (int x = 0; x < image.Width; x++) {
                buffer[3 * size_t(x)] = uint8_t(row[x] >> 16);
                buffer[3 * size_t(x) + 1] = uint8_t(row[x] >> 8);
                buffer[3 * size_t(x) + 2] = uint8_t(row[x]);
            }
            ok = std::fwrite(buffer.data(), 1, stride, f) == stride;
        }
        return ok;
    });
}

}  // namespace platform
