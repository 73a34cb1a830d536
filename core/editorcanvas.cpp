// The editor canvas: the zoomed glyph grid of the main window, its layout,
// its painting and the mouse's pixel setting, and the status text.
#include "core/editor.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/fontstore.h"
#include "core/objects.h"
#include "platform/gui.h"
#include "platform/text.h"

namespace {

constexpr platform::Rgb ClearColour = platform::RGB(0, 0, 0);
constexpr platform::Rgb SetColour = platform::RGB(255, 255, 255);
constexpr platform::Rgb LineColour = platform::RGB(127, 127, 127);
constexpr platform::Rgb BaselineColour = platform::RGB(255, 0, 0);

int GridCell(const State& s, int x, int y)
{
    return s.Grid.Inside(x, y) ? s.Grid(x, y) : 0;
}

void PaintCellBox(const State& s, int x, int y, bool set)
{
    const int c = s.CellSize;
    platform::Box(x * c + 1, y * c + 1, c - 1, c - 1, set ? SetColour : ClearColour);
}

}  // namespace

void LayOutGrid(State& s)
{
    const int w = std::max(s.FontWidth, 0);
    const int h = std::max(s.FontHeight, 0);
    s.Grid.Create(w + 2, h + 2);

    if (w > 80 || h > 80)
        s.CellSize = 6;
    else if (w > 50 || h > 50)
        s.CellSize = 8;
    else
        s.CellSize = 10;

    const int canvasW = w * s.CellSize;
    const int canvasH = h * s.CellSize;
    const int innerW = canvasW > 299 ? canvasW + 45 : 345;
    const int innerH = canvasH + 75;
    platform::ResizeWindow(obj::MainWindow, platform::WindowX(obj::MainWindow), platform::WindowY(obj::MainWindow), innerW, innerH);

    LayoutMainWindow(s);
    DrawGridLines(s);

    platform::SetState(obj::CharList, 0);
    s.PasteBuffer.clear();
    WriteStatusText(s);
}

void SetupGrid(State& s)
{
    LayOutGrid(s);
    if (s.CurrentChar >= 0 && InTable(s.CurrentChar))
        HexToChar(s, s.CharData[size_t(s.CurrentChar)][1]);
    PaintGrid(s);
}

void LayoutMainWindow(State& s)
{
    const int outerW = platform::WindowWidth(obj::MainWindow, false);
    const int outerH = platform::WindowHeight(obj::MainWindow, false);
    const int canvasW = std::max(s.FontWidth, 0) * s.CellSize;
    const int canvasH = std::max(s.FontHeight, 0) * s.CellSize;

    // The rule leaves room for a window frame of the usual size. Where the
    // frame is thinner, or there is none, it would hide the glyph's last rows
    // or columns behind a scroll bar although the window has room for them:
    // the scroll area then takes the room the whole glyph needs. Where the
    // frame is thicker, it would push the scroll bars past the window's
    // edge: the area ends at the inner area's edge, so that a glyph larger
    // than the window is always reached by scrolling.
    const int border = 2 * platform::ScrollAreaBorder(obj::EditorScrollArea);
    const int roomW = platform::WindowWidth(obj::MainWindow) - 20;
    const int roomH = platform::WindowHeight(obj::MainWindow) - 40;
    auto fit = [](int rule, int need, int room) { return need <= room ? std::max(rule, need) : rule; };
    const int areaW = std::min(fit(outerW - 20, canvasW + border, roomW), roomW + 10);
    const int areaH = std::min(fit(outerH - 95, canvasH + border, roomH), roomH);
    platform::ResizeControl(obj::EditorScrollArea, 10, 40, std::max(areaW, 0), std::max(areaH, 0));
    platform::SetScrollAreaInner(obj::EditorScrollArea, canvasW, canvasH);
    platform::ResizeControl(obj::EditorCanvas, 0, 0, canvasW, canvasH);
}

