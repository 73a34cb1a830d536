// The main window's menu items and keyboard shortcuts, written once: the
// menu bar, the shortcuts and the dispatch of menu events are all made from
// these two tables.
#pragma once

#include <span>

#include "core/state.h"

// What a menu number runs; `number` is the item's own number (the recent
// items use it).
using MenuCommand = void (*)(State& s, int number);

struct MenuRow {
    // "File", "Font", "Edit", or "File/&Recent" for the submenu; nullptr for
    // a number that only a shortcut raises.
    const char* Place;
    // 0 for a separator.
    int Number;
    const char* Text;
    // nullptr: the number does nothing.
    MenuCommand Run;
};

struct ShortcutRow {
    int Key;  // platform::Keys code with its modifier bits
    int Number;
};

// In menu order; a number may stand in two places (68 does).
std::span<const MenuRow> MainMenuRows();
// In the order the shortcuts are made.
std::span<const ShortcutRow> MainShortcutRows();

// Builds menu bar 3 on the main window from the table.
void MakeMainMenus();
void MakeMainShortcuts();
// Runs what the first row with that number runs; other numbers do nothing.
void RunMainMenuItem(State& s, int number);
