// Windows, controls, menus, shortcuts, the event queue and the clipboard on
// Qt Widgets.
//
// Every window is a plain top-level widget: an optional menu bar across the
// top and, below it, the client area where the controls sit. The inner size
// of a window is the size of that client area; its outer position and size
// are those of the frame (title bar and borders included, as far as the
// window system tells them).
#include "platform/qt/gui_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <deque>
#include <vector>

namespace platform {

namespace {

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
std::string U(const QString& text) { return text.toUtf8().toStdString(); }

enum class Kind { Button, ComboBox, Text, String, CheckBox, Spin, ScrollArea, Canvas };

struct ControlRecord {
    QPointer<QWidget> Widget;
    int Window = -1;
    int Parent = -1;  // scroll area holding it, -1 for the window
    Kind Type = Kind::Button;
};

struct MenuBarRecord {
    int Window = -1;
    QPointer<QMenuBar> Bar;
    std::vector<std::pair<int, QPointer<QAction>>> Items;
};

QApplication* g_app = nullptr;
bool g_ownApp = false;
std::map<int, QPointer<qt::WindowWidget>> g_windows;
std::map<int, ControlRecord> g_controls;
std::map<int, MenuBarRecord> g_menuBars;
// The menu bar being built and its open menus, innermost last.
int g_buildBar = -1;
std::vector<QPointer<QMenu>> g_menuStack;

std::deque<Event> g_queue;
QEventLoop* g_waitLoop = nullptr;

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

qt::WindowWidget* FindWindow(int window)
{
    auto it = g_windows.find(window);
    return it == g_windows.end() ? nullptr : it->second.data();
}

ControlRecord* FindControl(int control)
{
    auto it = g_controls.find(control);
    if (it == g_controls.end() || !it->second.Widget)
        return nullptr;
    return &it->second;
}

template <class T>
T* ControlAs(int control, Kind kind)
{
    ControlRecord* record = FindControl(control);
    if (!record || record->Type != kind)
        return nullptr;
    return static_cast<T*>(record->Widget.data());
}

Qt::WindowFlags QtWindowFlags(int flags)
{
    Qt::WindowFlags f = Qt::Window;
    if (flags & (WindowTitleBar | WindowSystemMenu | WindowMinimizeBox | WindowMaximizeBox)) {
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (flags & WindowSystemMenu)
            f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (flags & WindowMinimizeBox)
            f |= Qt::WindowMinimizeButtonHint;
        if (flags & WindowMaximizeBox)
            f |= Qt::WindowMaximizeButtonHint;
    }
    return f;
}

// Forgets the controls of a window (their widgets go with the window).
void ForgetControlsOf(int window)
{
    for (auto it = g_controls.begin(); it != g_controls.end();) {
        if (it->second.Window == window)
            it = g_controls.erase(it);
        else
            ++it;
    }
}

void ForgetMenuBar(int menuBar)
{
    auto it = g_menuBars.find(menuBar);
    if (it == g_menuBars.end())
        return;
    if (g_buildBar == menuBar) {
        g_buildBar = -1;
        g_menuStack.clear();
    }
    g_menuBars.erase(it);
}

// The widget that controls of `window` go into: its client area, or the
// inner area of scroll area `parent` on the same window. Null when neither.
QWidget* ControlParent(int window, int parent)
{
    qt::WindowWidget* win = FindWindow(window);
    if (!win)
        return nullptr;
    if (parent == -1)
        return win->Client;
    ControlRecord* record = FindControl(parent);
    if (!record || record->Type != Kind::ScrollArea || record->Window != window)
        return nullptr;
    return static_cast<QScrollArea*>(record->Widget.data())->widget();
}

void Place(int control, int window, int parent, Kind kind, QWidget* widget, int x, int y, int w, int h)
{
    widget->setGeometry(x, y, std::max(w, 0), std::max(h, 0));
    widget->show();
    g_controls[control] = ControlRecord{widget, window, parent, kind};
}

void ReportControl(int window, int control, ControlEvent type)
{
    Event event;
    event.Kind = EventKind::Control;
    event.Window = window;
    event.Object = control;
    event.Type = type;
    qt::PushEvent(event);
}

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
// Internals shared with the drawing unit and the tests

namespace qt {

void PushEvent(const Event& event)
{
    g_queue.push_back(event);
    if (g_waitLoop)
        g_waitLoop->quit();
}

QWidget* WindowObject(int window) { return FindWindow(window); }

QWidget* ControlObject(int control)
{
    ControlRecord* record = FindControl(control);
    return record ? record->Widget.data() : nullptr;
}

CanvasWidget* CanvasObject(int control) { return ControlAs<CanvasWidget>(control, Kind::Canvas); }

QAction* MenuItemAction(int menuBar, int item)
{
    auto it = g_menuBars.find(menuBar);
    if (it == g_menuBars.end())
        return nullptr;
    for (auto& [number, action] : it->second.Items)
        if (number == item && action)
            return action.data();
    return nullptr;
}

QImage WrapImage(Image& image, int dpi)
{
    if (image.Empty() || image.Pixels.size() != size_t(image.Width) * size_t(image.Height))
        return QImage();
    QImage view(reinterpret_cast<uchar*>(image.Pixels.data()), image.Width, image.Height,
                qsizetype(image.Width) * 4, QImage::Format_RGBX8888);
    int dotsPerMeter = int(dpi / 0.0254 + 0.5);
    view.setDotsPerMeterX(dotsPerMeter);
    view.setDotsPerMeterY(dotsPerMeter);
    return view;
}

// ---- WindowWidget ----

WindowWidget::WindowWidget(int number, int flags)
    : QWidget(nullptr, QtWindowFlags(flags)), Number(number), Flags(flags)
{
    Client = new QWidget(this);
}

int WindowWidget::MenuHeight() const
{
    if (!Bar)
        return 0;
    // The height of a bar with a title in it, whatever the bar holds yet, so
    // the client area does not move while the menus are built.
    static int height = 0;
    if (height == 0) {
        QMenuBar probe;
        probe.setNativeMenuBar(false);
        probe.addMenu(QStringLiteral("File"));
        height = std::max(probe.sizeHint().height(), 1);
    }
    return std::max(height, Bar->sizeHint().height());
}

void WindowWidget::LayoutParts()
{
    int top = MenuHeight();
    if (Bar)
        Bar->setGeometry(0, 0, width(), top);
    Client->setGeometry(0, top, width(), std::max(height() - top, 0));
}

void WindowWidget::SetInnerSize(int width, int height)
{
    QSize size(std::clamp(width, 1, QWIDGETSIZE_MAX), std::clamp(height, 0, QWIDGETSIZE_MAX - 1000) + MenuHeight());
    size.setHeight(std::max(size.height(), 1));
    KnownSize = size;
    if (Flags & WindowSizeable) {
        resize(size);
    } else {
        setFixedSize(size);
    }
    KnownSize = this->size();
    LayoutParts();
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    // The program decides whether the window closes.
    event->ignore();
    Event close;
    close.Kind = EventKind::CloseWindow;
    close.Window = Number;
    PushEvent(close);
}

void WindowWidget::resizeEvent(QResizeEvent* event)
{
    LayoutParts();
    if (event->size() != KnownSize) {
        KnownSize = event->size();
        Event size;
        size.Kind = EventKind::SizeWindow;
        size.Window = Number;
        PushEvent(size);
    }
}

// ---- CanvasWidget ----

CanvasWidget::CanvasWidget(QWidget* parent, int window, int control)
    : QWidget(parent), window_(window), control_(control)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasWidget::FitBacking()
{
    int w = width(), h = height();
    if (w == Backing.Width && h == Backing.Height)
        return;
    // What was drawn stays where the sizes overlap; new parts are white.
    Image fresh(w, h, RGB(255, 255, 255));
    int cw = std::min(w, Backing.Width), ch = std::min(h, Backing.Height);
    if (!fresh.Empty() && !Backing.Empty()) {
        for (int y = 0; y < ch; y++)
            std::copy_n(Backing.Pixels.data() + size_t(y) * size_t(Backing.Width), cw,
                        fresh.Pixels.data() + size_t(y) * size_t(w));
    }
    Backing = std::move(fresh);
}

void CanvasWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QImage view = WrapImage(Backing);
    if (view.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawImage(0, 0, view);
}

void CanvasWidget::resizeEvent(QResizeEvent*) { FitBacking(); }

void CanvasWidget::Report(ControlEvent type, int x, int y, Qt::MouseButtons buttons, int wheel, uint32_t character)
{
    Event event;
    event.Kind = EventKind::Control;
    event.Window = window_;
    event.Object = control_;
    event.Type = type;
    event.MouseX = x;
    event.MouseY = y;
    event.Buttons = ((buttons & Qt::LeftButton) ? ButtonLeft : 0) | ((buttons & Qt::RightButton) ? ButtonRight : 0);
    event.Wheel = wheel;
    event.Character = character;
    PushEvent(event);
}

void CanvasWidget::mousePressEvent(QMouseEvent* event)
{
    QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        Report(ControlEvent::LeftClick, at.x(), at.y(), event->buttons());
    else if (event->button() == Qt::RightButton)
        Report(ControlEvent::RightClick, at.x(), at.y(), event->buttons());
    event->accept();
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event)
{
    QPoint at = event->position().toPoint();
    Report(ControlEvent::MouseMove, at.x(), at.y(), event->buttons());
    event->accept();
}

void CanvasWidget::wheelEvent(QWheelEvent* event)
{
    // A notch is 120 eighths of a degree; finer wheels add up to whole ones.
    int delta = event->angleDelta().y();
    if (delta != 0) {
        wheelRest_ += delta;
        int notches = wheelRest_ / 120;
        if (notches != 0) {
            wheelRest_ -= notches * 120;
            QPoint at = event->position().toPoint();
            Report(ControlEvent::Wheel, at.x(), at.y(), event->buttons(), notches);
        }
    }
    event->accept();
}

void CanvasWidget::keyPressEvent(QKeyEvent* event)
{
    QList<uint> characters = event->text().toUcs4();
    if (!characters.isEmpty() && characters.first() != 0x7F) {
        QPoint at = mapFromGlobal(QCursor::pos());
        Report(ControlEvent::Input, at.x(), at.y(), QGuiApplication::mouseButtons(), 0, characters.first());
    }
    // Keys stay with the canvas: nothing around it scrolls by keyboard.
    event->accept();
}

}  // namespace qt

// ---------------------------------------------------------------------------
// Start and end

bool InitGui()
{
    if (g_app)
        return true;
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        g_app = existing;
        g_ownApp = false;
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
        g_app = new QApplication(argc, argv);
        g_ownApp = true;
    }
    // Qt set the user's locale; numbers keep a full stop as decimal point.
    std::setlocale(LC_NUMERIC, "C");
    g_app->setQuitOnLastWindowClosed(false);
    // Controls are laid out at fixed pixel places with room for a compact
    // dialog font; the desktop's larger default would cut their texts.
    if (g_ownApp) {
        QFont controls("Liberation Sans");
        controls.setPixelSize(11);
        g_app->setFont(controls);
    }
    return true;
}

void EndGui()
{
    if (!g_app)
        return;
    qt::EndDrawing();
    g_menuBars.clear();
    g_buildBar = -1;
    g_menuStack.clear();
    g_controls.clear();
    while (!g_windows.empty())
        CloseWindow(g_windows.begin()->first);
    g_queue.clear();
    if (g_ownApp) {
        // The clipboard's text stays for other programs where the system allows.
        delete g_app;
        std::setlocale(LC_NUMERIC, "C");
    }
    g_app = nullptr;
    g_ownApp = false;
}

bool GuiRunning() { return g_app != nullptr; }

// ---------------------------------------------------------------------------
// Windows

bool OpenWindow(int window, int x, int y, int innerWidth, int innerHeight, const std::string& title, int flags)
{
    if (!g_app)
        return false;
    CloseWindow(window);
    auto* win = new qt::WindowWidget(window, flags);
    win->setWindowTitle(Q(title));
    win->SetInnerSize(innerWidth, innerHeight);
    g_windows[window] = win;
    if (flags & WindowCentered) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect area = screen->availableGeometry();
            win->move(area.x() + (area.width() - win->width()) / 2, area.y() + (area.height() - win->height()) / 2);
        }
    } else {
        win->move(x, y);
    }
    win->show();
    return true;
}

