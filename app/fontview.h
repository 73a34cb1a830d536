// The "Font View" window: the whole font as one clickable sheet (image 90).
#pragma once

#include "core/state.h"

void ViewFont(State& s);
void PickFontViewCharacter(State& s);
// Handlers of window 69's events, called by the event loop.
void FontViewEvent(State& s);
