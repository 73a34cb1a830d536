// The lines of a font file, the text rules the readers share, the result of
// a reader and its way into the font store.
#include "formats/readfont.h"

#include <algorithm>
#include <limits>

#include "formats/fntimport.h"
#include "formats/readerstore.h"
#include "platform/files.h"
#include "platform/text.h"

std::string FileFontLines::Next()
{
    // Windows-1252 lines come back as UTF-8; one byte a character again.
    return platform::Utf8ToAnsi(file_.ReadLine());
}

bool FileFontLines::AtEnd() { return file_.Eof(); }

void FileFontLines::Rewind() { file_.Seek(0); }

void FontRead::Store(int64_t code, std::string_view ansiText)
{
    if (code < 0 || code > LastFontCode) {
        CodesLeftOut = true;
        return;
    }
    Glyphs.push_back({int32_t(code), platform::AnsiToUtf8(ansiText)});
}

void FontRead::SetRange(int64_t start, int64_t count)
{
    const int64_t room = LastFontCode + 1 - start;
    if (count > room) {
        count = room;
        CodesLeftOut = true;
    }
    Start = int32_t(start);
    Count = int32_t(std::max<int64_t>(count, std::numeric_limits<int32_t>::min()));
}

bool StartsWithWord(std::string_view line, std::string_view word)
{
    if (line.size() < word.size())
        return false;
    for (size_t i = 0; i < word.size(); i++) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != word[i])
            return false;
    }
    return true;
}

std::string RemoveChars(std::string_view text, std::string_view what)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (what.find(c) == std::string_view::npos)
            out += c;
    return out;
}

std::string_view Piece(std::string_view text, int64_t position, int64_t length)
{
    if (position < 1 || length <= 0 || position > int64_t(text.size()))
        return {};
    return text.substr(size_t(position - 1), size_t(length));
}

int32_t HexPairValue(std::string_view text)
{
    int32_t value = 0;
    for (size_t i = 0; i < 2 && i < text.size(); i++) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            break;
        value = value * 16 + digit;
    }
    return value;
}

std::string_view FieldOf(std::string_view text, int k, char separator)
{
    size_t start = 0;
    for (int i = 1; i < k; i++) {
        const size_t comma = text.find(separator, start);
        if (comma == std::string_view::npos)
            return {};
        start = comma + 1;
    }
    const size_t end = text.find(separator, start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

void ReadFontFile(State& s, FontRead (*reader)(FontLines&))
{
    ResetFontForReading(s);
    platform::TextFileReader file;
    if (!file.Open(s.FontPath)) {
        // Said aloud: an empty font under the file's name could otherwise
        // be saved over the file.
        ReaderOops("Could not read the file " + s.FontPath);
        return;
    }
    FileFontLines lines(file);
    FontRead read = reader(lines);
    // ".fnt" also names the Windows bitmap font, which Open does not read:
    // such a file is refused like any other, and when "Import FNT Font"
    // reads it the message points there.
    if (read.ErrorReading)
        read.WindowsFont = ParseFntFont(file.Bytes()).Ok;
    file.Close();
    StoreFontRead(s, read);
}

void StoreFontRead(State& s, const FontRead& read)
{
    if (read.Width)
        s.FontWidth = *read.Width;
    if (read.Height)
        s.FontHeight = *read.Height;
    if (read.Start)
        s.FontStart = *read.Start;
    if (read.Count)
        s.FontCount = *read.Count;
    if (read.Header)
        s.FontHeader = *read.Header;
    for (const FontRead::Glyph& glyph : read.Glyphs) {
        if (!InTable(glyph.Code))
            continue;
        s.CharData[size_t(glyph.Code)][1] = glyph.Text;
        ListCharacter(s, glyph.Code);
    }
    if (read.ErrorReading)
        ReaderOops(read.WindowsFont ? "Error reading file\r\nThis is a Windows bitmap font: use \"Import FNT Font\" "
                                      "(File menu) to read it."
                                    : "Error reading file");
    else if (read.CodesLeftOut)
        ReaderOops("The characters past code 255 were left out.");
    if (read.NotTerminated)
        ReaderOops("Font not terminated properly.\r\nThere may be errors.");
}
