// The whole-font commands work on the glyphs' bytes; the editor's grid is the
// rule they must keep to. Each command runs over glyph texts of every odd
// form the codec reads, and its results are compared with the same glyphs
// taken one by one through `Grid`: decoded, changed there, encoded.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/commands.h"
#include "core/editor.h"
#include "core/fontstore.h"
#include "core/glyphpixels.h"
#include "core/glyphtext.h"
#include "core/state.h"
#include "platform/requesters.h"

namespace {

using Texts = std::vector<std::string>;

// The glyph text of a w x h glyph whose pixel (x, y) is `set`(x, y).
std::string Drawn(int w, int h, const std::function<bool(int, int)>& set)
{
    State t;
    t.FontWidth = w;
    t.FontHeight = h;
    t.Grid.Create(w + 2, h + 2);
    for (int x = 0; x < w; x++)
        for (int y = 0; y < h; y++)
            t.Grid(x, y) = set(x, y) ? 1 : 0;
    return CharToHex(t);
}

// Glyphs with empty margins of several widths, each also with surplus
// tokens full of set bits (a partial last byte's bits fall below the glyph).
Texts Shapes(int w, int h)
{
    Texts out;
    for (int column : {0, 1, 3, w / 2, w - 2, w - 1}) {
        if (column < 0 || column >= w)
            continue;
        const std::string bar = Drawn(w, h, [column](int x, int) { return x == column; });
        const std::string dot = Drawn(w, h, [column, h](int x, int y) { return x == column && y == h - 1; });
        for (const std::string& text : {bar, dot}) {
            out.push_back(text);
            out.push_back(text + "0xFF,0xFF,");
        }
    }
    return out;
}

// Texts of every form the codec accepts, for a glyph of `bytes` bytes.
Texts OddTexts(int bytes)
{
    uint32_t seed = uint32_t(bytes) * 2654435761u;
    auto random = [&] { return uint8_t((seed = seed * 1103515245u + 12345u) >> 16); };
    std::vector<uint8_t> full(size_t(bytes) + 2);
    for (uint8_t& b : full)
        b = random();
    const std::string canonical = EncodeGlyphBytes(std::span(full).first(size_t(bytes)));
    const std::string longer = EncodeGlyphBytes(full);  // surplus tokens, a partial byte's included
    std::string lower = longer;
    for (char& c : lower)
        if (c >= 'A' && c <= 'F')
            c = char(c - 'A' + 'a');
    std::string noCommas = canonical;
    for (size_t i = 4; i < noCommas.size(); i += 9)
        noCommas.erase(i, 1);
    return {
        "",
        canonical,
        longer,
        lower,
        canonical.substr(0, canonical.size() / 2),  // short
        canonical.substr(0, canonical.size() / 2 + 3),  // cut inside a token
        noCommas,
        "0x1,0xF,0x,  0x3C,0X81,zz,,0xZ1,\xC3\xA9" "041,0x7" + longer,  // stray characters of all kinds
        std::string(size_t(bytes) * 5, ','),
        "0xFF," + std::string(size_t(bytes) * 5, 'F'),
    };
}

struct Size {
    int W, H;
};

// Sizes with whole bytes and with a partial last byte, narrow ones included.
const Size Sizes[] = {{8, 8}, {5, 7}, {6, 8}, {16, 24}, {3, 5}, {12, 10}, {1, 3}, {7, 1}};

// The glyphs through `Grid`, as the commands did one glyph at a time: the
// grid laid out for the size (and loaded with the character shown, when
// `load` is given), then each glyph decoded and changed by `change` and
// encoded.
Texts ThroughGrid(int w, int h, const Texts& texts, const std::string* load,
                  const std::function<void(State&, const std::string&)>& change)
{
    State r;
    r.FontWidth = w;
    r.FontHeight = h;
    r.Grid.Create(w + 2, h + 2);
    if (load)
        HexToChar(r, *load);
    Texts out;
    for (const std::string& text : texts) {
        change(r, text);
        out.push_back(CharToHex(r));
    }
    return out;
}

class WholeFontBytes : public ::testing::Test {
protected:
    State s;
    platform::ScriptedRequesters* ask = new platform::ScriptedRequesters;

    void SetUp() override { platform::UseRequesters(std::unique_ptr<platform::ScriptedRequesters>(ask)); }

    // A font from code 1 with its first character in the editor, as the
    // commands find it (no window: the list has no selection).
    void Load(int w, int h, const Texts& texts)
    {
        s.FontWidth = w;
        s.FontHeight = h;
        s.FontStart = 1;
        s.FontCount = int(texts.size());
        s.CharData.assign(CharTableRows, CharRow{});
        for (size_t i = 0; i < texts.size(); i++)
            s.CharData[1 + i][1] = texts[i];
        s.CurrentChar = -1;
        SetupGrid(s);
        s.CurrentChar = 1;
        HexToChar(s, texts[0]);
    }

