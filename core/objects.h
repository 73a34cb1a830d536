// The numbers of the program's windows, controls, menu bar and images.
#pragma once

namespace obj {

// The main window and its controls.
constexpr int MainWindow = 0;
constexpr int EditorCanvas = 1;
constexpr int EditorScrollArea = 2;
constexpr int MainMenuBar = 3;
constexpr int RestoreButton = 11;
constexpr int CharList = 12;
constexpr int StatusText = 40;

// "Font View" and its sheet.
constexpr int FontViewWindow = 69;
constexpr int SheetCanvas = 70;
constexpr int CodeLabel = 71;
constexpr int SheetImage = 90;

// Windows of the font readers and of glyph capture.
constexpr int RegionThresholdWindow = 81;
constexpr int BinarySpecsWindow = 91;
constexpr int TtfViewWindow = 103;

// The threshold window's canvases: the picture at twice the glyph size, and
// the black-and-white result enlarged two times.
constexpr int PreviewCanvas = 82;
constexpr int ResultCanvas = 83;

// Items of the "&Recent" submenu.
constexpr int FirstRecentItem = 19;
constexpr int RecentItems = 10;

}  // namespace obj
