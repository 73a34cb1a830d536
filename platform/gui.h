// Numbered windows and controls, menus and shortcuts, the one event queue,
// drawing on canvases and images, fonts and the clipboard.
//
// Every call on a window, control, menu, font or image number that does not
// exist does nothing and returns 0, -1, false or an empty text. So the
// program's procedures can run (and be tested) with no window open and
// before InitGui().
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/requesters.h"

namespace platform {

// Starts the GUI layer (idempotent). False when no display can be used.
bool InitGui();
// Closes every window and ends the GUI layer.
void EndGui();
bool GuiRunning();

// ---- Windows -------------------------------------------------------------
enum WindowFlags {
    WindowTitleBar = 1,
    WindowSystemMenu = 2,
    WindowMinimizeBox = 4,
    WindowSizeable = 8,
    WindowMaximizeBox = 16,
    WindowCentered = 32,
};

// Inner size; (x, y) is the outer position. Replaces a window of that number.
bool OpenWindow(int window, int x, int y, int innerWidth, int innerHeight,
                const std::string& title, int flags);
bool IsWindow(int window);
void CloseWindow(int window);
void SetWindowTitle(int window, const std::string& title);
std::string GetWindowTitle(int window);
int WindowX(int window);  // outer position
int WindowY(int window);
int WindowWidth(int window, bool inner = true);
int WindowHeight(int window, bool inner = true);
// Moves to the outer position (x, y) and sets the inner size.
void ResizeWindow(int window, int x, int y, int innerWidth, int innerHeight);
void ActivateWindow(int window);
// The part of the screen that windows may take (task bars left out), as x,
// y, width and height: of the screen `window` is on, the primary screen when
// that window is not open.
void ScreenArea(int window, int& x, int& y, int& width, int& height);
// The inner size, at most innerWidth x innerHeight, of a sizeable window
// without a menu bar opened with its frame at (x, y): OpenWindow fits such a
// window to the screen it opens on this way, its frame included.
void FitWindowSize(int x, int y, int& innerWidth, int& innerHeight);
int ActiveWindow();  // -1 when none of ours
// True once the window system has framed the window and the window stands
// where it was placed; false before, and always where nothing frames
// windows (the offscreen platform). For the driver's checks under a window
// manager.
bool WindowPlaced(int window);

// ---- Events --------------------------------------------------------------
enum class EventKind { None = 0, Control, Menu, CloseWindow, SizeWindow };
enum class ControlEvent {
    None = 0,
    LeftClick,   // canvas: left button pressed; button and check box: clicked
    RightClick,  // canvas: right button pressed
    MouseMove,   // canvas
    Wheel,       // canvas: whole notches in Event::Wheel
    Input,       // canvas: a typed character in Event::Character
    Change,      // list picked, spin field or text field changed
};

// Canvas buttons held (Event::Buttons).
enum MouseButtons { ButtonLeft = 1, ButtonRight = 2 };

struct Event {
    EventKind Kind = EventKind::None;
    int Window = -1;
    int Object = -1;  // control, menu item or shortcut number
    ControlEvent Type = ControlEvent::None;
    // Canvas events: mouse inside the canvas, buttons held, notches turned
    // (positive away from the user), character typed.
    int MouseX = 0;
    int MouseY = 0;
    int Buttons = 0;
    int Wheel = 0;
    uint32_t Character = 0;
};

// The next event of any window, waiting at most `timeoutMs`; Kind None when
// the wait timed out.
Event WaitEvent(int timeoutMs = 10);
// Queues an event as if the user had made it (driver and tests).
void PostEvent(const Event& event);
// A mouse button pressed and released as the user does it at (x, y) of a
// window's inner area (driver and tests): whatever shows there takes it, a
// control, a scroll bar or nothing. `buttons` is ButtonLeft or ButtonRight.
void ClickWindow(int window, int x, int y, int buttons);

// ---- Controls ------------------------------------------------------------
// `parent` is a scroll area to place the control in, or -1 for the window.
bool ButtonControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent = -1);
bool ComboBoxControl(int window, int control, int x, int y, int w, int h, int parent = -1);
bool TextControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent = -1);
bool StringControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent = -1);
bool CheckBoxControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent = -1);
bool SpinControl(int window, int control, int x, int y, int w, int h, int minimum, int maximum, int parent = -1);
bool ScrollAreaControl(int window, int control, int x, int y, int w, int h, int innerWidth, int innerHeight, int parent = -1);
bool CanvasControl(int window, int control, int x, int y, int w, int h, int parent = -1);
bool IsControl(int control);
// Gives the keyboard focus to a control; false when it cannot take it.
bool FocusControl(int control);
// The control with the keyboard focus; -1 when none of ours has it.
int FocusedControl();
void FreeControl(int control);

// List: selected position (-1 none); check box: 1 ticked; spin field: value.
// Program changes raise no event.
int GetState(int control);
void SetState(int control, int state);
std::string GetText(int control);
void SetText(int control, const std::string& text);
// position -1 appends.
void AddItem(int control, int position, const std::string& text);
void RemoveItem(int control, int position);
void ClearItems(int control);
int CountItems(int control);
std::string GetItemText(int control, int position);
int ControlX(int control);
int ControlY(int control);
int ControlWidth(int control);
int ControlHeight(int control);
void ResizeControl(int control, int x, int y, int w, int h);
void HideControl(int control, bool hide);
void SetToolTip(int control, const std::string& text);
void SetScrollAreaInner(int control, int innerWidth, int innerHeight);
int ScrollAreaY(int control);
// The width of the border a scroll area draws around its inner area.
int ScrollAreaBorder(int control);
void SetScrollAreaY(int control, int y);
int ScrollAreaX(int control);
void SetScrollAreaX(int control, int x);

