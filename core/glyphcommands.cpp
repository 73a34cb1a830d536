// The commands of the "Edit" menu on the glyph in the editor: copy, paste,
// restore, one-pixel shifts, flips, quarter turns, inverse and outline.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "core/commands.h"
#include "core/editor.h"
#include "core/fontstore.h"
#include "core/objects.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

// The glyph area and its border column and row lie inside `Grid`.
bool GridCoversGlyph(const State& s)
{
    return s.FontWidth > 0 && s.FontHeight > 0 && s.Grid.Columns > s.FontWidth && s.Grid.Rows > s.FontHeight;
}

// The length of the glyph text of the current size.
int64_t GlyphTextLength(const State& s)
{
    if (s.FontWidth <= 0 || s.FontHeight <= 0)
        return 0;
    return int64_t(s.FontWidth) * s.FontHeight / 8 * 5;
}

// Stores the glyph in `Grid` under the current character, without comparing.
void StoreEditedGlyph(State& s)
{
    if (InTable(s.CurrentChar))
        s.CharData[size_t(s.CurrentChar)][1] = CharToHex(s);
}

void RotateSquare(State& s, bool clockwise)
{
    if (!GridCoversGlyph(s))
        return;
    const int w = s.FontWidth;
    const int h = s.FontHeight;
    const int n = std::min(w, h);
    s.ScratchGrid.Create(w + 1, h + 1);
    for (int i = 0; i < n; i++) {
        for (int j = 0; j < n; j++) {
            if (clockwise)
                s.ScratchGrid(n - 1 - j, i) = s.Grid(i, j);
            else
                s.ScratchGrid(i, j) = s.Grid(n - 1 - j, i);
        }
    }
    // The grid takes the scratch grid's size: everything outside the square
    // is clear, the border included.
    s.Grid = s.ScratchGrid;
    PaintGrid(s);
}

}  // namespace

void CopyCharacter(State& s)
{
    s.PasteBuffer = CharToHex(s);
    platform::SetClipboardText(s.PasteBuffer);
}

void PasteCharacter(State& s)
{
    s.ClipText = platform::GetClipboardText();
    if (s.ClipText.size() >= 2 && s.ClipText.compare(0, 2, "0x") == 0 && s.ClipText.back() == ',')
        s.PasteBuffer = s.ClipText;

    if (platform::Len(s.PasteBuffer) != GlyphTextLength(s))
        platform::Ask().Message("Missmatch!", "Data to paste not same size.", platform::MessageButtons::Ok);

    if (s.PasteBuffer.empty())
        return;
    HexToChar(s, s.PasteBuffer);
    PaintGrid(s);
    StoreEditedGlyph(s);
    RequestViewFont(s, ViewFontIfOpen);
}

void RestoreCharacter(State& s)
{
    if (s.SelectedGlyph.empty() || !InTable(s.CurrentChar))
        return;
    std::string& stored = s.CharData[size_t(s.CurrentChar)][1];
    if (platform::Len(s.SelectedGlyph) == GlyphTextLength(s)) {
        stored = s.SelectedGlyph;
        HexToChar(s, stored);
    } else {
        // A text of another length may have been made for another glyph
        // size: the table gets only what the editor shows, at this size.
        HexToChar(s, s.SelectedGlyph);
        stored = CharToHex(s);
    }
    PaintGrid(s);
}

void ShiftGrid(State& s, int dx, int dy)
{
    if (!GridCoversGlyph(s))
        return;
    const int w = s.FontWidth;
    const int h = s.FontHeight;
    GridArray& g = s.Grid;
    if (dx > 0) {
        for (int x = w; x >= 1; x--)
            for (int y = 0; y <= h; y++)
                g(x, y) = g(x - 1, y);
        for (int y = 0; y <= h; y++)
            g(0, y) = 0;
    } else if (dx < 0) {
        for (int x = 0; x <= w - 1; x++)
            for (int y = 0; y <= h; y++)
                g(x, y) = g(x + 1, y);
        for (int y = 0; y <= h; y++)
            g(w, y) = 0;
    }
    if (dy > 0) {
        for (int y = 0; y <= h - 1; y++)
            for (int x = 0; x <= w; x++)
                g(x, y) = g(x, y + 1);
        for (int x = 0; x <= w; x++)
            g(x, h) = 0;
    } else if (dy < 0) {
        for (int y = h; y >= 1; y--)
            for (int x = 0; x <= w; x++)
                g(x, y) = g(x, y - 1);
        for (int x = 0; x <= w; x++)
            g(x, 0) = 0;
    }
}

void ShiftCharacter(State& s, int dx, int dy)
{
    ShiftGrid(s, dx, dy);
    PaintGrid(s);
}

void FlipRightLeft(State& s)
{
    if (!GridCoversGlyph(s))
        return;
    const int w = s.FontWidth;
    for (int y = 0; y < s.FontHeight; y++)
        for (int x = 0; x < (w + 1) / 2; x++)
            std::swap(s.Grid(x, y), s.Grid(w - 1 - x, y));
    PaintGrid(s);
}

void FlipUpDown(State& s)
{
    if (!GridCoversGlyph(s))
        return;
    const int h = s.FontHeight;
    for (int x = 0; x < s.FontWidth; x++)
        for (int y = 0; y < (h + 1) / 2; y++)
            std::swap(s.Grid(x, y), s.Grid(x, h - 1 - y));
    PaintGrid(s);
}

void RotateRight(State& s)
{
    RotateSquare(s, true);
}

void RotateLeft(State& s)
{
    RotateSquare(s, false);
}

void InverseCharacter(State& s)
{
    if (!GridCoversGlyph(s))
        return;
    for (int x = 0; x < s.FontWidth; x++)
        for (int y = 0; y < s.FontHeight; y++)
            s.Grid(x, y) = 1 - s.Grid(x, y);
    PaintGrid(s);
}

void OutlineCharacter(State& s)
{
    if (!GridCoversGlyph(s))
        return;
    const GridArray& g = s.Grid;
    s.ScratchGrid = g;
    for (int x = 1; x <= s.FontWidth - 2; x++)
        for (int y = 1; y <= s.FontHeight - 2; y++)
            if (int64_t(g(x - 1, y)) + g(x + 1, y) + g(x, y - 1) + g(x, y + 1) == 4)
                s.ScratchGrid(x, y) = 0;
    std::swap(s.Grid, s.ScratchGrid);
    PaintGrid(s);
}