    Texts Stored() const
    {
        Texts out;
        for (int i = 0; i < s.FontCount; i++)
            out.push_back(s.CharData[size_t(1 + i)][1]);
        return out;
    }
};

TEST_F(WholeFontBytes, EveryCommandMatchesTheGlyphByGlyphPathThroughTheGrid)
{
    for (const Size& size : Sizes) {
        const int w = size.W, h = size.H;
        Texts texts = OddTexts(w * h / 8);
        for (const std::string& shape : Shapes(w, h))
            texts.push_back(shape);
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));

        Load(w, h, texts);
        const GridArray editor = s.Grid;
        CentreFont(s);
        EXPECT_EQ(Stored(), ThroughGrid(w, h, texts, nullptr, [&](State& r, const std::string& t) {
                      r.Grid = editor;
                      CentreChar(r, t);
                  })) << "Centre";

        Load(w, h, texts);
        LeftAlignFont(s);
        EXPECT_EQ(Stored(), ThroughGrid(w, h, texts, &texts[0], [](State& r, const std::string& t) {
                      HexToChar(r, t);
                      LeftAlignGrid(r, r.FontHeight);
                  })) << "Left align";

        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, -1}}) {
            Load(w, h, texts);
            ShiftFont(s, dx, dy);
            EXPECT_EQ(Stored(), ThroughGrid(w, h, texts, &texts[0], [dx, dy](State& r, const std::string& t) {
                          HexToChar(r, t);
                          ShiftGrid(r, dx, dy);
                      })) << "Shift " << dx << "," << dy;
        }

        for (const Size& to : {Size{4, 2}, Size{8, 4}, Size{16, 16}, Size{24, 8}, Size{2, 12}}) {
            Load(w, h, texts);
            ask->InputAnswers = {std::to_string(to.W) + " x " + std::to_string(to.H)};
            ResizeFont(s);
            EXPECT_EQ(Stored(), ThroughGrid(to.W, to.H, texts, &texts[0], [w, h](State& r, const std::string& t) {
                          r.PrevFontWidth = w;
                          r.PrevFontHeight = h;
                          HexToCharResized(r, t);
                      })) << "Resize to " << to.W << " x " << to.H;
        }

        Load(w, h, texts);
        DoubleSizeFont(s);
        EXPECT_EQ(Stored(), ThroughGrid(2 * w, 2 * h, texts, &texts[0],
                                        [](State& r, const std::string& t) { HexToCharDoubleSize(r, t); }))
            << "Double size";

        Load(w, h, texts);
        DoubleWidthFont(s);
        EXPECT_EQ(Stored(), ThroughGrid(2 * w, h, texts, &texts[0],
                                        [](State& r, const std::string& t) { HexToCharDoubleWidth(r, t); }))
            << "Double width";
    }
}

// The proportional save's alignment and width, glyph by glyph.
TEST_F(WholeFontBytes, AlignAndMeasureMatchesTheGrid)
{
    for (const Size& size : Sizes) {
        const int w = size.W, h = size.H;
        Texts texts = OddTexts(w * h / 8);
        for (const std::string& shape : Shapes(w, h))
            texts.push_back(shape);
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        GlyphTransform t(w, h);
        std::vector<int32_t> widths, expectedWidths;
        Texts aligned;
        for (size_t i = 0; i < texts.size(); i++) {
            std::string out;
            widths.push_back(t.AlignAndMeasure(texts[i], i == 0 ? 32 : 65, out));
            aligned.push_back(out);
        }
        size_t i = 0;
        const Texts expected = ThroughGrid(w, h, texts, &texts[0], [&](State& r, const std::string& text) {
            HexToChar(r, text);
            LeftAlignGrid(r, r.FontHeight - 1);
            int32_t width = 0;
            for (int x = w - 1; x >= 0 && width == 0; x--)
                for (int y = 0; y < h; y++)
                    if (r.Grid(x, y) == 1)
                        width = x + 1;
            if (width == 0)
                width = i == 0 ? w / 2 : 1;  // the first is measured as code 32
            i++;
            expectedWidths.push_back(width);
        });
        EXPECT_EQ(aligned, expected);
        EXPECT_EQ(widths, expectedWidths);
    }
}

// The token reader of the general rule and the fast path of the byte decoder
// give the same bytes for every text.
TEST(GlyphTextCodec, FastDecodeKeepsTheGeneralRule)
{
    Texts texts = OddTexts(48);
    for (const char* extra : {"0x12,0x3", "0x1,", ",0xAB,", "0xAB", "\xC3\xA9x12,0x34,", "0x\xC3\xA9,0x12,"})
        texts.push_back(extra);
    for (const std::string& text : texts) {
        std::vector<uint8_t> fast(60);
        DecodeGlyphBytes(text, fast);
        GlyphTokenReader reader(text);
        for (size_t i = 0; i < fast.size(); i++)
            EXPECT_EQ(int(fast[i]), int(reader.Next())) << "byte " << i << " of " << text;
    }
}

}  // namespace