bool IsWindow(int window) { return FindWindow(window) != nullptr; }

void CloseWindow(int window)
{
    auto it = g_windows.find(window);
    if (it == g_windows.end())
        return;
    QPointer<qt::WindowWidget> win = it->second;
    g_windows.erase(it);
    ForgetControlsOf(window);
    std::vector<int> bars;
    for (auto& [number, record] : g_menuBars)
        if (record.Window == window)
            bars.push_back(number);
    for (int number : bars)
        ForgetMenuBar(number);
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
    return win ? win->frameGeometry().x() : 0;
}

int WindowY(int window)
{
    auto* win = FindWindow(window);
    return win ? win->frameGeometry().y() : 0;
}

int WindowWidth(int window, bool inner)
{
    auto* win = FindWindow(window);
    if (!win)
        return 0;
    return inner ? win->Client->width() : win->frameGeometry().width();
}

int WindowHeight(int window, bool inner)
{
    auto* win = FindWindow(window);
    if (!win)
        return 0;
    return inner ? win->Client->height() : win->frameGeometry().height();
}

void ResizeWindow(int window, int x, int y, int innerWidth, int innerHeight)
{
    auto* win = FindWindow(window);
    if (!win)
        return;
    win->SetInnerSize(innerWidth, innerHeight);
    win->move(x, y);
}

