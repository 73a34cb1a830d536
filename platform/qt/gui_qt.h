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
    // Sets the inner size for a frame that is to stand at `position`; a
    // sizeable window grows no larger than the free area of that screen.
    void SetInnerSizeAt(QPoint position, int width, int height);
    // `position` moved just far enough for the whole frame to lie inside the
    // free area of its screen, or to that area's top-left corner when the
    // frame is larger; a frame that fits stays exactly there.
    QPoint OnScreen(QPoint position) const;
    // Puts the frame (title bar and borders included) at `position`. A new
    // window's frame is not known until the window manager has framed it:
    // until then the window stands with its inner area there, and it is
    // moved once the frame appears, so that the frame ends where asked.
    void PlaceFrame(QPoint position);
    // The frame's position: where PlaceFrame put it while the window is
    // still being framed and placed, then where the window stands.
    QPoint OuterPosition();
    // Framed by the window system and standing where PlaceFrame put it.
    bool Placed() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Moves a window placed by PlaceFrame to its place once its frame is
    // known, for a short while after that.
    void SettleFrame();
    // The frame's borders and title bar: the window's own once the window
    // system has framed it; until then those of another window of ours that
    // is framed (one window manager frames them alike), else none.
    QMargins FrameMargins() const;
    QSize OuterSize() const;
    // True from PlaceFrame until the window stands framed where it was
    // placed.
    bool Placing() const;
    void StopSettling();

    QPoint wantedFrame_;
    QTimer* frameTimer_ = nullptr;  // active while the window is being placed
    QElapsedTimer frameClock_;      // since PlaceFrame
    qint64 framedAt_ = -1;          // when the frame was first known
    std::vector<QSize> earlierSizes_;  // set by the program while placing, then replaced
};

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
