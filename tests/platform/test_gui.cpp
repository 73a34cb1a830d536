// The Qt GUI layer on the offscreen platform: controls and their events,
// menus and shortcuts, the event wait, the clipboard and drawing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/gui.h"
#include "platform/qt/gui_qt.h"
#include "tests/platform/await_active.h"

// Qt's own key-press path (shortcut map first), as its test library uses it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

namespace {

using namespace platform;

class Gui : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitGui());
        ASSERT_TRUE(OpenWindow(0, 40, 50, 400, 300, "Test", WindowTitleBar | WindowSystemMenu | WindowSizeable));
        Drain();
    }
    void TearDown() override
    {
        StopDrawing();
        CloseWindow(0);
        Drain();
    }

    // Lets Qt settle and drops whatever was queued so far.
    static void Drain()
    {
        QCoreApplication::processEvents();
        while (WaitEvent(0).Kind != EventKind::None) {
        }
    }

    // The next queued event, without waiting for new ones, as text: "none",
    // "menu 0/17", "close 0", "size 0", or a control event such as
    // "change 0/12", "left 0/1 at 12,34 buttons 1", "wheel 0/1 by -2".
    static std::string Next()
    {
        QCoreApplication::processEvents();
        Event e = WaitEvent(0);
        std::string at = std::to_string(e.Window) + "/" + std::to_string(e.Object);
        switch (e.Kind) {
        case EventKind::None: return "none";
        case EventKind::Menu: return "menu " + at;
        case EventKind::CloseWindow: return "close " + std::to_string(e.Window);
        case EventKind::SizeWindow: return "size " + std::to_string(e.Window);
        case EventKind::Control: break;
        }
        const char* types[] = {"none", "left", "right", "move", "wheel", "char", "change"};
        std::string text = types[int(e.Type)] + (" " + at);
        if (e.Type == ControlEvent::Wheel)
            return text + " by " + std::to_string(e.Wheel);
        if (e.Type == ControlEvent::Input)
            return text + " " + std::to_string(e.Character);
        if (e.MouseX || e.MouseY || e.Buttons)
            text += " at " + std::to_string(e.MouseX) + "," + std::to_string(e.MouseY) + " buttons " +
                    std::to_string(e.Buttons);
        return text;
    }

    static void PressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text = QString())
    {
        if (qt_sendShortcutOverrideEvent(target, 0, key, modifiers, text))
            return;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(target, &release);
    }
    static void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    static void Wheel(QWidget* target, int eighths)
    {
        QPointF at(5, 5);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
};

TEST_F(Gui, ListSelectionFollowsTheRules)
{
    ASSERT_TRUE(ComboBoxControl(0, 12, 235, 8, 100, 25));
    auto selected = [] { return std::to_string(GetState(12)) + " " + GetText(12); };
    SetState(12, 0);  // position 0 of an empty list
    EXPECT_EQ(selected(), "-1 ");

    for (const char* text : {"a", "b", "c", "d"})
        AddItem(12, -1, text);
    EXPECT_EQ(CountItems(12), 4);
    EXPECT_EQ(selected(), "-1 ") << "adding items selects nothing";
    SetState(12, 4);
    EXPECT_EQ(selected(), "-1 ") << "a position at the count leaves no selection";
    SetState(12, 2);
    EXPECT_EQ(selected(), "2 c");

    RemoveItem(12, 0);  // before the selected one
    EXPECT_EQ(selected(), "1 c");
    AddItem(12, 0, "z");  // inserted before it
    EXPECT_EQ(selected(), "2 c");
    RemoveItem(12, 3);  // after it
    EXPECT_EQ(selected(), "2 c");
    RemoveItem(12, 2);  // the selected one
    EXPECT_EQ(selected(), "-1 ");
    EXPECT_EQ(GetItemText(12, 0) + "|" + GetItemText(12, 1) + "|" + GetItemText(12, 2), "z|b|");

    SetState(12, 1);
    ClearItems(12);
    EXPECT_EQ(CountItems(12), 0);
    EXPECT_EQ(selected(), "-1 ");
}

