// Commands on the glyph in the editor and on the whole font.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/state.h"

// Glyph commands (the "Edit" menu).
void CopyCharacter(State& s);
void PasteCharacter(State& s);
void RestoreCharacter(State& s);
void ShiftCharacter(State& s, int dx, int dy);
void FlipRightLeft(State& s);
void FlipUpDown(State& s);
void RotateRight(State& s);
void RotateLeft(State& s);
void InverseCharacter(State& s);
void OutlineCharacter(State& s);
// The one-pixel move of ShiftCharacter without the repaint.
void ShiftGrid(State& s, int dx, int dy);

// Whole-font commands (the "Font" menu and "New").
void NewFont(State& s);
void DoubleSizeFont(State& s);
void DoubleWidthFont(State& s);
void ResizeFont(State& s);
void CentreFont(State& s);
// Decodes one glyph text into `Grid` and centres it between its empty columns.
void CentreChar(State& s, const std::string& text);
void LeftAlignFont(State& s);
void ShiftFont(State& s, int dx, int dy);

// The frame shared by the whole-font commands and the proportional save: the
// character shown is taken from the list, the size set (and the editor laid
// out anew when `ResetGrid`), then every glyph of the font is changed by
// `change` and stored. At the end the shown character is loaded into `Grid`
// and the editor painted, once.
struct GlyphPass {
    int32_t Width = 0;
    int32_t Height = 0;
    bool ResetGrid = true;       // lay the grid out anew for the size first
    bool RebuildHeader = false;  // MakeFontHeader after the size is set
    bool MarkModified = true;    // Modified = 1 when any glyph text changed
};
// `change` is given a glyph's stored text and code and writes the text to
// store into its third argument.
using GlyphChange = std::function<void(const std::string& text, int32_t code, std::string& out)>;
void ForEachGlyph(State& s, const GlyphPass& pass, const GlyphChange& change);

// The lowest glyph column holding a set pixel in rows 0 to `lastRow`; W when
// there is none.
int FirstSetColumn(const State& s, int lastRow);
// Moves the glyph in `Grid` to column 0 when its first set column (rows 0 to
// `lastRow`) is 2 or more; a first set column of 0 or 1 stays.
void LeftAlignGrid(State& s, int lastRow);
