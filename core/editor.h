// The editor canvas and the character list of the main window.
#pragma once

#include "core/state.h"

// Editor canvas.
void SetupGrid(State& s);
// SetupGrid without its last two steps: the grid is made for the glyph size,
// the editor laid out with its lines drawn, the list set to its first
// position, PasteBuffer emptied and the status written, but no glyph is
// loaded or painted. For commands that load and paint their glyph once, at
// their end.
void LayOutGrid(State& s);
void LayoutMainWindow(State& s);
void DrawGridLines(State& s);
void PaintGrid(State& s);
void PaintGridCell(State& s, int mode);
void ClearCharacter(State& s);
void WriteStatusText(State& s);

// Character list and selection.
void StoreBackGlyph(State& s);
// True when the calling command may go on (the answer was No, or nothing to save).
bool AskSaveFirst(State& s);
void SelectCharacter(State& s);
void PreviousCharacter(State& s);
void NextCharacter(State& s);
void MakeCharLabels(State& s);
void AddCharacter(State& s, int atEnd);
void DeleteCharacter(State& s, int last);
