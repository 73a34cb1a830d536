// The "Font View" window: every glyph of the font on one sheet (image 90),
// sixteen cells to a row, and a click on a glyph selects its character.
#include "app/fontview.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdint>
#include <string>
#include <vector>

#include "core/editor.h"
#include "core/glyphtext.h"
#include "core/objects.h"
#include "formats/sheetimage.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"

namespace {

constexpr platform::Rgb SheetGrey = platform::RGB(196, 196, 196);
constexpr uint32_t PixelSet = platform::RGB(255, 255, 255) | 0xFF000000u;
constexpr uint32_t PixelClear = platform::RGB(0, 0, 0) | 0xFF000000u;
constexpr platform::Rgb CanvasWhite = platform::RGB(255, 255, 255);

// A sheet beyond this many pixels would take hundreds of megabytes; such a
// glyph size is refused instead of exhausting memory.
constexpr int64_t MaxSheetPixels = 64LL * 1024 * 1024;

void SheetTooBig()
{
    platform::Ask().Message("Oops!", "The font is too big to view.", platform::MessageButtons::Ok);
}

int Mod16(int v) { return ((v % 16) + 16) % 16; }

// Shows image 90 on canvas 70, scaled to the canvas width with its aspect
// kept; the part of the canvas below the sheet is cleared, so a smaller
// sheet leaves nothing of a larger one behind.
void ShowSheet()
{
    platform::Image* sheet = platform::GetImage(obj::SheetImage);
    if (!sheet || sheet->Empty() || !platform::IsControl(obj::SheetCanvas)) return;
    const int w = platform::ControlWidth(obj::SheetCanvas);
    if (w <= 0) return;
    const int h = int(int64_t(w) * sheet->Height / sheet->Width);
    if (h <= 0) return;
    if (w == sheet->Width && platform::ControlHeight(obj::SheetCanvas) == sheet->Height) {
        // One to one: the canvas shows the sheet itself.
        platform::ShowImageOnCanvas(obj::SheetCanvas, obj::SheetImage);
        return;
    }
    if (platform::StartDrawingCanvas(obj::SheetCanvas)) {
        platform::DrawImageScaled(obj::SheetImage, 0, 0, w, h);
        const int below = platform::OutputHeight() - h;
        if (below > 0)
            platform::Box(0, h, platform::OutputWidth(), below, CanvasWhite);
        platform::StopDrawing();
    }
}

// The largest canvas that keeps Font View on the screen it opens on at
// (x, y), for a sheet of sheetW x sheetH: the sheet itself when it fits, else
// the sheet scaled down with its aspect kept.
void FitSheetToScreen(int x, int y, int sheetW, int sheetH, int& canvasW, int& canvasH)
{
    canvasW = sheetW;
    canvasH = sheetH;
    int roomW = sheetW + 20, roomH = sheetH + 60;
    platform::FitWindowSize(x, y, roomW, roomH);
    roomW = std::max(roomW - 20, 1);
    roomH = std::max(roomH - 60, 1);
    if (sheetW <= roomW && sheetH <= roomH)
        return;
    canvasW = int(std::min<int64_t>(roomW, int64_t(roomH) * sheetW / sheetH));
    canvasW = std::max(canvasW, 1);
    canvasH = std::max(int(int64_t(canvasW) * sheetH / sheetW), 1);
}

// Opens window 69 with its label and a canvas of canvasW x canvasH at the
// outer position (x, y). An open window whose canvas has that size is kept:
// it is moved there, brought forward (restored when minimised) and its label
// emptied, which the user cannot tell from a new window. False when no
// window could be opened.
bool OpenFontViewWindow(int x, int y, int canvasW, int canvasH)
{
    if (platform::IsWindow(obj::FontViewWindow) && platform::ControlWidth(obj::SheetCanvas) == canvasW &&
        platform::ControlHeight(obj::SheetCanvas) == canvasH && platform::IsControl(obj::CodeLabel)) {
        platform::ResizeWindow(obj::FontViewWindow, x, y, canvasW + 20, canvasH + 60);
        platform::ActivateWindow(obj::FontViewWindow);
        platform::SetText(obj::CodeLabel, "");
        return true;
    }
    platform::CloseWindow(obj::FontViewWindow);
    const bool open = platform::OpenWindow(obj::FontViewWindow, x, y, canvasW + 20, canvasH + 60, "Font View",
                                           platform::WindowTitleBar | platform::WindowSystemMenu |
                                               platform::WindowMinimizeBox | platform::WindowSizeable);
    if (open) {
        platform::TextControl(obj::FontViewWindow, obj::CodeLabel, 10, 10, 200, 25, "");
        platform::CanvasControl(obj::FontViewWindow, obj::SheetCanvas, 10, 50, canvasW, canvasH);
    }
    return open;
}

// Every bit of `bytes` as a sheet pixel, white or black, first bit first.
void ExpandBytes(const std::vector<uint8_t>& bytes, std::vector<uint32_t>& stream)
{
    static const auto table = [] {
        std::array<std::array<uint32_t, 8>, 256> t{};
        for (int v = 0; v < 256; ++v)
            for (int j = 0; j < 8; ++j)
                t[size_t(v)][size_t(j)] = (v >> (7 - j)) & 1 ? PixelSet : PixelClear;
        return t;
    }();
    uint32_t* out = stream.data();
    for (const uint8_t b : bytes) {
        std::memcpy(out, table[b].data(), sizeof(uint32_t) * 8);
        out += 8;
    }
}

// The glyph in the editor as the bytes of its bit stream, partial last byte
// included: the sheet shows it as the editor does, stored or not.
void EditedGlyphBytes(const State& s, std::vector<uint8_t>& bytes)
{
    std::fill(bytes.begin(), bytes.end(), uint8_t(0));
    const int W = s.FontWidth;
    for (int64_t bit = 0; bit < int64_t(W) * s.FontHeight; ++bit) {
        const int x = int(bit % W);
        const int y = int(bit / W);
        if (s.Grid.Inside(x, y) && s.Grid(x, y) == 1)
            bytes[size_t(bit >> 3)] |= uint8_t(0x80 >> (bit & 7));
    }
}

std::string Hex2(int value)
{
    static const char digits[] = "0123456789ABCDEF";
    return std::string{digits[(value >> 4) & 15], digits[value & 15]};
}

}  // namespace

