// The plain and the region threshold on small pictures whose results are
// worked out by hand, and against a direct sum over each pixel's square.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/threshold.h"
#include "platform/image.h"

namespace {

using platform::Image;

// A picture of grey levels, given row by row.
Image Greys(const std::vector<std::vector<int>>& rows)
{
    Image image(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < image.Height; y++)
        for (int x = 0; x < image.Width; x++) {
            const int v = rows[size_t(y)][size_t(x)];
            image.Set(x, y, platform::RGB(v, v, v));
        }
    return image;
}

// The thresholded picture row by row, "#" white and "." black ("?" anything else).
std::vector<std::string> Rows(const Image& image)
{
    std::vector<std::string> rows;
    for (int y = 0; y < image.Height; y++) {
        std::string row;
        for (int x = 0; x < image.Width; x++)
            row += image.Get(x, y) == 0xFFFFFF ? '#' : image.Get(x, y) == 0 ? '.' : '?';
        rows.push_back(row);
    }
    return rows;
}

// Grey levels that follow no pattern, the same every run.
Image Noise(int w, int h, uint32_t seed)
{
    Image image(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            seed = seed * 1103515245u + 12345u;
            const int v = int(seed >> 16 & 255);
            image.Set(x, y, platform::RGB(v, v, v));
        }
    return image;
}

TEST(Threshold, HalfSizeOfTheSquare)
{
    const struct {
        int w, h;
        float window;
        int64_t s;
    } cases[] = {
        {32, 48, 0.9f, 4},    // 40 x 0.10000002 = 4.000001 (a 16 x 24 glyph)
        {32, 48, 1.0f, 0},
        {32, 48, 0.0f, 40},   // W + H
        {50, 40, 0.9f, 5},    // 45 x 0.10000002 = 4.5000011; with 0.9 in double it would be 4.5, even: 4
        {35, 48, 0.0f, 41},   // (35 + 48) / 2 drops the half before the product
        {256, 256, 0.5f, 128},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ThresholdHalfSize(c.w, c.h, c.window), c.s) << c.w << " x " << c.h << " at " << c.window;
}

// Region threshold at level 0: white when the grey level is at least the
// mean of the square, which leaves out the column and the row just outside
// its top-left corner, so (0, 0) is compared with (1, 1) alone.
TEST(Threshold, RegionAtLevelZeroAgainstTheSquaresMean)
{
    const std::vector<std::vector<int>> greys = {
        {200, 0, 90, 10},
        {0, 115, 30, 250},
        {120, 60, 255, 40},
        {80, 140, 20, 180},
    };
    const struct {
        float window;
        std::vector<std::string> result;
    } cases[] = {
        // s = 1. (2, 0): 90 x 2 < 30 + 250 (a square with row 0 and column 1
        // in it would make it white); (1, 1): 115 x 4 = 115 + 30 + 60 + 255,
        // equal is white.
        {0.75f, {"#...", ".#.#", "#.#.", ".#.#"}},
        // s = 4, the whole picture: the mean of columns and rows 1 to 3 is
        // 1090 / 9 = 121.1, so 120 in column 0 is black.
        {0.0f, {"#...", "...#", "..#.", ".#.#"}},
        // s = 0: no square, every pixel white.
        {1.0f, {"####", "####", "####", "####"}},
    };
    for (const auto& c : cases) {
        Image image = Greys(greys);
        ThresholdImage(image, 0.0f, c.window, 1);
        EXPECT_EQ(Rows(image), c.result) << "window " << c.window;
    }
}

// On the result canvas of a 16 x 24 glyph (32 x 48): window 1 makes every
// pixel white, window 0 compares every pixel with one mean, and any other
// window with the direct sum over its square.
TEST(Threshold, RegionOnTheCanvasOfA16By24Glyph)
{
    const Image noise = Noise(32, 48, 7);
    auto grey = [&noise](int x, int y) { return int64_t(platform::Red(noise.Get(x, y))); };

    Image image = noise;
    ThresholdImage(image, 0.02f, 1.0f, 1);
    EXPECT_EQ(Rows(image), std::vector<std::string>(48, std::string(32, '#')));

    int64_t whole = 0;
    for (int y = 1; y < 48; y++)
        for (int x = 1; x < 32; x++)
            whole += grey(x, y);
    for (float level : {0.0f, 0.02f, 0.45f}) {
        image = noise;
        ThresholdImage(image, level, 0.0f, 1);
        for (int y = 0; y < 48; y++)
            for (int x = 0; x < 32; x++)
                ASSERT_EQ(image.Get(x, y) != 0, double(grey(x, y) * 31 * 47) >= (1.0 - double(level)) * double(whole))
                    << x << "," << y << " at level " << level;
    }

    for (float window : {0.9f, 0.75f}) {
        const int64_t s = window == 0.9f ? 4 : 10;
        image = noise;
        ThresholdImage(image, 0.02f, window, 1);
        for (int y = 0; y < 48; y++)
            for (int x = 0; x < 32; x++) {
                const int64_t x1 = std::max<int64_t>(x - s, 0), x2 = std::min<int64_t>(x + s, 31);
                const int64_t y1 = std::max<int64_t>(y - s, 0), y2 = std::min<int64_t>(y + s, 47);
                int64_t sum = 0;
                for (int64_t v = y1 + 1; v <= y2; v++)
                    for (int64_t u = x1 + 1; u <= x2; u++)
                        sum += grey(int(u), int(v));
                const bool white = double(grey(x, y) * (x2 - x1) * (y2 - y1)) >= (1.0 - double(0.02f)) * double(sum);
                ASSERT_EQ(image.Get(x, y) != 0, white) << x << "," << y << " at window " << window;
            }
    }
}

// Plain threshold (any mode but 1): white when the grey level reaches
// 255 x level, whatever the window.
TEST(Threshold, PlainAgainstTheLevel)
{
    const std::vector<std::vector<int>> greys = {{0, 1, 114, 115}, {200, 254, 255, 255}};
    const struct {
        float level;
        int32_t mode;
        std::vector<std::string> result;
    } cases[] = {
        {0.0f, 0, {"####", "####"}},
        {1.0f, 0, {"....", "..##"}},
        {0.45f, 0, {"...#", "####"}},  // 255 x 0.45 = 114.75
        {0.45f, 2, {"...#", "####"}},
    };
    for (const auto& c : cases) {
        for (float window : {0.0f, 0.9f}) {
            Image image = Greys(greys);
            ThresholdImage(image, c.level, window, c.mode);
            EXPECT_EQ(Rows(image), c.result) << "level " << c.level << " mode " << c.mode;
        }
    }
}

// Colours count by their grey level; window factors outside 0 to 1 and an
// empty picture do no harm.
TEST(Threshold, ColoursAndOddValues)
{
    Image image(3, 1);
    image.Set(0, 0, platform::RGB(255, 0, 0));  // grey 76
    image.Set(1, 0, platform::RGB(0, 255, 0));  // grey 150
    image.Set(2, 0, platform::RGB(0, 0, 255));  // grey 28
    ThresholdImage(image, 0.45f, 0.9f, 0);
    EXPECT_EQ(Rows(image), std::vector<std::string>{".#."});

    for (float window : {-3.0f, 2.0f, 1e30f}) {
        Image noise = Noise(9, 5, 3);
        ThresholdImage(noise, 0.02f, window, 1);
        EXPECT_EQ(Rows(noise).size(), 5u);
        for (const std::string& row : Rows(noise))
            EXPECT_EQ(row.find('?'), std::string::npos);
    }
    Image empty;
    ThresholdImage(empty, 0.5f, 0.5f, 1);
    EXPECT_TRUE(empty.Empty());
}

}  // namespace
