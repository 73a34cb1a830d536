// The writers of the "File" menu and the font-sheet image.
#pragma once

#include <string>

#include "core/state.h"

// The save sequence shared by the text writers: header, requester, extension,
// the "Confirm" question. Sets SavePath (empty when cancelled).
void ChooseSavePath(State& s, const std::string& title, const std::string& startName,
                    const std::string& filter, const std::string& extension);
std::string MakeDefaultPreamble();
void SaveFontAs8BitC(State& s);
void SaveFontAs32BitC(State& s);
void SaveFontAsBas(State& s);
void SaveFontAsFnt(State& s);
void SaveFontAsBasProportional(State& s);
void SaveCharAsGuiBitmap(State& s);
void SaveFontAsImage(State& s);
