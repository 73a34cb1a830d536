// The font's glyph bytes as the file formats hold them: whole glyph texts of
// the font's size, the 32-bit words of the DefineFont and 32-bit C formats,
// and the header values and comment figures the writers print.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/state.h"

// The glyph words of the font: its glyph bytes packed four at a time into
// little-endian 32-bit words, each as eight upper-case hexadecimal digits.
std::vector<std::string> PackGlyphWords(const State& s);
// The glyph text of code c in the GlyphText form, exactly (W x H) div 8
// tokens long (a code outside the table counts as an empty glyph).
std::string NormalGlyphText(const State& s, int64_t code);
// The header word: count, first code, height and width from FontHeader, two
// hexadecimal digits each.
std::string HeaderWord(const State& s);
// "Numeric" for a font starting at code 48, else "Full".
std::string FontTypeName(const State& s);
// The byte count of the 8-bit array: W*H*count/8 + 4.
int64_t MemoryUsage(const State& s);
