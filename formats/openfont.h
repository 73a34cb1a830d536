// The Open command: the question about unsaved work, the open requester, the
// recent-file entry, the reader chosen by the file's extension and the editor
// set up again afterwards; and the scanning reader for every other
// extension.
#pragma once

#include <string>

#include "core/state.h"
#include "formats/readfont.h"

// Opens the font file at `path`; an empty path asks for one.
void OpenFontFile(State& s, const std::string& path);
// Opens recent file n (0 to 9, item 19 + n of "&Recent"); nothing when the
// list has no such entry.
void OpenRecentFile(State& s, int n);

// Reads FontPath by searching it for a C array declared with `fontdatatype`
// or a DefineFont block.
void ScanFontFile(State& s);
// The scanning reader without the file.
FontRead ScanFontLines(FontLines& lines);
