// The save sequence that every text writer runs: the size check, the save
// requester with its extension and "Confirm" question, the store of the
// edited glyph once a name is chosen, and the safe write of the file.
#pragma once

#include <cstdint>
#include <string>

#include "core/state.h"

// The requester loop: requester, extension, the "Confirm" question. Sets
// SavePath (empty when cancelled).
void ChooseSavePath(State& s, const std::string& title, const std::string& startName,
                    const std::string& filter, const std::string& extension);

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
