// The keyboard shortcuts of the main window, pressed on the program's own
// window through Qt's real key path: the shortcut map first, then the widget
// that has the focus. What each menu number does is tested in tests/app.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/qt/gui_qt.h"
#include "platform/requesters.h"
#include "tests/platform/temp_folder.h"

// Qt's own key-press path (shortcut map first), as its test library uses it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

namespace {

using platform::EventKind;

struct Shortcut {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    int number;
};

constexpr Qt::KeyboardModifiers Plain = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers Alt = Qt::AltModifier;

// Every shortcut of the main window with the menu number it raises.
const std::vector<Shortcut> Table = {
    {"Ctrl+Right", Qt::Key_Right, Ctrl, 41},   {"Ctrl+Left", Qt::Key_Left, Ctrl, 42},
    {"Ctrl+Up", Qt::Key_Up, Ctrl, 43},         {"Ctrl+Down", Qt::Key_Down, Ctrl, 44},
    {"Alt+Right", Qt::Key_Right, Alt, 45},     {"Alt+Left", Qt::Key_Left, Alt, 46},
    {"Alt+Up", Qt::Key_Up, Alt, 47},           {"Alt+Down", Qt::Key_Down, Alt, 48},
    {"Insert", Qt::Key_Insert, Plain, 49},     {"Ctrl+Insert", Qt::Key_Insert, Ctrl, 50},
    {"Delete", Qt::Key_Delete, Plain, 51},     {"Ctrl+Delete", Qt::Key_Delete, Ctrl, 52},
    {"Ctrl+N", Qt::Key_N, Ctrl, 49},           {"Ctrl+X", Qt::Key_X, Ctrl, 51},
    {"Ctrl+2", Qt::Key_2, Ctrl, 53},           {"Ctrl+W", Qt::Key_W, Ctrl, 54},
    {"Ctrl+M", Qt::Key_M, Ctrl, 55},           {"Ctrl+H", Qt::Key_H, Ctrl, 56},
    {"Ctrl+R", Qt::Key_R, Ctrl, 57},           {"Ctrl+L", Qt::Key_L, Ctrl, 58},
    {"Ctrl+I", Qt::Key_I, Ctrl, 59},           {"Ctrl+A", Qt::Key_A, Ctrl, 68},
    {"Ctrl+O", Qt::Key_O, Ctrl, 17},           {"Ctrl+C", Qt::Key_C, Ctrl, 9},
    {"Ctrl+V", Qt::Key_V, Ctrl, 10},           {"Ctrl+E", Qt::Key_E, Ctrl, 66},
    {"Right", Qt::Key_Right, Plain, 64},       {"Left", Qt::Key_Left, Plain, 65},
};

class MainShortcuts : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto requesters = std::make_unique<platform::ScriptedRequesters>();
        requesters->OnMissing = [this](const std::string& what) { missing += what + ";"; };
        platform::UseRequesters(std::move(requesters));
        ASSERT_TRUE(ProgramStart(s));
        window = platform::qt::WindowObject(0);
        ASSERT_NE(window, nullptr);
        platform::ActivateWindow(0);
        // A window manager, if there is one, answers in its own time.
        for (int i = 0; i < 100 && QApplication::activeWindow() != window; i++)
            platform::WaitEvent(10);
        ASSERT_EQ(QApplication::activeWindow(), window);
        Raised();
    }
    void TearDown() override
    {
        if (platform::IsWindow(0))
            ProgramExit(s);
        platform::UseRequesters(std::make_unique<platform::ScriptedRequesters>());
    }

    // A key press as the platform delivers it: to the widget with the focus
    // (the window when none has it), the shortcut map having the first say.
    void Press(int key, Qt::KeyboardModifiers modifiers)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        if (qt_sendShortcutOverrideEvent(target, 0, key, modifiers))
            return;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString());
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString());
        QApplication::sendEvent(target, &release);
    }

    // Everything in the queue (taken out), as "menu N of window W" and
    // "control N" texts.
    static std::string Raised()
    {
        QCoreApplication::processEvents();
        std::string raised;
        for (platform::Event e = platform::WaitEvent(0); e.Kind != EventKind::None; e = platform::WaitEvent(0)) {
            if (!raised.empty())
                raised += ", ";
            if (e.Kind == EventKind::Menu)
                raised += "menu " + std::to_string(e.Object) + " of window " + std::to_string(e.Window);
            else
                raised += e.Kind == EventKind::Control ? "control " + std::to_string(e.Object) : "other event";
        }
        return raised;
    }

    void Focus(int control)
    {
        QWidget* widget = platform::qt::ControlObject(control);
        ASSERT_NE(widget, nullptr);
        widget->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), widget);
        Raised();
    }

    TempFolder folder{true};  // the settings file of the start-up lands here
    State s;
    QWidget* window = nullptr;
    std::string missing;
};

TEST_F(MainShortcuts, EveryKeyOfTheTableRaisesItsMenuNumber)
{
    // Whichever control of the main window has the focus: the list, the
    // canvas or the Restore button.
    for (int control : {12, 1, 11}) {
        Focus(control);
        for (const Shortcut& shortcut : Table) {
            SCOPED_TRACE(std::string(shortcut.name) + " with control " + std::to_string(control) + " focused");
            Press(shortcut.key, shortcut.modifiers);
            EXPECT_EQ(Raised(), "menu " + std::to_string(shortcut.number) + " of window 0");
        }
    }
    EXPECT_EQ(missing, "");
}

TEST_F(MainShortcuts, ArrowsStepThroughTheListAndOtherKeysStillReachIt)
{
    // Three characters, 32 to 34, the last one selected.
    for (int i = 0; i < 2; i++) {
        Press(Qt::Key_Insert, Plain);
        QCoreApplication::processEvents();
        ASSERT_TRUE(ProgramPass(s));
    }
    ASSERT_EQ(s.CurrentChar, 34);

    // The arrow runs through the program's loop once, with the list focused.
    Focus(12);
    Press(Qt::Key_Left, Plain);
    QCoreApplication::processEvents();
    ASSERT_TRUE(ProgramPass(s));
    EXPECT_EQ(s.CurrentChar, 33);
    EXPECT_EQ(platform::GetState(12), 1);
    EXPECT_EQ(Raised(), "");

    // Keys that are no shortcut still reach the list: Up moves its selection.
    Press(Qt::Key_Up, Plain);
    EXPECT_EQ(Raised(), "control 12");
    EXPECT_EQ(platform::GetState(12), 0);
    EXPECT_EQ(missing, "");
}

}  // namespace
