// The font's glyph bytes and words as the file formats hold them.
#include "formats/fontwords.h"

#include <algorithm>

#include "core/glyphtext.h"
#include "platform/text.h"

namespace {

const std::string& GlyphTextOf(const State& s, int64_t code)
{
    static const std::string empty;
    if (code < 0 || code >= int64_t(s.CharData.size()))
        return empty;
    return s.CharData[size_t(code)][1];
}

int64_t BytesPerGlyph(const State& s)
{
    return GlyphByteCount(s.FontWidth, s.FontHeight);
}

}  // namespace

std::string NormalGlyphText(const State& s, int64_t code)
{
    return EncodeGlyphBytes(GlyphBytes(GlyphTextOf(s, code), BytesPerGlyph(s)));
}

std::vector<std::string> PackGlyphWords(const State& s)
{
    const int64_t perGlyph = BytesPerGlyph(s);
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(std::max(0, s.FontCount)) * size_t(perGlyph));
    std::vector<uint8_t> glyph(static_cast<size_t>(perGlyph));
    for (int64_t c = s.FontStart; c < int64_t(s.FontStart) + s.FontCount; ++c) {
        DecodeGlyphBytes(GlyphTextOf(s, c), glyph);
        bytes.insert(bytes.end(), glyph.begin(), glyph.end());
    }
    std::vector<std::string> words((bytes.size() + 3) / 4);
    for (size_t k = 0; k < words.size(); ++k) {
        std::string& word = words[k];
        for (int j = 3; j >= 0; --j) {
            const size_t i = 4 * k + size_t(j);
            AppendHexByte(word, i < bytes.size() ? bytes[i] : 0);
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
