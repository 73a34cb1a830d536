// C font source: "Save as 8bit C" and "Save as 32bit C", and the reader of
// the 8-bit form and of arrays declared with `fontdatatype`.
#pragma once

#include <string>

#include "core/state.h"
#include "formats/readfont.h"

void SaveFontAs8BitC(State& s);
void SaveFontAs32BitC(State& s);

// A valid C identifier made from a name: characters that cannot stand in one
// become "_", a leading digit gets "_" in front, a C keyword gets "_" behind.
std::string CIdentifier(const std::string& name);

// Reads FontPath as a C array into the font (the Open command's reader for
// ".c").
void OpenCFont(State& s);
// The reader without the file: searches the start line ("fontdatatype..." or
// "const unsigned char..."), then reads the array.
FontRead ReadCFont(FontLines& lines);
// The array after its start line: the geometry line, then one glyph a line
// up to "};". Blanks are removed from these lines, and tabs as well when
// `removeTabs`.
FontRead ReadCArray(FontLines& lines, bool removeTabs);
