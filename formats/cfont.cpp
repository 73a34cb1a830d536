// "Save as 8bit C" and "Save as 32bit C": the font as a C array of bytes or
// of 32-bit words, behind the default preamble for AVR, PIC32MX and ARM; and
// the reader of such arrays.
#include "formats/cfont.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "formats/fontwords.h"
#include "formats/savesequence.h"
#include "platform/files.h"
#include "platform/text.h"

using platform::Str;

static const char* const CrLf = "\r\n";
static const char* const CFilter = "C File|*.c|All files (*.*)|*.*";

static bool IsCKeyword(std::string_view name)
{
    static const std::array<std::string_view, 59> keywords = {
        "auto", "break", "case", "char", "const", "continue", "default", "do", "double",
        "else", "enum", "extern", "float", "for", "goto", "if", "inline", "int", "long",
        "register", "restrict", "return", "short", "signed", "sizeof", "static", "struct",
        "switch", "typedef", "union", "unsigned", "void", "volatile", "while", "_Bool",
        "_Complex", "_Imaginary", "_Alignas", "_Alignof", "_Atomic", "_Generic",
        "_Noreturn", "_Static_assert", "_Thread_local",
        // Keywords since C23, the default of current compilers.
        "alignas", "alignof", "bool", "constexpr", "false", "nullptr", "static_assert",
        "thread_local", "true", "typeof", "typeof_unqual", "_BitInt", "_Decimal32",
        "_Decimal64", "_Decimal128"};
    return std::find(keywords.begin(), keywords.end(), name) != keywords.end();
}

std::string CIdentifier(const std::string& name)
{
    std::string id;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') {
            id += char(c);
        } else if (c < 0x80 || c >= 0xC0) {
            id += '_';  // one "_" per character; UTF-8 continuation bytes add nothing
        }
    }
    if (id.empty()) {
        return "font";
    }
    if (id[0] >= '0' && id[0] <= '9') {
        id.insert(id.begin(), '_');
    }
    if (IsCKeyword(id)) {
        id += '_';
    }
    return id;
}

// The four comment lines that both C files begin with.
static std::string CCommentLines(const State& s, const std::string& file)
{
    std::string text;
    text += "// " + file + CrLf;
    text += "// Font type    : " + FontTypeName(s) + " (" + Str(s.FontCount) + " characters)" + CrLf;
    text += "// Font size    : " + Str(s.FontWidth) + "x" + Str(s.FontHeight) + " pixels" + CrLf;
    text += "// Memory usage : " + Str(MemoryUsage(s)) + " bytes" + CrLf;
    return text;
}

static std::string LabelOf(const State& s, int64_t code)
{
    if (code < 0 || code >= int64_t(s.CharData.size())) {
        return "";
    }
    return s.CharData[size_t(code)][2];
}

void SaveFontAs8BitC(State& s)
{
    if (!ChooseSaveFile(s, "font.c file to save", CFilter, ".c")) {
        return;
    }
    SaveUndo undo = CommitSave(s, StoreRange::AnyCode);

    std::string file = platform::GetFilePart(s.SavePath);
    std::string name = CIdentifier(platform::GetFilePartNoExtension(s.SavePath));
    std::string size = Str(MemoryUsage(s));
    std::string text = CCommentLines(s, file);
    text += s.FileInfo + "//fontdatatype " + name + "[" + size + "] PROGMEM={" + CrLf;
    text += s.FileInfo + "const unsigned char " + name + "[" + size + "] PROGMEM={" + CrLf;
    text += s.FontHeader + CrLf;
    for (int64_t c = s.FontStart; c < int64_t(s.FontStart) + s.FontCount; ++c) {
        text += NormalGlyphText(s, c) + " // " + LabelOf(s, c) + CrLf;
    }
    text += "};";
    text += CrLf;
    WriteSaveFile(s, text, undo);
}

void SaveFontAs32BitC(State& s)
{
    if (!ChooseSaveFile(s, "font.c file to save", CFilter, ".c")) {
        return;
    }
    SaveUndo undo = CommitSave(s, StoreRange::Codes0To255);

    std::vector<std::string> words = PackGlyphWords(s);
    std::string file = platform::GetFilePart(s.SavePath);
    std::string name = CIdentifier(platform::GetFilePartNoExtension(s.SavePath));
    // The header word and every glyph word.
    std::string size = Str(int64_t(words.size()) + 1);
    std::string text = CCommentLines(s, file);
    text += s.FileInfo + "const int " + name + "[" + size + "] = {" + CrLf;
    text += "0x" + HeaderWord(s) + "," + CrLf;
    // Eight words to a line: the pending text is written once it is longer
    // than 80 characters.
    std::string pending;
    for (const std::string& word : words) {
        if (pending.size() > 80) {
            text += pending.substr(1) + "," + CrLf;
            pending.clear();
        }
        pending += ",0x" + word;
    }
    text += (pending.empty() ? std::string() : pending.substr(1)) + "," + CrLf;
    text += "};";
    text += CrLf;
    WriteSaveFile(s, text, undo);
}

// ---- Reading ------------------------------------------------------------

void OpenCFont(State& s)
{
    ReadFontFile(s, ReadCFont);
}

FontRead ReadCFont(FontLines& lines)
{
    bool found = false;
    do {
        const std::string line = platform::Trim(lines.Next());
        found = StartsWithWord(line, "fontdatatype") || StartsWithWord(line, "const unsigned char");
    } while (!found && !lines.AtEnd());
    if (!found) {
        FontRead read;
        read.ErrorReading = true;
        return read;
    }
    return ReadCArray(lines, true);
}

FontRead ReadCArray(FontLines& lines, bool removeTabs)
{
    const std::string_view removed = removeTabs ? " \t" : " ";
    FontRead read;
    const std::string header = RemoveChars(lines.Next(), removed);
    // The two characters after "0x" of each of the first four fields.
    auto field = [&header](int k) { return HexPairValue(Piece(FieldOf(header, k, ','), 3, 2)); };
    // A glyph of no pixels cannot be read: the file is refused and the font
    // keeps the geometry it had.
    if (field(1) == 0 || field(2) == 0) {
        read.ErrorReading = true;
        return read;
    }
    const int32_t start = field(3);
    const int32_t count = field(4);
    read.Header = platform::AnsiToUtf8(header);
    read.Width = field(1);
    read.Height = field(2);
    read.SetRange(start, count);

    // One glyph a line, comments and empty lines skipped. The loop takes up
    // to count + 1 glyph lines; a file with more than `count` is reported as
    // not terminated.
    int64_t code = start;
    std::string line;
    do {
        line = RemoveChars(lines.Next(), removed);
        if (line == "};")
            break;
        if (!line.empty() && line.compare(0, 2, "//") != 0) {
            read.Store(code, std::string_view(line).substr(0, line.find('/')));
            code++;
        }
    } while (code <= int64_t(start) + count && !lines.AtEnd());
    read.NotTerminated = line != "};";
    return read;
}
