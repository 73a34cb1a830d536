// BASIC DefineFont text (.bas and the CMM2's .fnt): "Save as BAS", "Save as
// FNT (CMM2)" and "Save as BAS (Proportional)".
#pragma once

#include "core/state.h"

void SaveFontAsBas(State& s);
void SaveFontAsFnt(State& s);
void SaveFontAsBasProportional(State& s);