void ViewFont(State& s)
{
    const int W = std::max(s.FontWidth, 0);
    const int H = std::max(s.FontHeight, 0);
    const int count = std::max(s.FontCount, 0);
    const int firstColumn = Mod16(s.FontStart);

    // The sheet holds every glyph: when the first row starts late, the last
    // glyphs may need a row more than count / 16 + 1 gives.
    const int p = s.FontHeight <= 24 ? 2 : 1;
    const int64_t rows = std::max<int64_t>(count / 16 + 1, (int64_t(firstColumn) + count + 15) / 16);
    const int64_t sheetW = 16 * (int64_t(W) + 1) * p + 2;
    const int64_t sheetH = rows * (int64_t(H) + 1) * p + 2;
    if (sheetW * sheetH > MaxSheetPixels || !platform::ImageSizeAllowed(sheetW, sheetH)) {
        SheetTooBig();
        return;
    }
    const int SW = int(sheetW);
    const int SH = int(sheetH);

    s.FontViewColumns = 16;
    s.FontViewRows = int32_t(rows);
    s.FontViewPixel = p;
    s.FontViewAspect = float(SW) / float(SH);

    // The window opens anew at the remembered position (moved onto the
    // screen where it would reach past it); a moved window's geometry is not
    // kept here. A sheet too big for the screen is shown scaled down, so
    // that the window's close box stays in reach.
    int canvasW = SW;
    int canvasH = SH;
    FitSheetToScreen(s.FontViewX, s.FontViewY, SW, SH, canvasW, canvasH);
    const bool open = OpenFontViewWindow(s.FontViewX, s.FontViewY, canvasW, canvasH);

    // The sheet is drawn straight from the glyph texts, so `Grid` keeps the
    // glyph in the editor, unstored edits included; that glyph's cell is
    // drawn from `Grid`, as the editor shows it. The sheet is made even when
    // the window did not open, so image 90 always shows the font as it is.
    // An image 90 of the same size is drawn over again.
    platform::Image* kept = platform::GetImage(obj::SheetImage);
    platform::Image& sheet = kept && kept->Width == SW && kept->Height == SH
                                 ? *kept
                                 : platform::CreateImage(obj::SheetImage, SW, SH, SheetGrey);
    if (sheet.Empty()) {  // out of memory
        platform::CloseWindow(obj::FontViewWindow);
        SheetTooBig();
        return;
    }
    if (&sheet == kept) {
        // Grey again: one row filled, copied to the others.
        std::fill_n(sheet.Pixels.begin(), SW, SheetGrey | 0xFF000000u);
        for (int y = 1; y < SH; ++y)
            std::memcpy(sheet.Pixels.data() + size_t(y) * size_t(SW), sheet.Pixels.data(), sizeof(uint32_t) * size_t(SW));
    }

    const int64_t pixels = int64_t(W) * H;
    // A partial last byte still has a token of its own when the text has one.
    std::vector<uint8_t> bytes(size_t((pixels + 7) / 8));
    std::vector<uint32_t> stream(bytes.size() * 8);
    const int cellW = (W + 1) * p;
    const int cellH = (H + 1) * p;
    for (int i = 0; i < count; ++i) {
        const int c = s.FontStart + i;
        if (c == s.CurrentChar)
            EditedGlyphBytes(s, bytes);
        else if (c >= 0 && c < int(s.CharData.size()))
            DecodeGlyphBytes(s.CharData[size_t(c)][1], bytes);
        else
            std::fill(bytes.begin(), bytes.end(), uint8_t(0));
        ExpandBytes(bytes, stream);

        const int k = firstColumn + i;
        uint32_t* cell = sheet.Pixels.data() + size_t(2 + cellH * (k / 16)) * size_t(SW) + size_t(2 + cellW * (k % 16));
        for (int y = 0; y < H; ++y) {
            const uint32_t* row = stream.data() + size_t(y) * size_t(W);
            uint32_t* dest = cell + size_t(y) * size_t(p) * size_t(SW);
            if (p == 1) {
                std::copy_n(row, W, dest);
            } else {
                for (int x = 0; x < W; ++x)
                    dest[2 * x] = dest[2 * x + 1] = row[x];
                std::copy_n(dest, 2 * W, dest + SW);
            }
        }
    }

    if (open) ShowSheet();
}

