// The settings file "Glyphery.inf" and the recent-file list.
#pragma once

#include <cstdint>
#include <string>

#include "core/state.h"

void LoadSettings(State& s);
void SaveSettings(State& s);
void AddRecentFile(State& s, const std::string& path);
int32_t MaxInt(int32_t a, int32_t b);
