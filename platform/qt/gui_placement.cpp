// Where windows go: the screen a window is sized and placed on, the fitting
// of its frame into that screen's free area, and the watch over a new frame
// until the window manager has framed it. A new window is shown only once
// the program handles events, so that the window manager's frame is seen as
// soon as it is there; until then the window is fitted with another window's
// frame, or a usual one.
//
// One screen decides both a window's size and its place: the screen that
// holds the place asked for a window opening or moved by the program, the
// screen it covers the most for a window resized where it stands, the
// primary screen for a centred window and for a place on no screen at all.
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include "platform/qt/gui_registry.h"

namespace platform::qt {

namespace {

// Borders and a title bar as most window managers draw them, erring on the
// large side: a window fitted with them before its own frame is known stays
// on the screen, and grows by a few pixels once the frame is known.
constexpr QMargins UsualFrame(6, 38, 6, 6);

void ReportSize(int window)
{
    Event size;
    size.Kind = EventKind::SizeWindow;
    size.Window = window;
    PushEvent(size);
}

// The frame the platform gives a window before it is shown, where it knows
// one (a window manager frames a window only once it is shown); none else.
QMargins NewWindowFrame()
{
    std::optional<QMargins>& known = Registry().NewWindowFrame;
    if (!known) {
        QWindow probe;
        probe.create();
        known = probe.frameMargins();
    }
    return *known;
}

// The frame `window` is taken to have (see WindowWidget::FrameMargins); a
// window not yet made (null) is taken to have the frame it will get.
QMargins TakenFrame(const WindowWidget* window)
{
    if (window && window->windowHandle() && !window->windowHandle()->frameMargins().isNull())
        return window->windowHandle()->frameMargins();
    for (const auto& [number, other] : Registry().Windows)
        if (other && other.data() != window && other->windowHandle() && !other->windowHandle()->frameMargins().isNull())
            return other->windowHandle()->frameMargins();
    const QMargins platform = NewWindowFrame();
    return platform.isNull() ? UsualFrame : platform;
}

// A screen as placement sees it: its whole area and the free part of it
// (task bars left out).
struct ScreenRects {
    QRect Whole;
    QRect Free;
};

// The screens of the display, the primary one first.
std::vector<ScreenRects> DisplayScreens()
{
    std::vector<ScreenRects> screens;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        screens.push_back({primary->geometry(), primary->availableGeometry()});
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            screens.push_back({screen->geometry(), screen->availableGeometry()});
    return screens;
}

// The free area of the screen that covers the most of `frame`; the primary
// screen's (the first) when none covers any of it.
QRect ScreenAreaFor(const std::vector<ScreenRects>& screens, QRect frame)
{
    const ScreenRects* best = nullptr;
    qint64 most = 0;
    for (const ScreenRects& screen : screens) {
        const QRect common = screen.Whole.intersected(frame);
        const qint64 covered = qint64(common.width()) * common.height();
        if (!common.isEmpty() && covered > most) {
            most = covered;
            best = &screen;
        }
    }
    if (!best && !screens.empty())
        best = &screens.front();
    return best ? best->Free : QRect();
}

// A window's place on one screen's free area: the inner (client) size and
// the frame's top-left corner.
struct Fitted {
    QSize Inner;
    QPoint Frame;
};

// Fits a window asked to stand with its frame at `frame` (ignored when
// `centred`), with an inner size of `inner` under a menu bar `menuHeight`
// high, in a frame of `margins`, into `area` (see WindowWidget::Place).
Fitted FitToArea(QRect area, QPoint frame, QSize inner, int menuHeight, QMargins margins, bool sizeable,
                 bool centred)
{
    Fitted fitted{inner, frame};
    if (area.isEmpty())
        return fitted;
    const int frameW = margins.left() + margins.right();
    const int frameH = margins.top() + margins.bottom();
    if (sizeable) {
        fitted.Inner.setWidth(std::min(inner.width(), std::max(area.width() - frameW, 1)));
        fitted.Inner.setHeight(std::min(inner.height(), std::max(area.height() - frameH - menuHeight, 0)));
    }
    const QSize window(fitted.Inner.width(), std::max(fitted.Inner.height() + menuHeight, 1));
    if (centred)  // the window itself in the middle of the area
        frame = QPoint(area.x() + (area.width() - window.width()) / 2, area.y() + (area.height() - window.height()) / 2);
    const QSize outer = window.grownBy(margins);
    fitted.Frame = QPoint(std::max(std::min(frame.x(), area.x() + area.width() - outer.width()), area.x()),
                          std::max(std::min(frame.y(), area.y() + area.height() - outer.height()), area.y()));
    return fitted;
}

}  // namespace

// ---- WindowWidget ----

void WindowWidget::Place(QPoint position, int width, int height, PlaceFrom from)
{
    const bool opening = !KnownSize.isValid();
    const QPoint current = OuterPosition();
    const QSize before = KnownSize;
    Request asked{position, QSize(std::clamp(width, 1, QWIDGETSIZE_MAX), std::clamp(height, 0, QWIDGETSIZE_MAX - 1000)),
                  from == PlaceFrom::Centre, QRect()};
    if (from == PlaceFrom::CurrentPlace && Placing() && framedAt_ < 0) {
        // Still on its way to the place asked before, which was fitted
        // without its frame: it goes there.
        asked.Position = request_.Position;
        asked.Centred = request_.Centred;
        asked.Area = request_.Area;
    } else {
        const std::vector<ScreenRects> screens = DisplayScreens();
        if (from == PlaceFrom::Centre)
            asked.Area = screens.empty() ? QRect() : screens.front().Free;
        else if (from == PlaceFrom::CurrentPlace)
            asked.Area = ScreenAreaFor(screens, QRect(current, OuterSize()));
        else
            asked.Area = ScreenAreaFor(screens, QRect(position, QSize(1, 1)));
    }
    request_ = asked;
    const Fitted fitted = FitToArea(asked.Area, asked.Position, asked.Inner, MenuHeight(), FrameMargins(),
                                    Flags & WindowSizeable, asked.Centred);
    SetInnerSize(fitted.Inner.width(), fitted.Inner.height());
    // Its own position leaves a window of the same size where it is, framed
    // or not yet, on the screen or not.
    if (from == PlaceFrom::CurrentPlace && KnownSize == before)
        return;
    if (opening || fitted.Frame != current)
        PlaceFrame(fitted.Frame);
}

QMargins WindowWidget::FrameMargins() const { return TakenFrame(this); }

QSize WindowWidget::OuterSize() const
{
    return isVisible() ? frameGeometry().size() : KnownSize.grownBy(FrameMargins());
}

QRect WindowWidget::ScreenArea() { return ScreenAreaFor(DisplayScreens(), QRect(OuterPosition(), OuterSize())); }

void WindowWidget::ShowSoon()
{
    showDue_ = true;
    QTimer::singleShot(0, this, [this] { ShowNow(); });
}

void WindowWidget::ShowNow()
{
    if (!showDue_)
        return;
    showDue_ = false;
    show();
    // The window manager frames the window from now on.
    if (Placing())
        frameClock_.start();
}

void ShowDueWindows()
{
    for (const auto& [number, window] : Registry().Windows)
        if (window)
            window->ShowNow();
}

void WindowWidget::PlaceFrame(QPoint position)
{
    wantedFrame_ = position;
    framedAt_ = -1;
    move(position);
    if (!frameTimer_) {
        frameTimer_ = new QTimer(this);
        connect(frameTimer_, &QTimer::timeout, this, [this] { SettleFrame(); });
    }
    frameClock_.start();
    frameTimer_->start(10);
}

void WindowWidget::SettleFrame()
{
    if (!Placing())
        return;
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const qint64 now = frameClock_.elapsed();
    if (!frame.isNull()) {
        if (framedAt_ < 0) {
            framedAt_ = now;
            // Fitted before its frame was known, the window is fitted again
            // with it; a size the program did not set is reported to it, as
            // the user's resizing is.
            const QSize before = KnownSize;
            const Fitted fitted = FitToArea(request_.Area, request_.Position, request_.Inner, MenuHeight(),
                                            frame, Flags & WindowSizeable, request_.Centred);
            SetInnerSize(fitted.Inner.width(), fitted.Inner.height());
            wantedFrame_ = fitted.Frame;
            if (KnownSize != before)
                ReportSize(Number);
        }
        // Framed: a move now places the frame itself. The window manager may
        // still place the window once more as it maps it, or map it at the
        // size it had when it was shown, so the frame is watched a little
        // longer and put back where it belongs, at the size last set.
        if (size() != KnownSize)
            resize(KnownSize);
        if (frameGeometry().topLeft() != wantedFrame_)
            move(wantedFrame_);
        if (now - framedAt_ > 500)
            StopSettling();
    } else if (!showDue_ && now > 10000) {
        // No window manager has framed it (there may be none, or a very
        // busy one): it stands as asked.
        StopSettling();
    }
}

void WindowWidget::StopSettling()
{
    frameTimer_->stop();
    earlierSizes_.clear();
}

bool WindowWidget::Placing() const { return frameTimer_ && frameTimer_->isActive(); }

bool WindowWidget::Placed() const
{
    return !Placing() && windowHandle() && !windowHandle()->frameMargins().isNull();
}

QPoint WindowWidget::OuterPosition()
{
    SettleFrame();
    return Placing() ? wantedFrame_ : frameGeometry().topLeft();
}

void WindowWidget::resizeEvent(QResizeEvent* event)
{
    LayoutParts();
    // While the window is being framed and placed, the window manager may
    // give it back a size the program set before: SettleFrame puts the size
    // last set back. Any other size is the user's, and is kept when the
    // window is fitted again.
    const bool echo =
        Placing() && std::find(earlierSizes_.begin(), earlierSizes_.end(), event->size()) != earlierSizes_.end();
    if (event->size() != KnownSize && !echo) {
        KnownSize = event->size();
        request_.Inner = QSize(KnownSize.width(), std::max(KnownSize.height() - MenuHeight(), 0));
        ReportSize(Number);
    }
}

}  // namespace platform::qt

// ---- The calls of the GUI layer ----

namespace platform {

void ScreenArea(int window, int& x, int& y, int& width, int& height)
{
    QRect area;
    if (qt::WindowWidget* win = qt::FindWindow(window))
        area = win->ScreenArea();
    else if (GuiRunning())
        area = qt::ScreenAreaFor(qt::DisplayScreens(), QRect());
    x = area.x();
    y = area.y();
    width = area.width();
    height = area.height();
}

void FitWindowSize(int x, int y, int& innerWidth, int& innerHeight)
{
    if (!GuiRunning())
        return;
    const QRect area = qt::ScreenAreaFor(qt::DisplayScreens(), QRect(x, y, 1, 1));
    const qt::Fitted fitted = qt::FitToArea(area, QPoint(x, y), QSize(std::max(innerWidth, 1), std::max(innerHeight, 0)),
                                            0, qt::TakenFrame(nullptr), true, false);
    innerWidth = fitted.Inner.width();
    innerHeight = fitted.Inner.height();
}

}  // namespace platform
