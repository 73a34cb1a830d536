// The program the benchmarks run in: started once (main window, menus, the
// first font) by the benchmark's main(), offscreen. Benchmarks in any file
// of bench/ use it.
#pragma once

#include "core/state.h"

State& BenchProgram();
