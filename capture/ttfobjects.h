// The numbers of the "TrueType Font View" window's controls, and the fonts
// and images of the TrueType rendering.
#pragma once

#include "core/objects.h"

namespace obj {

constexpr int TtfChartCanvas = 104;
constexpr int TtfFontButton = 105;
constexpr int TtfCodePageList = 108;
constexpr int TtfDegreeBox = 109;
constexpr int TtfHeightField = 110;
constexpr int TtfWeightSpin = 111;
constexpr int TtfGoButton = 112;
constexpr int TtfHeightLabel = 113;
constexpr int TtfWeightLabel = 114;

// Font 0 is the chosen face (chart and rendering), font 1 the chart heading.
constexpr int TtfFaceFont = 0;
constexpr int TtfHeadingFont = 1;

// The picture of one character grabbed from the render image.
constexpr int TtfGrabImage = 115;
constexpr int TtfRenderImage = 116;

}  // namespace obj
