// BASIC DefineFont text (.bas and the CMM2's .fnt): "Save as BAS", "Save as
// FNT (CMM2)" and "Save as BAS (Proportional)"; the reader of DefineFont
// blocks and of plain-text bitmap fonts.
#pragma once

#include "core/state.h"
#include "formats/readfont.h"

void SaveFontAsBas(State& s);
void SaveFontAsFnt(State& s);
void SaveFontAsBasProportional(State& s);

// Reads FontPath into the font: its DefineFont block, or a plain-text bitmap
// when no line starts with "DefineFont" (the Open command's reader for ".bas"
// and ".fnt").
void OpenBasFont(State& s);
// The reader without the file.
FontRead ReadBasFont(FontLines& lines);
// Reads up to the line that starts with "DefineFont"; false when there is none.
bool FindDefineFont(FontLines& lines);
// The block after its "DefineFont" line: the header word, then the 32-bit
// words up to "End DefineFont". Blanks are trimmed from every line, and tabs
// removed as well when `removeTabs`.
FontRead ReadDefineFontBlock(FontLines& lines, bool removeTabs);
// The plain-text bitmap font, read from the first line: a header line
// "height, width, first code, last code", then one line a pixel row ("'"
// lines are comments).
FontRead OpenTextBitmapFont(FontLines& lines);
