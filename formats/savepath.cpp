// The save sequence shared by the text writers, and the glyph bytes and words
// they write.
#include <algorithm>

#include "core/fontstore.h"
#include "formats/writers.h"
#include "platform/files.h"
#include "platform/requesters.h"
#include "platform/text.h"

using platform::MessageButtons;
using platform::MessageResult;

void ChooseSavePath(State& s, const std::string& title, const std::string& startName,
                    const std::string& filter, const std::string& extension)
{
    for (;;) {
        s.SavePath = platform::Ask().SaveFile(title, startName, filter, 0);
        if (s.SavePath.empty()) {
            return;
        }
        if (platform::GetExtensionPart(s.SavePath).empty()) {
            s.SavePath += extension;
        }
        if (platform::FileSize(s.SavePath) <= 0) {
            return;  // no such file, an empty file or a folder
        }
        MessageResult answer = platform::Ask().Message(
            "Confirm", platform::GetFilePart(s.SavePath) + " already exists. Do you want to replace it?",
            MessageButtons::YesNoCancel);
        if (answer == MessageResult::Yes) {
            return;
        }
        if (answer != MessageResult::No) {
            s.SavePath.clear();
            return;
        }
    }
}

bool FontFitsHeader(const State& s)
{
    auto fits = [](int32_t value) { return value >= 0 && value <= 255; };
    if (fits(s.FontWidth) && fits(s.FontHeight) && fits(s.FontStart) && fits(s.FontCount)) {
        return true;
    }
    platform::Ask().Message("Oops!",
                            "This font cannot be saved: its size is " + platform::Str(s.FontWidth) + " x " +
                                platform::Str(s.FontHeight) + " pixels with " + platform::Str(s.FontCount) +
                                " characters.\r\nFont files hold width, height, first code and count up to 255.",
                            MessageButtons::Ok);
    return false;
}

bool ChooseSaveFile(State& s, const std::string& title, const std::string& filter,
                    const std::string& extension, bool wholeFont)
{
    if (wholeFont && !FontFitsHeader(s)) {
        s.SavePath.clear();
        return false;
    }
    MakeFontHeader(s);
    ChooseSavePath(s, title, s.FontName, filter, extension);
    return !s.SavePath.empty();
}

SaveUndo CommitSave(State& s, StoreRange range)
{
    SaveUndo undo;
    undo.ModifiedBefore = s.Modified;
    s.Modified = 0;
    int limit = range == StoreRange::Codes0To255 ? 255 : CharTableRows - 1;
    if (s.CurrentChar >= 0 && s.CurrentChar <= limit) {
        std::string glyph = CharToHex(s);
        std::string& stored = s.CharData[size_t(s.CurrentChar)][1];
        undo.GlyphChanged = glyph != stored;
        stored = glyph;
    }
    return undo;
}

bool WriteSaveFile(State& s, const std::string& text, const SaveUndo& undo)
{
    platform::TextFileWriter file;
    bool written = false;
    if (file.CreateReplacing(s.SavePath)) {
        file.Write(text);
        written = file.Close();
    }
    if (written) {
        return true;
    }
    // The font is not saved: an edit stored by this command counts as unsaved.
    s.Modified = undo.ModifiedBefore != 0 || undo.GlyphChanged ? 1 : 0;
    platform::Ask().Message("Oops!", "Could not write the file " + s.SavePath, MessageButtons::Ok);
    return false;
}

int64_t GlyphByteCount(const State& s)
{
    int64_t pixels = int64_t(s.FontWidth) * int64_t(s.FontHeight);
    return pixels > 0 ? pixels / 8 : 0;
}

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::vector<uint8_t> GlyphBytes(const std::string& text, int64_t count)
{
    std::vector<uint8_t> bytes(size_t(std::max<int64_t>(count, 0)), 0);
    size_t start = 0;
    for (size_t i = 0; i < bytes.size() && start < text.size(); ++i) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        // The field's first two characters are skipped (a UTF-8 sequence is
        // one character, as the glyph decoder counts them); the next two are
        // read as hexadecimal up to the first character that is not a digit.
        size_t p = start;
        for (int skipped = 0; skipped < 2 && p < end; ++skipped) {
            ++p;
            while (p < end && (static_cast<unsigned char>(text[p]) & 0xC0) == 0x80) {
                ++p;
            }
        }
        int value = 0;
        for (size_t stop = std::min(p + 2, end); p < stop; ++p) {
            int digit = HexDigit(text[p]);
            if (digit < 0) {
                break;
            }
            value = value * 16 + digit;
        }
        bytes[i] = uint8_t(value & 255);
        start = end + 1;
    }
    return bytes;
}

static const std::string& GlyphTextOf(const State& s, int64_t code)
{
    static const std::string empty;
    if (code < 0 || code >= int64_t(s.CharData.size())) {
        return empty;
    }
    return s.CharData[size_t(code)][1];
}

static const char* const HexDigits = "0123456789ABCDEF";

std::string NormalGlyphText(const State& s, int64_t code)
{
    std::vector<uint8_t> bytes = GlyphBytes(GlyphTextOf(s, code), GlyphByteCount(s));
    std::string text;
    text.reserve(bytes.size() * 5);
    for (uint8_t b : bytes) {
        text += "0x";
        text += HexDigits[b >> 4];
        text += HexDigits[b & 15];
        text += ',';
    }
    return text;
}

std::vector<std::string> PackGlyphWords(const State& s)
{
    int64_t perGlyph = GlyphByteCount(s);
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(std::max(0, s.FontCount)) * size_t(perGlyph));
    for (int64_t c = s.FontStart; c < int64_t(s.FontStart) + s.FontCount; ++c) {
        std::vector<uint8_t> glyph = GlyphBytes(GlyphTextOf(s, c), perGlyph);
        bytes.insert(bytes.end(), glyph.begin(), glyph.end());
    }
    std::vector<std::string> words((bytes.size() + 3) / 4);
    for (size_t k = 0; k < words.size(); ++k) {
        std::string& word = words[k];
        for (int j = 3; j >= 0; --j) {
            size_t i = 4 * k + size_t(j);
            uint8_t b = i < bytes.size() ? bytes[i] : 0;
            word += HexDigits[b >> 4];
            word += HexDigits[b & 15];
        }
    }
    return words;
}

std::string HeaderWord(const State& s)
{
    return platform::Mid(s.FontHeader, 18, 2) + platform::Mid(s.FontHeader, 13, 2) +
           platform::Mid(s.FontHeader, 8, 2) + platform::Mid(s.FontHeader, 3, 2);
}

std::string FontTypeName(const State& s)
{
    return s.FontStart == 48 ? "Numeric" : "Full";
}

int64_t MemoryUsage(const State& s)
{
    return int64_t(s.FontWidth) * s.FontHeight * s.FontCount / 8 + 4;
}
