// Start and end of the GUI layer, windows and the event queue on Qt Widgets.
#include "platform/qt/gui_registry.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>

#include <clocale>
#include <cstdlib>

namespace platform {

using qt::FindWindow;
using qt::ForgetControlsOf;
using qt::ForgetMenuBarsOf;
using qt::Q;
using qt::Registry;
using qt::U;

namespace {

QtMessageHandler g_qtMessages = nullptr;

// The offscreen platform (tests, the driver) reports every window feature it
// lacks; those reports are noise. Everything else goes where it went before.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (g_qtMessages)
        g_qtMessages(type, context, message);
}

}  // namespace

// ---------------------------------------------------------------------------
// The registry and the internals shared with the other units and the tests

namespace qt {

GuiRegistry& Registry()
{
    static GuiRegistry registry;
    return registry;
}

WindowWidget* FindWindow(int window)
{
    auto it = Registry().Windows.find(window);
    return it == Registry().Windows.end() ? nullptr : it->second.data();
}

void PushEvent(const Event& event)
{
    qt::GuiRegistry& gui = Registry();
    gui.Queue.push_back(event);
    if (gui.WaitLoop)
        gui.WaitLoop->quit();
}

QWidget* WindowObject(int window) { return FindWindow(window); }

}  // namespace qt

// ---------------------------------------------------------------------------
// Start and end

bool InitGui()
{
    qt::GuiRegistry& gui = Registry();
    if (gui.App)
        return true;
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        gui.App = existing;
        gui.OwnApp = false;
    } else {
        if (QCoreApplication::instance())
            return false;  // a non-GUI application object is in the way
        auto set = [](const char* name) {
            const char* value = std::getenv(name);
            return value && *value;
        };
        // Qt aborts the process when it cannot reach a display; say no instead.
        if (!set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY"))
            return false;
        if (!g_qtMessages)
            g_qtMessages = qInstallMessageHandler(FilterQtMessages);
        static int argc = 1;
        static char name[] = "glyphery";
        static char* argv[] = {name, nullptr};
        gui.App = new QApplication(argc, argv);
        gui.OwnApp = true;
    }
    // Qt set the user's locale; numbers keep a full stop as decimal point.
    std::setlocale(LC_NUMERIC, "C");
    gui.App->setQuitOnLastWindowClosed(false);
    // Controls are laid out at fixed pixel places with room for a compact
    // dialog font; the desktop's larger default would cut their texts.
    if (gui.OwnApp) {
        QFont controls("Liberation Sans");
        controls.setPixelSize(11);
        gui.App->setFont(controls);
    }
    return true;
}

void EndGui()
{
    qt::GuiRegistry& gui = Registry();
    if (!gui.App)
        return;
    qt::EndDrawing();
    gui.MenuBars.clear();
    gui.BuildBar = -1;
    gui.MenuStack.clear();
    gui.Controls.clear();
    while (!gui.Windows.empty())
        CloseWindow(gui.Windows.begin()->first);
    gui.Queue.clear();
    gui.NewWindowFrame.reset();
    if (gui.OwnApp) {
        // The clipboard's text stays for other programs where the system allows.
        delete gui.App;
        std::setlocale(LC_NUMERIC, "C");
    }
    gui.App = nullptr;
    gui.OwnApp = false;
}

bool GuiRunning() { return Registry().App != nullptr; }

// ---------------------------------------------------------------------------
// Windows

bool OpenWindow(int window, int x, int y, int innerWidth, int innerHeight, const std::string& title, int flags)
{
    if (!GuiRunning())
        return false;
    CloseWindow(window);
    auto* win = new qt::WindowWidget(window, flags);
    win->setWindowTitle(Q(title));
    Registry().Windows[window] = win;
    // The whole window opens on the screen: a window saved where no screen
    // is now, or reaching past the screen's edge, is moved onto it.
    win->Place(QPoint(x, y), innerWidth, innerHeight,
               (flags & WindowCentered) ? qt::PlaceFrom::Centre : qt::PlaceFrom::NewPlace);
    win->ShowSoon();
    return true;
}

