// Images: the codecs (round trips, the many PNG and BMP layouts, damaged
// files), the scalers and the numbered store. Every test file is made here.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

extern "C" {
#include <jpeglib.h>
}

#include "platform/image.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("glyphery-image-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Image NoiseImage(int w, int h, unsigned seed)
{
    std::mt19937 random(seed);
    Image image(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            image.Set(x, y, random() & 0xFFFFFF);
    return image;
}

Image GradientImage(int w, int h)
{
    Image image(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            image.Set(x, y, RGB(x * 255 / (w - 1), y * 255 / (h - 1), 128 + (x - y) / 2));
    return image;
}

void ExpectSame(const Image& a, const Image& b)
{
    ASSERT_EQ(a.Width, b.Width);
    ASSERT_EQ(a.Height, b.Height);
    for (int y = 0; y < a.Height; y++)
        for (int x = 0; x < a.Width; x++)
            ASSERT_EQ(a.Get(x, y), b.Get(x, y)) << "at " << x << "," << y;
}

bool AlphaAlwaysOpaque(const Image& image)
{
    return std::all_of(image.Pixels.begin(), image.Pixels.end(), [](uint32_t p) { return p >> 24 == 0xFF; });
}

// A PNG of any colour type, depth and interlace, written by libpng directly.
// `rows` holds the packed rows as libpng expects them (16-bit samples big-endian).
void WriteRawPng(const std::string& path, int w, int h, int colorType, int depth, bool interlaced,
                 const std::vector<Bytes>& rows, const std::vector<png_color>& palette = {},
                 const Bytes& transparency = {})
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
        pointers.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

void WriteGreyJpeg(const std::string& path, int w, int h, const Bytes& grey)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(grey.data() + cinfo.next_scanline * w);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
}

void Put16(Bytes& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A BMP with a 40-byte header. `palette` entries are colours (0xRRGGBB as in
// Rgb order: red lowest); `rows` are the stored rows (padding added here), in
// file order.
Bytes BmpBytes(int w, int h, int bits, const std::vector<Rgb>& palette, const std::vector<Bytes>& rows,
               uint32_t compression = 0, const std::vector<uint32_t>& masks = {})
{
    size_t stride = (size_t(w) * bits + 31) / 32 * 4;
    uint32_t offset = uint32_t(54 + masks.size() * 4 + palette.size() * 4);
    Bytes b = {'B', 'M'};
    Put32(b, uint32_t(offset + stride * rows.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(h));
    Put16(b, 1);
    Put16(b, uint32_t(bits));
    Put32(b, compression);
    Put32(b, uint32_t(stride * rows.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, uint32_t(palette.size()));
    Put32(b, 0);
    for (uint32_t m : masks)
        Put32(b, m);
    for (Rgb c : palette) {
        b.push_back(uint8_t(Blue(c)));
        b.push_back(uint8_t(Green(c)));
        b.push_back(uint8_t(Red(c)));
        b.push_back(0);
    }
    for (Bytes row : rows) {
        row.resize(stride, 0);
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

}  // namespace

// ---------------------------------------------------------------------------

TEST(Image, ConstructionFillsAndRefusesAbsurdSizes)
{
    Image image(5, 4, RGB(1, 2, 3));
    ASSERT_EQ(image.Pixels.size(), 20u);
    EXPECT_TRUE(std::all_of(image.Pixels.begin(), image.Pixels.end(), [](uint32_t p) { return p == 0xFF030201u; }));
    EXPECT_TRUE(Image(0, 5).Empty());
    EXPECT_TRUE(Image(-3, 5).Empty());
    EXPECT_TRUE(Image(100000, 100000).Empty());
    EXPECT_TRUE(Image(INT_MAX, 1).Empty());
    EXPECT_TRUE(Image(100000, 100000).Pixels.empty());
}

TEST(Image, FillRectIsClipped)
{
    Image image(4, 3);
    image.FillRect(-2, -5, 4, 6, RGB(255, 0, 0));  // covers x 0..1, y 0
    image.FillRect(3, 2, INT_MAX, INT_MAX, RGB(0, 0, 255));
    image.FillRect(10, 0, 2, 2, RGB(0, 255, 0));
    image.FillRect(1, 1, -1, 1, RGB(0, 255, 0));
    EXPECT_EQ(image.Get(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(image.Get(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(image.Get(2, 0), 0u);
    EXPECT_EQ(image.Get(0, 1), 0u);
    EXPECT_EQ(image.Get(3, 2), RGB(0, 0, 255));
    EXPECT_EQ(image.Get(2, 2), 0u);
    EXPECT_TRUE(AlphaAlwaysOpaque(image));
}

// ---------------------------------------------------------------------------
// Round trips

TEST_F(ImageFiles, PngRoundTripIsExact)
{
    Image image = NoiseImage(37, 23, 1);
    ASSERT_TRUE(SavePng(image, Path("a.png")));
    Image loaded;
    std::string error;
    ASSERT_TRUE(LoadImageFile(Path("a.png"), loaded, &error)) << error;
    ExpectSame(image, loaded);
    EXPECT_TRUE(AlphaAlwaysOpaque(loaded));
}

TEST_F(ImageFiles, BmpRoundTripPadsRowsOfOddWidths)
{
    for (int w : {1, 2, 3, 4, 5, 7}) {
        SCOPED_TRACE(w);
        Image image = NoiseImage(w, 3, unsigned(w));
        std::string path = Path("odd.bmp");
        ASSERT_TRUE(SaveBmp(image, path));
        Bytes file = ReadBytes(path);
        size_t stride = (size_t(w) * 3 + 3) / 4 * 4;
        ASSERT_EQ(file.size(), 54 + stride * 3);
        EXPECT_EQ(file[28], 24);  // bits per pixel
        // Bottom-up: the first stored row is the last image row, as B, G, R.
        Rgb bottomLeft = image.Get(0, 2);
        EXPECT_EQ(file[54], Blue(bottomLeft));
        EXPECT_EQ(file[55], Green(bottomLeft));
        EXPECT_EQ(file[56], Red(bottomLeft));
        Image loaded;
        ASSERT_TRUE(LoadImageFile(path, loaded));
        ExpectSame(image, loaded);
    }
}

TEST_F(ImageFiles, JpegRoundTripIsClose)
{
    Image image = GradientImage(64, 48);
    ASSERT_TRUE(SaveJpeg(image, Path("a.jpg"), 95));
    Image loaded;
    std::string error;
    ASSERT_TRUE(LoadImageFile(Path("a.jpg"), loaded, &error)) << error;
    ASSERT_EQ(loaded.Width, 64);
    ASSERT_EQ(loaded.Height, 48);
    int worst = 0;
    for (int y = 0; y < 48; y++)
        for (int x = 0; x < 64; x++) {
            Rgb a = image.Get(x, y), b = loaded.Get(x, y);
            worst = std::max({worst, std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)),
                              std::abs(Blue(a) - Blue(b))});
        }
    EXPECT_LE(worst, 10);
    EXPECT_TRUE(AlphaAlwaysOpaque(loaded));
}

TEST_F(ImageFiles, FormatIsToldByContentNotByName)
{
    Image image = NoiseImage(6, 5, 7);
    ASSERT_TRUE(SavePng(image, Path("really-png.bmp")));
    ASSERT_TRUE(SaveBmp(image, Path("really-bmp.jpg")));
    ASSERT_TRUE(SaveJpeg(image, Path("really-jpeg.png")));
    Image a, b, c;
    EXPECT_TRUE(LoadImageFile(Path("really-png.bmp"), a));
    EXPECT_TRUE(LoadImageFile(Path("really-bmp.jpg"), b));
    EXPECT_TRUE(LoadImageFile(Path("really-jpeg.png"), c));
    ExpectSame(image, a);
    ExpectSame(image, b);
    EXPECT_EQ(c.Width, 6);
}

TEST_F(ImageFiles, SaversRefuseEmptyImagesAndUnwritablePaths)
{
    Image empty;
    EXPECT_FALSE(SavePng(empty, Path("e.png")));
    EXPECT_FALSE(SaveJpeg(empty, Path("e.jpg")));
    EXPECT_FALSE(SaveBmp(empty, Path("e.bmp")));
    Image image(2, 2);
    EXPECT_FALSE(SavePng(image, Path("no/such/folder/x.png")));
    EXPECT_FALSE(SaveJpeg(image, Path("no/such/folder/x.jpg")));
    EXPECT_FALSE(SaveBmp(image, Path("no/such/folder/x.bmp")));
}

// ---------------------------------------------------------------------------
// Layouts written by other programs

TEST_F(ImageFiles, PngLayoutsDecode)
{
    Image loaded;
    std::string error;

    // 4-bit palette with a half-transparent entry: composited over black.
    WriteRawPng(Path("pal.png"), 3, 1, PNG_COLOR_TYPE_PALETTE, 4, false, {{0x01, 0x20}},
                {{0, 0, 0}, {200, 100, 50}, {10, 20, 30}}, {255, 255, 128});
    ASSERT_TRUE(LoadImageFile(Path("pal.png"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(loaded.Get(1, 0), RGB(200, 100, 50));
    EXPECT_EQ(loaded.Get(2, 0), RGB(5, 10, 15));

    // 1-bit grey.
    WriteRawPng(Path("grey1.png"), 10, 2, PNG_COLOR_TYPE_GRAY, 1, false, {{0xA0, 0x00}, {0xFF, 0xC0}});
    ASSERT_TRUE(LoadImageFile(Path("grey1.png"), loaded, &error)) << error;
    ASSERT_EQ(loaded.Width, 10);
    EXPECT_EQ(loaded.Get(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(loaded.Get(1, 0), 0u);
    EXPECT_EQ(loaded.Get(2, 0), RGB(255, 255, 255));
    EXPECT_EQ(loaded.Get(9, 0), 0u);
    EXPECT_EQ(loaded.Get(9, 1), RGB(255, 255, 255));

    // 16-bit grey with alpha: grey 0xFFFF at alpha 0x8000, then opaque mid grey.
    WriteRawPng(Path("ga16.png"), 2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, false,
                {{0xFF, 0xFF, 0x80, 0x00, 0x64, 0x00, 0xFF, 0xFF}});
    ASSERT_TRUE(LoadImageFile(Path("ga16.png"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(0, 0), RGB(128, 128, 128));
    EXPECT_EQ(loaded.Get(1, 0), RGB(100, 100, 100));

    // 8-bit RGBA: transparent pixels come out black.
    WriteRawPng(Path("rgba.png"), 2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {{255, 255, 255, 0, 10, 20, 30, 255}});
    ASSERT_TRUE(LoadImageFile(Path("rgba.png"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(0, 0), 0u);
    EXPECT_EQ(loaded.Get(1, 0), RGB(10, 20, 30));

    // Interlaced 8-bit RGB.
    Image noise = NoiseImage(13, 11, 3);
    std::vector<Bytes> rows;
    for (int y = 0; y < 11; y++) {
        Bytes row;
        for (int x = 0; x < 13; x++) {
            Rgb c = noise.Get(x, y);
            row.insert(row.end(), {uint8_t(Red(c)), uint8_t(Green(c)), uint8_t(Blue(c))});
        }
        rows.push_back(row);
    }
    WriteRawPng(Path("adam7.png"), 13, 11, PNG_COLOR_TYPE_RGB, 8, true, rows);
    ASSERT_TRUE(LoadImageFile(Path("adam7.png"), loaded, &error)) << error;
    ExpectSame(noise, loaded);
    EXPECT_TRUE(AlphaAlwaysOpaque(loaded));
}

TEST_F(ImageFiles, GreyJpegDecodes)
{
    Bytes grey(16 * 8);
    for (size_t i = 0; i < grey.size(); i++)
        grey[i] = uint8_t(i % 16 * 16);
    WriteGreyJpeg(Path("grey.jpg"), 16, 8, grey);
    Image loaded;
    std::string error;
    ASSERT_TRUE(LoadImageFile(Path("grey.jpg"), loaded, &error)) << error;
    ASSERT_EQ(loaded.Width, 16);
    for (int x = 0; x < 16; x++) {
        Rgb c = loaded.Get(x, 3);
        EXPECT_EQ(Red(c), Green(c));
        EXPECT_EQ(Red(c), Blue(c));
        EXPECT_NEAR(Red(c), x * 16, 3);
    }
}

TEST_F(ImageFiles, BmpLayoutsDecode)
{
    const Rgb white = RGB(255, 255, 255), red = RGB(255, 0, 0), teal = RGB(0, 128, 128);
    Image loaded;
    std::string error;

    // 1 bit, bottom-up: the first stored row is the bottom one.
    WriteBytes(Path("1.bmp"), BmpBytes(9, 2, 1, {0, white}, {{0xFF, 0x80}, {0x40, 0x00}}));
    ASSERT_TRUE(LoadImageFile(Path("1.bmp"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(1, 0), white);
    EXPECT_EQ(loaded.Get(0, 0), 0u);
    EXPECT_EQ(loaded.Get(8, 1), white);
    EXPECT_EQ(loaded.Get(7, 1), white);

    // 4 bits with a short palette: index 5 has no entry and reads black.
    WriteBytes(Path("4.bmp"), BmpBytes(3, 1, 4, {0, red, teal}, {{0x21, 0x50}}));
    ASSERT_TRUE(LoadImageFile(Path("4.bmp"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(0, 0), teal);
    EXPECT_EQ(loaded.Get(1, 0), red);
    EXPECT_EQ(loaded.Get(2, 0), 0u);

    // 8 bits.
    WriteBytes(Path("8.bmp"), BmpBytes(2, 1, 8, {0, red, teal}, {{2, 1}}));
    ASSERT_TRUE(LoadImageFile(Path("8.bmp"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(0, 0), teal);
    EXPECT_EQ(loaded.Get(1, 0), red);

    // 32 bits top-down (negative height); the fourth byte is ignored.
    WriteBytes(Path("32.bmp"), BmpBytes(1, -2, 32, {}, {{30, 20, 10, 0}, {3, 2, 1, 77}}));
    ASSERT_TRUE(LoadImageFile(Path("32.bmp"), loaded, &error)) << error;
    ASSERT_EQ(loaded.Height, 2);
    EXPECT_EQ(loaded.Get(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(loaded.Get(0, 1), RGB(1, 2, 3));
    EXPECT_TRUE(AlphaAlwaysOpaque(loaded));

    // 16 bits with 5-6-5 bit fields: pure red, full green.
    WriteBytes(Path("565.bmp"), BmpBytes(2, 1, 16, {}, {{0x00, 0xF8, 0xE0, 0x07}}, 3, {0xF800, 0x07E0, 0x001F}));
    ASSERT_TRUE(LoadImageFile(Path("565.bmp"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(loaded.Get(1, 0), RGB(0, 255, 0));

    // The old 12-byte core header with 3-byte palette entries.
    Bytes core = {'B', 'M', 36, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0, 12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 8, 0};
    core.insert(core.end(), {0, 0, 0, 128, 128, 0, 1, 0, 0, 0});  // black, teal; row 1, 0
    WriteBytes(Path("core.bmp"), core);
    ASSERT_TRUE(LoadImageFile(Path("core.bmp"), loaded, &error)) << error;
    ASSERT_EQ(loaded.Width, 2);
    EXPECT_EQ(loaded.Get(0, 0), teal);
    EXPECT_EQ(loaded.Get(1, 0), 0u);
}

// ---------------------------------------------------------------------------
// Damaged files

TEST_F(ImageFiles, DamagedFilesFailWithAReason)
{
    auto expectFailure = [&](const std::string& name, const Bytes& bytes) {
        SCOPED_TRACE(name);
        WriteBytes(Path(name), bytes);
        Image image(3, 3, RGB(9, 9, 9));
        std::string error;
        EXPECT_FALSE(LoadImageFile(Path(name), image, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(image.Width, 3);  // left as it was
        EXPECT_EQ(image.Get(1, 1), RGB(9, 9, 9));
    };

    Bytes signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes garbage = signature;
    std::mt19937 random(5);
    for (int i = 0; i < 500; i++)
        garbage.push_back(uint8_t(random()));
    expectFailure("garbage.png", garbage);
    expectFailure("signature-only.png", signature);

    // An IHDR (with a correct checksum) claiming 100000 x 100000 pixels.
    Bytes huge = signature;
    Bytes ihdr = {'I', 'H', 'D', 'R', 0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0, 8, 2, 0, 0, 0};
    huge.insert(huge.end(), {0, 0, 0, 13});
    huge.insert(huge.end(), ihdr.begin(), ihdr.end());
    uint32_t crc = uint32_t(crc32(0, ihdr.data(), uInt(ihdr.size())));
    huge.insert(huge.end(), {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
    expectFailure("huge.png", huge);

    Bytes jpegStart = {0xFF, 0xD8, 0xFF, 0xE0};
    for (int i = 0; i < 300; i++)
        jpegStart.push_back(uint8_t(random()));
    expectFailure("garbage.jpg", jpegStart);

    // BMP headers that do not match the file.
    Bytes lying = BmpBytes(4, 2, 24, {}, {{1, 2, 3}, {4, 5, 6}});
    lying[22] = 64;  // claims 64 rows, holds 2
    expectFailure("lying-height.bmp", lying);
    Bytes farOffset = BmpBytes(4, 2, 24, {}, {{1}, {2}});
    farOffset[10] = 0xF0;
    farOffset[11] = 0xFF;
    expectFailure("far-offset.bmp", farOffset);
    Bytes hugeBmp = BmpBytes(4, 2, 24, {}, {{1}, {2}});
    for (int at : {18, 22}) {  // 100000 x 100000
        hugeBmp[at] = 0xA0;
        hugeBmp[at + 1] = 0x86;
        hugeBmp[at + 2] = 0x01;
    }
    expectFailure("huge.bmp", hugeBmp);
    Bytes badBits = BmpBytes(4, 2, 24, {}, {{1}, {2}});
    badBits[28] = 7;
    expectFailure("bits.bmp", badBits);
    Bytes rle = BmpBytes(4, 2, 8, {0, 1}, {{1}, {2}}, 1);
    expectFailure("rle.bmp", rle);
    Bytes noPalette = BmpBytes(4, 2, 8, {}, {{1}, {2}});
    expectFailure("no-palette.bmp", noPalette);
    expectFailure("short.bmp", {'B', 'M', 1, 2, 3});

    expectFailure("empty.png", {});
    expectFailure("text.png", {'h', 'e', 'l', 'l', 'o'});

    Image image;
    std::string error;
    EXPECT_FALSE(LoadImageFile(Path("missing.png"), image, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(LoadImageFile(dir_.string(), image, &error));  // a folder
}

TEST_F(ImageFiles, TruncatedFilesFail)
{
    Image noise = NoiseImage(40, 30, 11);
    ASSERT_TRUE(SavePng(noise, Path("full.png")));
    ASSERT_TRUE(SaveJpeg(noise, Path("full.jpg")));
    ASSERT_TRUE(SaveBmp(NoiseImage(4, 30, 12), Path("full.bmp")));  // rows without padding
    struct Case {
        const char* name;
        size_t keepAtEnd;  // trailing bytes whose loss still leaves every pixel
    };
    for (Case c : {Case{"full.png", 12}, Case{"full.jpg", 2}, Case{"full.bmp", 0}}) {
        Bytes full = ReadBytes(Path(c.name));
        ASSERT_GT(full.size(), 100u);
        std::string cut = Path(std::string("cut-") + c.name);
        for (size_t length = 1; length + c.keepAtEnd < full.size(); length += 1 + length / 16) {
            SCOPED_TRACE(std::string(c.name) + " cut to " + std::to_string(length));
            WriteBytes(cut, Bytes(full.begin(), full.begin() + std::ptrdiff_t(length)));
            Image image;
            std::string error;
            EXPECT_FALSE(LoadImageFile(cut, image, &error));
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST_F(ImageFiles, FlippedBytesNeverCrash)
{
    Image noise = NoiseImage(24, 16, 21);
    ASSERT_TRUE(SavePng(noise, Path("f.png")));
    ASSERT_TRUE(SaveJpeg(noise, Path("f.jpg")));
    ASSERT_TRUE(SaveBmp(noise, Path("f.bmp")));
    std::mt19937 random(99);
    for (const char* name : {"f.png", "f.jpg", "f.bmp"}) {
        Bytes full = ReadBytes(Path(name));
        for (int round = 0; round < 150; round++) {
            Bytes damaged = full;
            for (int k = 0; k < 4; k++)
                damaged[random() % std::min<size_t>(damaged.size(), 200 + round * 4)] = uint8_t(random());
            WriteBytes(Path("damaged"), damaged);
            Image image;
            std::string error;
            if (LoadImageFile(Path("damaged"), image, &error)) {
                EXPECT_EQ(image.Pixels.size(), size_t(image.Width) * size_t(image.Height));
                EXPECT_TRUE(AlphaAlwaysOpaque(image));
            } else {
                EXPECT_FALSE(error.empty());
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Scaling

TEST(ImageScale, AreaAverageWeighsPartlyCoveredPixels)
{
    Image checker(2, 2);
    checker.Set(1, 0, RGB(255, 255, 255));
    checker.Set(0, 1, RGB(255, 255, 255));
    Image one = ScaleAreaAverage(checker, 1, 1);
    ASSERT_EQ(one.Width, 1);
    EXPECT_TRUE(Red(one.Get(0, 0)) == 127 || Red(one.Get(0, 0)) == 128);
    EXPECT_EQ(one.Get(0, 0), RGB(Red(one.Get(0, 0)), Red(one.Get(0, 0)), Red(one.Get(0, 0))));

    // Three pixels into two: each target takes one whole pixel and half the middle.
    Image row(3, 1);
    row.Set(0, 0, RGB(255, 0, 30));
    row.Set(1, 0, RGB(0, 90, 60));
    row.Set(2, 0, RGB(90, 0, 90));
    Image two = ScaleAreaAverage(row, 2, 1);
    EXPECT_EQ(two.Get(0, 0), RGB(170, 30, 40));  // (2*a + b) / 3
    EXPECT_EQ(two.Get(1, 0), RGB(60, 30, 80));   // (b + 2*c) / 3

    // A flat colour stays flat through any reduction.
    Image flat(7, 5, RGB(12, 34, 56));
    Image small = ScaleAreaAverage(flat, 3, 2);
    for (uint32_t p : small.Pixels)
        EXPECT_EQ(p, 0xFF000000u | RGB(12, 34, 56));
}

TEST(ImageScale, AreaAverageEnlargesByRepeatingAndHandlesEachAxisApart)
{
    Image src(2, 1);
    src.Set(1, 0, RGB(255, 255, 255));
    Image big = ScaleAreaAverage(src, 6, 2);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 6; x++)
            EXPECT_EQ(big.Get(x, y), x < 3 ? 0u : RGB(255, 255, 255));

    // Wider and shorter: columns repeat, rows average.
    Image tall(2, 4);
    tall.FillRect(0, 0, 1, 2, RGB(200, 200, 200));
    tall.FillRect(1, 2, 1, 2, RGB(100, 0, 0));
    Image wide = ScaleAreaAverage(tall, 4, 2);
    ASSERT_EQ(wide.Width, 4);
    EXPECT_EQ(wide.Get(0, 0), RGB(200, 200, 200));
    EXPECT_EQ(wide.Get(1, 0), RGB(200, 200, 200));
    EXPECT_EQ(wide.Get(2, 0), 0u);
    EXPECT_EQ(wide.Get(3, 1), RGB(100, 0, 0));

    // Narrower and taller: the other order of passes.
    Image broad(4, 2);
    broad.FillRect(0, 0, 2, 1, RGB(200, 200, 200));
    broad.FillRect(2, 1, 2, 1, RGB(100, 0, 0));
    Image narrow = ScaleAreaAverage(broad, 2, 4);
    EXPECT_EQ(narrow.Get(0, 0), RGB(200, 200, 200));
    EXPECT_EQ(narrow.Get(0, 1), RGB(200, 200, 200));
    EXPECT_EQ(narrow.Get(1, 1), 0u);
    EXPECT_EQ(narrow.Get(1, 3), RGB(100, 0, 0));
}

// Brute force in floating point: the exact covered area of every source pixel.
TEST(ImageScale, AreaAverageMatchesDirectComputation)
{
    Image src = NoiseImage(17, 13, 4);
    for (auto [w, h] : {std::pair{5, 4}, {16, 1}, {3, 13}, {1, 1}, {9, 6}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        Image out = ScaleAreaAverage(src, w, h);
        ASSERT_EQ(out.Width, w);
        double sx = 17.0 / w, sy = 13.0 / h;
        for (int ty = 0; ty < h; ty++)
            for (int tx = 0; tx < w; tx++) {
                double sum[3] = {0, 0, 0};
                for (int y = 0; y < 13; y++)
                    for (int x = 0; x < 17; x++) {
                        double cx = std::max(0.0, std::min(x + 1.0, (tx + 1) * sx) - std::max(double(x), tx * sx));
                        double cy = std::max(0.0, std::min(y + 1.0, (ty + 1) * sy) - std::max(double(y), ty * sy));
                        Rgb c = src.Get(x, y);
                        sum[0] += cx * cy * Red(c);
                        sum[1] += cx * cy * Green(c);
                        sum[2] += cx * cy * Blue(c);
                    }
                Rgb got = out.Get(tx, ty);
                EXPECT_NEAR(Red(got), sum[0] / (sx * sy), 0.51);
                EXPECT_NEAR(Green(got), sum[1] / (sx * sy), 0.51);
                EXPECT_NEAR(Blue(got), sum[2] / (sx * sy), 0.51);
            }
    }
}

TEST(ImageScale, ResizeSmoothInterpolatesWhenEnlargingAndAveragesWhenReducing)
{
    Image src(2, 1);
    src.Set(1, 0, RGB(255, 255, 255));
    Image big = ResizeSmooth(src, 4, 1);
    ASSERT_EQ(big.Width, 4);
    EXPECT_EQ(Red(big.Get(0, 0)), 0);
    EXPECT_EQ(Red(big.Get(1, 0)), 64);  // a quarter of the way
    EXPECT_EQ(Red(big.Get(2, 0)), 191);
    EXPECT_EQ(Red(big.Get(3, 0)), 255);

    Image noise = NoiseImage(30, 20, 8);
    ExpectSame(ResizeSmooth(noise, 7, 9), ScaleAreaAverage(noise, 7, 9));
    ExpectSame(ResizeSmooth(noise, 30, 20), noise);
    Image mixed = ResizeSmooth(noise, 10, 45);
    EXPECT_EQ(mixed.Width, 10);
    EXPECT_EQ(mixed.Height, 45);
    EXPECT_TRUE(AlphaAlwaysOpaque(mixed));

    EXPECT_TRUE(ResizeSmooth(noise, 0, 5).Empty());
    EXPECT_TRUE(ScaleAreaAverage(Image(), 5, 5).Empty());
    EXPECT_TRUE(ScaleAreaAverage(noise, 100000, 100000).Empty());
}

// ---------------------------------------------------------------------------
// The numbered store

TEST_F(ImageFiles, NumberedStoreReplacesAndFrees)
{
    Image& first = CreateImage(90, 4, 3, RGB(1, 1, 1));
    EXPECT_EQ(first.Width, 4);
    EXPECT_TRUE(IsImage(90));
    CreateImage(90, 8, 2, RGB(2, 2, 2));
    ASSERT_NE(GetImage(90), nullptr);
    EXPECT_EQ(GetImage(90)->Width, 8);
    EXPECT_EQ(GetImage(90)->Get(7, 1), RGB(2, 2, 2));

    // Loading under a number in use replaces the image; a failed load frees it.
    ASSERT_TRUE(SaveBmp(NoiseImage(5, 6, 1), Path("n.bmp")));
    EXPECT_TRUE(LoadImage(90, Path("n.bmp")));
    EXPECT_EQ(GetImage(90)->Width, 5);
    std::string error;
    EXPECT_FALSE(LoadImage(90, Path("none.bmp"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(IsImage(90));
    EXPECT_EQ(GetImage(90), nullptr);

    // A size that cannot be made leaves no image under the number.
    CreateImage(91, 2, 2);
    EXPECT_TRUE(CreateImage(91, 100000, 100000).Empty());
    EXPECT_FALSE(IsImage(91));

    int free = UnusedImageNumber();
    EXPECT_FALSE(IsImage(free));
    CreateImage(free, 1, 1);
    EXPECT_NE(UnusedImageNumber(), free);
    FreeImage(free);
    FreeImage(free);  // twice is harmless
    EXPECT_FALSE(IsImage(free));
}