void PickFontViewCharacter(State& s)
{
    const int mx = s.Event.MouseX;
    const int my = s.Event.MouseY;
    const int w = platform::ControlWidth(obj::SheetCanvas);
    int code = -1;
    if (w > 0) {
        // Proportional over the whole drawn sheet, margins included; the
        // products are held in single precision and truncated toward zero.
        const float fcol = float(16.0 * (double(mx) / double(w)));
        const float frow = float(double(s.FontViewRows) * (double(my) / double(w) * double(s.FontViewAspect)));
        // Out of range, the conversion would be undefined: such a click
        // lies outside every cell anyway.
        if (fcol > -1.0f && fcol < 16.0f && frow > -1.0f && frow < 257.0f)
            code = int(frow) * 16 + int(fcol) + s.FontStart - Mod16(s.FontStart);
    }

    if (code >= s.FontStart && code > 0 && code < s.FontStart + s.FontCount && code < CharTableRows) {
        platform::SetText(obj::CodeLabel, "Chr$(" + std::to_string(code) + "),    Chr$($" + Hex2(code & 255) + ")");
        platform::SetState(obj::CharList, code - s.FontStart);
        SelectCharacter(s);
    } else {
        platform::SetText(obj::CodeLabel, "");
    }
}

void FontViewEvent(State& s)
{
    const platform::Event& e = s.Event;
    if (e.Window != obj::FontViewWindow) return;
    switch (e.Kind) {
    case platform::EventKind::CloseWindow:
        s.FontViewX = platform::WindowX(obj::FontViewWindow);
        s.FontViewY = platform::WindowY(obj::FontViewWindow);
        s.FontViewW = platform::WindowWidth(obj::FontViewWindow);
        s.FontViewH = platform::WindowHeight(obj::FontViewWindow);
        platform::CloseWindow(obj::FontViewWindow);
        break;
    case platform::EventKind::Control:
        if (e.Object != obj::SheetCanvas) break;
        if (e.Type == platform::ControlEvent::LeftClick) {
            PickFontViewCharacter(s);
            platform::ActivateWindow(0);
        } else if (e.Type == platform::ControlEvent::RightClick) {
            SaveFontAsImage(s);
        }
        break;
    case platform::EventKind::SizeWindow:
        // The canvas follows the window (20 pixels spare each way from its
        // fixed position) and the sheet is drawn again over it.
        platform::ResizeControl(obj::SheetCanvas, platform::ControlX(obj::SheetCanvas), platform::ControlY(obj::SheetCanvas),
                                std::max(platform::WindowWidth(obj::FontViewWindow) - 20, 0),
                                std::max(platform::WindowHeight(obj::FontViewWindow) - 20, 0));
        ShowSheet();
        break;
    default:
        break;
    }
}