void ActivateWindow(int window)
{
    auto* win = FindWindow(window);
    if (!win)
        return;
    if (win->isMinimized())
        win->showNormal();
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        win->raise();  // the offscreen platform has no stacking to change
    win->activateWindow();
}

int ActiveWindow()
{
    if (!g_app)
        return -1;
    QWidget* active = QApplication::activeWindow();
    for (auto& [number, win] : g_windows)
        if (win && win.data() == active)
            return number;
    return -1;
}

// ---------------------------------------------------------------------------
// Events

Event WaitEvent(int timeoutMs)
{
    auto pop = [] {
        Event event = g_queue.front();
        g_queue.pop_front();
        return event;
    };
    if (!g_queue.empty())
        return pop();
    if (!g_app)
        return Event();
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!g_queue.empty())
        return pop();
    qint64 left = qint64(timeoutMs) - clock.elapsed();
    if (left > 0 && !g_waitLoop) {
        // Sleep in Qt's event loop until one of our events or the time is up.
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(int(left));
        g_waitLoop = &loop;
        loop.exec();
        g_waitLoop = nullptr;
    }
    if (!g_queue.empty())
        return pop();
    return Event();
}

void PostEvent(const Event& event) { qt::PushEvent(event); }

// ---------------------------------------------------------------------------
// Controls

