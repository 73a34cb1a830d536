// The keyboard shortcuts of the main window, pressed on the program's own
// window through Qt's real key path: the shortcut map first, then the widget
// that has the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/qt/gui_qt.h"
#include "platform/requesters.h"

// Qt's own key-press path (shortcut map first), as its test library uses it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

namespace {

namespace fs = std::filesystem;
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
        // The settings file of the start-up lands in a folder of its own.
        old_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "glyphery-shortcuts-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::current_path(dir_);
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
        Drain();
    }

    void TearDown() override
    {
        if (platform::IsWindow(0))
            ProgramExit(s);
        platform::UseRequesters(std::make_unique<platform::ScriptedRequesters>());
        fs::current_path(old_);
        std::error_code error;
        fs::remove_all(dir_, error);
    }

    static void Drain()
    {
        QCoreApplication::processEvents();
        while (platform::WaitEvent(0).Kind != EventKind::None) {
        }
    }

    // A key press as the platform delivers it: to the widget with the focus
    // (the window when none has it), the shortcut map having the first say.
    void Press(int key, Qt::KeyboardModifiers modifiers)
    {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = window;
        if (qt_sendShortcutOverrideEvent(target, 0, key, modifiers))
            return;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString());
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString());
        QApplication::sendEvent(target, &release);
    }

    // Everything the key put in the queue, as "menu N" and "control N" texts.
    std::string Raised(int key, Qt::KeyboardModifiers modifiers)
    {
        Press(key, modifiers);
        QCoreApplication::processEvents();
        std::string raised;
        for (platform::Event e = platform::WaitEvent(0); e.Kind != EventKind::None; e = platform::WaitEvent(0)) {
            if (!raised.empty())
                raised += ", ";
            if (e.Kind == EventKind::Menu)
                raised += "menu " + std::to_string(e.Object) + " of window " + std::to_string(e.Window);
            else if (e.Kind == EventKind::Control)
                raised += "control " + std::to_string(e.Object);
            else
                raised += "other event";
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
        Drain();
    }

    // Presses the key and runs one pass of the program's loop on what it
    // raised.
    void PressAndRun(int key, Qt::KeyboardModifiers modifiers)
    {
        Press(key, modifiers);
        QCoreApplication::processEvents();
        ASSERT_TRUE(ProgramPass(s));
    }

    State s;
    QWidget* window = nullptr;
    std::string missing;
    fs::path old_;
    fs::path dir_;
};

TEST_F(MainShortcuts, EveryKeyOfTheTableRaisesItsMenuNumber)
{
    // Whichever control of the main window has the focus: the list, the
    // canvas or the Restore button.
    for (int control : {12, 1, 11}) {
        Focus(control);
        for (const Shortcut& shortcut : Table) {
            SCOPED_TRACE(std::string(shortcut.name) + " with control " + std::to_string(control) + " focused");
            EXPECT_EQ(Raised(shortcut.key, shortcut.modifiers),
                      "menu " + std::to_string(shortcut.number) + " of window 0");
        }
    }
    EXPECT_EQ(missing, "");
}

TEST_F(MainShortcuts, ArrowsStepThroughTheListWhateverHasTheFocus)
{
    // Three characters, 32 to 34, the last one selected.
    PressAndRun(Qt::Key_Insert, Plain);
    PressAndRun(Qt::Key_Insert, Plain);
    ASSERT_EQ(s.FontCount, 3);
    ASSERT_EQ(s.CurrentChar, 34);

    // The list, the canvas and the Restore button.
    for (int control : {12, 1, 11}) {
        SCOPED_TRACE("control " + std::to_string(control) + " has the focus");
        Focus(control);
        EXPECT_EQ(Raised(Qt::Key_Left, Plain), "menu 65 of window 0");
        EXPECT_EQ(Raised(Qt::Key_Right, Plain), "menu 64 of window 0");
        EXPECT_EQ(Raised(Qt::Key_Up, Ctrl), "menu 43 of window 0");
        EXPECT_EQ(Raised(Qt::Key_Down, Alt), "menu 48 of window 0");

        PressAndRun(Qt::Key_Left, Plain);
        EXPECT_EQ(s.CurrentChar, 33);
        EXPECT_EQ(platform::GetState(12), 1);
        PressAndRun(Qt::Key_Left, Plain);
        EXPECT_EQ(s.CurrentChar, 32);
        PressAndRun(Qt::Key_Right, Plain);
        PressAndRun(Qt::Key_Right, Plain);
        EXPECT_EQ(s.CurrentChar, 34);
        EXPECT_EQ(platform::GetState(12), 2);
        Drain();
    }

    // Keys that are no shortcut still reach the list: Up moves its selection.
    Focus(12);
    EXPECT_EQ(Raised(Qt::Key_Up, Plain), "control 12");
    EXPECT_EQ(platform::GetState(12), 1);
    EXPECT_EQ(missing, "");
}

TEST_F(MainShortcuts, InsertAndDeleteActAtTheEndCtrlAtTheBeginning)
{
    // Insert adds code 33 after the start-up character 32.
    PressAndRun(Qt::Key_Insert, Plain);
    EXPECT_EQ(s.FontStart, 32);
    EXPECT_EQ(s.FontCount, 2);
    EXPECT_EQ(s.CurrentChar, 33);
    // Ctrl+Insert adds code 31 before it.
    PressAndRun(Qt::Key_Insert, Ctrl);
    EXPECT_EQ(s.FontStart, 31);
    EXPECT_EQ(s.FontCount, 3);
    EXPECT_EQ(s.CurrentChar, 31);
    EXPECT_EQ(platform::CountItems(12), 3);
    EXPECT_EQ(platform::GetState(12), 0);
    EXPECT_EQ(platform::GetItemText(12, 1), "Chr$(32)   ");
    // Delete removes the last one (33), Ctrl+Delete the first one (31).
    PressAndRun(Qt::Key_Delete, Plain);
    EXPECT_EQ(s.FontStart, 31);
    EXPECT_EQ(s.FontCount, 2);
    PressAndRun(Qt::Key_Delete, Ctrl);
    EXPECT_EQ(s.FontStart, 32);
    EXPECT_EQ(s.FontCount, 1);
    EXPECT_EQ(platform::CountItems(12), 1);
    EXPECT_EQ(platform::GetItemText(12, 0), "Chr$(32)   ");
    EXPECT_EQ(missing, "");
}

}  // namespace
