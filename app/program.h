// Start-up, the event loop and exit.
#pragma once

#include "core/state.h"

// Start-up, the loop and the exit steps; ends the process.
void ProgramMain(State& s);
// Start-up steps; false when the main window could not be opened.
bool ProgramStart(State& s);
// One pass of the loop: wait at most 10 ms, dispatch, then the quit check.
// Returns false when the program is to exit.
bool ProgramPass(State& s);
// Dispatches s.Event (already recorded) and runs the quit check; false when
// the program is to exit.
bool DispatchEvent(State& s);
// Draws Font View when a command asked for it (and clears the request); the
// loop runs it after every dispatched event.
void ApplyViewFontRequest(State& s);
// The exit steps up to closing the main window (no process end).
void ProgramExit(State& s);
[[noreturn]] void ProgramEnd(State& s);
