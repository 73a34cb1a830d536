// Images: codec round trips, layouts written by other programs, damaged files,
// the scalers and the numbered store. Every test file is made here.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

extern "C" {
#include <jpeglib.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

#include <sys/stat.h>

#include "platform/image.h"
#include "tests/platform/image_files.h"

using namespace image_test;

namespace {

// A JPEG written by libjpeg in memory from `samples`, rows of `width` pixels
// of `components` samples each in colour space `space`; `setup` changes the
// coding after the defaults.
Bytes JpegFromSamples(int width, int height, J_COLOR_SPACE space, int components, const std::vector<JSAMPLE>& samples,
                      const std::function<void(jpeg_compress_struct&)>& setup)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    setup(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    for (int y = 0; y < height; y++) {
        JSAMPROW rows[1] = {const_cast<JSAMPLE*>(samples.data()) + size_t(y) * size_t(width) * size_t(components)};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(reinterpret_cast<char*>(out), size);
    std::free(out);
    return bytes;
}

// A JPEG of `image`: baseline or progressive, Huffman or arithmetic coding,
// chroma subsampled or not.
Bytes JpegBytes(const Image& image, bool progressive, bool arithmetic = false, bool fullChroma = false)
{
    std::vector<JSAMPLE> samples;
    for (uint32_t p : image.Pixels)
        samples.insert(samples.end(), {JSAMPLE(Red(p)), JSAMPLE(Green(p)), JSAMPLE(Blue(p))});
    return JpegFromSamples(image.Width, image.Height, JCS_RGB, 3, samples, [&](jpeg_compress_struct& cinfo) {
        if (progressive)
            jpeg_simple_progression(&cinfo);
        cinfo.arith_code = arithmetic;
        if (fullChroma)
            cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 1;
    });
}

// The JPEG with another size in its frame header.
Bytes WithJpegSize(Bytes jpeg, int width, int height)
{
    for (size_t at = 2; at + 9 < jpeg.size(); at++) {
        auto marker = uint8_t(jpeg[at + 1]);
        if (uint8_t(jpeg[at]) == 0xFF && marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            jpeg[at + 5] = char(height >> 8);
            jpeg[at + 6] = char(height);
            jpeg[at + 7] = char(width >> 8);
            jpeg[at + 8] = char(width);
            break;
        }
    }
    return jpeg;
}

// A PNG holding only a header (with a correct checksum) that claims a size,
// and an empty end chunk.
Bytes PngHeaderOnly(uint32_t width, uint32_t height, int depth, int colorType)
{
    Bytes ihdr = "IHDR";
    for (uint32_t v : {width, height})
        ihdr += {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    ihdr += {char(depth), char(colorType), 0, 0, 0};
    Bytes png = "\x89PNG\r\n\x1A\n";
    auto put32 = [&png](uint32_t v) { png += {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    auto chunk = [&](const Bytes& typeAndData) {
        put32(uint32_t(typeAndData.size() - 4));
        png += typeAndData;
        put32(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typeAndData.data()), uInt(typeAndData.size()))));
    };
    chunk(ihdr);
    chunk(Bytes("IDAT\x78\x9C\x63\x60\x00\x00\x00\x02\x00\x01", 14));  // two zero bytes
    chunk("IEND");
    return png;
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
        ASSERT_TRUE(SaveBmp(image, Path("odd.jpg")));
        Bytes file = TempFolder::Read(Path("odd.jpg"));
        ASSERT_EQ(file.size(), 54 + (size_t(w) * 3 + 3) / 4 * 4 * 3);
        EXPECT_EQ(uint8_t(file[54]), Blue(image.Get(0, 2)));
        EXPECT_EQ(uint8_t(file[56]), Red(image.Get(0, 2)));
        ASSERT_TRUE(LoadImageFile(Path("odd.jpg"), loaded));
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

    EXPECT_FALSE(SavePng(Image(), Path("e.png")));
    EXPECT_FALSE(SaveJpeg(noise, Path("no/such/folder/x.jpg")));
    EXPECT_FALSE(SaveBmp(noise, Path("no/such/folder/x.bmp")));
}

TEST_F(ImageFiles, LayoutsOfOtherProgramsDecode)
{
    Image loaded;
    std::string error;
    auto load = [&](const std::string& name, const Bytes& bytes = "") {
        if (!bytes.empty())
            tmp.Put(name, bytes);
        EXPECT_TRUE(LoadImageFile(Path(name), loaded, &error)) << name << ": " << error;
    };

    // PNG: a 4-bit palette with a half-transparent entry, laid over white.
    WriteRawPng(Path("pal.png"), 3, 1, PNG_COLOR_TYPE_PALETTE, 4, false, {"\x01\x20"},
                {{0, 0, 0}, {200, 100, 50}, {10, 20, 30}}, {255, 255, 128});
    load("pal.png");
    EXPECT_EQ(loaded.Get(1, 0), RGB(200, 100, 50));
    EXPECT_EQ(loaded.Get(2, 0), RGB(132, 137, 142));

    // PNG: interlaced RGB.
    Image noise = NoiseImage(13, 11, 3);
    std::vector<Bytes> rows(11);
    for (int y = 0; y < 11; y++)
        for (int x = 0; x < 13; x++)
            rows[size_t(y)] += {char(Red(noise.Get(x, y))), char(Green(noise.Get(x, y))), char(Blue(noise.Get(x, y)))};
    WriteRawPng(Path("adam7.png"), 13, 11, PNG_COLOR_TYPE_RGB, 8, true, rows);
    load("adam7.png");
    ExpectSame(noise, loaded);

    // BMP: 1 bit, bottom-up, so the first stored row is the bottom one.
    const Rgb white = RGB(255, 255, 255);
    load("1.bmp", BmpBytes(9, 2, 1, {0, white}, {"\xFF\x80", Bytes("\x40\x00", 2)}));
    EXPECT_EQ(loaded.Get(1, 0), white);
    EXPECT_EQ(loaded.Get(0, 0), 0u);
    EXPECT_EQ(loaded.Get(8, 1), white);

    // BMP: 32 bits top-down (negative height); the fourth byte is ignored.
    load("32.bmp", BmpBytes(1, -2, 32, {}, {Bytes("\x1E\x14\x0A\x00", 4), "\x03\x02\x01\x4D"}));
    EXPECT_EQ(loaded.Get(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(loaded.Get(0, 1), RGB(1, 2, 3));
    EXPECT_TRUE(AlphaAlwaysOpaque(loaded));

    // BMP: 16 bits with 5-6-5 bit fields.
    load("565.bmp", BmpBytes(2, 1, 16, {}, {Bytes("\x00\xF8\xE0\x07", 4)}, 3, {0xF800, 0x07E0, 0x001F}));
    EXPECT_EQ(loaded.Get(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(loaded.Get(1, 0), RGB(0, 255, 0));
}

TEST_F(ImageFiles, DamagedFilesFailWithAReason)
{
    auto expectFailure = [&](const std::string& name, const Bytes& bytes) {
        SCOPED_TRACE(name);
        if (name != "missing.png" && name != "pipe.png")
            tmp.Put(name, bytes);
        Image image(3, 3, RGB(9, 9, 9));
        std::string error;
        EXPECT_FALSE(LoadImageFile(Path(name), image, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(image.Get(1, 1), RGB(9, 9, 9)) << "the image is left as it was";
    };
    std::mt19937 random(5);
    auto noise = [&](Bytes head, int count) {
        while (count--)
            head += char(random());
        return head;
    };
    const Bytes signature = "\x89PNG\r\n\x1A\n";
    expectFailure("garbage.png", noise(signature, 500));
    expectFailure("garbage.jpg", noise("\xFF\xD8\xFF\xE0", 300));

    expectFailure("huge.png", PngHeaderOnly(100000, 100000, 8, PNG_COLOR_TYPE_RGB));

    // BMP headers that lie about the file.
    Bytes lying = BmpBytes(4, 2, 24, {}, {"\1\2\3", "\4\5\6"});
    lying[22] = 64;  // claims 64 rows, holds 2
    expectFailure("lying-height.bmp", lying);
    Bytes farOffset = BmpBytes(4, 2, 24, {}, {"\1", "\2"});
    farOffset[10] = char(0xF0);
    farOffset[11] = char(0xFF);
    expectFailure("far-offset.bmp", farOffset);
    expectFailure("huge.bmp", WithBmpSize(BmpBytes(4, 2, 24, {}, {"\1", "\2"}), 100000, 100000));
    expectFailure("no-palette.bmp", BmpBytes(4, 2, 8, {}, {"\1", "\2"}));
    expectFailure("jpeg-inside.bmp", BmpBytes(4, 2, 8, {0, 1}, {"\1", "\2"}, 4));
    expectFailure("short.bmp", "BM\1\2\3");
    expectFailure("empty.png", "");
    expectFailure("text.png", "hello");
    expectFailure("missing.png", "");
    ASSERT_EQ(::mkfifo(Path("pipe.png").c_str(), 0600), 0);
    expectFailure("pipe.png", "");  // refused, not waited on

    Image image;
    EXPECT_FALSE(LoadImageFile(tmp.Dir(), image));  // a folder
}

TEST_F(ImageFiles, TruncatedFilesFail)
{
    Image noise = NoiseImage(40, 30, 11);
    ASSERT_TRUE(SavePng(noise, Path("full.png")));
    ASSERT_TRUE(SaveJpeg(noise, Path("full.jpg")));
    ASSERT_TRUE(SaveBmp(NoiseImage(4, 30, 12), Path("full.bmp")));  // rows without padding
    // With the trailing bytes whose loss still leaves every pixel.
    for (auto [name, keepAtEnd] : {std::pair<std::string, size_t>{"full.png", 12}, {"full.jpg", 2}, {"full.bmp", 0}}) {
        Bytes full = TempFolder::Read(Path(name));
        ASSERT_GT(full.size(), 100u);
        for (size_t length = 1; length + keepAtEnd < full.size(); length += 1 + length / 16) {
            SCOPED_TRACE(name + " cut to " + std::to_string(length));
            tmp.Put("cut", full.substr(0, length));
            Image image;
            std::string error;
            EXPECT_FALSE(LoadImageFile(Path("cut"), image, &error));
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
            for (int tx = 0; tx < w; tx++)
                for (int shift : {0, 8, 16}) {
                    double sum = 0;
                    for (int y = 0; y < 13; y++)
                        for (int x = 0; x < 17; x++) {
                            double cx = std::max(0.0, std::min(x + 1.0, (tx + 1) * sx) - std::max(double(x), tx * sx));
                            double cy = std::max(0.0, std::min(y + 1.0, (ty + 1) * sy) - std::max(double(y), ty * sy));
                            sum += cx * cy * (src.Get(x, y) >> shift & 255);
                        }
                    EXPECT_NEAR(out.Get(tx, ty) >> shift & 255, sum / (sx * sy), 0.51);
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
    // A quarter of the way at the second pixel.
    EXPECT_EQ((std::vector<int>{Red(smooth.Get(0, 0)), Red(smooth.Get(1, 0)), Red(smooth.Get(2, 0)),
                                Red(smooth.Get(3, 0))}),
              (std::vector<int>{0, 64, 191, 255}));

    // Narrower and taller, then wider and shorter: both orders of the passes.
    Image broad(4, 2);
    broad.FillRect(0, 0, 2, 1, RGB(200, 200, 200));
    broad.FillRect(2, 1, 2, 1, RGB(100, 0, 0));
    Image narrow = ScaleAreaAverage(broad, 2, 4);
    EXPECT_EQ(narrow.Get(0, 1), RGB(200, 200, 200));
    EXPECT_EQ(narrow.Get(1, 1), 0u);
    EXPECT_EQ(narrow.Get(1, 3), RGB(100, 0, 0));
    ExpectSame(ScaleAreaAverage(narrow, 4, 2), broad);

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

// libjpeg only warns about damaged scan data and invents the missing pixels:
// such a file is refused. Harmless damage after the last row is not read.
TEST_F(ImageFiles, DamagedJpegDataFails)
{
    Image noise = NoiseImage(64, 48, 21);
    const Bytes whole = JpegBytes(noise, false);
    const size_t scan = whole.find("\xFF\xDA") + 14;  // past the one-component-table SOS header
    ASSERT_LT(scan + 600, whole.size());
    const size_t middle = scan + (whole.size() - scan) / 2;

    Bytes cut = whole.substr(0, middle) + "\xFF\xD9";  // a scan that stops half-way, then the end marker
    Bytes badCode = whole;  // all-ones bits are no Huffman code
    for (size_t i = 0; i < 40; i += 2)
        badCode.replace(middle + i, 2, "\xFF\x00", 2);
    Bytes extraneous = whole;  // stray bytes between two header segments
    extraneous.insert(whole.find("\xFF\xC0"), "junk");
    Bytes badRestart = JpegBytes(noise, true);  // a progressive file missing a middle scan's data
    size_t secondScan = badRestart.find("\xFF\xDA", badRestart.find("\xFF\xDA") + 2);
    badRestart.erase(secondScan + 20, 40);

    for (auto [name, bytes] : {std::pair<std::string, Bytes>{"cut scan", cut},
                               {"bad code", badCode},
                               {"extraneous bytes", extraneous},
                               {"progressive scan cut", badRestart}}) {
        SCOPED_TRACE(name);
        tmp.Put("damaged.jpg", bytes);
        Image image;
        std::string error;
        EXPECT_FALSE(LoadImageFile(Path("damaged.jpg"), image, &error));
        EXPECT_NE(error.find("JPEG"), std::string::npos) << error;
    }
    tmp.Put("tail.jpg", whole.substr(0, whole.size() - 2) + "trailing garbage");
    Image image;
    EXPECT_TRUE(LoadImageFile(Path("tail.jpg"), image));
}

// CMYK JPEGs read as the colour their inks leave of white paper. Files with
// Adobe's marker (libjpeg writes it unless told not to) store the inks
// inverted; YCCK files code the first three of them as YCbCr. Each 8 x 8
// block is one flat colour, so that at quality 100 CMYK samples come back
// exactly and YCCK ones within one step of the colour conversion.
TEST_F(ImageFiles, CmykJpegsReadAsTheirColours)
{
    const int blocks[4][4] = {{250, 128, 10, 160}, {40, 200, 120, 90}, {220, 90, 160, 200}, {5, 255, 60, 30}};
    std::vector<JSAMPLE> samples;
    auto inksAt = [&](int x, int y) { return blocks[y / 8 * 2 + x / 8]; };
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            samples.insert(samples.end(), inksAt(x, y), inksAt(x, y) + 4);
    auto cmykJpeg = [&](J_COLOR_SPACE space, bool adobe) {
        return JpegFromSamples(16, 16, JCS_CMYK, 4, samples, [&](jpeg_compress_struct& cinfo) {
            jpeg_set_colorspace(&cinfo, space);
            cinfo.write_Adobe_marker = adobe;
            jpeg_set_quality(&cinfo, 100, TRUE);
            for (int c = 0; c < 4; c++)
                cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
        });
    };
    for (auto [space, adobe] : {std::pair{JCS_CMYK, true}, {JCS_CMYK, false}, {JCS_YCCK, true}}) {
        SCOPED_TRACE(testing::Message() << (space == JCS_CMYK ? "CMYK" : "YCCK") << (adobe ? " inverted" : " plain"));
        tmp.Put("cmyk.jpg", cmykJpeg(space, adobe));
        Image image;
        std::string error;
        ASSERT_TRUE(LoadImageFile(Path("cmyk.jpg"), image, &error)) << error;
        ASSERT_EQ(image.Width, 16);
        ASSERT_EQ(image.Height, 16);
        EXPECT_TRUE(AlphaAlwaysOpaque(image));
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++) {
                const int* ink = inksAt(x, y);
                const int got[3] = {Red(image.Get(x, y)), Green(image.Get(x, y)), Blue(image.Get(x, y))};
                for (int c = 0; c < 3; c++) {
                    const int want = adobe ? ink[c] * ink[3] : (255 - ink[c]) * (255 - ink[3]);
                    ASSERT_NEAR(got[c], std::lround(want / 255.0), space == JCS_YCCK)
                        << "channel " << c << " at " << x << "," << y;
                }
            }
    }
    // Damaged or oversized CMYK files are refused as the others are.
    const Bytes whole = cmykJpeg(JCS_YCCK, true);
    const size_t scan = whole.find("\xFF\xDA");
    for (auto [name, bytes, reason] :
         {std::tuple<std::string, Bytes, std::string>{"cut in the header", whole.substr(0, scan - 20), "truncated"},
          {"cut in the scan", whole.substr(0, scan + (whole.size() - scan) / 2), "truncated"},
          {"claiming 6000 x 6000", WithJpegSize(whole, 6000, 6000), "too short"}}) {
        SCOPED_TRACE(name);
        tmp.Put("bad.jpg", bytes);
        Image image;
        std::string error;
        EXPECT_FALSE(LoadImageFile(Path("bad.jpg"), image, &error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

// A few bytes of header can claim a picture of gigabytes. The readers refuse
// it before they allocate: by its pixel count, by the data the file would
// need to hold it, or (arithmetic-coded JPEG) by libjpeg's memory cap.
TEST_F(ImageFiles, HeadersClaimingHugePicturesAreRefusedUpFront)
{
    Image small = NoiseImage(16, 16, 2);
    // 8193 x 8193: just over 64 M pixels.
    const Bytes bmp = WithBmpSize(BmpBytes(4, 2, 24, {}, {"\1", "\2"}), 8193, 8193);
    struct Case {
        std::string name;
        Bytes bytes;
        std::string reason;
    };
    for (const Case& c : std::vector<Case>{
             {"png 16384 x 16384", PngHeaderOnly(16384, 16384, 1, PNG_COLOR_TYPE_GRAY), "too large"},
             {"png 3000 x 3000", PngHeaderOnly(3000, 3000, 8, PNG_COLOR_TYPE_RGB), "too short"},
             {"bmp 8193 x 8193", bmp, "too large"},
             {"jpeg 9000 x 9000", WithJpegSize(JpegBytes(small, false), 9000, 9000), "too large"},
             {"baseline 6000 x 6000", WithJpegSize(JpegBytes(small, false), 6000, 6000), "too short"},
             {"progressive 6000 x 6000", WithJpegSize(JpegBytes(small, true), 6000, 6000), "too short"},
             {"arithmetic 8000 x 8000", WithJpegSize(JpegBytes(small, true, true, true), 8000, 8000),
              "too much memory"}}) {
        SCOPED_TRACE(c.name);
        tmp.Put("huge", c.bytes);
        Image image;
        std::string error;
        EXPECT_FALSE(LoadImageFile(Path("huge"), image, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_LT(c.bytes.size(), 2000u);
    }
    // A large plain picture packs about as tightly as deflate can: it loads.
    WriteRawPng(Path("plain.png"), 4096, 4096, PNG_COLOR_TYPE_GRAY, 1, false, std::vector<Bytes>(4096, Bytes(512, 0)));
    Image loaded;
    std::string error;
    ASSERT_TRUE(LoadImageFile(Path("plain.png"), loaded, &error)) << error;
    EXPECT_LT(TempFolder::Read(Path("plain.png")).size(), 4096u * 512 / 900);
    EXPECT_EQ(loaded.Get(4095, 4095), 0u);
}
