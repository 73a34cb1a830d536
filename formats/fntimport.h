// Windows bitmap font resources (.fnt, version 2.0): "Import FNT Font" puts
// every glyph into one cell of the widest glyph's width and the font's
// pixel height, padded so that width x height is a multiple of 8.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/state.h"

struct FntFont {
    bool Ok = false;        // false: the file cannot be imported, nothing else is set
    std::string Face;       // the face name as UTF-8
    int32_t Width = 0;      // the padded cell
    int32_t Height = 0;
    int32_t First = 0;      // the first code
    std::vector<std::string> Glyphs;  // one per code from First; empty for a width of 0
};

// The version 2.0 header; the character table follows it.
constexpr size_t FntHeaderSize = 118;

// Reads a whole .fnt file. It is refused (Ok false) when the header says
// other than version 2.0, a width or height of 0, a last code below the first,
// a height above 60 or a width above 1024, or when the header, its character
// table, the face name, the first bitmap or a glyph's bitmap lies past the
// end of the file. Nothing past the end is ever read.
FntFont ParseFntFont(std::span<const uint8_t> file);
// The cell of a width x height font: the size padded so that width x height
// is a multiple of 8, the glyph staying in the top-left corner.
std::pair<int32_t, int32_t> FntCell(int32_t width, int32_t height);

// The menu command: asks for a file and replaces the font with it. A file
// that cannot be read or imported leaves everything as it was.
void ImportFntFont(State& s);
