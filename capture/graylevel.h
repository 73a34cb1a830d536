// The grey level of a colour, shared by the TrueType rasteriser and
// Character from Image.
#pragma once

#include <cstdint>

#include "platform/image.h"

// 0.3 x red + 0.59 x green + 0.11 x blue, computed in double precision in
// that order and rounded to the nearest integer, halves to even. `colour`
// has red in its lowest byte, green in the next and blue in the third.
int GrayLevel(platform::Rgb colour);