TEST_F(Gui, ProgramChangesRaiseNoEventButTheUsersDo)
{
    ASSERT_TRUE(ComboBoxControl(0, 12, 10, 10, 100, 25));
    ASSERT_TRUE(SpinControl(0, 111, 10, 40, 60, 25, 1, 9));
    ASSERT_TRUE(StringControl(0, 110, 10, 70, 60, 25, "20"));
    ASSERT_TRUE(CheckBoxControl(0, 109, 10, 100, 80, 25, "Degree"));
    ASSERT_TRUE(ButtonControl(0, 11, 10, 130, 50, 25, "Restore"));
    Drain();

    AddItem(12, -1, "one");
    AddItem(12, -1, "two");
    SetState(12, 1);
    SetText(12, "one");
    RemoveItem(12, 1);
    AddItem(12, 0, "zero");
    ClearItems(12);
    AddItem(12, -1, "again");
    SetState(12, 0);
    SetState(111, 5);
    SetText(111, "7");
    SetText(110, "32");
    SetState(109, 1);
    SetText(11, "Again");
    EXPECT_EQ(Next(), "none");
    EXPECT_EQ(GetState(111), 7);
    EXPECT_EQ(GetText(110) + GetText(11), "32Again");
    EXPECT_EQ(GetState(109), 1);

    // The user's changes do raise them.
    AddItem(12, -1, "more");
    PressKey(qt::ControlObject(12), Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(Next(), "change 0/12");
    EXPECT_EQ(GetState(12), 1);
    PressKey(qt::ControlObject(111), Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(Next(), "change 0/111");
    EXPECT_EQ(GetState(111), 8);
    PressKey(qt::ControlObject(110), Qt::Key_5, Qt::NoModifier, "5");
    EXPECT_EQ(Next(), "change 0/110");
    EXPECT_EQ(GetText(110), "325");
    static_cast<QAbstractButton*>(qt::ControlObject(109))->click();
    EXPECT_EQ(Next(), "left 0/109");
    EXPECT_EQ(GetState(109), 0);
    static_cast<QAbstractButton*>(qt::ControlObject(11))->click();
    EXPECT_EQ(Next(), "left 0/11");
    EXPECT_EQ(Next(), "none");
}

// Every shortcut of the main window is pressed in test_main_shortcuts; here
// the menu items, the submenu and the rebinding of a key.
TEST_F(Gui, MenuItemsAndShortcutsReachTheQueue)
{
    ASSERT_TRUE(CreateMenuBar(3, 0));
    MenuTitle("File");
    MenuItem(17, "Open   ^O");
    OpenSubMenu("&Recent");
    MenuItem(19, "-");
    MenuItem(20, "-");
    CloseSubMenu();
    MenuItem(36, "New");
    MenuTitle("Font");
    MenuItem(68, "View font   ^A");
    MenuSeparator();
    MenuItem(49, "Add Character   ^N");

    EXPECT_EQ(GetMenuItemText(3, 17), "Open   ^O");
    SetMenuItemText(3, 20, "/some/font.bas");
    EXPECT_EQ(GetMenuItemText(3, 20), "/some/font.bas");
    EXPECT_EQ(GetMenuItemText(3, 99), "");
    ASSERT_NE(qt::MenuItemAction(3, 20), nullptr);
    auto* submenu = qobject_cast<QMenu*>(qt::MenuItemAction(3, 20)->parent());
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(submenu->title(), "&Recent");
    qt::MenuItemAction(3, 68)->trigger();
    EXPECT_EQ(Next(), "menu 0/68");

    AddShortcut(0, ModControl | 'O', 17);
    ActivateWindow(0);
    QWidget* window = qt::WindowObject(0);
    AwaitActive(0);
    Drain();
    ASSERT_EQ(QApplication::activeWindow(), window);
    EXPECT_EQ(ActiveWindow(), 0);
    PressKey(window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Next(), "menu 0/17");
    // Binding the key again replaces the old binding, whatever the letter's case.
    AddShortcut(0, ModControl | 'o', 99);
    PressKey(window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Next(), "menu 0/99");
    EXPECT_EQ(Next(), "none");
}

TEST_F(Gui, CanvasMouseWheelAndCharacters)
{
    ASSERT_TRUE(ScrollAreaControl(0, 2, 10, 40, 200, 150, 320, 500));
    ASSERT_TRUE(CanvasControl(0, 1, 0, 0, 320, 500, 2));
    QWidget* canvas = qt::ControlObject(1);
    ASSERT_NE(canvas, nullptr);
    Drain();

    Mouse(canvas, QEvent::MouseButtonPress, {12, 34}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(Next(), "left 0/1 at 12,34 buttons 1");
    Mouse(canvas, QEvent::MouseMove, {15, 36}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(Next(), "move 0/1 at 15,36 buttons 3");
    Mouse(canvas, QEvent::MouseButtonPress, {7, 8}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(Next(), "right 0/1 at 7,8 buttons 2");

    // Half notches add up; only whole ones make an event.
    Wheel(canvas, 60);
    EXPECT_EQ(Next(), "none");
    Wheel(canvas, 60);
    EXPECT_EQ(Next(), "wheel 0/1 by 1");
    EXPECT_EQ(Next(), "none");
    Wheel(canvas, -240);
    EXPECT_EQ(Next(), "wheel 0/1 by -2");
    EXPECT_EQ(ScrollAreaY(2), 0) << "the wheel over a canvas scrolls nothing by itself";
    SetScrollAreaY(2, 40);
    EXPECT_EQ(ScrollAreaY(2), 40);
    EXPECT_EQ(Next(), "none");

    PressKey(canvas, Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_EQ(Next(), "char 0/1 32");
    PressKey(canvas, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("é"));
    EXPECT_EQ(Next(), "char 0/1 233");
}

TEST_F(Gui, WaitTimesOutAndKeepsOrder)
{
    // A wait that does not time out, or only after seconds, takes the event
    // that a watchdog posts after five seconds (a busy machine is slow, not
    // that slow).
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { PostEvent(Event{EventKind::Menu, 0, 99}); });
    watchdog.start(5000);
    auto start = std::chrono::steady_clock::now();
    Event e = WaitEvent(10);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(e.Kind, EventKind::None);
    EXPECT_GE(ms, 8.0);
    watchdog.stop();

    for (int object : {1, 2})
        PostEvent(Event{EventKind::Menu, 0, object});
    EXPECT_EQ(WaitEvent(10).Object, 1);
    EXPECT_EQ(WaitEvent(10).Object, 2);
}

TEST_F(Gui, WindowSizesCloseAndResizeEvents)
{
    ASSERT_TRUE(CreateMenuBar(3, 0));
    MenuTitle("File");
    MenuItem(39, "Quit");
    EXPECT_EQ(WindowWidth(0), 400);
    EXPECT_EQ(WindowHeight(0), 300) << "the menu bar is outside the inner area";
    EXPECT_GT(WindowHeight(0, false), 300);
    EXPECT_GE(WindowWidth(0, false), 400);
    ASSERT_TRUE(TextControl(0, 40, 5, 12, 172, 25, ""));
    QWidget* window = qt::WindowObject(0);
    EXPECT_EQ(qt::ControlObject(40)->mapTo(window, QPoint(0, 0)), QPoint(5, 12 + window->height() - 300))
        << "controls sit below the menu bar";

    int x = WindowX(0), y = WindowY(0);
    ResizeWindow(0, x, y, 345, 315);
    Drain();
    EXPECT_EQ(WindowWidth(0), 345);
    EXPECT_EQ(WindowHeight(0), 315);
    EXPECT_EQ(WindowX(0), x) << "passing its own outer position leaves it in place";
    EXPECT_EQ(WindowY(0), y);

    // The program's resize raises nothing; the user's does.
    ResizeWindow(0, x, y, 360, 320);
    EXPECT_EQ(Next(), "none");
    window->resize(500, 420);
    EXPECT_EQ(Next(), "size 0");

    // The close box asks; the window stays until the program closes it.
    window->close();
    EXPECT_EQ(Next(), "close 0");
    EXPECT_TRUE(IsWindow(0));
    CloseWindow(0);
    EXPECT_FALSE(IsWindow(0));
    EXPECT_FALSE(IsControl(40));
    EXPECT_EQ(GetMenuItemText(3, 39), "");
}

// A window brought forward is restored first when it was minimised.
TEST_F(Gui, ActivatingRestoresAMinimisedWindow)
{
    QWidget* window = qt::WindowObject(0);
    window->showMinimized();
    ASSERT_TRUE(window->isMinimized());
    ActivateWindow(0);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Gui, ClipboardRoundTrip)
{
    for (std::string text : {"Grüße ✓ Chr$(176)", "  myBm$ = \"\"\r\n  ' GUI BITMAP 0,0,myBm$,5,7\r\n"}) {
        SetClipboardText(text);
        EXPECT_EQ(GetClipboardText(), text) << "line ends stay as they are";
    }
}

// The colours at these places of the current drawing output.
std::vector<Rgb> Points(std::initializer_list<std::pair<int, int>> places)
{
    std::vector<Rgb> colours;
    for (auto [x, y] : places)
        colours.push_back(Point(x, y));
    return colours;
}
using Colours = std::vector<Rgb>;
const Rgb White = RGB(255, 255, 255), Grey = RGB(196, 196, 196), Scarlet = RGB(255, 0, 0);

// What the driver reads of a window: every kind of control with its place
// (in the scroll area for what sits in one), text and state, tool tips and
// the pixels a canvas shows.
TEST_F(Gui, WindowControlsToolTipsAndCanvasContent)
{
    ASSERT_TRUE(ScrollAreaControl(0, 2, 10, 40, 200, 150, 320, 500));
    ASSERT_TRUE(CanvasControl(0, 1, 3, 4, 30, 20, 2));
    ASSERT_TRUE(ButtonControl(0, 11, 180, 8, 50, 25, "Restore"));
    ASSERT_TRUE(ComboBoxControl(0, 12, 235, 8, 100, 25));
    AddItem(12, -1, "A");
    AddItem(12, -1, "B");
    SetState(12, 1);
    ASSERT_TRUE(TextControl(0, 40, 5, 12, 172, 25, "16 x 24"));
    ASSERT_TRUE(CheckBoxControl(0, 109, 10, 100, 80, 25, "Degree"));
    SetState(109, 1);
    ASSERT_TRUE(StringControl(0, 110, 10, 70, 60, 25, "20"));
    ASSERT_TRUE(SpinControl(0, 111, 10, 40, 60, 25, 1, 9));
    SetState(111, 7);
    ASSERT_TRUE(OpenWindow(5, 0, 0, 100, 100, "Other", WindowTitleBar));
    ASSERT_TRUE(ButtonControl(5, 50, 1, 2, 3, 4, "elsewhere"));

    const char* kinds[] = {"button", "list", "label", "field", "checkbox", "spin", "scrollarea", "canvas"};
    std::string listed;
    for (const ControlInfo& c : WindowControls(0))
        listed += std::to_string(c.Number) + " " + kinds[int(c.Kind)] + " " + std::to_string(c.X) + "," +
                  std::to_string(c.Y) + " " + std::to_string(c.Width) + "x" + std::to_string(c.Height) + " '" +
                  c.Text + "' " + std::to_string(c.State) + "\n";
    EXPECT_EQ(listed,
              "1 canvas 3,4 30x20 '' 0\n"
              "2 scrollarea 10,40 200x150 '' 0\n"
              "11 button 180,8 50x25 'Restore' 0\n"
              "12 list 235,8 100x25 'B' 1\n"
              "40 label 5,12 172x25 '16 x 24' 0\n"
              "109 checkbox 10,100 80x25 'Degree' 1\n"
              "110 field 10,70 60x25 '20' 0\n"
              "111 spin 10,40 60x25 '7' 7\n");
    CloseWindow(5);
    EXPECT_TRUE(WindowControls(5).empty());

    SetToolTip(11, "Back to the glyph as it was");
    EXPECT_EQ(GetToolTip(11), "Back to the glyph as it was");
    EXPECT_EQ(GetToolTip(12) + GetToolTip(999), "");

    ASSERT_TRUE(StartDrawingCanvas(1));
    Box(0, 0, 30, 20, Grey);
    Plot(29, 19, Scarlet);
    StopDrawing();
    Image shown = GetCanvasImage(1);
    ASSERT_EQ(std::pair(shown.Width, shown.Height), std::pair(30, 20));
    EXPECT_EQ((Colours{shown.Get(0, 0), shown.Get(29, 19)}), (Colours{Grey, Scarlet}));
    EXPECT_TRUE(GetCanvasImage(11).Empty()) << "a button is no canvas";
    EXPECT_TRUE(GetCanvasImage(999).Empty());
}

TEST_F(Gui, BoxPlotPointAndLinesOnACanvas)
{
    const Rgb mid = RGB(127, 127, 127), green = RGB(0, 255, 0), dark = RGB(9, 9, 9);
    ASSERT_TRUE(CanvasControl(0, 1, 10, 10, 100, 50));
    ASSERT_TRUE(StartDrawingCanvas(1));
    EXPECT_EQ(std::pair(OutputWidth(), OutputHeight()), std::pair(100, 50));
    EXPECT_EQ(Point(0, 0), White) << "a new canvas is white";
    Box(0, 0, 100, 50, 0);
    Box(10, 10, 5, 5, Scarlet);
    Plot(99, 49, RGB(1, 2, 3));
    EXPECT_EQ(Points({{14, 14}, {15, 14}, {14, 15}, {100, 0}}), (Colours{Scarlet, 0, 0, 0}));
    EXPECT_EQ(Point(99, 49), 0x030201u) << "red in the lowest byte";
    Box(95, 45, 20, 20, dark);  // clipped
    Line(20, 0, 20, 49, mid);   // both ends drawn
    Line(-1000000, 30, 1000000, 30, green);
    EXPECT_EQ(Points({{99, 49}, {20, 0}, {20, 49}, {21, 25}, {0, 30}, {99, 30}}),
              (Colours{dark, mid, mid, 0, green, green}));
    StopDrawing();

    // What was drawn survives a resize where the sizes overlap.
    ResizeControl(1, 10, 10, 120, 40);
    ASSERT_TRUE(StartDrawingCanvas(1));
    EXPECT_EQ(OutputWidth(), 120);
    EXPECT_EQ(Points({{10, 10}, {110, 10}}), (Colours{Scarlet, White}));
    StopDrawing();

    // An image shown on the canvas; pixels outside the image stay.
    CreateImage(77, 3, 2, RGB(4, 5, 6));
    SetCanvasImage(1, 77);
    ASSERT_TRUE(StartDrawingCanvas(1));
    EXPECT_EQ(Points({{2, 1}, {10, 10}}), (Colours{RGB(4, 5, 6), Scarlet}));
    StopDrawing();
    FreeImage(77);
}

TEST_F(Gui, DrawingOnImagesAndScaling)
{
    const Rgb blue = RGB(0, 0, 255);
    CreateImage(90, 40, 30, Grey);
    ASSERT_TRUE(StartDrawingImage(90));
    EXPECT_EQ(OutputWidth(), 40);
    Box(2, 2, 2, 2, White);
    Plot(5, 5, blue);
    EXPECT_EQ(Points({{3, 3}, {4, 3}}), (Colours{White, Grey}));
    ASSERT_TRUE(GrabImage(91, 2, 2, 4, 4));
    StopDrawing();
    EXPECT_EQ(GetImage(90)->Get(5, 5), blue);
    ASSERT_NE(GetImage(91), nullptr);
    EXPECT_EQ(GetImage(91)->Width, 4);
    EXPECT_EQ((Colours{GetImage(91)->Get(0, 0), GetImage(91)->Get(3, 3)}), (Colours{White, blue}));

    // A black and white checkerboard reduced by two comes out grey.
    Image& board = CreateImage(92, 8, 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
            board.Set(x, y, (x + y) % 2 ? White : 0);
    ASSERT_TRUE(StartDrawingImage(90));
    DrawImageScaled(92, 10, 10, 4, 4);
    for (int y = 10; y < 14; y++)
        for (int x = 10; x < 14; x++) {
            Rgb c = Point(x, y);
            EXPECT_NEAR(Red(c), 128, 1) << x << "," << y;
            EXPECT_TRUE(Red(c) == Green(c) && Green(c) == Blue(c)) << x << "," << y;
        }
    DrawImage(92, 30, 20);
    EXPECT_EQ(Points({{14, 10}, {30, 20}, {31, 20}}), (Colours{Grey, 0, White}));
    StopDrawing();
    for (int n : {90, 91, 92})
        FreeImage(n);
}

// A canvas can show an image as it stands: later changes of the image show,
// until the canvas is drawn on, which takes a copy first.
TEST_F(Gui, CanvasShowsAnImageWithoutACopyUntilDrawnOn)
{
    ASSERT_TRUE(CanvasControl(0, 1, 0, 0, 20, 10));
    Image& sheet = CreateImage(90, 10, 10, Grey);
    ShowImageOnCanvas(1, 90);
    sheet.Set(3, 3, White);  // after the call: shown all the same
    Image shown = GetCanvasImage(1);
    EXPECT_EQ((Colours{shown.Get(3, 3), shown.Get(4, 4), shown.Get(15, 5)}), (Colours{White, Grey, White}));

    ASSERT_TRUE(StartDrawingCanvas(1));
    EXPECT_EQ(Point(3, 3), White);
    Plot(4, 4, 0);
    StopDrawing();
    sheet.Set(5, 5, White);  // the canvas has its own pixels now
    shown = GetCanvasImage(1);
    EXPECT_EQ((Colours{shown.Get(3, 3), shown.Get(4, 4), shown.Get(5, 5)}), (Colours{White, 0, Grey}));
    FreeImage(90);
}

TEST_F(Gui, TextInAFont)
{
    ASSERT_TRUE(LoadFont(1, "DejaVu Sans", 16));
    EXPECT_TRUE(IsFont(1));
    CreateImage(93, 200, 60, White);
    ASSERT_TRUE(StartDrawingImage(93));
    DrawingFont(1);
    int height = TextHeight("Hg_^");
    EXPECT_GE(height, 20);  // 16 points are 21 pixels
    EXPECT_LE(height, 32);
    EXPECT_GT(TextWidth("MM"), TextWidth("M"));
    EXPECT_EQ(TextWidth(""), 0);
    DrawText(10, 5, "H", Scarlet);
    int inked = 0, outside = 0, notRed = 0;
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 200; x++)
            if (Rgb c = Point(x, y); Green(c) < 128) {
                bool inBox = x >= 10 && x < 10 + TextWidth("H") && y >= 5 && y < 5 + height;
                (inBox ? inked : outside)++;
                notRed += Red(c) < 200;
            }
    EXPECT_GT(inked, 20);
    EXPECT_EQ(outside, 0) << "top-left placement, nothing painted around the letter";
    EXPECT_EQ(notRed, 0);
    StopDrawing();

    // Antialiased text on an image, in opaque red.
    Image& sheet = CreateImage(116, 80, 80);
    ASSERT_TRUE(StartVectorDrawing(116));
    VectorFont(1, 60.0);
    VectorColour(0xFFFFFFFFu);
    AddPathBox(0, 0, 80, 80);
    FillPath();
    EXPECT_EQ(sheet.Get(79, 79), White);
    VectorColour(0xFF0000FFu);
    MovePathCursor(10, 1);
    DrawVectorText("O");
    StopVectorDrawing();
    int red = 0, grey = 0, leftOfCursor = 0;
    for (int y = 0; y < 80; y++)
        for (int x = 0; x < 80; x++) {
            int level = Green(sheet.Get(x, y));
            red += level < 40 && Red(sheet.Get(x, y)) == 255;
            grey += level > 40 && level < 215;
            leftOfCursor += x <= 5 && sheet.Get(x, y) != White;
        }
    EXPECT_GT(red, 50);
    EXPECT_GT(grey, 5) << "edges are antialiased";
    EXPECT_EQ(leftOfCursor, 0);
    FreeImage(93);
    FreeImage(116);
    FreeFont(1);
    EXPECT_FALSE(IsFont(1));

    EXPECT_FALSE(RegisterFontFile("/no/such/font.ttf"));
    const char* file = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    if (QFile::exists(file)) {
        EXPECT_TRUE(RegisterFontFile(file));
    }
}

// Qt sets the C library's locale from the environment; numbers must keep
// their full stop all the same.
TEST_F(Gui, NumbersKeepAFullStop)
{
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 2.5);
    EXPECT_STREQ(text, "2.5");
}

TEST_F(Gui, MissingNumbersDoNothing)
{
    EXPECT_EQ(WindowWidth(55), 0);
    EXPECT_EQ(GetState(999), -1);
    EXPECT_EQ(GetText(999), "");
    EXPECT_FALSE(StartDrawingCanvas(999));
    EXPECT_FALSE(ButtonControl(55, 5, 0, 0, 10, 10, "x"));
    EXPECT_FALSE(CanvasControl(0, 6, 0, 0, 10, 10, 12345));
    EXPECT_FALSE(CreateMenuBar(3, 55));
    MenuItem(5, "nowhere");
    AddShortcut(55, 'A', 1);
    Box(0, 0, 5, 5, 0);
    EXPECT_EQ(Point(0, 0), 0u);
    EXPECT_EQ(Next(), "none");
}

// Runs last: ends the layer and starts it again.
TEST_F(Gui, EndClosesEverythingAndStartsAgain)
{
    ASSERT_TRUE(ButtonControl(0, 11, 10, 10, 50, 25, "Go"));
    ASSERT_TRUE(LoadFont(0, "DejaVu Sans", 10));
    EndGui();
    EXPECT_FALSE(GuiRunning());
    EXPECT_FALSE(IsWindow(0));
    EXPECT_FALSE(IsControl(11));
    EXPECT_FALSE(IsFont(0));
    ASSERT_TRUE(InitGui());
    ASSERT_TRUE(OpenWindow(0, 10, 10, 100, 100, "Again", WindowTitleBar));
    EXPECT_EQ(WindowWidth(0), 100);
}

}  // namespace