bool ButtonControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* button = new QPushButton(Q(text), host);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button,
                     [window, control] { ReportControl(window, control, ControlEvent::LeftClick); });
    Place(control, window, parent, Kind::Button, button, x, y, w, h);
    return true;
}

bool ComboBoxControl(int window, int control, int x, int y, int w, int h, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* combo = new QComboBox(host);
    combo->setEditable(false);
    // activated is the user's pick only; the program's changes do not raise it.
    QObject::connect(combo, &QComboBox::activated, combo,
                     [window, control] { ReportControl(window, control, ControlEvent::Change); });
    Place(control, window, parent, Kind::ComboBox, combo, x, y, w, h);
    return true;
}

bool TextControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* label = new QLabel(Q(text), host);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(control, window, parent, Kind::Text, label, x, y, w, h);
    return true;
}

bool StringControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* field = new QLineEdit(Q(text), host);
    QObject::connect(field, &QLineEdit::textEdited, field,
                     [window, control] { ReportControl(window, control, ControlEvent::Change); });
    Place(control, window, parent, Kind::String, field, x, y, w, h);
    return true;
}

bool CheckBoxControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* box = new QCheckBox(Q(text), host);
    QObject::connect(box, &QCheckBox::clicked, box,
                     [window, control] { ReportControl(window, control, ControlEvent::LeftClick); });
    Place(control, window, parent, Kind::CheckBox, box, x, y, w, h);
    return true;
}

