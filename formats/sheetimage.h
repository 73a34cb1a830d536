// The font sheet of "Font View" (image 90) saved as a PNG, JPEG or BMP file.
#pragma once

#include "core/state.h"

void SaveFontAsImage(State& s);
