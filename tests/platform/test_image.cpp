// Images: codec round trips, layouts written by other programs, damaged files,
// the scalers and the numbered store. Every test file is made here.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include <sys/stat.h>

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

// A PNG of any colour type and interlace, written by libpng directly.
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

// A BMP with a 40-byte header; `rows` are the stored rows in file order
// (padding added here).
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
    for (uint32_t v : {uint32_t(stride * rows.size()), 2835u, 2835u, uint32_t(palette.size()), 0u})
        Put32(b, v);
    for (uint32_t m : masks)
        Put32(b, m);
    for (Rgb c : palette)
        b.insert(b.end(), {uint8_t(Blue(c)), uint8_t(Green(c)), uint8_t(Red(c)), 0});
    for (Bytes row : rows) {
        row.resize(stride, 0);
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

}  // namespace

TEST_F(ImageFiles, RoundTrips)
{
    Image noise = NoiseImage(37, 23, 1);
    Image loaded;
    std::string error;
    ASSERT_TRUE(SavePng(noise, Path("a.png")));
    ASSERT_TRUE(LoadImageFile(Path("a.png"), loaded, &error)) << error;
    ExpectSame(noise, loaded);
    EXPECT_TRUE(AlphaAlwaysOpaque(loaded));

    // BMP rows are padded to 4 bytes and stored bottom-up as B, G, R. The
    // format is told by content, not by name.
    for (int w : {1, 3, 4}) {
        SCOPED_TRACE(w);
        Image image = NoiseImage(w, 3, unsigned(w));
        std::string path = Path("odd.jpg");
        ASSERT_TRUE(SaveBmp(image, path));
        Bytes file = ReadBytes(path);
        ASSERT_EQ(file.size(), 54 + (size_t(w) * 3 + 3) / 4 * 4 * 3);
        Rgb bottomLeft = image.Get(0, 2);
        EXPECT_EQ(file[54], Blue(bottomLeft));
        EXPECT_EQ(file[56], Red(bottomLeft));
        ASSERT_TRUE(LoadImageFile(path, loaded));
        ExpectSame(image, loaded);
    }

    // JPEG is lossy: a smooth gradient comes back close.
    Image gradient(64, 48);
    for (int y = 0; y < 48; y++)
        for (int x = 0; x < 64; x++)
            gradient.Set(x, y, RGB(x * 4, y * 5, 128 + (x - y) / 2));
    ASSERT_TRUE(SaveJpeg(gradient, Path("a.png"), 95));
    ASSERT_TRUE(LoadImageFile(Path("a.png"), loaded, &error)) << error;
    ASSERT_EQ(loaded.Width, 64);
    ASSERT_EQ(loaded.Height, 48);
    int worst = 0;
    for (int y = 0; y < 48; y++)
        for (int x = 0; x < 64; x++) {
            Rgb a = gradient.Get(x, y), b = loaded.Get(x, y);
            worst = std::max({worst, std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)),
                              std::abs(Blue(a) - Blue(b))});
        }
    EXPECT_LE(worst, 10);

    Image empty;
    EXPECT_FALSE(SavePng(empty, Path("e.png")));
    EXPECT_FALSE(SaveJpeg(noise, Path("no/such/folder/x.jpg")));
    EXPECT_FALSE(SaveBmp(noise, Path("no/such/folder/x.bmp")));
}

