// Code pages: which Unicode code point the TrueType view shows and draws for
// each 8-bit code. Code page 437 is built in; the settings file's "CodePage"
// group and the "CP*.inf" files of the program's folder reshape it.
#pragma once

#include <cstdint>
#include <string>

#include "core/state.h"
#include "platform/settings.h"

// The built-in value of a code (0 to 255) as a settings text: "$" and four
// lower-case hexadecimal digits ("$263a" for code 1).
std::string CodePageDefault(int code);

// Fills `CodePageTable` entries 0 to 255 from the keys "chr00" to "chrff" of
// the group selected in `file`; a missing key gives the built-in value.
void LoadCodePageEntries(State& s, const platform::SettingsFile& file);

// The settings file's "CodePage" group first, then, unless `name` is
// "CP437", the code-page file of that name from the program's folder. The
// caller sets entry 96 by the "Degree" check box afterwards.
void LoadCodePage(State& s, const std::string& name);

// Appends the names of the "CP*.inf" files of the program's folder to the
// code-page list and records them in `CodePageFiles` from position 1.
void ListCodePages(State& s);

// The one-character text of a code point; empty for code point 0 and for
// values that are no character (negative, surrogates, beyond U+10FFFF).
std::string CodePointText(int64_t codePoint);
