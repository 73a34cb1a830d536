// Raw binary fonts (.bin): glyphs of equal size with no header, every row a
// whole number of bytes read as a little-endian integer whose most
// significant bit is the leftmost pixel. The file does not tell its
// geometry, so window 91 asks for it and the import runs when that window
// is answered.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/state.h"

// The import's settings as numbers.
struct BinSettings {
    int32_t Width = 0;   // pixels
    int32_t Height = 0;  // rows per glyph
    // Glyphs of the file passed over before the first one read: the "First
    // character:" field less 1 when it is above 0.
    int32_t Offset = 0;
    int32_t Count = 0;   // glyphs to read
    int32_t Start = 0;   // the code of the first glyph read
};

// The settings held in the state, as GetBinImportSettings left them.
BinSettings BinSettingsOf(const State& s);
// What is wrong with the settings, naming the field, for an "Oops!" box;
// empty when they can be used.
std::string BinSettingsProblem(const BinSettings& settings);
// The count cut so that the last code is at most 255 (settings that can be
// used).
int32_t BinCountThatFits(const BinSettings& settings);
// How many bytes from the start of the file the import can read; a file
// cut after them gives the same glyphs.
int64_t BinBytesUsed(const BinSettings& settings);

struct BinGlyphs {
    std::string Problem;              // as BinSettingsProblem; nothing else is set then
    std::vector<std::string> Glyphs;  // codes Start, Start + 1, ... as far as the file reaches
};
// The glyph texts of a raw font. Glyph i starts at byte (Offset + i) x
// bytes per glyph; reading stops at the first glyph starting past the end
// of the file, and a glyph running past it reads zero bytes there. A glyph
// whose rows all begin with a zero byte (their leftmost 8 pixels) moves 8
// pixels to the left.
BinGlyphs DecodeBinFont(std::span<const uint8_t> file, const BinSettings& settings);

// Opens window 91 with its fields at their defaults (an open one is
// replaced). The import runs when the window is answered.
void OpenBinImportWindow(State& s);
// Reads the five fields of window 91 into BinWidth, BinWidth8, BinHeight,
// BinOffset, BinCount and BinStart.
void GetBinImportSettings(State& s);
// Replaces the font with the glyphs read from FontPath with the settings.
// Settings that cannot be used are refused with an "Oops!" box before
// anything changes.
void OpenBinFont(State& s);
// Window 91's events: its close box or any event of its "Save" button reads
// the fields, closes the window and imports. Events that arrive once the
// window is closed do nothing.
void BinImportWindowEvent(State& s);
