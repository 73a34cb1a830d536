// What the font imports share: the font store emptied before the first
// character is stored, each stored character listed, and the "Oops!" box.
//
// These are the same steps as the Open command's ResetFontForReading and
// its list step; once both are in one build they are to become one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/state.h"

// Every glyph text gone, the labels made anew, FileInfo empty, the editor
// bound to `currentChar` (-1: none) with nothing for Restore, and the
// character list emptied.
void ResetImportedFont(State& s, int32_t currentChar);
// Stores `glyphs` for the codes first, first + 1, ... and appends each
// code's label to the character list. Codes outside the store are skipped.
void StoreImportedGlyphs(State& s, int32_t first, const std::vector<std::string>& glyphs);
// A message box titled "Oops!" with an OK button.
void ImportOops(const std::string& text);
