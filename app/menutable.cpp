// The main window's menu table and shortcut table, and the menu bar, the
// shortcuts and the dispatch made from them.
#include "app/menutable.h"

#include <string_view>

#include "app/fontview.h"
#include "capture/imagecapture.h"
#include "capture/ttfview.h"
#include "core/commands.h"
#include "core/editor.h"
#include "core/objects.h"
#include "formats/basfont.h"
#include "formats/cfont.h"
#include "formats/fntimport.h"
#include "formats/guibitmap.h"
#include "formats/openfont.h"
#include "platform/gui.h"

namespace {

using namespace platform;

void Quit(State& s, int) { s.QuitRequested = 1; }

// Items 19 to 28 of "&Recent" open recent files 0 to 9.
void OpenRecentItem(State& s, int number) { OpenRecentFile(s, number - 19); }

// The addition binds the editor to the old first character and puts that
// character's text back afterwards; the edited glyph is stored under its own
// character first so no drawing is lost.
void AddFirstCharacter(State& s, int)
{
    StoreBackGlyph(s);
    s.CurrentChar = s.FontStart;
    AddCharacter(s, 0);
}

#define RUN(call) [](State& s, int) { call; }

const MenuRow Rows[] = {
    {"File", 17, "Open   ^O", RUN(OpenFontFile(s, ""))},
    {"File/&Recent", 19, "-", OpenRecentItem},
    {"File/&Recent", 20, "-", OpenRecentItem},
    {"File/&Recent", 21, "-", OpenRecentItem},
    {"File/&Recent", 22, "-", OpenRecentItem},
    {"File/&Recent", 23, "-", OpenRecentItem},
    {"File/&Recent", 24, "-", OpenRecentItem},
    {"File/&Recent", 25, "-", OpenRecentItem},
    {"File/&Recent", 26, "-", OpenRecentItem},
    {"File/&Recent", 27, "-", OpenRecentItem},
    {"File/&Recent", 28, "-", OpenRecentItem},
    {"File", 36, "New", RUN(NewFont(s))},
    {"File", 37, "Import TTF Font", RUN(ImportTtfFont(s))},
    {"File", 38, "Import FNT Font", RUN(ImportFntFont(s))},
    {"File", 29, "Save as 8bit C", RUN(SaveFontAs8BitC(s))},
    {"File", 30, "Save as 32bit C", RUN(SaveFontAs32BitC(s))},
    {"File", 31, "Save as BAS", RUN(SaveFontAsBas(s))},
    {"File", 32, "Save as BAS (Proportional)", RUN(SaveFontAsBasProportional(s))},
    {"File", 33, "Save as FNT (CMM2)", RUN(SaveFontAsFnt(s))},
    {"File", 35, "Save char as GUI Bitmap string", RUN(SaveCharAsGuiBitmap(s))},
    {"File", 68, "View font   ^A", RUN(ViewFont(s))},
    {"File", 39, "Quit", Quit},

    {"Font", 68, "View font   ^A", RUN(ViewFont(s))},
    {"Font", 0, "", nullptr},
    {"Font", 49, "Add Character   ^N", RUN(AddCharacter(s, 1))},
    {"Font", 50, "Add Character to beginning   ^Insert", AddFirstCharacter},
    {"Font", 51, "Delete last Character   ^X", RUN(DeleteCharacter(s, 1))},
    {"Font", 52, "Delete first Character  ^Delete", RUN(DeleteCharacter(s, 0))},
    {"Font", 53, "Double Size font   ^2", RUN(DoubleSizeFont(s))},
    {"Font", 54, "Double Width font  ^W", RUN(DoubleWidthFont(s))},
    {"Font", 61, "Resize font", RUN(ResizeFont(s))},
    {"Font", 62, "Centre font", RUN(CentreFont(s))},
    {"Font", 63, "Left align font", RUN(LeftAlignFont(s))},
    {"Font", 0, "", nullptr},
    {"Font", 45, "Shift font Right Alt-Right", RUN(ShiftFont(s, 1, 0))},
    {"Font", 46, "Shift font Left  Alt-Left", RUN(ShiftFont(s, -1, 0))},
    {"Font", 47, "Shift font Up    Alt-Up", RUN(ShiftFont(s, 0, 1))},
    {"Font", 48, "Shift font Down  Alt-Down", RUN(ShiftFont(s, 0, -1))},

    {"Edit", 9, "Copy            ^C", RUN(CopyCharacter(s))},
    {"Edit", 10, "Paste           ^V", RUN(PasteCharacter(s))},
    {"Edit", 11, "Restore", RUN(RestoreCharacter(s))},
    {"Edit", 0, "", nullptr},
    {"Edit", 41, "Shift Right     ^Right", RUN(ShiftCharacter(s, 1, 0))},
    {"Edit", 42, "Shift Left      ^Left", RUN(ShiftCharacter(s, -1, 0))},
    {"Edit", 43, "Shift Up        ^Up", RUN(ShiftCharacter(s, 0, 1))},
    {"Edit", 44, "Shift Down      ^Down", RUN(ShiftCharacter(s, 0, -1))},
    {"Edit", 0, "", nullptr},
    {"Edit", 55, "Flip Right-Left ^M", RUN(FlipRightLeft(s))},
    {"Edit", 56, "Flip Up-Down    ^H", RUN(FlipUpDown(s))},
    {"Edit", 57, "Rotate Right    ^R", RUN(RotateRight(s))},
    {"Edit", 58, "Rotate Left     ^L", RUN(RotateLeft(s))},
    {"Edit", 0, "", nullptr},
    {"Edit", 59, "Inverse         ^I", RUN(InverseCharacter(s))},
    {"Edit", 66, "Outline         ^E", RUN(OutlineCharacter(s))},
    {"Edit", 60, "Character from Image", RUN(LoadCharacterImage(s))},

    // Numbers that only a shortcut raises.
    {nullptr, 64, "", RUN(NextCharacter(s))},
    {nullptr, 65, "", RUN(PreviousCharacter(s))},
};

#undef RUN

constexpr int Ctrl = ModControl;
constexpr int Alt = ModAlt;

const ShortcutRow Shortcuts[] = {
    {Ctrl | KeyRight, 41}, {Ctrl | KeyLeft, 42},  {Ctrl | KeyUp, 43},    {Ctrl | KeyDown, 44},
    {Alt | KeyRight, 45},  {Alt | KeyLeft, 46},   {Alt | KeyUp, 47},     {Alt | KeyDown, 48},
    {KeyInsert, 49},       {Ctrl | KeyInsert, 50}, {KeyDelete, 51},      {Ctrl | KeyDelete, 52},
    {Ctrl | 'N', 49},      {Ctrl | 'X', 51},      {Ctrl | '2', 53},      {Ctrl | 'W', 54},
    {Ctrl | 'M', 55},      {Ctrl | 'H', 56},      {Ctrl | 'R', 57},      {Ctrl | 'L', 58},
    {Ctrl | 'I', 59},      {Ctrl | 'A', 68},      {Ctrl | 'O', 17},      {Ctrl | 'C', 9},
    {Ctrl | 'V', 10},      {Ctrl | 'E', 66},      {KeyRight, 64},        {KeyLeft, 65},
};

}  // namespace

