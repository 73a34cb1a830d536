// The program's spine: start-up, the main window with its menus and
// shortcuts, the one event loop that serves every window, and the exit.
#include "app/program.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "app/fontview.h"
#include "app/menutable.h"
#include "app/settings.h"
#include "capture/imagecapture.h"
#include "core/recentfiles.h"
#include "core/commands.h"
#include "core/editor.h"
#include "core/fontstore.h"
#include "core/objects.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/text.h"

namespace {

int OpeningSize(int64_t pixels)
{
    return int(std::clamp<int64_t>(pixels, 0, 8000));
}

// The wheel over the editor scrolls it only when the glyph does not fit.
void ScrollEditor(State& s)
{
    int visible = platform::WindowHeight(obj::MainWindow, false) - 94;
    if (visible <= s.FontHeight * s.CellSize) {
        const int64_t y = int64_t(platform::ScrollAreaY(obj::EditorScrollArea)) - 10 * int64_t(s.Event.Wheel);
        platform::SetScrollAreaY(obj::EditorScrollArea, int(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX)));
    }
}

void MainWindowEvent(State& s)
{
    using platform::ControlEvent;
    using platform::EventKind;
    const platform::Event& e = s.Event;
    switch (e.Kind) {
    case EventKind::CloseWindow:
        s.QuitRequested = 1;
        break;
    case EventKind::SizeWindow:
        LayoutMainWindow(s);
        break;
    case EventKind::Menu:
        RunMainMenuItem(s, e.Object);
        break;
    case EventKind::Control:
        switch (e.Object) {
        case obj::EditorCanvas:
            switch (e.Type) {
            case ControlEvent::LeftClick:
                PaintGridCell(s, 1);
                break;
            case ControlEvent::RightClick:
                PaintGridCell(s, 0);
                break;
            case ControlEvent::MouseMove:
                if (e.Buttons & platform::ButtonLeft)
                    PaintGridCell(s, 1);
                if (e.Buttons & platform::ButtonRight)
                    PaintGridCell(s, 0);
                break;
            case ControlEvent::Wheel:
                ScrollEditor(s);
                break;
            default:
                break;
            }
            break;
        case obj::CharList:
            SelectCharacter(s);
            break;
        case obj::RestoreButton:
            RestoreCharacter(s);
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

// Run after every pass: a pending quit stores the edited glyph back and asks
// about unsaved changes. False when the program is to exit.
bool QuitCheck(State& s)
{
    if (s.QuitRequested != 1)
        return true;
    if (s.CurrentChar >= 0)
        StoreBackGlyph(s);
    if (s.Modified == 1 && !AskSaveFirst(s)) {
        // Yes: stay, so that the user can save.
        s.QuitRequested = 0;
        return true;
    }
    return false;
}

}  // namespace

bool ProgramStart(State& s)
{
    // Number format and image codecs: the platform layer keeps a full stop
    // as decimal point; PNG, JPEG and BMP are built in.
    platform::InitGui();

    s.FontWidth = 32;
    s.FontHeight = 50;
    s.CellSize = 10;

    s.CharData.assign(CharTableRows, CharRow{});
    // Labels from the start, so a character added before the first one gets
    // its list text.
    MakeCharLabels(s);
    s.CharWidth.assign(CharTableRows, 0);
    s.Grid.Create(s.FontWidth + 2, s.FontHeight + 2);
    s.ScratchGrid.Create(9, 9);
    s.CodePageTable.assign(CharTableRows, 0);
    s.CodePageFiles.assign(31, std::string());

    s.FontStart = 32;
    s.FontCount = 1;
    s.CurrentChar = -1;
    s.FontName = "untitled";
    s.ThresholdWindow = 0.9f;
    s.ThresholdLevel = 0.02f;
    s.OtherThreshold = 0.45f;
    s.ThresholdMode = 1;

    s.RecentFiles.clear();
    s.TtfFontName = "Arial";
    s.ProgramFolder = platform::ProgramFolder();

    s.FileInfo = MakeDefaultPreamble();
    s.DefaultPreamble = s.FileInfo;

    LoadSettings(s);
    s.Grid.Create(s.FontWidth + 2, s.FontHeight + 2);

    // "Font Scale" is taken as read; the opening size is kept within what a
    // screen can hold, so that a stray value cannot ask for a giant window.
    const int w = OpeningSize(int64_t(s.FontWidth) * s.CellSize);
    const int h = OpeningSize(int64_t(s.FontHeight) * s.CellSize);
    const int style = platform::WindowTitleBar | platform::WindowSystemMenu | platform::WindowSizeable |
                      platform::WindowMinimizeBox;
    if (!platform::OpenWindow(obj::MainWindow, s.MainX, s.MainY, w + 40, h + 70, "Glyphery", style))
        return false;

    platform::ButtonControl(obj::MainWindow, obj::RestoreButton, 180, 8, 50, 25, "Restore");
    platform::ComboBoxControl(obj::MainWindow, obj::CharList, 235, 8, 100, 25);
    platform::TextControl(obj::MainWindow, obj::StatusText, 5, 12, 172, 25, "");
    platform::ScrollAreaControl(obj::MainWindow, obj::EditorScrollArea, 10, 40, w + 25, h + 25, w, h);
    platform::CanvasControl(obj::MainWindow, obj::EditorCanvas, 0, 0, w, h, obj::EditorScrollArea);

    MakeMainMenus();
    ShowRecentFiles(s);
    MakeMainShortcuts();

    // The first font: one blank character at code 32.
    s.FontCount = 0;
    s.FileInfo = s.DefaultPreamble;
    s.CurrentChar = -1;
    platform::ClearItems(obj::CharList);
    platform::SetState(obj::CharList, 0);
    SetupGrid(s);
    AddCharacter(s, 1);

    // The editor is bound to the character it shows, so what the user draws
    // right away is kept like any other edit. Its blank glyph is stored as
    // such, so an untouched start-up font does not count as changed.
    s.CharData[size_t(s.FontStart)][1] = CharToHex(s);
    s.SelectedGlyph = s.CharData[size_t(s.FontStart)][1];
    s.Modified = 0;
    s.CurrentChar = s.FontStart;
    s.ChartFirst = -1;
    s.ChartLast = -1;
    s.QuitRequested = 0;
    return true;
}

void ApplyViewFontRequest(State& s)
{
    const int32_t request = s.ViewFontRequest;
    s.ViewFontRequest = ViewFontNone;
    if (request == ViewFontOpen || (request == ViewFontIfOpen && platform::IsWindow(obj::FontViewWindow)))
        ViewFont(s);
}

bool DispatchEvent(State& s)
{
    // Events of other windows and timeouts do nothing. The binary font
    // window (91) and the TrueType view (103) have no handlers in this
    // program yet.
    switch (s.Event.Window) {
    case obj::BinarySpecsWindow:
        break;
    case obj::RegionThresholdWindow:
        ThresholdWindowEvent(s);
        break;
    case obj::FontViewWindow:
        if (s.Event.Kind != platform::EventKind::None)
            FontViewEvent(s);
        break;
    case obj::MainWindow:
        MainWindowEvent(s);
        break;
    case obj::TtfViewWindow:
    default:
        break;
    }
    // The threshold window does not outlive the glyph size it was made for.
    FollowGlyphSize(s);
    ApplyViewFontRequest(s);
    return QuitCheck(s);
}

bool ProgramPass(State& s)
{
    s.Event = platform::WaitEvent(10);
    return DispatchEvent(s);
}

void ProgramExit(State& s)
{
    if (platform::IsWindow(obj::RegionThresholdWindow))
        CloseThresholdWindow(s);
    if (platform::IsWindow(obj::FontViewWindow)) {
        s.FontViewX = platform::WindowX(obj::FontViewWindow);
        s.FontViewY = platform::WindowY(obj::FontViewWindow);
        s.FontViewW = platform::WindowWidth(obj::FontViewWindow);
        s.FontViewH = platform::WindowHeight(obj::FontViewWindow);
        platform::CloseWindow(obj::FontViewWindow);
    }
    SaveSettings(s);
    platform::Delay(20);
    platform::CloseWindow(obj::MainWindow);
}

void ProgramEnd(State&)
{
    platform::EndGui();
    std::exit(0);
}

void ProgramMain(State& s)
{
    if (ProgramStart(s)) {
        while (ProgramPass(s)) {
        }
    }
    ProgramExit(s);
    ProgramEnd(s);
}
