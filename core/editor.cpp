// The editor canvas (the zoomed glyph grid of the main window) and the
// character list with the selection, adding and deleting of characters.
#include "core/editor.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/fontstore.h"
#include "core/objects.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

// The highest code a font may hold: the file formats keep codes 0 to 255.
constexpr int LastCode = 255;

constexpr platform::Rgb ClearColour = platform::RGB(0, 0, 0);
constexpr platform::Rgb SetColour = platform::RGB(255, 255, 255);
constexpr platform::Rgb LineColour = platform::RGB(127, 127, 127);
constexpr platform::Rgb BaselineColour = platform::RGB(255, 0, 0);

bool InTable(int64_t code)
{
    return code >= 0 && code < CharTableRows;
}

int GridCell(const State& s, int x, int y)
{
    return s.Grid.Inside(x, y) ? s.Grid(x, y) : 0;
}

void PaintCellBox(const State& s, int x, int y, bool set)
{
    const int c = s.CellSize;
    platform::Box(x * c + 1, y * c + 1, c - 1, c - 1, set ? SetColour : ClearColour);
}

// The editor follows the character at the list's position.
void BindToListCharacter(State& s)
{
    const int64_t code = int64_t(platform::GetState(obj::CharList)) + s.FontStart;
    s.CurrentChar = InTable(code) ? int32_t(code) : -1;
}

void RefuseCharacter(const std::string& what)
{
    platform::Ask().Message("Oops!", what + " is not a valid character", platform::MessageButtons::Ok);
}

}  // namespace

// ---- Editor canvas -----------------------------------------------------------

void SetupGrid(State& s)
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

    platform::ResizeControl(obj::EditorScrollArea, 10, 40, std::max(outerW - 20, 0), std::max(outerH - 95, 0));
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
    for (int x = 0; x < w; x++)
        platform::Line(x * c, 0, x * c, h * c, LineColour);
    for (int y = 0; y < h; y++)
        platform::Line(0, y * c, w * c, y * c, y == baseline ? BaselineColour : LineColour);
    platform::StopDrawing();
}

void PaintGrid(State& s)
{
    if (!platform::StartDrawingCanvas(obj::EditorCanvas))
        return;
    for (int x = 0; x <= s.FontWidth; x++)
        for (int y = 0; y <= s.FontHeight; y++)
            PaintCellBox(s, x, y, GridCell(s, x, y) == 1);
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

// ---- Character list and selection ----------------------------------------------

void StoreBackGlyph(State& s)
{
    if (s.CurrentChar < 0 || !InTable(s.CurrentChar))
        return;
    std::string text = CharToHex(s);
    std::string& stored = s.CharData[size_t(s.CurrentChar)][1];
    if (text != stored) {
        s.Modified = 1;
        stored = std::move(text);
    }
}

bool AskSaveFirst(State& s)
{
    if (s.Modified != 1)
        return true;
    // Only a plain No goes on: a box closed without an answer keeps the
    // changes, as Yes does.
    const platform::MessageResult answer =
        platform::Ask().Message("Oops!", "Do you want to save changes first?", platform::MessageButtons::YesNo);
    return answer == platform::MessageResult::No;
}

void SelectCharacter(State& s)
{
    StoreBackGlyph(s);
    BindToListCharacter(s);
    if (s.CurrentChar >= 0) {
        s.SelectedGlyph = s.CharData[size_t(s.CurrentChar)][1];
        HexToChar(s, s.SelectedGlyph);
    }
    PaintGrid(s);
}

void PreviousCharacter(State& s)
{
    const int n = platform::GetState(obj::CharList) - 1;
    if (n >= 0) {
        platform::SetState(obj::CharList, n);
        SelectCharacter(s);
    }
}

void NextCharacter(State& s)
{
    const int n = platform::GetState(obj::CharList) + 1;
    if (n < s.FontCount) {
        platform::SetState(obj::CharList, n);
        SelectCharacter(s);
    }
}

void MakeCharLabels(State& s)
{
    for (int c = 0; c <= LastCode; c++) {
        std::string label = "Chr$(" + platform::Str(c) + ")";
        if (c == 92)
            label += " backslash";
        else if (c >= 32 && c <= 126)
            label += "  " + platform::Chr(uint32_t(c));
        else
            label += " ";
        s.CharData[size_t(c)][2] = std::move(label);
    }
}

void AddCharacter(State& s, int atEnd)
{
    const bool end = atEnd == 1;
    std::string answer;
    bool asked = false;
    const int32_t previousStart = s.FontStart;

    if (s.FontStart == 0) {
        // Setting up the grid below reloads it from the table: edits of the
        // glyph in the editor go to their character first. Adding at the
        // beginning drops them anyway (the old first glyph text is put back).
        if (end)
            StoreBackGlyph(s);
        answer = platform::Ask().Input("New font", "Enter starting character ASCII value", "32");
        const int64_t value = platform::Val(answer);
        // Kept within 32 bits; anything out there is refused below anyway.
        s.FontStart = int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
        asked = true;
        SetupGrid(s);
    }

    // Ends the command without adding. A first code that was refused is
    // dropped again, so that no code outside the table is ever selected; the
    // editor stays bound to the character whose glyph it shows.
    auto giveUp = [&](bool refused) {
        if (asked && refused) {
            s.FontStart = previousStart;
            WriteStatusText(s);
        }
        if (!end)
            BindToListCharacter(s);
    };

    if (s.FontStart < 1 || s.FontStart > 253) {
        RefuseCharacter(answer);
        giveUp(true);
        return;
    }
    // The code the font would end at: beyond 255 there is no room.
    const int64_t last = int64_t(s.FontStart) + s.FontCount - (end ? 0 : 1);
    if (last > LastCode) {
        RefuseCharacter(platform::Str(last));
        giveUp(true);
        return;
    }
    if (!end && s.FontStart == 1) {
        giveUp(false);
        return;
    }

    const int32_t first = s.FontStart;
    const std::string saved = s.CharData[size_t(first)][1];
    s.FontCount++;
    if (end) {
        const int n = s.FontStart + s.FontCount - 1;
        platform::AddItem(obj::CharList, -1, "Chr$(" + platform::Str(n) + ")  " + platform::Chr(uint32_t(n)));
        platform::SetState(obj::CharList, s.FontCount - 1);
    } else {
        s.FontStart = first - 1;
        platform::AddItem(obj::CharList, 0, s.CharData[size_t(s.FontStart)][2]);
        platform::SetState(obj::CharList, 0);
    }

    SelectCharacter(s);
    ClearCharacter(s);
    if (!end)
        s.CharData[size_t(first)][1] = saved;
    WriteStatusText(s);
}

void DeleteCharacter(State& s, int last)
{
    if (s.FontCount > 0) {
        s.FontCount--;
        if (last == 1) {
            platform::RemoveItem(obj::CharList, s.FontCount);
            platform::SetState(obj::CharList, s.FontCount - 1);
        } else {
            s.FontStart++;
            platform::RemoveItem(obj::CharList, 0);
        }
    }
    SelectCharacter(s);
    WriteStatusText(s);
}
