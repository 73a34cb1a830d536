// Commands on the glyph in the editor and on the whole font.
#pragma once

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