bool SpinControl(int window, int control, int x, int y, int w, int h, int minimum, int maximum, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* spin = new QSpinBox(host);
    spin->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
    // The program's changes are made with the signals blocked.
    QObject::connect(spin, &QSpinBox::valueChanged, spin,
                     [window, control] { ReportControl(window, control, ControlEvent::Change); });
    Place(control, window, parent, Kind::Spin, spin, x, y, w, h);
    return true;
}

bool ScrollAreaControl(int window, int control, int x, int y, int w, int h, int innerWidth, int innerHeight, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* area = new QScrollArea(host);
    auto* inner = new QWidget;
    inner->resize(std::max(innerWidth, 0), std::max(innerHeight, 0));
    area->setWidgetResizable(false);
    area->setWidget(inner);
    Place(control, window, parent, Kind::ScrollArea, area, x, y, w, h);
    return true;
}

bool CanvasControl(int window, int control, int x, int y, int w, int h, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* canvas = new qt::CanvasWidget(host, window, control);
    Place(control, window, parent, Kind::Canvas, canvas, x, y, w, h);
    canvas->FitBacking();
    return true;
}

bool IsControl(int control) { return FindControl(control) != nullptr; }

void FreeControl(int control)
{
    auto it = g_controls.find(control);
    if (it == g_controls.end())
        return;
    QPointer<QWidget> widget = it->second.Widget;
    g_controls.erase(it);
    // Controls placed inside go with it.
    std::vector<int> inside;
    for (auto& [number, record] : g_controls)
        if (record.Parent == control)
            inside.push_back(number);
    for (int number : inside)
        FreeControl(number);
    delete widget.data();
}

int GetState(int control)
{
    ControlRecord* record = FindControl(control);
    if (!record)
        return -1;
    switch (record->Type) {
    case Kind::ComboBox: return static_cast<QComboBox*>(record->Widget.data())->currentIndex();
    case Kind::CheckBox: return static_cast<QCheckBox*>(record->Widget.data())->isChecked() ? 1 : 0;
    case Kind::Spin: return static_cast<QSpinBox*>(record->Widget.data())->value();
    default: return 0;
    }
}

void SetState(int control, int state)
{
    ControlRecord* record = FindControl(control);
    if (!record)
        return;
    QSignalBlocker quiet(record->Widget.data());
    switch (record->Type) {
    case Kind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(record->Widget.data());
        // A position beyond the items leaves no selection.
        combo->setCurrentIndex(state >= 0 && state < combo->count() ? state : -1);
        break;
    }
    case Kind::CheckBox: static_cast<QCheckBox*>(record->Widget.data())->setChecked(state != 0); break;
    case Kind::Spin: static_cast<QSpinBox*>(record->Widget.data())->setValue(state); break;
    default: break;
    }
}

std::string GetText(int control)
{
    ControlRecord* record = FindControl(control);
    if (!record)
        return std::string();
    QWidget* w = record->Widget.data();
    switch (record->Type) {
    case Kind::Button: return U(static_cast<QPushButton*>(w)->text());
    case Kind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(w);
        return combo->currentIndex() < 0 ? std::string() : U(combo->currentText());
    }
    case Kind::Text: return U(static_cast<QLabel*>(w)->text());
    case Kind::String: return U(static_cast<QLineEdit*>(w)->text());
    case Kind::CheckBox: return U(static_cast<QCheckBox*>(w)->text());
    case Kind::Spin: return U(static_cast<QSpinBox*>(w)->cleanText());
    default: return std::string();
    }
}

