// The font store's texts: the codec between `Grid` and glyph texts (built on
// core/glyphtext.h), the decoders of an older glyph size, the font header and
// the default C preamble.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/state.h"

// The glyph text of the glyph area of `Grid`.
std::string CharToHex(const State& s);
// Decodes a glyph of the current size into `Grid`.
void HexToChar(State& s, const std::string& text);
// The same, and `setColumns` (W + 1 flags) tells the columns in which a
// pixel was decoded as set.
void HexToChar(State& s, const std::string& text, std::vector<char>& setColumns);
// Decodes a glyph of PrevFontWidth x PrevFontHeight, top-left in `Grid`.
void HexToCharResized(State& s, const std::string& text);
// Decodes a glyph of width FontWidth / 2, each pixel doubled horizontally.
void HexToCharDoubleWidth(State& s, const std::string& text);
// Decodes a glyph of FontWidth / 2 x FontHeight / 2, each pixel a 2 x 2 block.
void HexToCharDoubleSize(State& s, const std::string& text);
// Rebuilds `FontHeader` from the geometry.
void MakeFontHeader(State& s);
// The conditional block for AVR, PIC32MX and ARM written ahead of the C
// declarations; kept in `DefaultPreamble` from start-up.
std::string MakeDefaultPreamble();
// Nearest integer, halves to even.
int64_t RoundToInt(double value);
