// Character from Image: the menu command, the threshold window with its key
// handlers, and the copy into the editor grid.
#include "capture/imagecapture.h"

#include <algorithm>
#include <string>
#include <utility>

#include "capture/threshold.h"
#include "core/editor.h"
#include "core/objects.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"

namespace {

// The shortcuts of window 81.
enum ThresholdKey {
    LevelUp = 84,     // Right
    LevelDown = 85,   // Left
    WindowUp = 86,    // Up
    WindowDown = 87,  // Down
    SwapMode = 88,    // Space
    CopyToGrid = 89,  // Return
};

// Loads the picture into image `number` and makes the preview (2W x 2H) and,
// from the preview, the picture at glyph size (W x H). False when the file
// is no picture we can read or the images cannot be held.
bool ReadPicture(int number, const std::string& path, int w, int h, platform::Image& preview,
                 platform::Image& glyph)
{
    if (!platform::LoadImage(number, path))
        return false;
    platform::Image* picture = platform::GetImage(number);
    preview = platform::ResizeSmooth(*picture, 2 * w, 2 * h);
    *picture = platform::Image();
    if (preview.Empty())
        return false;
    glyph = platform::ResizeSmooth(preview, w, h);
    return !glyph.Empty();
}

// A threshold setting one step up or down: widened to double, stepped there
// and stored back in single precision.
float Stepped(float value, double step)
{
    return float(double(value) + step);
}

// Enlarges the top-left w x h of `out` two times in place. Bottom-right
// first, so that every pixel is read before a block covers it.
void EnlargeTwice(platform::Image& out, int w, int h)
{
    auto put = [&out](int x, int y, platform::Rgb c) {
        if (x < out.Width && y < out.Height)
            out.Set(x, y, c);
    };
    for (int y = std::min(h, out.Height) - 1; y >= 0; y--) {
        for (int x = std::min(w, out.Width) - 1; x >= 0; x--) {
            const platform::Rgb c = out.Get(x, y) == 0 ? 0x000000 : 0xFFFFFF;
            put(2 * x, 2 * y, c);
            put(2 * x, 2 * y + 1, c);
            put(2 * x + 1, 2 * y, c);
            put(2 * x + 1, 2 * y + 1, c);
        }
    }
}

}  // namespace

void LoadCharacterImage(State& s)
{
    s.ImagePath = platform::Ask().OpenFile("Image", "", "Image File|*.bmp;*.jpg;*.png|All files (*.*)|*.*", 0);
    if (s.ImagePath.empty())
        return;
    // The window in use goes with its picture, whether the new one loads or not.
    CloseThresholdWindow(s);

    const int w = s.FontWidth, h = s.FontHeight;
    const int number = platform::UnusedImageNumber();
    platform::Image preview, glyph;
    if (!ReadPicture(number, s.ImagePath, w, h, preview, glyph)) {
        platform::FreeImage(number);
        platform::Ask().Message("Oops!", "Could not read the image " + s.ImagePath, platform::MessageButtons::Ok);
        return;
    }
    const int style = platform::WindowTitleBar | platform::WindowSystemMenu | platform::WindowCentered;
    const int width = w > 99 ? 4 * w : 400;
    if (!platform::OpenWindow(obj::RegionThresholdWindow, 0, 0, width, 2 * h, "Region threshold", style)) {
        platform::FreeImage(number);
        return;
    }
    s.ImageNumber = number;
    s.ThresholdGlyphWidth = w;
    s.ThresholdGlyphHeight = h;
    platform::CanvasControl(obj::RegionThresholdWindow, obj::PreviewCanvas, 0, 0, 2 * w, 2 * h);
    platform::CanvasControl(obj::RegionThresholdWindow, obj::ResultCanvas, 2 * w, 0, 2 * w, 2 * h);
    platform::AddShortcut(obj::RegionThresholdWindow, platform::KeyRight, LevelUp);
    platform::AddShortcut(obj::RegionThresholdWindow, platform::KeyLeft, LevelDown);
    platform::AddShortcut(obj::RegionThresholdWindow, platform::KeyUp, WindowUp);
    platform::AddShortcut(obj::RegionThresholdWindow, platform::KeyDown, WindowDown);
    platform::AddShortcut(obj::RegionThresholdWindow, ' ', SwapMode);
    platform::AddShortcut(obj::RegionThresholdWindow, platform::KeyReturn, CopyToGrid);

    *platform::GetImage(number) = std::move(preview);
    platform::SetCanvasImage(obj::PreviewCanvas, number);
    // The picture at glyph size stays for the life of the window.
    *platform::GetImage(number) = std::move(glyph);
    platform::SetCanvasImage(obj::ResultCanvas, number);
    ShowThreshold(s, s.ThresholdLevel, s.ThresholdWindow, s.ThresholdMode);
}

