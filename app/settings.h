// The settings file "Glyphery.inf" and the recent-file list.
#pragma once

#include <cstdint>
#include <string>

#include "core/state.h"
#include "platform/settings.h"

void LoadSettings(State& s);
void SaveSettings(State& s);
// The "Recent Files" group, already selected in `file`.
void ReadRecentFiles(State& s, const platform::SettingsFile& file);
void WriteRecentFiles(const State& s, platform::SettingsFile& file);
