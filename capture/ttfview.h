// The "TrueType Font View" window (103): the choice of face, code page,
// height and ink weight, and the 16 x 16 character chart on which the user
// marks the range to render.
#pragma once

#include <string>

#include "core/state.h"

// "Import TTF Font": clears the marks and opens the view.
void ImportTtfFont(State& s);
// Opens window 103 (after the question about unsaved changes), or resets
// its code-page list when it is open already.
void OpenTtfView(State& s);
// "Font...": the code page, a font file with Shift held, the font chooser,
// fonts 0 and 1 and the chart.
void ChooseTtfFont(State& s);
// Draws the chart from scratch in font 0.
void DrawTtfChart(State& s);
// Marks the cell that a chart cell name ("&h4A") denotes and greys the
// marked cells.
void MarkChartCell(State& s, const std::string& name);
// Loads the code page chosen in the view and applies its "Degree" box to
// entry 96.
void LoadViewCodePage(State& s);
// Every event of window 103.
void TtfViewEvent(State& s);
