// "Save as BAS", "Save as FNT (CMM2)" and "Save as BAS (Proportional)": the
// font as a BASIC DefineFont block of 32-bit words, the proportional save with
// its FONT_WIDTH table behind the block.
#include "formats/basfont.h"

#include "core/commands.h"
#include "core/editor.h"
#include "core/fontstore.h"
#include "core/glyphpixels.h"
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
