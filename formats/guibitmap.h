// "Save char as GUI Bitmap string", and the "File Info" box.
#pragma once

#include "core/state.h"

void SaveCharAsGuiBitmap(State& s);
// An OK box titled "File Info" showing FileInfo (no menu item leads to it).
void ShowFileInfo(State& s);
