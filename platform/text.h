// Text and number conventions shared by every part of the program.
// Strings are UTF-8 in memory; positions and lengths count characters
// (code points), starting at 1 where a position is asked for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Decimal, with a leading "-" when negative.
std::string Str(int64_t value);
// Upper-case hexadecimal without leading zeros; a negative value gives the
// 16 digits of its 64-bit two's complement.
std::string Hex(int64_t value);
// Fill characters in front of a shorter text; a longer text is cut to its
// first n characters.
std::string RSet(std::string_view text, int n, char fill = ' ');
// Skips blanks and tabs, takes an optional sign, then hexadecimal digits after
// "$", binary digits after "%", decimal digits otherwise; stops at the first
// character that does not belong. No digits give 0.
int64_t Val(std::string_view text);
// Floating-point reading with a full stop as decimal point, whatever the locale.
double ValD(std::string_view text);
// A double written with a full stop and the given number of decimals.
std::string StrF(double value, int decimals);

// Removes blanks (not tabs) at both ends.
std::string Trim(std::string_view text);
std::string UCase(std::string_view text);  // ASCII letters only
std::string LCase(std::string_view text);  // ASCII letters only
std::string RemoveString(std::string_view text, std::string_view what);
std::string ReplaceString(std::string_view text, std::string_view what, std::string_view with);
int CountString(std::string_view text, std::string_view what);
// Character position of `what` in `text` from character `start`, 0 when absent.
int FindString(std::string_view text, std::string_view what, int start = 1);
// Field k (from 1) of `text` split at `separator`; empty when there are fewer.
std::string StringField(std::string_view text, int k, std::string_view separator);
int Len(std::string_view text);                       // in characters
std::string Left(std::string_view text, int n);       // first n characters
std::string Right(std::string_view text, int n);      // last n characters
std::string Mid(std::string_view text, int position, int length = -1);  // -1: to the end
// The character with a code point, as UTF-8 (Chr(65) is "A").
std::string Chr(uint32_t codePoint);
// First character's code point, 0 for an empty text.
uint32_t Asc(std::string_view text);

// The 8-bit ANSI code page of text font files is Windows-1252.
std::string AnsiToUtf8(std::string_view bytes);
// Characters that Windows-1252 cannot hold become "?".
std::string Utf8ToAnsi(std::string_view text);


}  // namespace platform
