// "Save as BAS", "Save as FNT (CMM2)" and "Save as BAS (Proportional)": the
// font as a BASIC DefineFont block of 32-bit words, the proportional save with
// its FONT_WIDTH table behind the block; and the readers of DefineFont blocks
// and plain-text bitmaps.
#include "formats/basfont.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/commands.h"
#include "core/editor.h"
#include "core/fontstore.h"
#include "core/glyphpixels.h"
#include "core/glyphtext.h"
#include "formats/fontwords.h"
#include "formats/savesequence.h"
#include "platform/files.h"
#include "platform/text.h"

using platform::Str;

static const char* const CrLf = "\r\n";
static const char* const BasFilter = "BAS File|*.bas|All files (*.*)|*.*";
static const char* const FntFilter = "FNT File|*.fnt|All files (*.*)|*.*";

// The DefineFont block: start line, header word, glyph words, end line.
static std::string DefineFontBlock(const State& s)
{
    std::string text = "DefineFont #8";
    text += CrLf;
    text += "  " + HeaderWord(s) + CrLf;
    // Eight words to a line: the pending text is written once it is longer
    // than 68 characters.
    std::string pending = " ";
    for (const std::string& word : PackGlyphWords(s)) {
        if (pending.size() > 68) {
            text += pending + CrLf;
            pending = " ";
        }
        pending += " " + word;
    }
    text += pending + CrLf;
    text += "End DefineFont";
    text += CrLf;
    return text;
}

static std::string BasCommentLines(const State& s)
{
    std::string text;
    text += "' " + platform::GetFilePart(s.SavePath) + CrLf;
    text += "' Font type    : " + FontTypeName(s) + " (" + Str(s.FontCount) + " characters)" + CrLf;
    text += "' Font start   : CHR$(" + Str(s.FontStart) + ")" + CrLf;
    text += "' Font size    : " + Str(s.FontWidth) + "x" + Str(s.FontHeight) + " pixels" + CrLf;
    text += "' Memory usage : " + Str(MemoryUsage(s)) + " bytes" + CrLf;
    return text;
}

// The save of "Save as BAS", with `tail` written behind the block.
static void SaveBasFile(State& s, const std::string& tail)
{
    if (!ChooseSaveFile(s, "font.BAS file to save", BasFilter, ".bas")) {
        return;
    }
    SaveUndo undo = CommitSave(s, StoreRange::Codes0To255);
    WriteSaveFile(s, BasCommentLines(s) + DefineFontBlock(s) + tail, undo);
}

void SaveFontAsBas(State& s)
{
    SaveBasFile(s, "");
}

void SaveFontAsFnt(State& s)
{
    if (!ChooseSaveFile(s, "font.FNT file to save", FntFilter, ".fnt")) {
        return;
    }
    SaveUndo undo = CommitSave(s, StoreRange::AnyCode);
    WriteSaveFile(s, DefineFontBlock(s), undo);
}

// The FONT_WIDTH table appended behind the DefineFont block.
static std::string WidthTable(const State& s)
{
    std::string text;
    text += "' ";
    text += CrLf;
    text += "' font widths";
    text += CrLf;
    text += "FONT_WIDTH:";
    text += CrLf;
    text += " DATA  " + Str(s.FontStart) + ", " + Str(s.FontCount) + " ' fontstart, fontcount" + CrLf;
    std::string line = " DATA  ";
    int64_t counter = 0;
    for (int64_t c = s.FontStart; c < int64_t(s.FontStart) + s.FontCount; ++c) {
        line += Str(InTable(c) ? s.CharWidth[size_t(c)] : 1) + ",";
        ++counter;
        if (counter % 8 == 0) {
            line.pop_back();
            text += line + CrLf;
            line = " DATA  ";
        }
    }
    if (line.back() == ',') {
        line.pop_back();
    }
    text += line + CrLf;
    text += "' ";
    text += CrLf;
    return text;
}

void SaveFontAsBasProportional(State& s)
{
    // A font the header cannot describe is refused before any glyph moves.
    if (!FontFitsHeader(s)) {
        s.SavePath.clear();
        return;
    }
    // The glyph in the editor goes into the font first, so the edit is
    // measured and saved like every other glyph.
    StoreBackGlyph(s);

    // Every glyph is moved to the left edge and measured; the moves are not
    // counted as unsaved changes, the save that follows clears them anyway.
    GlyphTransform t{s.FontWidth, s.FontHeight};
    ForEachGlyph(s, {t.W, t.H, true, false, false}, [&s, &t](const std::string& text, int32_t code, std::string& out) {
        s.CharWidth[size_t(code)] = t.AlignAndMeasure(text, code, out);
    });

    // The block and its width table go into the file in one write, so a
    // failed save leaves no half-written file and never appends to an old one.
    SaveBasFile(s, WidthTable(s));
}

// ---- Reading ------------------------------------------------------------

namespace {

// The largest glyph side a text bitmap may give, as New and Resize allow.
constexpr int64_t MaxBitmapSide = 1024;

}  // namespace

void OpenBasFont(State& s)
{
    ReadFontFile(s, ReadBasFont);
}

FontRead ReadBasFont(FontLines& lines)
{
    if (FindDefineFont(lines))
        return ReadDefineFontBlock(lines, true);
    return OpenTextBitmapFont(lines);
}

bool FindDefineFont(FontLines& lines)
{
    bool found = false;
    do {
        found = StartsWithWord(platform::Trim(lines.Next()), "definefont");
    } while (!found && !lines.AtEnd());
    return found;
}

