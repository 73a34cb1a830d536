// What the window, control and menu units of the GUI layer share: the
// windows, controls and menu bars that exist under which numbers, the menu
// being built and the event queue. Only those units include this.
#pragma once

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/gui_qt.h"

namespace platform::qt {

struct ControlRecord {
    QPointer<QWidget> Widget;
    int Window = -1;
    int Parent = -1;  // scroll area holding it, -1 for the window
    ControlKind Kind = ControlKind::Button;
};

struct MenuBarRecord {
    int Window = -1;
    QPointer<QMenuBar> Bar;
    std::vector<std::pair<int, QPointer<QAction>>> Items;
};

struct GuiRegistry {
    QApplication* App = nullptr;
    bool OwnApp = false;
    std::map<int, QPointer<WindowWidget>> Windows;
    std::map<int, ControlRecord> Controls;
    std::map<int, MenuBarRecord> MenuBars;
    // The menu bar being built and its open menus, innermost last.
    int BuildBar = -1;
    std::vector<QPointer<QMenu>> MenuStack;

    std::deque<Event> Queue;
    QEventLoop* WaitLoop = nullptr;  // the wait in progress, if any

    // The frame the platform gives a window before it is shown (none when
    // a window manager frames it later), once asked (gui_placement.cpp).
    std::optional<QMargins> NewWindowFrame;
};

// The one registry of the process.
GuiRegistry& Registry();

WindowWidget* FindWindow(int window);
// Null when there is no control of that number or its widget went away.
ControlRecord* FindControl(int control);

template <class T>
T* ControlAs(int control, ControlKind kind)
{
    ControlRecord* record = FindControl(control);
    if (!record || record->Kind != kind)
        return nullptr;
    return static_cast<T*>(record->Widget.data());
}

// Forgets the controls of a window (their widgets go with the window).
void ForgetControlsOf(int window);
void ForgetMenuBar(int menuBar);
void ForgetMenuBarsOf(int window);

}  // namespace platform::qt