void SetText(int control, const std::string& text)
{
    ControlRecord* record = FindControl(control);
    if (!record)
        return;
    QWidget* w = record->Widget.data();
    QSignalBlocker quiet(w);
    switch (record->Type) {
    case Kind::Button: static_cast<QPushButton*>(w)->setText(Q(text)); break;
    case Kind::ComboBox: {
        // Selects the item of that text, if there is one.
        auto* combo = static_cast<QComboBox*>(w);
        int position = combo->findText(Q(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (position >= 0)
            combo->setCurrentIndex(position);
        break;
    }
    case Kind::Text: static_cast<QLabel*>(w)->setText(Q(text)); break;
    case Kind::String: static_cast<QLineEdit*>(w)->setText(Q(text)); break;
    case Kind::CheckBox: static_cast<QCheckBox*>(w)->setText(Q(text)); break;
    case Kind::Spin: {
        bool ok = false;
        int value = Q(text).trimmed().toInt(&ok);
        if (ok)
            static_cast<QSpinBox*>(w)->setValue(value);
        break;
    }
    default: break;
    }
}

void AddItem(int control, int position, const std::string& text)
{
    auto* combo = ControlAs<QComboBox>(control, Kind::ComboBox);
    if (!combo)
        return;
    QSignalBlocker quiet(combo);
    int selected = combo->currentIndex();
    int at = position < 0 || position > combo->count() ? combo->count() : position;
    combo->insertItem(at, Q(text));
    // An insertion never selects; the selected item stays selected.
    combo->setCurrentIndex(selected < 0 ? -1 : (at <= selected ? selected + 1 : selected));
}

void RemoveItem(int control, int position)
{
    auto* combo = ControlAs<QComboBox>(control, Kind::ComboBox);
    if (!combo || position < 0 || position >= combo->count())
        return;
    QSignalBlocker quiet(combo);
    int selected = combo->currentIndex();
    combo->removeItem(position);
    // Removing the selected item leaves none; removing one before it keeps it.
    combo->setCurrentIndex(selected == position ? -1 : (selected > position ? selected - 1 : selected));
}

void ClearItems(int control)
{
    auto* combo = ControlAs<QComboBox>(control, Kind::ComboBox);
    if (!combo)
        return;
    QSignalBlocker quiet(combo);
    combo->clear();
}

int CountItems(int control)
{
    auto* combo = ControlAs<QComboBox>(control, Kind::ComboBox);
    return combo ? combo->count() : 0;
}

std::string GetItemText(int control, int position)
{
    auto* combo = ControlAs<QComboBox>(control, Kind::ComboBox);
    if (!combo || position < 0 || position >= combo->count())
        return std::string();
    return U(combo->itemText(position));
}

int ControlX(int control)
{
    QWidget* w = qt::ControlObject(control);
    return w ? w->x() : 0;
}

int ControlY(int control)
{
    QWidget* w = qt::ControlObject(control);
    return w ? w->y() : 0;
}

int ControlWidth(int control)
{
    QWidget* w = qt::ControlObject(control);
    return w ? w->width() : 0;
}

int ControlHeight(int control)
{
    QWidget* w = qt::ControlObject(control);
    return w ? w->height() : 0;
}

void ResizeControl(int control, int x, int y, int w, int h)
{
    QWidget* widget = qt::ControlObject(control);
    if (!widget)
        return;
    widget->setGeometry(x, y, std::max(w, 0), std::max(h, 0));
    if (auto* canvas = qt::CanvasObject(control))
        canvas->FitBacking();
}

void HideControl(int control, bool hide)
{
    if (QWidget* widget = qt::ControlObject(control))
        widget->setVisible(!hide);
}

void SetToolTip(int control, const std::string& text)
{
    QWidget* widget = qt::ControlObject(control);
    if (!widget)
        return;
    widget->setToolTip(Q(text));
    // A tip on show follows the change at once.
    if (QToolTip::isVisible() && widget->underMouse())
        QToolTip::showText(QCursor::pos(), Q(text), widget);
}

void SetScrollAreaInner(int control, int innerWidth, int innerHeight)
{
    if (auto* area = ControlAs<QScrollArea>(control, Kind::ScrollArea))
        area->widget()->resize(std::max(innerWidth, 0), std::max(innerHeight, 0));
}

int ScrollAreaY(int control)
{
    auto* area = ControlAs<QScrollArea>(control, Kind::ScrollArea);
    return area ? area->verticalScrollBar()->value() : 0;
}

void SetScrollAreaY(int control, int y)
{
    // Scrolling raises none of our events, so no blocker is needed here.
    if (auto* area = ControlAs<QScrollArea>(control, Kind::ScrollArea))
        area->verticalScrollBar()->setValue(y);
}

// ---------------------------------------------------------------------------
// Menus and shortcuts

bool CreateMenuBar(int menuBar, int window)
{
    qt::WindowWidget* win = FindWindow(window);
    if (!win)
        return false;
    // One bar per number and one per window: the old ones go.
    auto old = g_menuBars.find(menuBar);
    if (old != g_menuBars.end()) {
        QPointer<QMenuBar> bar = old->second.Bar;
        ForgetMenuBar(menuBar);
        for (auto& [number, other] : g_windows)
            if (other && other->Bar == bar.data())
                other->Bar = nullptr;
        delete bar.data();
    }
    std::vector<int> onWindow;
    for (auto& [number, record] : g_menuBars)
        if (record.Window == window)
            onWindow.push_back(number);
    for (int number : onWindow)
        ForgetMenuBar(number);
    int innerWidth = win->Client->width(), innerHeight = win->Client->height();
    delete win->Bar;
    auto* bar = new QMenuBar(win);
    bar->setNativeMenuBar(false);
    win->Bar = bar;
    bar->show();
    // The window grows by the bar: the inner size stays.
    win->SetInnerSize(innerWidth, innerHeight);
    g_menuBars[menuBar] = MenuBarRecord{window, bar, {}};
    g_buildBar = menuBar;
    g_menuStack.clear();
    return true;
}

void MenuTitle(const std::string& title)
{
    auto it = g_menuBars.find(g_buildBar);
    if (it == g_menuBars.end() || !it->second.Bar)
        return;
    g_menuStack.clear();
    g_menuStack.push_back(it->second.Bar->addMenu(Q(title)));
}

void MenuItem(int item, const std::string& text)
{
    auto it = g_menuBars.find(g_buildBar);
    if (it == g_menuBars.end() || !it->second.Bar)
        return;
    QWidget* menu = it->second.Bar.data();
    if (!g_menuStack.empty() && g_menuStack.back())
        menu = g_menuStack.back().data();
    AddMenuAction(menu, it->second, item, text);
}

void MenuSeparator()
{
    if (!g_menuStack.empty() && g_menuStack.back())
        g_menuStack.back()->addSeparator();
}

void OpenSubMenu(const std::string& title)
{
    if (g_menuStack.empty() || !g_menuStack.back())
        return;
    g_menuStack.push_back(g_menuStack.back()->addMenu(Q(title)));
}

void CloseSubMenu()
{
    if (g_menuStack.size() > 1)
        g_menuStack.pop_back();
}

void SetMenuItemText(int menuBar, int item, const std::string& text)
{
    auto it = g_menuBars.find(menuBar);
    if (it == g_menuBars.end())
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
    qt::WindowWidget* win = FindWindow(window);
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
    Qt::KeyboardModifiers modifiers;
    if (key & ModShift)
        modifiers |= Qt::ShiftModifier;
    if (key & ModControl)
        modifiers |= Qt::ControlModifier;
    if (key & ModAlt)
        modifiers |= Qt::AltModifier;
    auto* shortcut = new QShortcut(QKeySequence(QKeyCombination(modifiers, Qt::Key(code))), win);
    shortcut->setContext(Qt::WindowShortcut);
    auto raise = [window, number] { ReportMenu(window, number); };
    QObject::connect(shortcut, &QShortcut::activated, shortcut, raise);
    QObject::connect(shortcut, &QShortcut::activatedAmbiguously, shortcut, raise);
    win->Shortcuts[binding] = shortcut;
}

// ---------------------------------------------------------------------------
// Clipboard

void SetClipboardText(const std::string& text)
{
    if (g_app)
        QGuiApplication::clipboard()->setText(Q(text));
}

std::string GetClipboardText()
{
    if (!g_app)
        return std::string();
    return U(QGuiApplication::clipboard()->text());
}

}  // namespace platform
