// The program's spine: start-up, the main window with its menus and
// shortcuts, the one event loop that serves every window, and the exit.
#include "app/program.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "app/fontview.h"
#include "app/settings.h"
#include "core/commands.h"
#include "core/editor.h"
#include "core/fontstore.h"
#include "core/objects.h"
#include "formats/writers.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/text.h"

namespace {

int OpeningSize(int64_t pixels)
{
    return int(std::clamp<int64_t>(pixels, 0, 8000));
}

void MakeMenus()
{
    using namespace platform;
    if (!CreateMenuBar(obj::MainMenuBar, obj::MainWindow))
        return;

    MenuTitle("File");
    MenuItem(17, "Open   ^O");
    OpenSubMenu("&Recent");
    for (int item = obj::FirstRecentItem; item < obj::FirstRecentItem + obj::RecentItems; ++item)
        MenuItem(item, "-");
    CloseSubMenu();
    MenuItem(36, "New");
    MenuItem(37, "Import TTF Font");
    MenuItem(38, "Import FNT Font");
    MenuItem(29, "Save as 8bit C");
    MenuItem(30, "Save as 32bit C");
    MenuItem(31, "Save as BAS");
    MenuItem(32, "Save as BAS (Proportional)");
    MenuItem(33, "Save as FNT (CMM2)");
    MenuItem(35, "Save char as GUI Bitmap string");
    MenuItem(68, "View font   ^A");
    MenuItem(39, "Quit");

    MenuTitle("Font");
    MenuItem(68, "View font   ^A");
    MenuSeparator();
    MenuItem(49, "Add Character   ^N");
    MenuItem(50, "Add Character to beginning   ^Insert");
    MenuItem(51, "Delete last Character   ^X");
    MenuItem(52, "Delete first Character  ^Delete");
    MenuItem(53, "Double Size font   ^2");
    MenuItem(54, "Double Width font  ^W");
    MenuItem(61, "Resize font");
    MenuItem(62, "Centre font");
    MenuItem(63, "Left align font");
    MenuSeparator();
    MenuItem(45, "Shift font Right Alt-Right");
    MenuItem(46, "Shift font Left  Alt-Left");
    MenuItem(47, "Shift font Up    Alt-Up");
    MenuItem(48, "Shift font Down  Alt-Down");

    MenuTitle("Edit");
    MenuItem(9, "Copy            ^C");
    MenuItem(10, "Paste           ^V");
    MenuItem(11, "Restore");
    MenuSeparator();
    MenuItem(41, "Shift Right     ^Right");
    MenuItem(42, "Shift Left      ^Left");
    MenuItem(43, "Shift Up        ^Up");
    MenuItem(44, "Shift Down      ^Down");
    MenuSeparator();
    MenuItem(55, "Flip Right-Left ^M");
    MenuItem(56, "Flip Up-Down    ^H");
    MenuItem(57, "Rotate Right    ^R");
    MenuItem(58, "Rotate Left     ^L");
    MenuSeparator();
    MenuItem(59, "Inverse         ^I");
    MenuItem(66, "Outline         ^E");
    MenuItem(60, "Character from Image");
}

void ShowRecentFiles(const State& s)
{
    int count = std::min<int>(int(s.RecentFiles.size()), obj::RecentItems);
    for (int i = 0; i < count; ++i)
        platform::SetMenuItemText(obj::MainMenuBar, obj::FirstRecentItem + i, platform::Right(s.RecentFiles[size_t(i)], 65));
}

void MakeShortcuts()
{
    using namespace platform;
    const int ctrl = ModControl;
    const int alt = ModAlt;
    AddShortcut(obj::MainWindow, ctrl | KeyRight, 41);
    AddShortcut(obj::MainWindow, ctrl | KeyLeft, 42);
    AddShortcut(obj::MainWindow, ctrl | KeyUp, 43);
    AddShortcut(obj::MainWindow, ctrl | KeyDown, 44);
    AddShortcut(obj::MainWindow, alt | KeyRight, 45);
    AddShortcut(obj::MainWindow, alt | KeyLeft, 46);
    AddShortcut(obj::MainWindow, alt | KeyUp, 47);
    AddShortcut(obj::MainWindow, alt | KeyDown, 48);
    AddShortcut(obj::MainWindow, KeyInsert, 49);
    AddShortcut(obj::MainWindow, ctrl | KeyInsert, 50);
    AddShortcut(obj::MainWindow, KeyDelete, 51);
    AddShortcut(obj::MainWindow, ctrl | KeyDelete, 52);
    AddShortcut(obj::MainWindow, ctrl | 'N', 49);
    AddShortcut(obj::MainWindow, ctrl | 'X', 51);
    AddShortcut(obj::MainWindow, ctrl | '2', 53);
    AddShortcut(obj::MainWindow, ctrl | 'W', 54);
    AddShortcut(obj::MainWindow, ctrl | 'M', 55);
    AddShortcut(obj::MainWindow, ctrl | 'H', 56);
    AddShortcut(obj::MainWindow, ctrl | 'R', 57);
    AddShortcut(obj::MainWindow, ctrl | 'L', 58);
    AddShortcut(obj::MainWindow, ctrl | 'I', 59);
    AddShortcut(obj::MainWindow, ctrl | 'A', 68);
    AddShortcut(obj::MainWindow, ctrl | 'O', 17);
    AddShortcut(obj::MainWindow, ctrl | 'C', 9);
    AddShortcut(obj::MainWindow, ctrl | 'V', 10);
    AddShortcut(obj::MainWindow, ctrl | 'E', 66);
    AddShortcut(obj::MainWindow, KeyRight, 64);
    AddShortcut(obj::MainWindow, KeyLeft, 65);
}

// A menu item or shortcut of the main window.
void MainMenuEvent(State& s, int number)
{
    switch (number) {
    // "File". Opening font files (17, and the recent items 19 to 28), the
    // TrueType import (37) and the Windows .fnt import (38) are not part of
    // this program yet: their items do nothing.
    case 17: break;
    case 36: NewFont(s); break;
    case 37: break;
    case 38: break;
    case 29: SaveFontAs8BitC(s); break;
    case 30: SaveFontAs32BitC(s); break;
    case 31: SaveFontAsBas(s); break;
    case 32: SaveFontAsBasProportional(s); break;
    case 33: SaveFontAsFnt(s); break;
    case 35: SaveCharAsGuiBitmap(s); break;
    case 68: ViewFont(s); break;
    case 39: s.QuitRequested = 1; break;

    // "Font"
    case 49: AddCharacter(s, 1); break;
    case 50:
        // The addition binds the editor to the old first character and puts
        // that character's text back afterwards; store the edited glyph
        // under its own character first so no drawing is lost.
        StoreBackGlyph(s);
        s.CurrentChar = s.FontStart;
        AddCharacter(s, 0);
        break;
    case 51: DeleteCharacter(s, 1); break;
    case 52: DeleteCharacter(s, 0); break;
    case 53: DoubleSizeFont(s); break;
    case 54: DoubleWidthFont(s); break;
    case 61: ResizeFont(s); break;
    case 62: CentreFont(s); break;
    case 63: LeftAlignFont(s); break;
    case 45: ShiftFont(s, 1, 0); break;
    case 46: ShiftFont(s, -1, 0); break;
    case 47: ShiftFont(s, 0, 1); break;
    case 48: ShiftFont(s, 0, -1); break;

    // "Edit"
    case 9: CopyCharacter(s); break;
    case 10: PasteCharacter(s); break;
    case 11: RestoreCharacter(s); break;
    case 41: ShiftCharacter(s, 1, 0); break;
    case 42: ShiftCharacter(s, -1, 0); break;
    case 43: ShiftCharacter(s, 0, 1); break;
    case 44: ShiftCharacter(s, 0, -1); break;
    case 55: FlipRightLeft(s); break;
    case 56: FlipUpDown(s); break;
    case 57: RotateRight(s); break;
    case 58: RotateLeft(s); break;
    case 59: InverseCharacter(s); break;
    case 66: OutlineCharacter(s); break;
    // "Character from Image" (60) is not part of this program yet.
    case 60: break;

    // Shortcuts without a menu item.
    case 64: NextCharacter(s); break;
    case 65: PreviousCharacter(s); break;

    default:
        // The recent items 19 to 28 and unknown numbers: nothing yet.
        break;
    }
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
        MainMenuEvent(s, e.Object);
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

    MakeMenus();
    ShowRecentFiles(s);
    MakeShortcuts();

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

bool DispatchEvent(State& s)
{
    // Events of other windows and timeouts do nothing. The binary font
    // window (91), the image threshold window (81) and the TrueType view
    // (103) have no handlers in this program yet.
    switch (s.Event.Window) {
    case obj::BinarySpecsWindow:
    case obj::RegionThresholdWindow:
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
        platform::CloseWindow(obj::RegionThresholdWindow);
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
