// The commands that act on every glyph of the font ("Font" menu) and "New".
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/commands.h"
#include "core/editor.h"
#include "core/fontstore.h"
#include "core/glyphpixels.h"
#include "core/objects.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

// Doubling is refused above this width or height.
constexpr int DoubleLimit = 128;
// The largest width or height New and Resize accept: beyond it a font no
// longer fits in memory and on screen in any useful way.
constexpr int64_t MaxGlyphSide = 1024;

void Oops(const std::string& text)
{
    platform::Ask().Message("Oops!", text, platform::MessageButtons::Ok);
}

std::string TooBigText(const std::string& answer)
{
    return answer + " is too big\r\nWidth and Height must be " + platform::Str(MaxGlyphSide) + " at most";
}

// Moves columns 0 to W (rows 0 to H) of `Grid` by `shift` columns, right
// when positive, left when negative; the columns left behind are cleared.
// The border column counts as clear in a move to the left, so nothing that
// waits there enters the glyph.
void MoveColumns(State& s, int shift)
{
    const int w = s.FontWidth;
    const int h = s.FontHeight;
    GridArray& g = s.Grid;
    if (shift == 0 || w <= 0 || h < 0 || g.Columns <= w || g.Rows <= h)
        return;
    if (shift > 0) {
        for (int x = w; x >= 0; x--)
            for (int y = 0; y <= h; y++)
                g(x, y) = x - shift >= 0 ? g(x - shift, y) : 0;
    } else {
        const int m = -shift;
        for (int y = 0; y <= h; y++)
            g(w, y) = 0;
        for (int x = 0; x <= w; x++)
            for (int y = 0; y <= h; y++)
                g(x, y) = x + m <= w ? g(x + m, y) : 0;
    }
}

// Reads "W x H" (or "W H" when there is no `x`), fields read as numbers.
void ReadSize(const std::string& text, char x, int64_t& w, int64_t& h)
{
    const std::string separator(1, text.find(x) != std::string::npos ? x : ' ');
    w = platform::Val(platform::StringField(text, 1, separator));
    h = platform::Val(platform::StringField(text, 2, separator));
}

}  // namespace

int FirstSetColumn(const State& s, int lastRow)
{
    const GridArray& g = s.Grid;
    for (int x = 0; x < s.FontWidth && x < g.Columns; x++)
        for (int y = 0; y <= lastRow && y < g.Rows; y++)
            if (g(x, y) == 1)
                return x;
    return s.FontWidth;
}

void LeftAlignGrid(State& s, int lastRow)
{
    const int x = FirstSetColumn(s, lastRow);
    if (x < s.FontWidth && x > 1)
        MoveColumns(s, -x);
}

void ForEachGlyph(State& s, const GlyphPass& pass, const GlyphChange& change)
{
    const bool sizeChanged = pass.Width != s.FontWidth || pass.Height != s.FontHeight;
    bool changed = sizeChanged;

    int64_t shown = int64_t(platform::GetState(obj::CharList)) + s.FontStart;
    if (shown < 1)
        shown = s.FontStart;
    s.CurrentChar = InTable(shown) ? int32_t(shown) : -1;

    s.FontWidth = pass.Width;
    s.FontHeight = pass.Height;
    // The editor is laid out now and painted once, at the end.
    if (pass.ResetGrid)
        LayOutGrid(s);
    if (pass.RebuildHeader)
        MakeFontHeader(s);

    const int64_t last = int64_t(s.FontStart) + s.FontCount - 1;
    std::string text;  // one buffer for the whole font
    for (int64_t c = s.FontStart < 0 ? 0 : s.FontStart; c <= last && InTable(c); c++) {
        std::string& stored = s.CharData[size_t(c)][1];
        change(stored, int32_t(c), text);
        if (text != stored) {
            stored.swap(text);
            changed = true;
        }
    }

    if (InTable(shown)) {
        platform::SetState(obj::CharList, int(shown - s.FontStart));
        // The border may hold what the changes left there; it belongs to no
        // glyph.
        for (int y = 0; y <= s.FontHeight; y++)
            if (s.Grid.Inside(s.FontWidth, y))
                s.Grid(s.FontWidth, y) = 0;
        for (int x = 0; x <= s.FontWidth; x++)
            if (s.Grid.Inside(x, s.FontHeight))
                s.Grid(x, s.FontHeight) = 0;
        const std::string& shownText = s.CharData[size_t(shown)][1];
        HexToChar(s, shownText);
        // After a change of size, Restore puts back this glyph as it now is,
        // never a text of the old size.
        if (sizeChanged)
            s.SelectedGlyph = shownText;
    }
    PaintGrid(s);
    if (changed && pass.MarkModified)
        s.Modified = 1;
}

