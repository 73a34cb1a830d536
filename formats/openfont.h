// The Open command: the question about unsaved work, the open requester, the
// recent-file entry, the reader chosen by the file's extension and the editor
// set up again afterwards; the scanning reader for every other extension;
// and the steps every font reader shares.
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

// The frame of a text reader: the reset, FontPath opened (an "Oops!" message
// when it cannot be), `reader` on its lines, then what it found stored.
void ReadFontFile(State& s, FontRead (*reader)(FontLines&));
// Puts what a reader found into the font: the geometry it gave, each glyph
// with its list step, then its messages.
void StoreFontRead(State& s, const FontRead& read);
