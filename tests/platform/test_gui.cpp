// The Qt GUI layer on the offscreen platform: controls and their events,
// menus and shortcuts, the event wait, the clipboard and drawing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSpinBox>
#include <QWheelEvent>

#include <chrono>
#include <clocale>
#include <cstdio>

#include "platform/gui.h"
#include "platform/qt/gui_qt.h"

// Qt's own key-press path (shortcut map first), as its test library uses it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

namespace {

using namespace platform;

class Gui : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(InitGui()); }

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

    // The next queued event, without waiting for new ones.
    static Event Next()
    {
        QCoreApplication::processEvents();
        return WaitEvent(0);
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
    EXPECT_EQ(GetState(12), -1);
    SetState(12, 0);  // position 0 of an empty list
    EXPECT_EQ(GetState(12), -1);

    for (const char* text : {"a", "b", "c", "d"})
        AddItem(12, -1, text);
    EXPECT_EQ(CountItems(12), 4);
    EXPECT_EQ(GetState(12), -1) << "adding items selects nothing";
    EXPECT_EQ(GetText(12), "");

    SetState(12, 4);
    EXPECT_EQ(GetState(12), -1) << "a position at the count leaves no selection";
    SetState(12, 2);
    EXPECT_EQ(GetState(12), 2);
    EXPECT_EQ(GetText(12), "c");

    RemoveItem(12, 0);  // before the selected one
    EXPECT_EQ(GetState(12), 1);
    EXPECT_EQ(GetText(12), "c");
    AddItem(12, 0, "z");  // inserted before it
    EXPECT_EQ(GetState(12), 2);
    EXPECT_EQ(GetText(12), "c");
    RemoveItem(12, 3);  // after it
    EXPECT_EQ(GetState(12), 2);
    RemoveItem(12, 2);  // the selected one
    EXPECT_EQ(GetState(12), -1);
    EXPECT_EQ(GetItemText(12, 0), "z");
    EXPECT_EQ(GetItemText(12, 1), "b");
    EXPECT_EQ(GetItemText(12, 2), "");

    SetState(12, 1);
    ClearItems(12);
    EXPECT_EQ(CountItems(12), 0);
    EXPECT_EQ(GetState(12), -1);
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
    EXPECT_EQ(Next().Kind, EventKind::None);

    EXPECT_EQ(GetState(111), 7);
    EXPECT_EQ(GetText(111), "7");
    EXPECT_EQ(GetText(110), "32");
    EXPECT_EQ(GetState(109), 1);
    EXPECT_EQ(GetText(11), "Again");

    // The user's changes do raise them.
    AddItem(12, -1, "more");
    auto* combo = static_cast<QComboBox*>(qt::ControlObject(12));
    PressKey(combo, Qt::Key_Down, Qt::NoModifier);
    Event e = Next();
    EXPECT_EQ(e.Kind, EventKind::Control);
    EXPECT_EQ(e.Window, 0);
    EXPECT_EQ(e.Object, 12);
    EXPECT_EQ(e.Type, ControlEvent::Change);
    EXPECT_EQ(GetState(12), 1);

    PressKey(qt::ControlObject(111), Qt::Key_Up, Qt::NoModifier);
    e = Next();
    EXPECT_EQ(e.Object, 111);
    EXPECT_EQ(e.Type, ControlEvent::Change);
    EXPECT_EQ(GetState(111), 8);

    PressKey(qt::ControlObject(110), Qt::Key_5, Qt::NoModifier, "5");
    e = Next();
    EXPECT_EQ(e.Object, 110);
    EXPECT_EQ(e.Type, ControlEvent::Change);
    EXPECT_EQ(GetText(110), "325");

    static_cast<QAbstractButton*>(qt::ControlObject(109))->click();
    e = Next();
    EXPECT_EQ(e.Object, 109);
    EXPECT_EQ(e.Type, ControlEvent::LeftClick);
    EXPECT_EQ(GetState(109), 0);

    static_cast<QAbstractButton*>(qt::ControlObject(11))->click();
    e = Next();
    EXPECT_EQ(e.Object, 11);
    EXPECT_EQ(e.Type, ControlEvent::LeftClick);
    EXPECT_EQ(Next().Kind, EventKind::None);
}

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
    QAction* recent = qt::MenuItemAction(3, 20);
    ASSERT_NE(recent, nullptr);
    auto* submenu = qobject_cast<QMenu*>(recent->parent());
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(submenu->title(), "&Recent");

    qt::MenuItemAction(3, 68)->trigger();
    Event e = Next();
    EXPECT_EQ(e.Kind, EventKind::Menu);
    EXPECT_EQ(e.Window, 0);
    EXPECT_EQ(e.Object, 68);

    AddShortcut(0, ModControl | 'O', 17);
    AddShortcut(0, KeyRight, 64);
    AddShortcut(0, ModAlt | KeyUp, 47);
    AddShortcut(0, ModControl | '2', 53);
    ActivateWindow(0);
    QWidget* window = qt::WindowObject(0);
    // A window manager, if there is one, answers in its own time.
    for (int i = 0; i < 100 && QApplication::activeWindow() != window; i++)
        WaitEvent(10);
    Drain();
    ASSERT_EQ(QApplication::activeWindow(), window);
    EXPECT_EQ(ActiveWindow(), 0);

    PressKey(window, Qt::Key_O, Qt::ControlModifier);
    e = Next();
    EXPECT_EQ(e.Kind, EventKind::Menu);
    EXPECT_EQ(e.Object, 17);
    PressKey(window, Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(Next().Object, 64);
    PressKey(window, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(Next().Object, 47);
    PressKey(window, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(Next().Object, 53);

    // Binding the key again replaces the old binding, whatever the letter's case.
    AddShortcut(0, ModControl | 'o', 99);
    PressKey(window, Qt::Key_O, Qt::ControlModifier);
    e = Next();
    EXPECT_EQ(e.Kind, EventKind::Menu);
    EXPECT_EQ(e.Object, 99);
    EXPECT_EQ(Next().Kind, EventKind::None);
}

TEST_F(Gui, CanvasMouseWheelAndCharacters)
{
    ASSERT_TRUE(ScrollAreaControl(0, 2, 10, 40, 200, 150, 320, 500));
    ASSERT_TRUE(CanvasControl(0, 1, 0, 0, 320, 500, 2));
    QWidget* canvas = qt::ControlObject(1);
    ASSERT_NE(canvas, nullptr);
    Drain();

    Mouse(canvas, QEvent::MouseButtonPress, {12, 34}, Qt::LeftButton, Qt::LeftButton);
    Event e = Next();
    EXPECT_EQ(e.Kind, EventKind::Control);
    EXPECT_EQ(e.Window, 0);
    EXPECT_EQ(e.Object, 1);
    EXPECT_EQ(e.Type, ControlEvent::LeftClick);
    EXPECT_EQ(e.MouseX, 12);
    EXPECT_EQ(e.MouseY, 34);
    EXPECT_EQ(e.Buttons, ButtonLeft);

    Mouse(canvas, QEvent::MouseMove, {15, 36}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    e = Next();
    EXPECT_EQ(e.Type, ControlEvent::MouseMove);
    EXPECT_EQ(e.MouseX, 15);
    EXPECT_EQ(e.Buttons, ButtonLeft | ButtonRight);

    Mouse(canvas, QEvent::MouseButtonPress, {7, 8}, Qt::RightButton, Qt::RightButton);
    e = Next();
    EXPECT_EQ(e.Type, ControlEvent::RightClick);
    EXPECT_EQ(e.MouseX, 7);
    EXPECT_EQ(e.MouseY, 8);
    EXPECT_EQ(e.Buttons, ButtonRight);

    // Half notches add up; only whole ones make an event.
    Wheel(canvas, 60);
    EXPECT_EQ(Next().Kind, EventKind::None);
    Wheel(canvas, 60);
    e = Next();
    EXPECT_EQ(e.Type, ControlEvent::Wheel);
    EXPECT_EQ(e.Wheel, 1);
    EXPECT_EQ(Next().Kind, EventKind::None);
    Wheel(canvas, -240);
    e = Next();
    EXPECT_EQ(e.Type, ControlEvent::Wheel);
    EXPECT_EQ(e.Wheel, -2);
    EXPECT_EQ(ScrollAreaY(2), 0) << "the wheel over a canvas scrolls nothing by itself";

    SetScrollAreaY(2, 40);
    EXPECT_EQ(ScrollAreaY(2), 40);
    EXPECT_EQ(Next().Kind, EventKind::None);

    PressKey(canvas, Qt::Key_Space, Qt::NoModifier, " ");
    e = Next();
    EXPECT_EQ(e.Type, ControlEvent::Input);
    EXPECT_EQ(e.Character, 32u);
    PressKey(canvas, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("é"));
    EXPECT_EQ(Next().Character, 0xE9u);
}

TEST_F(Gui, WaitTimesOutAndKeepsOrder)
{
    auto start = std::chrono::steady_clock::now();
    Event e = WaitEvent(10);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(e.Kind, EventKind::None);
    EXPECT_GE(ms, 8.0);
    EXPECT_LT(ms, 300.0);

    Event a, b;
    a.Kind = EventKind::Menu;
    a.Object = 1;
    b.Kind = EventKind::Menu;
    b.Object = 2;
    PostEvent(a);
    PostEvent(b);
    EXPECT_EQ(WaitEvent(10).Object, 1);
    EXPECT_EQ(WaitEvent(10).Object, 2);
}

TEST_F(Gui, WindowSizesCloseAndResizeEvents)
{
    EXPECT_EQ(WindowWidth(0), 400);
    EXPECT_EQ(WindowHeight(0), 300);
    ASSERT_TRUE(CreateMenuBar(3, 0));
    MenuTitle("File");
    MenuItem(39, "Quit");
    EXPECT_EQ(WindowWidth(0), 400);
    EXPECT_EQ(WindowHeight(0), 300) << "the menu bar is outside the inner area";
    EXPECT_GT(WindowHeight(0, false), 300);
    EXPECT_GE(WindowWidth(0, false), 400);

    ASSERT_TRUE(TextControl(0, 40, 5, 12, 172, 25, ""));
    QWidget* label = qt::ControlObject(40);
    QWidget* window = qt::WindowObject(0);
    EXPECT_EQ(label->mapTo(window, QPoint(0, 0)), QPoint(5, 12 + window->height() - 300))
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
    EXPECT_EQ(Next().Kind, EventKind::None);
    qt::WindowObject(0)->resize(500, 420);
    Event e = Next();
    EXPECT_EQ(e.Kind, EventKind::SizeWindow);
    EXPECT_EQ(e.Window, 0);

    // The close box asks; the window stays until the program closes it.
    qt::WindowObject(0)->close();
    e = Next();
    EXPECT_EQ(e.Kind, EventKind::CloseWindow);
    EXPECT_EQ(e.Window, 0);
    EXPECT_TRUE(IsWindow(0));
    CloseWindow(0);
    EXPECT_FALSE(IsWindow(0));
    EXPECT_FALSE(IsControl(40));
    EXPECT_EQ(GetMenuItemText(3, 39), "");
}

TEST_F(Gui, ClipboardRoundTrip)
{
    SetClipboardText("Grüße ✓ Chr$(176)");
    EXPECT_EQ(GetClipboardText(), "Grüße ✓ Chr$(176)");
    const std::string lines = "  myBm$ = \"\"\r\n  ' GUI BITMAP 0,0,myBm$,5,7\r\n";
    SetClipboardText(lines);
    EXPECT_EQ(GetClipboardText(), lines) << "line ends stay as they are";
}

TEST_F(Gui, BoxPlotPointAndLinesOnACanvas)
{
    ASSERT_TRUE(CanvasControl(0, 1, 10, 10, 100, 50));
    ASSERT_TRUE(StartDrawingCanvas(1));
    EXPECT_EQ(OutputWidth(), 100);
    EXPECT_EQ(OutputHeight(), 50);
    EXPECT_EQ(Point(0, 0), RGB(255, 255, 255)) << "a new canvas is white";
    Box(0, 0, 100, 50, RGB(0, 0, 0));
    Box(10, 10, 5, 5, RGB(255, 0, 0));
    EXPECT_EQ(Point(14, 14), RGB(255, 0, 0));
    EXPECT_EQ(Point(15, 14), RGB(0, 0, 0));
    EXPECT_EQ(Point(14, 15), RGB(0, 0, 0));
    Plot(99, 49, RGB(1, 2, 3));
    EXPECT_EQ(Point(99, 49), 0x030201u) << "red in the lowest byte";
    EXPECT_EQ(Point(100, 0), 0u);
    Box(95, 45, 20, 20, RGB(9, 9, 9));  // clipped
    EXPECT_EQ(Point(99, 49), RGB(9, 9, 9));

    Line(20, 0, 20, 49, RGB(127, 127, 127));
    EXPECT_EQ(Point(20, 0), RGB(127, 127, 127));
    EXPECT_EQ(Point(20, 49), RGB(127, 127, 127)) << "both ends are drawn";
    EXPECT_EQ(Point(21, 25), RGB(0, 0, 0));
    Line(-1000000, 30, 1000000, 30, RGB(0, 255, 0));
    EXPECT_EQ(Point(0, 30), RGB(0, 255, 0));
    EXPECT_EQ(Point(99, 30), RGB(0, 255, 0));
    StopDrawing();

    // What was drawn survives a resize where the sizes overlap.
    ResizeControl(1, 10, 10, 120, 40);
    ASSERT_TRUE(StartDrawingCanvas(1));
    EXPECT_EQ(OutputWidth(), 120);
    EXPECT_EQ(Point(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(Point(110, 10), RGB(255, 255, 255));
    StopDrawing();

    CreateImage(77, 3, 2, RGB(4, 5, 6));
    SetCanvasImage(1, 77);
    ASSERT_TRUE(StartDrawingCanvas(1));
    EXPECT_EQ(Point(2, 1), RGB(4, 5, 6));
    EXPECT_EQ(Point(10, 10), RGB(255, 0, 0)) << "pixels outside the image stay";
    StopDrawing();
    FreeImage(77);
}

TEST_F(Gui, DrawingOnImagesAndScaling)
{
    CreateImage(90, 40, 30, RGB(196, 196, 196));
    ASSERT_TRUE(StartDrawingImage(90));
    EXPECT_EQ(OutputWidth(), 40);
    Box(2, 2, 2, 2, RGB(255, 255, 255));
    Plot(5, 5, RGB(0, 0, 255));
    EXPECT_EQ(Point(3, 3), RGB(255, 255, 255));
    EXPECT_EQ(Point(4, 3), RGB(196, 196, 196));
    EXPECT_EQ(Point(5, 5), RGB(0, 0, 255));
    ASSERT_TRUE(GrabImage(91, 2, 2, 4, 4));
    StopDrawing();
    EXPECT_EQ(GetImage(90)->Get(5, 5), RGB(0, 0, 255));
    ASSERT_NE(GetImage(91), nullptr);
    EXPECT_EQ(GetImage(91)->Width, 4);
    EXPECT_EQ(GetImage(91)->Get(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetImage(91)->Get(3, 3), RGB(0, 0, 255));

    // A black and white checkerboard reduced by two comes out grey.
    Image& board = CreateImage(92, 8, 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
            board.Set(x, y, (x + y) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    ASSERT_TRUE(StartDrawingImage(90));
    DrawImageScaled(92, 10, 10, 4, 4);
    for (int y = 10; y < 14; y++)
        for (int x = 10; x < 14; x++) {
            Rgb c = Point(x, y);
            EXPECT_NEAR(Red(c), 128, 1) << x << "," << y;
            EXPECT_EQ(Red(c), Green(c));
            EXPECT_EQ(Red(c), Blue(c));
        }
    EXPECT_EQ(Point(14, 10), RGB(196, 196, 196));
    DrawImage(92, 30, 20);
    EXPECT_EQ(Point(30, 20), RGB(0, 0, 0));
    EXPECT_EQ(Point(31, 20), RGB(255, 255, 255));
    StopDrawing();
    for (int n : {90, 91, 92})
        FreeImage(n);
}

TEST_F(Gui, TextInAFont)
{
    ASSERT_TRUE(LoadFont(1, "DejaVu Sans", 16));
    EXPECT_TRUE(IsFont(1));
    CreateImage(93, 200, 60, RGB(255, 255, 255));
    ASSERT_TRUE(StartDrawingImage(93));
    DrawingFont(1);
    int height = TextHeight("Hg_^");
    EXPECT_GE(height, 20);  // 16 points are 21 pixels
    EXPECT_LE(height, 32);
    EXPECT_GT(TextWidth("MM"), TextWidth("M"));
    EXPECT_EQ(TextWidth(""), 0);
    DrawText(10, 5, "H", RGB(255, 0, 0));
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

    // Antialiased text on an image.
    Image& sheet = CreateImage(116, 80, 80);
    ASSERT_TRUE(StartVectorDrawing(116));
    VectorFont(1, 60.0);
    VectorColour(0xFFFFFFFFu);
    AddPathBox(0, 0, 80, 80);
    FillPath();
    EXPECT_EQ(sheet.Get(79, 79), RGB(255, 255, 255));
    VectorColour(0xFF0000FFu);  // opaque red
    MovePathCursor(10, 1);
    DrawVectorText("O");
    StopVectorDrawing();
    int red = 0, grey = 0;
    for (int y = 0; y < 80; y++)
        for (int x = 0; x < 80; x++) {
            int level = Green(sheet.Get(x, y));
            red += level < 40 && Red(sheet.Get(x, y)) == 255;
            grey += level > 40 && level < 215;
        }
    EXPECT_GT(red, 50);
    EXPECT_GT(grey, 5) << "edges are antialiased";
    for (int y = 0; y < 80; y++)
        EXPECT_EQ(sheet.Get(5, y), RGB(255, 255, 255)) << "nothing left of the cursor";
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
    EXPECT_EQ(Next().Kind, EventKind::None);
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