// What a window holds, for the scripted driver and the tests.
enum class ControlKind { Button, List, Label, Field, CheckBox, Spin, ScrollArea, Canvas };
struct ControlInfo {
    int Number = -1;
    ControlKind Kind = ControlKind::Button;
    // In the window's inner area, or in the scroll area holding the control.
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    std::string Text;  // as GetText gives it
    int State = 0;     // as GetState gives it
};
// The controls of a window ordered by number; none when it is not open.
std::vector<ControlInfo> WindowControls(int window);
std::string GetToolTip(int control);
// A copy of what a canvas shows; an empty image when `control` is no canvas.
Image GetCanvasImage(int control);

// ---- Menus and shortcuts -------------------------------------------------
// Builds a menu bar on a window; the calls below add to the newest one.
bool CreateMenuBar(int menuBar, int window);
void MenuTitle(const std::string& title);
void MenuItem(int item, const std::string& text);
void MenuSeparator();
void OpenSubMenu(const std::string& title);
void CloseSubMenu();
void SetMenuItemText(int menuBar, int item, const std::string& text);
std::string GetMenuItemText(int menuBar, int item);

// Keys: a key code plus any of the modifier bits.
enum Keys {
    KeyLeft = 0x101, KeyRight, KeyUp, KeyDown, KeyInsert, KeyDelete,
    KeyReturn, KeyEscape, KeyHome, KeyEnd, KeyPageUp, KeyPageDown,
    // Letters and digits are their upper-case ASCII codes: 'A', '2'.
    ModShift = 0x10000, ModControl = 0x20000, ModAlt = 0x40000,
};
// Binding a key again replaces the earlier binding. The shortcut raises a
// Menu event with `number` on `window`.
void AddShortcut(int window, int key, int number);
// A key pressed as the user presses it on a window (driver and tests): it
// goes to the control with the keyboard focus, or to the window when none of
// its controls has it, and the window's shortcuts have the first say.
void PressKey(int window, int key);

// ---- Drawing -------------------------------------------------------------
// Between Start and Stop, the calls draw on one canvas or one image.
bool StartDrawingCanvas(int control);
bool StartDrawingImage(int image);
void StopDrawing();
int OutputWidth();
int OutputHeight();
void Box(int x, int y, int w, int h, Rgb colour);
void Plot(int x, int y, Rgb colour);
Rgb Point(int x, int y);
// Line from (x1, y1) to (x2, y2), both ends included.
void Line(int x1, int y1, int x2, int y2, Rgb colour);
void DrawingFont(int font);
void DrawText(int x, int y, const std::string& text, Rgb colour);  // transparent background, top-left placement
int TextWidth(const std::string& text);
int TextHeight(const std::string& text);  // the font's line height
void DrawImage(int image, int x, int y);
// Scaled into the rectangle; reductions average the covered area.
void DrawImageScaled(int image, int x, int y, int w, int h);
// Copies a rectangle of the current output into a new numbered image.
bool GrabImage(int image, int x, int y, int w, int h);
// Copies an image onto a canvas at its top-left corner, at its own size.
void SetCanvasImage(int control, int image);
// Shows an image on a canvas at its top-left corner without copying it: the
// canvas shows the image as it stands, later changes included, until the
// canvas is drawn on (which takes a copy first) or given an image's copy.
void ShowImageOnCanvas(int control, int image);
// The pixels of the output in force, for a pass that reads and writes every
// pixel of it; nullptr when no drawing is in force. Valid until the drawing
// stops or its canvas or image goes away.
Image* DrawingOutput();

// Antialiased drawing on an image.
bool StartVectorDrawing(int image);
void VectorFont(int font, double pixelSize);  // face and style of a loaded font
void VectorColour(uint32_t rgba);             // red lowest byte, alpha highest
void AddPathBox(double x, double y, double w, double h);
void FillPath();
void MovePathCursor(double x, double y);
void DrawVectorText(const std::string& text);  // at the cursor, top-left placement
void StopVectorDrawing();

// ---- Fonts ---------------------------------------------------------------
// Bold, italic, underline and strike-out are the bits the font chooser
// reports (platform/requesters.h), so a chosen style loads as it is.
enum FontFlags {
    FontBold = StyleBold,
    FontItalic = StyleItalic,
    FontUnderline = StyleUnderline,
    FontStrikeOut = StyleStrikeOut,
    FontHighQuality = 16,
};
bool LoadFont(int font, const std::string& face, int sizePoints, int flags = 0);
bool IsFont(int font);
void FreeFont(int font);
// Makes the fonts of a file available to this process only; true when at
// least one font was added. The font chooser, started on a name that is no
// family's whole name, prefers the families of the last file registered.
bool RegisterFontFile(const std::string& path);

// ---- Clipboard -----------------------------------------------------------
void SetClipboardText(const std::string& text);
std::string GetClipboardText();  // empty when it holds no text

}  // namespace platform
