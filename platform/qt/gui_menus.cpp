// Menu bars, menu items and keyboard shortcuts on Qt Widgets.
#include "platform/qt/gui_registry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QShortcut>

// Qt's own key-press path (the shortcut map first), as its test library
// delivers keys.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

namespace platform {

using qt::ForgetMenuBar;
using qt::ForgetMenuBarsOf;
using qt::MenuBarRecord;
using qt::Q;
using qt::Registry;
using qt::U;

namespace {

void ReportMenu(int window, int number)
{
    Event event;
    event.Kind = EventKind::Menu;
    event.Window = window;
    event.Object = number;
    qt::PushEvent(event);
}

// Our key codes to Qt's; 0 when the key has no Qt equivalent.
int QtKey(int key)
{
    int code = key & 0xFFFF;
    switch (code) {
    case KeyLeft: return Qt::Key_Left;
    case KeyRight: return Qt::Key_Right;
    case KeyUp: return Qt::Key_Up;
    case KeyDown: return Qt::Key_Down;
    case KeyInsert: return Qt::Key_Insert;
    case KeyDelete: return Qt::Key_Delete;
    case KeyReturn: return Qt::Key_Return;
    case KeyEscape: return Qt::Key_Escape;
    case KeyHome: return Qt::Key_Home;
    case KeyEnd: return Qt::Key_End;
    case KeyPageUp: return Qt::Key_PageUp;
    case KeyPageDown: return Qt::Key_PageDown;
    default: break;
    }
    if (code >= 'a' && code <= 'z')
        code -= 'a' - 'A';
    if (code > 0x20 && code < 0x7F)
        return code;  // Qt's codes of printable ASCII keys are the characters
    if (code == 0x20)
        return Qt::Key_Space;
    return 0;
}

Qt::KeyboardModifiers QtModifiers(int key)
{
    Qt::KeyboardModifiers modifiers;
    if (key & ModShift)
        modifiers |= Qt::ShiftModifier;
    if (key & ModControl)
        modifiers |= Qt::ControlModifier;
    if (key & ModAlt)
        modifiers |= Qt::AltModifier;
    return modifiers;
}

QAction* AddMenuAction(QWidget* menu, MenuBarRecord& record, int item, const std::string& text)
{
    auto* action = new QAction(Q(text), menu);
    menu->addAction(action);
    int window = record.Window;
    QObject::connect(action, &QAction::triggered, action, [window, item] { ReportMenu(window, item); });
    record.Items.emplace_back(item, action);
    return action;
}

}  // namespace

// ---------------------------------------------------------------------------
// Internals shared with the other units and the tests

namespace qt {

void ForgetMenuBar(int menuBar)
{
    qt::GuiRegistry& gui = Registry();
    auto it = gui.MenuBars.find(menuBar);
    if (it == gui.MenuBars.end())
        return;
    if (gui.BuildBar == menuBar) {
        gui.BuildBar = -1;
        gui.MenuStack.clear();
    }
    gui.MenuBars.erase(it);
}

void ForgetMenuBarsOf(int window)
{
    std::vector<int> onWindow;
    for (auto& [number, record] : Registry().MenuBars)
        if (record.Window == window)
            onWindow.push_back(number);
    for (int number : onWindow)
        ForgetMenuBar(number);
}

QAction* MenuItemAction(int menuBar, int item)
{
    qt::GuiRegistry& gui = Registry();
    auto it = gui.MenuBars.find(menuBar);
    if (it == gui.MenuBars.end())
        return nullptr;
    for (auto& [number, action] : it->second.Items)
        if (number == item && action)
            return action.data();
    return nullptr;
}

}  // namespace qt

// ---------------------------------------------------------------------------
// Menus and shortcuts

bool CreateMenuBar(int menuBar, int window)
{
    qt::GuiRegistry& gui = Registry();
    qt::WindowWidget* win = qt::FindWindow(window);
    if (!win)
        return false;
    // One bar per number and one per window: the old ones go.
    auto old = gui.MenuBars.find(menuBar);
    if (old != gui.MenuBars.end()) {
        QPointer<QMenuBar> bar = old->second.Bar;
        ForgetMenuBar(menuBar);
        for (auto& [number, other] : gui.Windows)
            if (other && other->Bar == bar.data())
                other->Bar = nullptr;
        delete bar.data();
    }
    ForgetMenuBarsOf(window);
    const QPoint at = win->OuterPosition();
    int innerWidth = win->Client->width(), innerHeight = win->Client->height();
    delete win->Bar;
    auto* bar = new QMenuBar(win);
    bar->setNativeMenuBar(false);
    win->Bar = bar;
    bar->show();
    // The window grows by the bar: the inner size stays.
    ResizeWindow(window, at.x(), at.y(), innerWidth, innerHeight);
    gui.MenuBars[menuBar] = MenuBarRecord{window, bar, {}};
    gui.BuildBar = menuBar;
    gui.MenuStack.clear();
    return true;
}

void MenuTitle(const std::string& title)
{
    qt::GuiRegistry& gui = Registry();
    auto it = gui.MenuBars.find(gui.BuildBar);
    if (it == gui.MenuBars.end() || !it->second.Bar)
        return;
    gui.MenuStack.clear();
    gui.MenuStack.push_back(it->second.Bar->addMenu(Q(title)));
}

void MenuItem(int item, const std::string& text)
{
    qt::GuiRegistry& gui = Registry();
    auto it = gui.MenuBars.find(gui.BuildBar);
    if (it == gui.MenuBars.end() || !it->second.Bar)
        return;
    QWidget* menu = it->second.Bar.data();
    if (!gui.MenuStack.empty() && gui.MenuStack.back())
        menu = gui.MenuStack.back().data();
    AddMenuAction(menu, it->second, item, text);
}

void MenuSeparator()
{
    auto& menus = Registry().MenuStack;
    if (!menus.empty() && menus.back())
        menus.back()->addSeparator();
}

void OpenSubMenu(const std::string& title)
{
    auto& menus = Registry().MenuStack;
    if (menus.empty() || !menus.back())
        return;
    menus.push_back(menus.back()->addMenu(Q(title)));
}

void CloseSubMenu()
{
    auto& menus = Registry().MenuStack;
    if (menus.size() > 1)
        menus.pop_back();
}

void SetMenuItemText(int menuBar, int item, const std::string& text)
{
    qt::GuiRegistry& gui = Registry();
    auto it = gui.MenuBars.find(menuBar);
    if (it == gui.MenuBars.end())
        return;
    for (auto& [number, action] : it->second.Items)
        if (number == item && action)
            action->setText(Q(text));
}

std::string GetMenuItemText(int menuBar, int item)
{
    QAction* action = qt::MenuItemAction(menuBar, item);
    return action ? U(action->text()) : std::string();
}

void AddShortcut(int window, int key, int number)
{
    qt::WindowWidget* win = qt::FindWindow(window);
    int code = QtKey(key);
    if (!win || code == 0)
        return;
    // 'a' and 'A' name the same key: one binding for both.
    int binding = (key & (ModShift | ModControl | ModAlt)) | code;
    auto old = win->Shortcuts.find(binding);
    if (old != win->Shortcuts.end()) {
        delete old->second;
        win->Shortcuts.erase(old);
    }
    auto* shortcut = new QShortcut(QKeySequence(QKeyCombination(QtModifiers(key), Qt::Key(code))), win);
    shortcut->setContext(Qt::WindowShortcut);
    auto raise = [window, number] { ReportMenu(window, number); };
    QObject::connect(shortcut, &QShortcut::activated, shortcut, raise);
    QObject::connect(shortcut, &QShortcut::activatedAmbiguously, shortcut, raise);
    win->Shortcuts[binding] = shortcut;
}

void PressKey(int window, int key)
{
    qt::WindowWidget* win = qt::FindWindow(window);
    const int code = QtKey(key);
    if (!win || code == 0)
        return;
    qt::ShowDueWindows();
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus && focus->window() == win ? focus : win;
    const Qt::KeyboardModifiers modifiers = QtModifiers(key);
    // A plain printable key also types its character.
    QString text;
    const int ascii = key & 0xFFFF;
    if (!(key & (ModControl | ModAlt)) && ascii >= 0x20 && ascii < 0x7F)
        text = QString(QChar(ascii));
    if (qt_sendShortcutOverrideEvent(target, 0, code, modifiers, text))
        return;
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(target, &release);
}

}  // namespace platform
