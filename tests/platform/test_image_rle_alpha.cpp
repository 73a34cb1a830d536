// Pictures as other programs write them: run-length BMPs, and transparent
// pictures, which read as laid over white paper.
#include <gtest/gtest.h>

#include <random>

#include "tests/platform/image_files.h"

using namespace image_test;

namespace {

const Rgb White = RGB(255, 255, 255);
const std::vector<Rgb> Palette = {RGB(0, 0, 0), White, RGB(200, 0, 0), RGB(0, 90, 0)};

// A run-length BMP (8 or 4 bits) whose pixel data is `codes` as stored.
Bytes RleBmpBytes(int w, int h, int bits, const Bytes& codes)
{
    return BmpBytes(w, h, bits, Palette, {}, bits == 8 ? 1 : 2) + codes;
}

Bytes Codes(std::initializer_list<int> bytes)
{
    Bytes b;
    for (int v : bytes)
        b += char(v);
    return b;
}

// Each text is a row of palette indices, the top row first.
void ExpectIndices(const Image& image, const std::vector<std::string>& rows)
{
    ASSERT_EQ(image.Height, int(rows.size()));
    for (int y = 0; y < image.Height; y++) {
        ASSERT_EQ(image.Width, int(rows[size_t(y)].size()));
        for (int x = 0; x < image.Width; x++)
            EXPECT_EQ(image.Get(x, y), Palette[size_t(rows[size_t(y)][size_t(x)] - '0')]) << "at " << x << "," << y;
    }
}

// Codes for rows of indices (top row first), written bottom-up as a writer
// would: stretches of random length, each a literal (three pixels or more,
// padded to whole words) or runs of one index; "end of line" after every
// row and "end of bitmap" last.
Bytes RleCodes(const std::vector<std::vector<uint8_t>>& rows, int bits, std::mt19937& random)
{
    Bytes codes;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (size_t x = 0; x < row->size();) {
            size_t n = std::min<size_t>(row->size() - x, 1 + random() % 20);
            if (n >= 3 && random() % 2) {
                Bytes literal;
                for (size_t i = 0; i < n; i++) {
                    const uint8_t v = (*row)[x + i];
                    if (bits == 8)
                        literal += char(v);
                    else if (i % 2 == 0)
                        literal += char(v << 4);
                    else
                        literal.back() = char(literal.back() | v);
                }
                if (literal.size() % 2)
                    literal += '\0';
                codes += Codes({0, int(n)}) + literal;
            } else {
                n = 1;
                while (x + n < row->size() && (*row)[x + n] == (*row)[x] && n < 255)
                    n++;
                codes += Codes({int(n), bits == 8 ? (*row)[x] : (*row)[x] * 0x11});
            }
            x += n;
        }
        codes += Codes({0, 0});
    }
    return codes + Codes({0, 1});
}