TEST_F(ImageFiles, LayoutsOfOtherProgramsDecode)
{
    Image loaded;
    std::string error;

    // PNG: a 4-bit palette with a half-transparent entry, composited over black.
    WriteRawPng(Path("pal.png"), 3, 1, PNG_COLOR_TYPE_PALETTE, 4, false, {{0x01, 0x20}},
                {{0, 0, 0}, {200, 100, 50}, {10, 20, 30}}, {255, 255, 128});
    ASSERT_TRUE(LoadImageFile(Path("pal.png"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(1, 0), RGB(200, 100, 50));
    EXPECT_EQ(loaded.Get(2, 0), RGB(5, 10, 15));

    // PNG: interlaced RGB.
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

    // BMP: 1 bit, bottom-up, so the first stored row is the bottom one.
    const Rgb white = RGB(255, 255, 255);
    WriteBytes(Path("1.bmp"), BmpBytes(9, 2, 1, {0, white}, {{0xFF, 0x80}, {0x40, 0x00}}));
    ASSERT_TRUE(LoadImageFile(Path("1.bmp"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(1, 0), white);
    EXPECT_EQ(loaded.Get(0, 0), 0u);
    EXPECT_EQ(loaded.Get(8, 1), white);

    // BMP: 32 bits top-down (negative height); the fourth byte is ignored.
    WriteBytes(Path("32.bmp"), BmpBytes(1, -2, 32, {}, {{30, 20, 10, 0}, {3, 2, 1, 77}}));
    ASSERT_TRUE(LoadImageFile(Path("32.bmp"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(loaded.Get(0, 1), RGB(1, 2, 3));
    EXPECT_TRUE(AlphaAlwaysOpaque(loaded));

    // BMP: 16 bits with 5-6-5 bit fields.
    WriteBytes(Path("565.bmp"), BmpBytes(2, 1, 16, {}, {{0x00, 0xF8, 0xE0, 0x07}}, 3, {0xF800, 0x07E0, 0x001F}));
    ASSERT_TRUE(LoadImageFile(Path("565.bmp"), loaded, &error)) << error;
    EXPECT_EQ(loaded.Get(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(loaded.Get(1, 0), RGB(0, 255, 0));
}

TEST_F(ImageFiles, DamagedFilesFailWithAReason)
{
    auto expectFailure = [&](const std::string& name, const Bytes& bytes) {
        SCOPED_TRACE(name);
        WriteBytes(Path(name), bytes);
        Image image(3, 3, RGB(9, 9, 9));
        std::string error;
        EXPECT_FALSE(LoadImageFile(Path(name), image, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(image.Get(1, 1), RGB(9, 9, 9)) << "the image is left as it was";
    };

    Bytes signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes garbage = signature;
    std::mt19937 random(5);
    for (int i = 0; i < 500; i++)
        garbage.push_back(uint8_t(random()));
    expectFailure("garbage.png", garbage);

    // An IHDR (with a correct checksum) claiming 100000 x 100000 pixels.
    Bytes huge = signature;
    Bytes ihdr = {'I', 'H', 'D', 'R', 0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0, 8, 2, 0, 0, 0};
    huge.insert(huge.end(), {0, 0, 0, 13});
    huge.insert(huge.end(), ihdr.begin(), ihdr.end());
    uint32_t crc = uint32_t(crc32(0, ihdr.data(), uInt(ihdr.size())));
    huge.insert(huge.end(), {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
    expectFailure("huge.png", huge);

    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0};
    for (int i = 0; i < 300; i++)
        jpeg.push_back(uint8_t(random()));
    expectFailure("garbage.jpg", jpeg);

    // BMP headers that lie about the file.
    Bytes lying = BmpBytes(4, 2, 24, {}, {{1, 2, 3}, {4, 5, 6}});
    lying[22] = 64;  // claims 64 rows, holds 2
    expectFailure("lying-height.bmp", lying);
    Bytes farOffset = BmpBytes(4, 2, 24, {}, {{1}, {2}});
    farOffset[10] = 0xF0;
    farOffset[11] = 0xFF;
    expectFailure("far-offset.bmp", farOffset);
    Bytes hugeBmp = BmpBytes(4, 2, 24, {}, {{1}, {2}});
    for (int at : {18, 22})  // 100000 x 100000
        hugeBmp[at] = 0xA0, hugeBmp[at + 1] = 0x86, hugeBmp[at + 2] = 0x01;
    expectFailure("huge.bmp", hugeBmp);
    expectFailure("no-palette.bmp", BmpBytes(4, 2, 8, {}, {{1}, {2}}));
    expectFailure("rle.bmp", BmpBytes(4, 2, 8, {0, 1}, {{1}, {2}}, 1));
    expectFailure("short.bmp", {'B', 'M', 1, 2, 3});
    expectFailure("empty.png", {});
    expectFailure("text.png", {'h', 'e', 'l', 'l', 'o'});

    Image image;
    std::string error;
    EXPECT_FALSE(LoadImageFile(Path("missing.png"), image, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(LoadImageFile(dir_.string(), image, &error));  // a folder
    ASSERT_EQ(::mkfifo(Path("pipe.png").c_str(), 0600), 0);
    EXPECT_FALSE(LoadImageFile(Path("pipe.png"), image, &error)) << "a pipe is refused, not waited on";
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

TEST(ImageScale, EnlargingRepeatsOrInterpolatesEachAxisApart)
{
    Image src(2, 1);
    src.Set(1, 0, RGB(255, 255, 255));
    Image big = ScaleAreaAverage(src, 6, 2);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 6; x++)
            EXPECT_EQ(big.Get(x, y), x < 3 ? 0u : RGB(255, 255, 255));
    Image smooth = ResizeSmooth(src, 4, 1);
    EXPECT_EQ(Red(smooth.Get(0, 0)), 0);
    EXPECT_EQ(Red(smooth.Get(1, 0)), 64);  // a quarter of the way
    EXPECT_EQ(Red(smooth.Get(2, 0)), 191);
    EXPECT_EQ(Red(smooth.Get(3, 0)), 255);

    // Narrower and taller, then wider and shorter: both orders of the passes.
    Image broad(4, 2);
    broad.FillRect(0, 0, 2, 1, RGB(200, 200, 200));
    broad.FillRect(2, 1, 2, 1, RGB(100, 0, 0));
    Image narrow = ScaleAreaAverage(broad, 2, 4);
    EXPECT_EQ(narrow.Get(0, 1), RGB(200, 200, 200));
    EXPECT_EQ(narrow.Get(1, 1), 0u);
    EXPECT_EQ(narrow.Get(1, 3), RGB(100, 0, 0));
    Image wide = ScaleAreaAverage(narrow, 4, 2);
    ExpectSame(wide, broad);

    Image noise = NoiseImage(30, 20, 8);
    ExpectSame(ResizeSmooth(noise, 7, 9), ScaleAreaAverage(noise, 7, 9));
    EXPECT_TRUE(ResizeSmooth(noise, 0, 5).Empty());
    EXPECT_TRUE(ScaleAreaAverage(noise, 100000, 100000).Empty());
}

TEST_F(ImageFiles, NumberedStoreReplacesAndFrees)
{
    CreateImage(90, 4, 3, RGB(1, 1, 1));
    ASSERT_TRUE(SaveBmp(NoiseImage(5, 6, 1), Path("n.bmp")));
    EXPECT_TRUE(LoadImage(90, Path("n.bmp")));
    EXPECT_EQ(GetImage(90)->Width, 5) << "loading under a number in use replaces the image";
    EXPECT_FALSE(LoadImage(90, Path("none.bmp")));
    EXPECT_EQ(GetImage(90), nullptr) << "a failed load frees the number";
    CreateImage(91, 2, 2);
    EXPECT_TRUE(CreateImage(91, 100000, 100000).Empty());
    EXPECT_FALSE(IsImage(91)) << "a size that cannot be made leaves no image";
    int unused = UnusedImageNumber();
    CreateImage(unused, 1, 1);
    EXPECT_NE(UnusedImageNumber(), unused);
    FreeImage(unused);
}
