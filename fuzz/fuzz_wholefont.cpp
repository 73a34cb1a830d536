// The whole-font transforms on glyph bytes against the editor's grid, on any
// glyph texts: the first bytes give the size and the command, the rest is
// one or more glyph texts separated by line feeds. Each command must store
// what decoding the glyph into the grid, changing it there and encoding the
// grid stores. The byte decoder's fast path must read every text as the
// general rule does.
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/commands.h"
#include "core/fontstore.h"
#include "core/glyphpixels.h"
#include "core/glyphtext.h"

namespace {

using Texts = std::vector<std::string>;

// The glyphs one by one through the grid, laid out for w x h and loaded with
// the first glyph as the commands find it.
Texts ThroughGrid(int w, int h, const Texts& texts, bool load,
                  const std::function<void(State&, const std::string&)>& change)
{
    State r;
    r.FontWidth = w;
    r.FontHeight = h;
    r.Grid.Create(w + 2, h + 2);
    if (load)
        HexToChar(r, texts[0]);
    Texts out;
    for (const std::string& text : texts) {
        change(r, text);
        out.push_back(CharToHex(r));
    }
    return out;
}

Texts ThroughBytes(const Texts& texts, const std::function<void(const std::string&, std::string&)>& change)
{
    Texts out;
    for (const std::string& text : texts) {
        std::string result;
        change(text, result);
        out.push_back(result);
    }
    return out;
}

void Check(const Texts& bytes, const Texts& grid)
{
    if (bytes != grid)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int w = 1 + data[0] % 40;
    const int h = 1 + data[1] % 40;
    const int command = data[2] % 8;
    Texts texts(1);
    for (size_t i = 3; i < size; i++) {
        if (data[i] == '\n')
            texts.emplace_back();
        else
            texts.back() += char(data[i]);
    }

    for (const std::string& text : texts) {
        std::vector<uint8_t> fast(size_t(w * h / 8 + 2));
        DecodeGlyphBytes(text, fast);
        GlyphTokenReader reader(text);
        for (uint8_t b : fast)
            if (b != reader.Next())
                std::abort();
    }

    GlyphTransform t(w, h);
    switch (command) {
    case 0:
        Check(ThroughBytes(texts, [&](const std::string& in, std::string& out) { t.Centre(in, out); }),
              ThroughGrid(w, h, texts, false, [](State& r, const std::string& in) { CentreChar(r, in); }));
        break;
    case 1:
        Check(ThroughBytes(texts, [&](const std::string& in, std::string& out) { t.LeftAlign(in, h, out); }),
              ThroughGrid(w, h, texts, true, [](State& r, const std::string& in) {
                  HexToChar(r, in);
                  LeftAlignGrid(r, r.FontHeight);
              }));
        break;
    case 2:
    case 3:
    case 4:
    case 5: {
        const int dx = command == 2 ? 1 : command == 3 ? -1 : 0;
        const int dy = command == 4 ? 1 : command == 5 ? -1 : 0;
        Check(ThroughBytes(texts, [&](const std::string& in, std::string& out) { t.Shift(in, dx, dy, out); }),
              ThroughGrid(w, h, texts, true, [dx, dy](State& r, const std::string& in) {
                  HexToChar(r, in);
                  ShiftGrid(r, dx, dy);
              }));
        break;
    }
    case 6: {
        // Resize from a size the input gives as well.
        const int oldW = 1 + data[0] / 40 % 6 * 7;
        const int oldH = 1 + data[1] / 40 % 6 * 7;
        Check(ThroughBytes(texts, [&](const std::string& in, std::string& out) { t.Resize(in, oldW, oldH, out); }),
              ThroughGrid(w, h, texts, true, [oldW, oldH](State& r, const std::string& in) {
                  r.PrevFontWidth = oldW;
                  r.PrevFontHeight = oldH;
                  HexToCharResized(r, in);
              }));
        break;
    }
    default: {
        GlyphTransform doubled(2 * w, 2 * h);
        Check(ThroughBytes(texts, [&](const std::string& in, std::string& out) { doubled.DoubleSize(in, out); }),
              ThroughGrid(2 * w, 2 * h, texts, true,
                          [](State& r, const std::string& in) { HexToCharDoubleSize(r, in); }));
        GlyphTransform wide(2 * w, h);
        Check(ThroughBytes(texts, [&](const std::string& in, std::string& out) { wide.DoubleWidth(in, out); }),
              ThroughGrid(2 * w, h, texts, true, [](State& r, const std::string& in) { HexToCharDoubleWidth(r, in); }));
        break;
    }
    }
    return 0;
}
