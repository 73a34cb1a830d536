// Turning a picture into black and white: the plain threshold on each
// pixel's grey level, and the region threshold that compares each pixel with
// the mean grey level of the square around it.
#pragma once

#include <cstdint>

#include "platform/image.h"

// The half-size of the square around each pixel for an output of that size:
// the rounded (width + height) / 2 x (1 - window), with `window` widened to
// double first. A larger window factor gives a smaller square.
int64_t ThresholdHalfSize(int outputWidth, int outputHeight, float window);

// Makes every pixel of `output` black (0x000000) or white (0xFFFFFF).
// mode 1, region threshold: white when the pixel's grey level is at least
// (1 - level) times the mean grey level of its square (column and row just
// outside the square's top-left corner left out); any other mode, plain
// threshold: white when the grey level is at least 255 x level.
void ThresholdImage(platform::Image& output, float level, float window, int32_t mode);
// The same on what canvas `canvas` shows; nothing happens when drawing on it
// cannot start.
void ThresholdImage(int canvas, float level, float window, int32_t mode);
