// The writers of the "File" menu and the font-sheet image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// An OK box titled "File Info" showing FileInfo (no menu item leads to it).
void ShowFileInfo(State& s);

// The glyph words of the font: its glyph bytes packed four at a time into
// little-endian 32-bit words, each as eight upper-case hexadecimal digits.
std::vector<std::string> PackGlyphWords(const State& s);

// ---- Pieces shared by the writers -------------------------------------------

// Which codes the save stores the edited glyph for.
enum class StoreRange { AnyCode, Codes0To255 };

// What a save changed before writing, so a failed write can put `Modified`
// back.
struct SaveUndo {
    int32_t ModifiedBefore = 0;
    bool GlyphChanged = false;
};

// Steps before the requester and the requester itself: rebuilds FontHeader
// and runs ChooseSavePath with FontName as the start name. True when a path
// was chosen. For a whole font, a geometry value that does not fit the
// one-byte header fields is refused with an "Oops!" message first.
bool ChooseSaveFile(State& s, const std::string& title, const std::string& filter,
                    const std::string& extension, bool wholeFont = true);
// False (after an "Oops!" message) when width, height, first code or count
// lies outside 0 to 255.
bool FontFitsHeader(const State& s);
// Once a path is chosen: clears Modified and stores the edited glyph when
// CurrentChar lies in `range`.
SaveUndo CommitSave(State& s, StoreRange range);
// Writes `text` (UTF-8, lines already ended in CR LF) to SavePath in
// Windows-1252, replacing an existing file only once everything is written.
// On failure: an "Oops!" message naming the file and `Modified` as it was
// before the command. True on success.
bool WriteSaveFile(State& s, const std::string& text, const SaveUndo& undo);

// The bytes of one glyph text, exactly (W x H) div 8 of them: token i is the
// i-th comma-separated field read like HexToChar reads it; missing tokens
// give 0.
std::vector<uint8_t> GlyphBytes(const std::string& text, int64_t count);
// Bytes per glyph, (W x H) div 8.
int64_t GlyphByteCount(const State& s);
// The glyph text of code c in the GlyphText form, exactly GlyphByteCount
// tokens long (a code outside the table counts as an empty glyph).
std::string NormalGlyphText(const State& s, int64_t code);
// The header word: count, first code, height and width from FontHeader, two
// hexadecimal digits each.
std::string HeaderWord(const State& s);
// "Numeric" for a font starting at code 48, else "Full".
std::string FontTypeName(const State& s);
// The byte count of the 8-bit array: W*H*count/8 + 4.
int64_t MemoryUsage(const State& s);
// A valid C identifier made from a name: characters that cannot stand in one
// become "_", a leading digit gets "_" in front, a C keyword gets "_" behind.
std::string CIdentifier(const std::string& name);