std::span<const MenuRow> MainMenuRows() { return Rows; }

std::span<const ShortcutRow> MainShortcutRows() { return Shortcuts; }

void MakeMainMenus()
{
    if (!CreateMenuBar(obj::MainMenuBar, obj::MainWindow))
        return;
    std::string_view menu;     // the title whose menu is being filled
    bool inSubMenu = false;
    for (const MenuRow& row : Rows) {
        if (!row.Place)
            continue;
        const std::string_view place = row.Place;
        const std::string_view title = place.substr(0, place.find('/'));
        const bool sub = title.size() < place.size();
        if (inSubMenu && (!sub || title != menu)) {
            CloseSubMenu();
            inSubMenu = false;
        }
        if (title != menu) {
            MenuTitle(std::string(title));
            menu = title;
        }
        if (sub && !inSubMenu) {
            OpenSubMenu(std::string(place.substr(title.size() + 1)));
            inSubMenu = true;
        }
        if (row.Number == 0)
            MenuSeparator();
        else
            MenuItem(row.Number, row.Text);
    }
    if (inSubMenu)
        CloseSubMenu();
}

void MakeMainShortcuts()
{
    for (const ShortcutRow& shortcut : Shortcuts)
        AddShortcut(obj::MainWindow, shortcut.Key, shortcut.Number);
}

void RunMainMenuItem(State& s, int number)
{
    if (number == 0)
        return;
    for (const MenuRow& row : Rows) {
        if (row.Number == number) {
            if (row.Run)
                row.Run(s, number);
            return;
        }
    }
}
