// The grey level of a colour, with its rounding of halves to the even side.
#include <gtest/gtest.h>

#include "capture/graylevel.h"

TEST(GrayLevel, WeightsAndRounding)
{
    using platform::RGB;
    const struct {
        platform::Rgb colour;
        int grey;
    } cases[] = {
        {RGB(255, 255, 255), 255},
        {RGB(0, 0, 0), 0},
        {RGB(255, 0, 0), 76},  // 76.5: the even neighbour
        {RGB(0, 255, 0), 150},
        {RGB(0, 0, 255), 28},
        {RGB(128, 128, 128), 128},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GrayLevel(c.colour), c.grey) << std::hex << c.colour;
}
