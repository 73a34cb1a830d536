// What the image tests share: a fixture with a temporary folder, noise
// pictures and their comparison, and picture files made byte by byte (PNG
// through libpng, BMP by hand).
#pragma once

#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/image.h"
#include "tests/platform/temp_folder.h"

namespace image_test {

using namespace platform;

using Bytes = std::string;

class ImageFiles : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return tmp.Path(name); }
    TempFolder tmp;
};

inline Image NoiseImage(int w, int h, unsigned seed)
{
    std::mt19937 random(seed);
    Image image(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            image.Set(x, y, random() & 0xFFFFFF);
    return image;
}

inline void ExpectSame(const Image& a, const Image& b)
{
    ASSERT_EQ(a.Width, b.Width);
    ASSERT_EQ(a.Height, b.Height);
    for (int y = 0; y < a.Height; y++)
        for (int x = 0; x < a.Width; x++)
            ASSERT_EQ(a.Get(x, y), b.Get(x, y)) << "at " << x << "," << y;
}

inline bool AlphaAlwaysOpaque(const Image& image)
{
    return std::all_of(image.Pixels.begin(), image.Pixels.end(), [](uint32_t p) { return p >> 24 == 0xFF; });
}

// A PNG of any colour type and interlace, written by libpng directly.
inline void WriteRawPng(const std::string& path, int w, int h, int colorType, int depth, bool interlaced,
                 const std::vector<Bytes>& rows, const std::vector<png_color>& palette = {},
                 const std::vector<uint8_t>& transparency = {})
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, w, h, depth, colorType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!transparency.empty())
        png_set_tRNS(png, info, transparency.data(), int(transparency.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const Bytes& row : rows)
        pointers.push_back(reinterpret_cast<png_bytep>(const_cast<char*>(row.data())));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

// A BMP with a 40-byte header; `rows` are the stored rows in file order
// (padding added here).
inline Bytes BmpBytes(int w, int h, int bits, const std::vector<Rgb>& palette, const std::vector<Bytes>& rows,
               uint32_t compression = 0, const std::vector<uint32_t>& masks = {})
{
    size_t stride = (size_t(w) * bits + 31) / 32 * 4;
    uint32_t offset = uint32_t(54 + masks.size() * 4 + palette.size() * 4);
    Bytes b = "BM";
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; i++)
            b += char(v >> 8 * i);
    };
    for (uint32_t v : {uint32_t(offset + stride * rows.size()), 0u, offset, 40u, uint32_t(w), uint32_t(h)})
        put(v, 4);
    put(1, 2);
    put(uint32_t(bits), 2);
    for (uint32_t v : {compression, uint32_t(stride * rows.size()), 2835u, 2835u, uint32_t(palette.size()), 0u})
        put(v, 4);
    for (uint32_t m : masks)
        put(m, 4);
    for (Rgb c : palette)
        put(uint32_t(Blue(c) | Green(c) << 8 | Red(c) << 16), 4);
    for (Bytes row : rows) {
        row.resize(stride, 0);
        b += row;
    }
    return b;
}

// `bmp` (with a 40-byte header) claiming another size.
inline Bytes WithBmpSize(Bytes bmp, uint32_t width, uint32_t height)
{
    for (int i = 0; i < 4; i++) {
        bmp[size_t(18 + i)] = char(width >> 8 * i);
        bmp[size_t(22 + i)] = char(height >> 8 * i);
    }
    return bmp;
}

}  // namespace image_test