void DrawGridLines(State& s)
{
    if (!platform::StartDrawingCanvas(obj::EditorCanvas))
        return;
    const int c = s.CellSize;
    const int w = s.FontWidth;
    const int h = s.FontHeight;
    const int baseline = (5 * h) / 6;

    platform::Box(0, 0, w * c, h * c, ClearColour);
    platform::Image* out = platform::DrawingOutput();
    if (!out || c < 1) {
        platform::StopDrawing();
        return;
    }
    // Every line runs along a row or a column: written straight into the
    // canvas, clipped to it. Vertical lines first, the horizontal ones over
    // them.
    const int64_t right = std::min<int64_t>(int64_t(w) * c + 1, out->Width);
    const int64_t bottom = std::min<int64_t>(int64_t(h) * c + 1, out->Height);
    const uint32_t line = LineColour | 0xFF000000u;
    for (int64_t y = 0; y < bottom; y++) {
        uint32_t* row = out->Pixels.data() + size_t(y) * size_t(out->Width);
        for (int64_t x = 0; x < w && x * c < out->Width; x++)
            row[x * c] = line;
    }
    for (int64_t y = 0; y < h && y * c < out->Height; y++) {
        uint32_t* row = out->Pixels.data() + size_t(y * c) * size_t(out->Width);
        std::fill(row, row + right, (y == baseline ? BaselineColour : LineColour) | 0xFF000000u);
    }
    platform::StopDrawing();
}

void PaintGrid(State& s)
{
    if (!platform::StartDrawingCanvas(obj::EditorCanvas))
        return;
    // The boxes go straight into the canvas's pixels, one cell row at a time.
    platform::Image* out = platform::DrawingOutput();
    const int c = s.CellSize;
    if (out && c > 1) {
        const uint32_t set = SetColour | 0xFF000000u;
        const uint32_t clear = ClearColour | 0xFF000000u;
        const int64_t lastX = std::min<int64_t>(s.FontWidth, (int64_t(out->Width) - 2) / c);
        for (int y = 0; y <= s.FontHeight; y++) {
            const int64_t top = int64_t(y) * c + 1;
            if (top >= out->Height)
                break;
            const int rows = int(std::min<int64_t>(c - 1, out->Height - top));
            uint32_t* first = out->Pixels.data() + size_t(top) * size_t(out->Width);
            for (int x = 0; x <= lastX; x++) {
                const int64_t left = int64_t(x) * c + 1;
                const int n = int(std::min<int64_t>(c - 1, out->Width - left));
                const uint32_t colour = GridCell(s, x, y) == 1 ? set : clear;
                for (int r = 0; r < rows; r++)
                    std::fill_n(first + size_t(r) * size_t(out->Width) + size_t(left), n, colour);
            }
        }
    }
    platform::StopDrawing();
}

void PaintGridCell(State& s, int mode)
{
    if (s.CellSize < 1 || !platform::StartDrawingCanvas(obj::EditorCanvas))
        return;
    // Division truncates toward zero: a few pixels left of or above the
    // canvas still count as column or row 0.
    const int cx = s.Event.MouseX / s.CellSize;
    const int cy = s.Event.MouseY / s.CellSize;
    if (cx >= 0 && cx <= s.FontWidth && cy >= 0 && cy <= s.FontHeight && s.Grid.Inside(cx, cy)) {
        PaintCellBox(s, cx, cy, mode == 1);
        s.Grid(cx, cy) = mode == 1 ? 1 : 0;
    }
    platform::StopDrawing();
}

void ClearCharacter(State& s)
{
    for (int x = 0; x <= s.FontWidth; x++)
        for (int y = 0; y <= s.FontHeight; y++)
            if (s.Grid.Inside(x, y))
                s.Grid(x, y) = 0;
    PaintGrid(s);
}

void WriteStatusText(State& s)
{
    using platform::Str;
    platform::SetText(obj::StatusText, Str(s.FontWidth) + " x " + Str(s.FontHeight) + "      Chr$(" + Str(s.FontStart) +
                                       ") to Chr$(" + Str(int64_t(s.FontStart) + s.FontCount - 1) + ")");
}
