// The list of recently opened font files and the "&Recent" items that show
// it. The settings file keeps the list between runs (app/settings).
#pragma once

#include <string>

#include "core/state.h"

// Puts `path` first in RecentFiles (dropping an equal entry further down)
// and refreshes the "&Recent" items.
void AddRecentFile(State& s, const std::string& path);
// The "&Recent" items show the first ten recent paths (their last 65
// characters); items without a path keep their text.
void ShowRecentFiles(const State& s);
