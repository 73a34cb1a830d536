// What the text font readers share: the lines of a file as they read them,
// the small text rules of their searches, and what a reader found. The
// readers are pure functions from lines to a FontRead, and ReadFontFile and
// StoreFontRead put a FontRead into the font store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"

namespace platform {
class TextFileReader;
}

// The lines of a text font file without their ends, each in the ANSI code
// page, one byte a character (so character positions are byte positions).
// Reading past the last line gives empty lines.
class FontLines {
public:
    virtual ~FontLines() = default;
    virtual std::string Next() = 0;
    // True once the last line has been read (at once for an empty file).
    virtual bool AtEnd() = 0;
    // Back to the first line.
    virtual void Rewind() = 0;
};

// The lines of an open text file.
class FileFontLines final : public FontLines {
public:
    explicit FileFontLines(platform::TextFileReader& file) : file_(file) {}
    std::string Next() override;
    bool AtEnd() override;
    void Rewind() override;

private:
    platform::TextFileReader& file_;
};

// Lines held in memory, for tests.
class TextFontLines final : public FontLines {
public:
    explicit TextFontLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    std::string Next() override { return next_ < lines_.size() ? lines_[next_++] : std::string(); }
    bool AtEnd() override { return next_ >= lines_.size(); }
    void Rewind() override { next_ = 0; }

private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

// The highest code the font store holds.
constexpr int LastFontCode = 255;

// What a reader found. Geometry values it did not set stay unset, so the
// font keeps the old ones; texts are UTF-8, as the store keeps them.
struct FontRead {
    struct Glyph {
        int32_t Code = 0;
        std::string Text;
    };

    std::optional<int32_t> Width;
    std::optional<int32_t> Height;
    std::optional<int32_t> Start;
    std::optional<int32_t> Count;
    std::optional<std::string> Header;
    // The glyphs in the order they are stored and listed; codes 0 to 255.
    std::vector<Glyph> Glyphs;
    bool ErrorReading = false;   // "Error reading file"
    bool NotTerminated = false;  // "Font not terminated properly."
    bool CodesLeftOut = false;   // characters past code 255 were dropped
    // Refused, but a Windows bitmap font that "Import FNT Font" reads: the
    // message points there.
    bool WindowsFont = false;

    // Stores the glyph of `code` (text in the ANSI code page); a code past
    // 255 is left out instead.
    void Store(int64_t code, std::string_view ansiText);
    // FontStart (0 to 255) and FontCount, the count cut so that the font
    // ends at code 255 at most.
    void SetRange(int64_t start, int64_t count);
};

// Text rules of the readers, on ANSI lines.
// The first `word.size()` characters of `line`, lower-cased, equal `word`.
bool StartsWithWord(std::string_view line, std::string_view word);
// `text` without any of the characters in `what`.
std::string RemoveChars(std::string_view text, std::string_view what);
// Characters `position` (from 1) to `position` + `length` - 1 of `text`;
// fewer, or none, past its end.
std::string_view Piece(std::string_view text, int64_t position, int64_t length);
// Up to two hexadecimal digits from the start of `text`, stopping at the
// first other character; 0 when there is none.
int32_t HexPairValue(std::string_view text);
// Field `k` (from 1) of `text` split at `separator`; empty when there are fewer.
std::string_view FieldOf(std::string_view text, int k, char separator);

// The frame of a text reader: the reset, FontPath opened (an "Oops!" message
// when it cannot be), `reader` on its lines, then what it found stored. A
// file the reader refuses is looked at once more for a Windows bitmap font.
void ReadFontFile(State& s, FontRead (*reader)(FontLines&));
// Puts what a reader found into the font: the geometry it gave, each glyph
// with its list step, then its messages.
void StoreFontRead(State& s, const FontRead& read);
