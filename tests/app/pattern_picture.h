// The picture of the Character from Image tests: a glyph pattern of black,
// one grey and white pixels, drawn in flat 2 x 2 blocks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/image.h"

// The glyph pattern of the pictures: grey 0, `mid` or 255 by (x + 2y) mod 3.
// Black and white alone (mid 255) come out of either threshold as they are.
inline int PatternGrey(int x, int y, int mid = 255)
{
    const int greys[] = {0, mid, 255};
    return greys[(x + 2 * y) % 3];
}

// The pattern at glyph size w x h as rows of "#" where `white` holds for the
// grey of the pixel and "." elsewhere.
inline std::vector<std::string> PatternRows(int w, int h, const std::function<bool(int)>& white, int mid = 255)
{
    std::vector<std::string> rows;
    for (int y = 0; y < h; y++) {
        std::string row;
        for (int x = 0; x < w; x++)
            row += white(PatternGrey(x, y, mid)) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// A 2W x 2H picture of the pattern in flat 2 x 2 blocks.
inline platform::Image PatternPicture(int w, int h, int mid = 255)
{
    platform::Image picture(2 * w, 2 * h);
    for (int y = 0; y < 2 * h; y++)
        for (int x = 0; x < 2 * w; x++) {
            const int g = PatternGrey(x / 2, y / 2, mid);
            picture.Set(x, y, platform::RGB(g, g, g));
        }
    return picture;
}