TEST_F(ImageFiles, RunLengthBmpsDecode)
{
    struct Case {
        std::string name;
        Bytes file;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        // Bottom row: a run of 3; middle: 3 literals and their pad byte;
        // top: a jump 2 to the right, a run of 2, the end of the picture.
        {"8 bits", RleBmpBytes(4, 3, 8, Codes({3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 2, 0, 2, 1, 0, 1})),
         {"0011", "2120", "1110"}},
        // A run of 7 alternating 1 and 2, cut at the right edge; 3 literals
        // in two bytes (no pad); a jump right and up; a run of 1.
        {"4 bits", RleBmpBytes(5, 3, 4, Codes({7, 0x12, 0, 0, 0, 3, 0x20, 0x10, 0, 2, 1, 1, 1, 0x22, 0, 1})),
         {"00002", "20100", "12121"}},
        {"the last row ended, no end of bitmap", RleBmpBytes(2, 1, 8, Codes({2, 3, 0, 0})), {"33"}},
        {"a jump past the top ends it", RleBmpBytes(2, 2, 8, Codes({1, 1, 0, 2, 0, 9})), {"00", "10"}},
        {"literals past the right edge", RleBmpBytes(2, 1, 8, Codes({0, 4, 1, 2, 3, 1, 0, 1})), {"12"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tmp.Put("rle.bmp", c.file);
        Image image;
        std::string error;
        ASSERT_TRUE(LoadImageFile(Path("rle.bmp"), image, &error)) << error;
        ExpectIndices(image, c.rows);
    }
}

// Any picture reads the same from its run-length file as from its plain one,
// and a run-length file cut anywhere before its last row has ended fails.
TEST_F(ImageFiles, RunLengthBmpsMatchTheirPlainPicture)
{
    std::mt19937 random(7);
    for (int bits : {8, 4}) {
        SCOPED_TRACE(std::to_string(bits) + " bits");
        const int w = 37, h = 11;
        std::vector<std::vector<uint8_t>> rows(h, std::vector<uint8_t>(w));
        std::vector<Bytes> plainRows;  // bottom row first
        for (auto& row : rows)
            for (size_t x = 0; x < row.size(); x++)
                row[x] = x > 0 && random() % 3 ? row[x - 1] : uint8_t(random() % 4);
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            Bytes packed;
            for (size_t x = 0; x < row->size(); x++)
                if (bits == 8)
                    packed += char((*row)[x]);
                else if (x % 2 == 0)
                    packed += char((*row)[x] << 4);
                else
                    packed.back() = char(packed.back() | (*row)[x]);
            plainRows.push_back(packed);
        }
        Image plain, rle;
        std::string error;
        tmp.Put("plain.bmp", BmpBytes(w, h, bits, Palette, plainRows));
        ASSERT_TRUE(LoadImageFile(Path("plain.bmp"), plain, &error)) << error;
        const Bytes file = RleBmpBytes(w, h, bits, RleCodes(rows, bits, random));
        tmp.Put("rle.bmp", file);
        ASSERT_TRUE(LoadImageFile(Path("rle.bmp"), rle, &error)) << error;
        ExpectSame(plain, rle);

        // The last two bytes are the end of bitmap, which a whole picture
        // does without.
        for (size_t length = 1; length + 2 < file.size(); length++) {
            tmp.Put("cut.bmp", file.substr(0, length));
            Image image;
            EXPECT_FALSE(LoadImageFile(Path("cut.bmp"), image, &error)) << "cut to " << length;
        }
    }
}

TEST_F(ImageFiles, BrokenRunLengthBmpsAreRefused)
{
    // 8193 x 8193: just over 64 M pixels.
    const Bytes huge = WithBmpSize(RleBmpBytes(4, 2, 8, Codes({0, 1})), 8193, 8193);
    struct Case {
        std::string name;
        Bytes file;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"cut in a run", RleBmpBytes(4, 2, 8, Codes({3, 1, 0})), "truncated"},
        {"rows left at the end", RleBmpBytes(4, 2, 8, Codes({3, 1, 0, 0})), "truncated"},
        {"cut in a jump", RleBmpBytes(4, 2, 8, Codes({0, 2, 1})), "truncated"},
        {"cut in literals", RleBmpBytes(4, 2, 8, Codes({0, 4, 1, 2})), "truncated"},
        {"8-bit codes at 4 bits", BmpBytes(4, 2, 4, Palette, {}, 1) + Codes({0, 1}), "damaged"},
        {"4-bit codes at 8 bits", BmpBytes(4, 2, 8, Palette, {}, 2) + Codes({0, 1}), "damaged"},
        {"top-down", RleBmpBytes(4, -2, 8, Codes({0, 1})), "damaged"},
        {"over 64 M pixels", huge, "too large"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tmp.Put("bad.bmp", c.file);
        Image image(2, 2, RGB(9, 9, 9));
        std::string error;
        EXPECT_FALSE(LoadImageFile(Path("bad.bmp"), image, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(image.Get(1, 1), RGB(9, 9, 9)) << "the image is left as it was";
    }
}

// A pixel of colour c and alpha a reads as (c x a + 255 x (255 - a)) / 255,
// rounded: (10, 20, 30) at 128 gives (132, 137, 142).
TEST_F(ImageFiles, TransparentPicturesReadAsLaidOverWhitePaper)
{
    const Rgb half = RGB(132, 137, 142), solid = RGB(200, 100, 50);
    auto png = [&](int colorType, int depth, const Bytes& row, const std::vector<png_color>& palette = {},
                   const std::vector<uint8_t>& transparency = {}) {
        WriteRawPng(Path("made.png"), 3, 1, colorType, depth, false, {row}, palette, transparency);
        return TempFolder::Read(Path("made.png"));
    };
    // 32-bit BMPs whose fields give red, green, blue and alpha; the pixels
    // are stored as bytes B, G, R, A. With a header of 56 bytes or more the
    // masks are part of it.
    const Bytes bgra = Codes({0, 0, 0, 0, 30, 20, 10, 128, 50, 100, 200, 255});
    auto bmp = [](const Bytes& pixels, uint32_t headerSize) {
        const int width = int(pixels.size() / 4);
        if (headerSize == 40)
            return BmpBytes(width, 1, 32, {}, {pixels}, 6, {0xFF0000, 0xFF00, 0xFF, 0xFF000000});
        Bytes b = BmpBytes(width, 1, 32, {}, {pixels}, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000});
        b[14] = char(headerSize);
        b.insert(70, headerSize - 56, '\0');
        b[10] = char(14 + headerSize);
        return b;
    };
    struct Case {
        std::string name;
        Bytes file;
        std::vector<Rgb> row;
    };
    const std::vector<Case> cases = {
        {"png rgba", png(PNG_COLOR_TYPE_RGBA, 8, Codes({0, 0, 0, 0, 10, 20, 30, 128, 200, 100, 50, 255})),
         {White, half, solid}},
        {"png grey and alpha", png(PNG_COLOR_TYPE_GRAY_ALPHA, 8, Codes({0, 0, 100, 51, 0, 255})),
         {White, RGB(224, 224, 224), RGB(0, 0, 0)}},
        {"png palette with tRNS",
         png(PNG_COLOR_TYPE_PALETTE, 4, "\x02\x10", {{0, 0, 0}, {200, 100, 50}, {10, 20, 30}}, {0, 255, 128}),
         {White, half, solid}},
        {"bmp, four masks after a 40-byte header", bmp(bgra, 40), {White, half, solid}},
        {"bmp, 56-byte header", bmp(bgra, 56), {White, half, solid}},
        {"bmp, 124-byte header", bmp(bgra, 124), {White, half, solid}},
        {"bmp whose alpha is 0 throughout is opaque", bmp(Codes({30, 20, 10, 0, 50, 100, 200, 0}), 124),
         {RGB(10, 20, 30), solid}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tmp.Put("picture", c.file);
        Image image;
        std::string error;
        ASSERT_TRUE(LoadImageFile(Path("picture"), image, &error)) << error;
        ASSERT_EQ(image.Width, int(c.row.size()));
        for (int x = 0; x < image.Width; x++)
            EXPECT_EQ(image.Get(x, 0), c.row[size_t(x)]) << "pixel " << x;
        EXPECT_TRUE(AlphaAlwaysOpaque(image));
    }
}

}  // namespace
