// What every font reader and import does with the font store: the reset
// before the first character is stored, the list step for each stored
// character, and the "Oops!" box they report with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/state.h"

// Every glyph text gone, the labels made anew, FileInfo empty, the editor
// bound to `currentChar` (-1: none, the raw import binds its first code)
// with nothing for Restore (a glyph of the old font must not come back into
// the new one), and the character list emptied.
void ResetFontForReading(State& s, int32_t currentChar = -1);
// The list step: the label of `code` appended to the character list.
void ListCharacter(State& s, int32_t code);
// Stores `glyphs` for the codes first, first + 1, ... with the list step for
// each. Codes outside the store are skipped.
void StoreGlyphs(State& s, int32_t first, const std::vector<std::string>& glyphs);
// The end of a read: the editor laid out for the font, its first character
// selected and shown, Modified cleared, an open Font View redrawn, and the
// main window titled "Glyphery - " + `name`.
void ShowFontRead(State& s, const std::string& name);
// A message box titled "Oops!" with an OK button.
void ReaderOops(const std::string& text);