bool IsWindow(int window) { return FindWindow(window) != nullptr; }

void CloseWindow(int window)
{
    qt::GuiRegistry& gui = Registry();
    auto it = gui.Windows.find(window);
    if (it == gui.Windows.end())
        return;
    QPointer<qt::WindowWidget> win = it->second;
    gui.Windows.erase(it);
    ForgetControlsOf(window);
    ForgetMenuBarsOf(window);
    delete win.data();
}

void SetWindowTitle(int window, const std::string& title)
{
    if (auto* win = FindWindow(window))
        win->setWindowTitle(Q(title));
}

std::string GetWindowTitle(int window)
{
    auto* win = FindWindow(window);
    return win ? U(win->windowTitle()) : std::string();
}

int WindowX(int window)
{
    auto* win = FindWindow(window);
    if (!win)
        return 0;
    return win->OuterPosition().x();
}

int WindowY(int window)
{
    auto* win = FindWindow(window);
    if (!win)
        return 0;
    return win->OuterPosition().y();
}

int WindowWidth(int window, bool inner)
{
    auto* win = FindWindow(window);
    if (!win)
        return 0;
    return inner ? win->Client->width() : win->OuterSize().width();
}

int WindowHeight(int window, bool inner)
{
    auto* win = FindWindow(window);
    if (!win)
        return 0;
    return inner ? win->Client->height() : win->OuterSize().height();
}

void ResizeWindow(int window, int x, int y, int innerWidth, int innerHeight)
{
    auto* win = FindWindow(window);
    if (!win)
        return;
    // A new place or size keeps the whole window on the screen.
    const bool here = QPoint(x, y) == win->OuterPosition();
    win->Place(QPoint(x, y), innerWidth, innerHeight, here ? qt::PlaceFrom::CurrentPlace : qt::PlaceFrom::NewPlace);
}

void ActivateWindow(int window)
{
    auto* win = FindWindow(window);
    if (!win)
        return;
    qt::ShowDueWindows();
    if (win->isMinimized())
        win->showNormal();
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        win->raise();  // the offscreen platform has no stacking to change
    win->activateWindow();
}

bool WindowPlaced(int window)
{
    auto* win = FindWindow(window);
    return win && win->Placed();
}

int ActiveWindow()
{
    if (!GuiRunning())
        return -1;
    QWidget* active = QApplication::activeWindow();
    for (auto& [number, win] : Registry().Windows)
        if (win && win.data() == active)
            return number;
    return -1;
}

// ---------------------------------------------------------------------------
// Events

Event WaitEvent(int timeoutMs)
{
    qt::GuiRegistry& gui = Registry();
    auto pop = [&gui] {
        Event event = gui.Queue.front();
        gui.Queue.pop_front();
        return event;
    };
    if (!gui.Queue.empty())
        return pop();
    if (!gui.App)
        return Event();
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!gui.Queue.empty())
        return pop();
    qint64 left = qint64(timeoutMs) - clock.elapsed();
    if (left > 0 && !gui.WaitLoop) {
        // Sleep in Qt's event loop until one of our events or the time is up.
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(int(left));
        gui.WaitLoop = &loop;
        loop.exec();
        gui.WaitLoop = nullptr;
    }
    if (!gui.Queue.empty())
        return pop();
    return Event();
}

void PostEvent(const Event& event) { qt::PushEvent(event); }

void ClickWindow(int window, int x, int y, int buttons)
{
    qt::WindowWidget* win = qt::FindWindow(window);
    const Qt::MouseButton button = buttons == ButtonRight ? Qt::RightButton : Qt::LeftButton;
    if (!win)
        return;
    qt::ShowDueWindows();
    QWidget* target = win->Client->childAt(x, y);
    if (!target)
        target = win->Client;
    const QPointF global = win->Client->mapToGlobal(QPointF(x, y));
    const QPointF local = target->mapFromGlobal(global);
    const QPointF inWindow = win->mapFromGlobal(global);
    QMouseEvent press(QEvent::MouseButtonPress, local, inWindow, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, inWindow, global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

}  // namespace platform