void NewFont(State& s)
{
    StoreBackGlyph(s);
    if (!AskSaveFirst(s))
        return;

    const std::string first =
        platform::Ask().Input("New font", "Enter starting character ASCII value", "32");
    const int64_t start = platform::Val(first);
    if (start < 1 || start > 253) {
        Oops(first + " is not a valid starting character");
        return;
    }

    const std::string size =
        platform::UCase(platform::Ask().Input("New font", "Enter character size Width x Height", "16 x 32"));
    int64_t w = 0;
    int64_t h = 0;
    const bool readable = size.find('X') != std::string::npos || size.find(' ') != std::string::npos;
    if (readable)
        ReadSize(size, 'X', w, h);
    if (!readable || w < 1 || h < 1) {
        Oops(size + " is not a valid input\r\nMust be Width X Height with\r\nWidth X Height a multiple of 8");
        return;
    }
    if (w > MaxGlyphSide || h > MaxGlyphSide) {
        Oops(TooBigText(size));
        return;
    }
    if ((w * h) % 8 != 0) {
        Oops(size + " is not a valid input\r\nMust be Width X Height with\r\nWidth X Height a multiple of 8");
        return;
    }

    // Only now is the old font given up, so a rejected answer keeps it and
    // its unsaved state.
    s.Modified = 0;
    s.FontStart = int32_t(start);
    s.FontWidth = int32_t(w);
    s.FontHeight = int32_t(h);
    s.FontCount = 0;
    s.CharData.assign(CharTableRows, CharRow{});
    MakeCharLabels(s);
    if (s.DefaultPreamble.empty())
        s.DefaultPreamble = MakeDefaultPreamble();
    s.FileInfo = s.DefaultPreamble;
    s.CurrentChar = s.FontStart;
    platform::ClearItems(obj::CharList);
    platform::SetState(obj::CharList, 0);
    SetupGrid(s);
    AddCharacter(s, 1);
}

void DoubleSizeFont(State& s)
{
    if (s.FontWidth > DoubleLimit || s.FontHeight > DoubleLimit) {
        Oops("That would be too big.");
        return;
    }
    StoreBackGlyph(s);
    GlyphTransform t{2 * s.FontWidth, 2 * s.FontHeight};
    ForEachGlyph(s, {t.W, t.H, true, true},
                 [&t](const std::string& text, int32_t, std::string& out) { t.DoubleSize(text, out); });
}

void DoubleWidthFont(State& s)
{
    if (s.FontWidth > DoubleLimit || s.FontHeight > DoubleLimit) {
        Oops("That would be too big.");
        return;
    }
    StoreBackGlyph(s);
    GlyphTransform t{2 * s.FontWidth, s.FontHeight};
    ForEachGlyph(s, {t.W, t.H, true, true},
                 [&t](const std::string& text, int32_t, std::string& out) { t.DoubleWidth(text, out); });
}

void ResizeFont(State& s)
{
    int64_t w = 0;
    int64_t h = 0;
    for (;;) {
        const std::string answer = platform::Ask().Input(
            "Current size is " + platform::Str(s.FontWidth) + " by " + platform::Str(s.FontHeight) + " pixels",
            "Enter new size (WxH must be mutiple of 8):", "9 x 16");
        if (answer.empty())
            return;
        const std::string size = platform::LCase(answer);
        ReadSize(size, 'x', w, h);
        if (w == 0 || h == 0)
            return;
        if (w < 0 || h < 0)
            continue;
        if (w > MaxGlyphSide || h > MaxGlyphSide) {
            Oops(TooBigText(size));
            continue;
        }
        if ((w * h) % 8 == 0)
            break;
    }

    StoreBackGlyph(s);
    s.PrevFontWidth = s.FontWidth;
    s.PrevFontHeight = s.FontHeight;
    GlyphTransform t{int(w), int(h)};
    const int oldW = s.PrevFontWidth;
    const int oldH = s.PrevFontHeight;
    ForEachGlyph(s, {t.W, t.H, true, true}, [&t, oldW, oldH](const std::string& text, int32_t, std::string& out) {
        t.Resize(text, oldW, oldH, out);
    });
}

void CentreChar(State& s, const std::string& text)
{
    std::vector<char> setColumns;
    HexToChar(s, text, setColumns);
    const int w = s.FontWidth;
    if (w <= 0)
        return;

    int left = 0;
    while (left < w && !setColumns[size_t(left)])
        left++;
    int right = 0;
    while (right < w && !setColumns[size_t(w - 1 - right)])
        right++;
    MoveColumns(s, (right - left) / 2);
}

void CentreFont(State& s)
{
    StoreBackGlyph(s);
    GlyphTransform t{s.FontWidth, s.FontHeight};
    ForEachGlyph(s, {t.W, t.H, false, false},
                 [&t](const std::string& text, int32_t, std::string& out) { t.Centre(text, out); });
    RequestViewFont(s, ViewFontIfOpen);
}

void LeftAlignFont(State& s)
{
    StoreBackGlyph(s);
    GlyphTransform t{s.FontWidth, s.FontHeight};
    ForEachGlyph(s, {t.W, t.H, true, false},
                 [&t](const std::string& text, int32_t, std::string& out) { t.LeftAlign(text, t.H, out); });
}

void ShiftFont(State& s, int dx, int dy)
{
    StoreBackGlyph(s);
    if (dx != 0 && dy != 0) {
        // A move along both axes carries the border from glyph to glyph, as
        // the editor's grid does: it runs through the grid.
        ForEachGlyph(s, {s.FontWidth, s.FontHeight, true, false},
                     [&s, dx, dy](const std::string& text, int32_t, std::string& out) {
                         HexToChar(s, text);
                         ShiftGrid(s, dx, dy);
                         out = CharToHex(s);
                     });
        return;
    }
    GlyphTransform t{s.FontWidth, s.FontHeight};
    ForEachGlyph(s, {t.W, t.H, true, false},
                 [&t, dx, dy](const std::string& text, int32_t, std::string& out) { t.Shift(text, dx, dy, out); });
}
