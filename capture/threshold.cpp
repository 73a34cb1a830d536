// The plain and the region threshold. The region threshold sums the grey
// levels of each pixel's square from a summed-area table, so its cost per
// pixel does not depend on the size of the square.
#include "capture/threshold.h"

#include <algorithm>
#include <limits>
#include <new>
#include <vector>

#include "capture/graylevel.h"
#include "core/fontstore.h"
#include "platform/gui.h"

namespace {

// White (0xFFFFFF) and black (0x000000) as the image stores them.
constexpr uint32_t WhitePixel = 0xFFFFFFFFu;
constexpr uint32_t BlackPixel = 0xFF000000u;

// `Sum` holds the summed-area table: 32 bits whenever the grey levels of the
// whole output fit, which every canvas of the program does.
template <typename Sum>
void RegionThreshold(platform::Image& out, const std::vector<uint8_t>& grey, float level, int64_t s)
{
    const int64_t wo = out.Width, ho = out.Height;
    // table[y * wo + x]: the sum of the grey levels at x' <= x, y' <= y.
    std::vector<Sum> table(size_t(wo) * size_t(ho));
    for (int64_t y = 0; y < ho; y++) {
        int64_t row = 0;
        const size_t at = size_t(y) * size_t(wo);
        for (int64_t x = 0; x < wo; x++) {
            row += grey[at + size_t(x)];
            table[at + size_t(x)] = Sum(y == 0 ? row : table[at - size_t(wo) + size_t(x)] + row);
        }
    }
    const double keep = 1.0 - double(level);
    for (int64_t y = 0; y < ho; y++) {
        const int64_t y1 = std::max<int64_t>(y - s, 0), y2 = std::min<int64_t>(y + s, ho - 1);
        const Sum* top = table.data() + size_t(y1) * size_t(wo);
        const Sum* bottom = table.data() + size_t(y2) * size_t(wo);
        const size_t at = size_t(y) * size_t(wo);
        for (int64_t x = 0; x < wo; x++) {
            const int64_t x1 = std::max<int64_t>(x - s, 0), x2 = std::min<int64_t>(x + s, wo - 1);
            const int64_t area = (x2 - x1) * (y2 - y1);
            const int64_t sum = int64_t(bottom[x2]) - top[x2] - bottom[x1] + top[x1];
            const bool white = double(int64_t(grey[at + size_t(x)]) * area) >= keep * double(sum);
            out.Pixels[at + size_t(x)] = white ? WhitePixel : BlackPixel;
        }
    }
}

}  // namespace

int64_t ThresholdHalfSize(int outputWidth, int outputHeight, float window)
{
    const int64_t q = (int64_t(outputWidth) + outputHeight) / 2;
    return RoundToInt(double(q) * (1.0 - double(window)));
}

void ThresholdImage(platform::Image& output, float level, float window, int32_t mode)
{
    if (output.Empty() || output.Pixels.size() != size_t(output.Width) * size_t(output.Height))
        return;
    const int64_t wo = output.Width, ho = output.Height;
    // A window factor outside 0 to 1 would give a square beyond the output
    // or one turned inside out; the output's size is as far as a square reaches.
    const int64_t s = std::clamp<int64_t>(ThresholdHalfSize(output.Width, output.Height, window), 0, std::max(wo, ho));
    try {
        std::vector<uint8_t> grey(size_t(wo) * size_t(ho));
        for (size_t i = 0; i < grey.size(); i++)
            grey[i] = uint8_t(GrayLevel(output.Pixels[i] & 0xFFFFFFu));
        if (mode == 1) {
            if (255 * wo * ho <= std::numeric_limits<int32_t>::max())
                RegionThreshold<int32_t>(output, grey, level, s);
            else
                RegionThreshold<int64_t>(output, grey, level, s);
            return;
        }
        const double limit = 255.0 * double(level);
        for (size_t i = 0; i < grey.size(); i++)
            output.Pixels[i] = double(grey[i]) >= limit ? WhitePixel : BlackPixel;
    } catch (const std::bad_alloc&) {
        // No room for the working tables: the output stays as it was.
    }
}

void ThresholdImage(int canvas, float level, float window, int32_t mode)
{
    if (!platform::StartDrawingCanvas(canvas))
        return;
    if (platform::Image* output = platform::DrawingOutput())
        ThresholdImage(*output, level, window, mode);
    platform::StopDrawing();
}