FontRead ReadDefineFontBlock(FontLines& lines, bool removeTabs)
{
    auto nextLine = [&lines, removeTabs] {
        std::string line = platform::Trim(lines.Next());
        return removeTabs ? RemoveChars(line, "\t") : line;
    };
    FontRead read;

    // The header word: count, first code, height and width, two digits each.
    std::string line = nextLine();
    const int32_t width = HexPairValue(Piece(line, 7, 2));
    const int32_t height = HexPairValue(Piece(line, 5, 2));
    const int32_t start = HexPairValue(Piece(line, 3, 2));
    const int32_t count = HexPairValue(Piece(line, 1, 2));
    // A glyph of no pixels cannot be read: the file is refused and the font
    // keeps the geometry it had.
    if (width == 0 || height == 0) {
        read.ErrorReading = true;
        return read;
    }
    read.Width = width;
    read.Height = height;
    read.SetRange(start, count);
    std::string header = "0x";
    header.append(Piece(line, 7, 2)).append(",0x").append(Piece(line, 5, 2)).append(",0x");
    header.append(Piece(line, 3, 2)).append(",0x").append(Piece(line, 1, 2)).append(",");
    read.Header = platform::AnsiToUtf8(header);

    // The byte text is read at fixed places, so only its first `needed`
    // characters matter; each word (nine characters of the collected text)
    // gives at least twelve of them. Beyond that the collected text is not
    // kept, only its blanks are counted.
    const int64_t perGlyph = GlyphByteCount(width, height);
    const int64_t needed = int64_t(count) * perGlyph * 5 + 1;
    const size_t keep = size_t(9 * (needed / 12 + 2) + 8);
    std::string words;
    int64_t blanks = 0;
    auto collect = [&words, &blanks, keep](std::string_view text) {
        blanks += std::count(text.begin(), text.end(), ' ');
        if (words.size() < keep)
            words.append(text.substr(0, keep - words.size()));
    };

    // Every line up to the end line, the header word first; comment and
    // empty lines are left out. The line that ends the loop is not collected.
    bool ended = false;
    do {
        if (!line.empty() && line[0] != '\'') {
            collect(line);
            collect(" ");
        }
        line = nextLine();
        ended = StartsWithWord(RemoveChars(line, " "), "enddefinefont");
    } while (!ended && !lines.AtEnd());
    read.NotTerminated = !ended;

    // Word i (the header word is word 0) at characters 9i + 1 to 9i + 8, as
    // a little-endian word: its four bytes lowest first, each ",0x" and two
    // characters (fewer past the end of the text).
    std::string bytes;
    for (int64_t i = 1; i <= blanks + 1 && int64_t(bytes.size()) < needed; i++) {
        for (const int64_t at : {9 * i + 7, 9 * i + 5, 9 * i + 3, 9 * i + 1})
            bytes.append(",0x").append(Piece(words, at, 2));
    }
    for (int64_t i = 0; i < count; i++)
        read.Store(start + i, Piece(bytes, i * perGlyph * 5 + 2, 5 * perGlyph));
    return read;
}

FontRead OpenTextBitmapFont(FontLines& lines)
{
    FontRead read;
    lines.Rewind();
    bool header = true;
    int64_t rowsGiven = 0;     // the height as the header gives it
    int64_t columnsGiven = 0;  // the width as the header gives it
    int64_t width = 0;
    int64_t code = 0;
    int64_t row = 0;
    std::vector<uint8_t> pixels;
    GlyphPixels codec;
    std::string text;
    do {
        const std::string line = lines.Next();
        if (!line.empty() && line[0] == '\'')
            continue;
        if (header) {
            header = false;
            rowsGiven = platform::Val(FieldOf(line, 1, ','));
            columnsGiven = platform::Val(FieldOf(line, 2, ','));
            const int64_t first = platform::Val(FieldOf(line, 3, ','));
            const int64_t last = platform::Val(FieldOf(line, 4, ','));
            // A header that describes no font is refused before any of it is
            // kept, so the font keeps its geometry and codes: a first code
            // the store has no row for, a last code more than one below it
            // (a count below 0; one below is a count of 0, an empty font), or
            // a size New would refuse, which is never allocated.
            if (first < 0 || first > LastFontCode || last < 1 || last < first - 1 || rowsGiven < 1 ||
                columnsGiven < 1 || rowsGiven > MaxBitmapSide || columnsGiven > MaxBitmapSide) {
                read.ErrorReading = true;
                return read;
            }
            read.SetRange(first, std::min<int64_t>(last, INT32_MAX) - first + 1);
            // The glyph grows to a whole number of bytes: an odd width by a
            // column, an even one by rows.
            width = columnsGiven;
            int64_t height = rowsGiven;
            while (width * height % 8 != 0) {
                if (width % 2 == 1)
                    width++;
                else
                    height++;
            }
            read.Width = int32_t(width);
            read.Height = int32_t(height);
            pixels.assign(size_t(width * height), 0);
            code = first;
            continue;
        }
        // A row: any character but a blank is a set pixel; a short line
        // leaves the rest of the row clear.
        uint8_t* cells = pixels.data() + row * width;
        for (int64_t x = 0; x < columnsGiven; x++)
            cells[x] = size_t(x) < line.size() && line[size_t(x)] != ' ';
        if (++row == rowsGiven) {
            codec.Pack(pixels.data(), int64_t(pixels.size()), text);
            read.Store(code, text);
            code++;
            row = 0;
            if (code > LastFontCode + 1)
                break;  // left out, and so is all that follows
        }
    } while (!lines.AtEnd());
    return read;
}
