// C font source: "Save as 8bit C" and "Save as 32bit C".
#pragma once

#include <string>

#include "core/state.h"

void SaveFontAs8BitC(State& s);
void SaveFontAs32BitC(State& s);

// A valid C identifier made from a name: characters that cannot stand in one
// become "_", a leading digit gets "_" in front, a C keyword gets "_" behind.
std::string CIdentifier(const std::string& name);
