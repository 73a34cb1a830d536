// Internals of the GUI layer shared by its Qt units (and by the GUI tests,
// which drive the widgets directly). Nothing outside platform/qt and the
// platform tests includes this.
#pragma once

#include <QFont>
#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui.h"
#include "platform/requesters.h"

class QAction;
class QTimer;
class QMenuBar;
class QShortcut;

namespace platform::qt {

// Our UTF-8 texts as Qt's and back.
inline QString Q(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
inline std::string U(const QString& text) { return text.toUtf8().toStdString(); }

// How a window comes to its place. One opening, or moved by the program to a
// new place, goes to the screen that holds the place asked; one resized where
// it stands stays on the screen it covers the most; a centred one goes to the
// middle of the primary screen.
enum class PlaceFrom { NewPlace, CurrentPlace, Centre };

// A top-level window: the menu bar (when there is one) on top, the client
// area below it. The inner size is the client area's.
class WindowWidget : public QWidget {
public:
    WindowWidget(int number, int flags);

    int Number;
    int Flags;
    QWidget* Client;
    QMenuBar* Bar = nullptr;
    // The size last set by the program or reported to it; a resize to any
    // other size came from the user (or, while the window is being framed,
    // from the window manager, and is undone).
    QSize KnownSize;
    std::map<int, QShortcut*> Shortcuts;  // by Qt key code plus our modifier bits

    int MenuHeight() const;
    // Places the menu bar and the client area in the window.
    void LayoutParts();
    // Sets the inner size, keeping a fixed frame fixed.
    void SetInnerSize(int width, int height);

    // ---- Placement (gui_placement.cpp) ----

    // Sizes and places the window, its frame at `position` and its inner
    // size `width` x `height`, on one screen (see PlaceFrom): a sizeable
    // window grows no larger than that screen's free area, and the frame is
    // moved just far enough to lie inside it, or to its top-left corner when
    // it is larger. A frame that fits stays exactly where asked.
    // A window resized where it stands keeps its place when its size does
    // not change, on the screen or not. Until the window manager has framed
    // the window, its frame is taken to be that of another window of ours,
    // or a usual one; once it is known, the window is fitted again with it.
    void Place(QPoint position, int width, int height, PlaceFrom from);
    // The frame's position: where Place put it while the window is still
    // being framed and placed, then where the window stands.
    QPoint OuterPosition();
    // The frame's size: the window's own once shown, else its inner size in
    // the frame it is taken to have.
    QSize OuterSize() const;
    // The free area of the screen the window covers the most.
    QRect ScreenArea();
    // Shows the window once the program next handles events: until then it
    // could be neither drawn nor framed, as the window system's answers are
    // read only then.
    void ShowSoon();
    // Shows a window whose showing is due now.
    void ShowNow();
    // Framed by the window system and standing where Place put it.
    bool Placed() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What the window was last asked for, to be fitted again once its frame
    // is known.
    struct Request {
        QPoint Position;
        QSize Inner;
        bool Centred = false;
        QRect Area;  // the free area of the screen chosen
    };

    // Moves the frame to `position`. A new window's frame is not known until
    // the window manager has framed it: the window is then watched, and
    // moved once the frame appears, so that the frame ends where asked.
    void PlaceFrame(QPoint position);
    // Fits the window again once its frame is known and keeps it in place
    // for a short while after that.
    void SettleFrame();
    // The frame's borders and title bar: the window's own once the window
    // system has framed it; until then those of another window of ours that
    // is framed (one window manager frames them alike), else those the
    // platform gives a window before it is shown, else a usual frame.
    QMargins FrameMargins() const;
    // True from PlaceFrame until the window stands framed where it was
    // placed.
    bool Placing() const;
    void StopSettling();

    Request request_;
    bool showDue_ = false;
    QPoint wantedFrame_;
    QTimer* frameTimer_ = nullptr;  // active while the window is being placed
    QElapsedTimer frameClock_;      // since the window was placed or shown
    qint64 framedAt_ = -1;          // when the frame was first known
    std::vector<QSize> earlierSizes_;  // set by the program while placing, then replaced
};

// Shows every window whose showing is due, before the user acts on one of
// them: the user acts on windows that are shown.
void ShowDueWindows();

// A canvas: a backing image that drawing writes and the screen shows.
class CanvasWidget : public QWidget {
public:
    CanvasWidget(QWidget* parent, int window, int control);

    Image Backing;
    // A numbered image shown over the backing as it stands, without a copy,
    // until the canvas is drawn on or given an image's copy; -1 for none.
    int ShownImage = -1;
    // Gives the backing image the canvas's size.
    void FitBacking();
    // The backing, after taking over a shown image: for drawing.
    Image& OwnPixels();
    // A copy of what the canvas shows.
    Image Content() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Report(ControlEvent type, int x, int y, Qt::MouseButtons buttons, int wheel = 0, uint32_t character = 0);

    int window_;
    int control_;
    int wheelRest_ = 0;  // eighths of a degree not yet making a whole notch
};

// Queues an event and wakes a waiting WaitEvent.
void PushEvent(const Event& event);

// A zero-copy QImage over an image's pixels (0xFFBBGGRR is RGBX8888 in
// memory), at the given resolution in dots per inch.
QImage WrapImage(Image& image, int dpi = 96);

QWidget* WindowObject(int window);
QWidget* ControlObject(int control);
CanvasWidget* CanvasObject(int control);
// The first action made for a menu item number on a menu bar.
QAction* MenuItemAction(int menuBar, int item);
const QFont* FontObject(int font);

// Points to pixels at 96 dots per inch, as the screen counts them.
int PointsToPixels(int points);
// The default font of drawing, in pixels.
QFont DefaultDrawingFont();
// A font as LoadFont makes it, before its size: the face (empty: the
// application's font) with the bold, italic, underline and strike-out flags.
QFont StyledFont(const QString& face, int flags);
// The families that the last font file registered added.
const QStringList& RegisteredFamilies();

// A family's name without its foundry: "Nimbus Sans" of "Nimbus Sans [urw]".
QString WithoutFoundry(const QString& family);
// A face as Qt lists it (family, with its foundry where Qt gives one, and
// style), with the family name its font gives it among up to four faces
// that bold and italic tell apart, and its bits there (FontBold, FontItalic).
struct OwnFace {
    QString Family, Style;
    QString OwnFamily;  // empty when the font gives none
    int Bits;
};
OwnFace NamesOf(const QString& family, const QString& style);
// The faces whose font gives them `name` as their own family name, one for
// each bits, when Qt lists no family of that name (see fontfaces_qt.cpp).
QList<OwnFace> OwnFamily(const QString& name);
// The face of OwnFamily(name) that `flags` ask for, as StyledFont makes it;
// nothing when there is none.
std::optional<QFont> OwnFamilyFont(const QString& name, int flags);

// The font chooser over `parent`, started on a face, a size in points and
// the style flags of FontStyle; cancelled, it reports what it started with.
FontChoice RunFontChooser(const std::string& face, int size, int style, QWidget* parent);

// A requester filter "Label|*.a;*.b|Label2|*.*" as Qt's name filters.
QStringList FileFilters(const std::string& filter);

// The drawing units release their state before the GUI layer ends.
void EndDrawing();

}  // namespace platform::qt
