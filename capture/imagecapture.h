// Character from Image: a picture file scaled to the glyph size, turned into
// black and white in the threshold window (81) and copied into the editor
// grid, as often as the user likes.
#pragma once

#include <cstdint>

#include "core/state.h"

// The menu command: asks for a picture and opens window 81 with it. A file
// that is no readable picture (or too large to hold) is refused with a
// message, and the window is not open afterwards.
void LoadCharacterImage(State& s);
// Draws the picture at glyph size onto the result canvas, thresholds it and
// enlarges the result two times in place.
void ShowThreshold(State& s, float level, float window, int32_t mode);
// Copies the result canvas into `Grid` (white pixels are set) and repaints
// the editor; the font and `Modified` are left to the store-back.
void CharacterFromImage(State& s);
// The events of window 81 in s.Event: the close request and the shortcuts
// of the arrow keys, Space and Return.
void ThresholdWindowEvent(State& s);
// Closes window 81 and releases its picture.
void CloseThresholdWindow(State& s);
// Run by the event loop after every event: closes window 81 once the glyph
// size is no longer the one its canvases were made for.
void FollowGlyphSize(State& s);
