// Commands on the glyph in the editor and on the whole font.
#pragma once

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

// Whole-font commands (the "Font" menu and "New").
void NewFont(State& s);
void DoubleSizeFont(State& s);
void DoubleWidthFont(State& s);
void ResizeFont(State& s);
void CentreFont(State& s);
void CentreChar(State& s);
void LeftAlignFont(State& s);
void ShiftFont(State& s, int dx, int dy);