void ShowThreshold(State& s, float level, float window, int32_t mode)
{
    platform::HideControl(obj::ResultCanvas, true);
    platform::SetCanvasImage(obj::ResultCanvas, s.ImageNumber);
    ThresholdImage(obj::ResultCanvas, level, window, mode);
    if (platform::StartDrawingCanvas(obj::ResultCanvas)) {
        if (platform::Image* out = platform::DrawingOutput())
            EnlargeTwice(*out, s.ThresholdGlyphWidth, s.ThresholdGlyphHeight);
        platform::StopDrawing();
    }
    platform::HideControl(obj::ResultCanvas, false);
}

void CharacterFromImage(State& s)
{
    // Canvases of another glyph size have nothing to give.
    if (s.FontWidth != s.ThresholdGlyphWidth || s.FontHeight != s.ThresholdGlyphHeight)
        return;
    if (!platform::StartDrawingCanvas(obj::ResultCanvas))
        return;
    for (int y = 0; y < s.FontHeight; y++)
        for (int x = 0; x < s.FontWidth; x++)
            s.Grid(x, y) = platform::Point(2 * x, 2 * y) == 0 ? 0 : 1;
    platform::StopDrawing();
    PaintGrid(s);
}

void ThresholdWindowEvent(State& s)
{
    switch (s.Event.Kind) {
    case platform::EventKind::CloseWindow:
        CloseThresholdWindow(s);
        return;
    case platform::EventKind::Menu:
        break;
    default:
        return;
    }
    FollowGlyphSize(s);
    if (!platform::IsWindow(obj::RegionThresholdWindow))
        return;
    switch (s.Event.Object) {
    case LevelUp:
        s.ThresholdLevel = Stepped(s.ThresholdLevel, 0.01);
        if (s.ThresholdLevel > 1.0f)
            s.ThresholdLevel = 1.0f;
        break;
    case LevelDown:
        s.ThresholdLevel = Stepped(s.ThresholdLevel, -0.01);
        if (s.ThresholdLevel < 0.0f)
            s.ThresholdLevel = 0.0f;
        break;
    case WindowUp:
        if (s.ThresholdMode != 1)
            return;
        s.ThresholdWindow = Stepped(s.ThresholdWindow, 0.01);
        if (s.ThresholdWindow > 1.0f)
            s.ThresholdWindow = 1.0f;
        break;
    case WindowDown:
        if (s.ThresholdMode != 1)
            return;
        s.ThresholdWindow = Stepped(s.ThresholdWindow, -0.01);
        if (s.ThresholdWindow < 0.0f)
            s.ThresholdWindow = 0.0f;
        break;
    case SwapMode:
        std::swap(s.ThresholdLevel, s.OtherThreshold);
        s.ThresholdMode = 1 - s.ThresholdMode;
        platform::SetWindowTitle(obj::RegionThresholdWindow,
                                 s.ThresholdMode == 1 ? "Region Threshold" : "Threshold");
        break;
    case CopyToGrid:
        CharacterFromImage(s);
        return;
    default:
        return;
    }
    ShowThreshold(s, s.ThresholdLevel, s.ThresholdWindow, s.ThresholdMode);
}

void CloseThresholdWindow(State& s)
{
    platform::CloseWindow(obj::RegionThresholdWindow);
    if (s.ImageNumber >= 0)
        platform::FreeImage(s.ImageNumber);
    s.ImageNumber = -1;
    s.ThresholdGlyphWidth = 0;
    s.ThresholdGlyphHeight = 0;
}

void FollowGlyphSize(State& s)
{
    const bool open = platform::IsWindow(obj::RegionThresholdWindow);
    if (open && s.FontWidth == s.ThresholdGlyphWidth && s.FontHeight == s.ThresholdGlyphHeight)
        return;
    if (open || s.ImageNumber >= 0)
        CloseThresholdWindow(s);
}
