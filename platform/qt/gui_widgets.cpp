// The widgets behind windows and canvases.
//
// Every window is a plain top-level widget: an optional menu bar across the
// top and, below it, the client area where the controls sit. The inner size
// of a window is the size of that client area; its outer position and size
// are those of the frame (title bar and borders included, as far as the
// window system tells them).
#include "platform/qt/gui_qt.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace platform::qt {

namespace {

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

}  // namespace

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
    if (Placing() && KnownSize.isValid() && size != KnownSize)
        earlierSizes_.push_back(KnownSize);
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
    OwnPixels();
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

// Copies `source` onto `target` at its top-left corner, clipped.
static void CopyTopLeft(Image& target, const Image& source)
{
    const int w = std::min(target.Width, source.Width), h = std::min(target.Height, source.Height);
    for (int y = 0; y < h; y++)
        std::copy_n(source.Pixels.data() + size_t(y) * size_t(source.Width), w,
                    target.Pixels.data() + size_t(y) * size_t(target.Width));
}

Image& CanvasWidget::OwnPixels()
{
    if (ShownImage >= 0) {
        if (const Image* shown = GetImage(ShownImage); shown && !shown->Empty() && !Backing.Empty())
            CopyTopLeft(Backing, *shown);
        ShownImage = -1;
    }
    return Backing;
}

Image CanvasWidget::Content() const
{
    Image content = Backing;
    if (const Image* shown = ShownImage >= 0 ? GetImage(ShownImage) : nullptr; shown && !shown->Empty())
        CopyTopLeft(content, *shown);
    return content;
}

void CanvasWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QImage view = WrapImage(Backing);
    if (view.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawImage(0, 0, view);
    if (Image* shown = ShownImage >= 0 ? GetImage(ShownImage) : nullptr) {
        QImage over = WrapImage(*shown);
        if (!over.isNull())
            painter.drawImage(0, 0, over);
    }
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

}  // namespace platform::qt
