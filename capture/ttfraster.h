// The TrueType rasteriser: the range marked on the chart of the TrueType
// view becomes a new font, each character drawn antialiased at a multiple of
// the target height, reduced and thresholded into the editor's grid.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/state.h"

void ProcessTtfSelection(State& s);

// The rules of a run, on their own.

// The ink threshold of a weight (the spin value): 32 a step, at most 250.
int InkThreshold(int weight);
// The target height typed in the view: false unless the text is a number
// that rounds to 1 to 256.
bool ReadTargetHeight(const std::string& text, int32_t& height);
// The render scale of a target height: 256 div height.
int64_t RenderScale(int32_t height);
// Where the size search starts, from the reference height h0 of the face at
// `pointSize`: the integer part of 7 x pointSize x height / h0, plus 1.5.
float SizeSearchStart(int32_t pointSize, int32_t height, int32_t h0);
// The size search: half a point down at a time, each size rounded to whole
// points and measured, until the measured height is below 7 x `height`; it
// stops at 1 point at the latest. Leaves `size` at the last size tried and
// gives the point sizes tried in order.
std::vector<int> SizeSearch(float& size, int32_t height, const std::function<int(int points)>& measure);
// The size of the render image for glyphs of width x height drawn at
// `scale`: 1024 x 1024, or wider or higher when the render box (20 pixels
// more than the glyph at that scale each way) needs it. False when that
// would be wider or higher than 16384 pixels.
bool RenderImageSize(int32_t width, int32_t height, int64_t scale, int& imageWidth, int& imageHeight);
