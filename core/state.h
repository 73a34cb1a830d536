// The program-wide state: one font at a time, the glyph in the editor, the
// window geometries and settings. `main` owns the one State; every command
// procedure takes it by reference.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui.h"

// A grid of integers indexed column first, like the editor's `Grid`.
struct GridArray {
    int Columns = 0;
    int Rows = 0;
    std::vector<int32_t> Cells;

    void Create(int columns, int rows)
    {
        Columns = columns;
        Rows = rows;
        Cells.assign(size_t(columns) * size_t(rows), 0);
    }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Columns && y < Rows; }
    int32_t& operator()(int x, int y) { return Cells[size_t(x) * size_t(Rows) + size_t(y)]; }
    int32_t operator()(int x, int y) const { return Cells[size_t(x) * size_t(Rows) + size_t(y)]; }
};

// One row of `CharData`: column 1 the glyph text, column 2 the list label.
using CharRow = std::array<std::string, 3>;

constexpr int CharTableRows = 257;  // codes 0 to 256

// A code that has a row in `CharData`.
inline bool InTable(int64_t code)
{
    return code >= 0 && code < CharTableRows;
}

struct State {
    // ---- Font store ------------------------------------------------------
    int32_t FontWidth = 32;
    int32_t FontHeight = 50;
    int32_t FontStart = 32;
    int32_t FontCount = 1;
    std::vector<CharRow> CharData = std::vector<CharRow>(CharTableRows);
    std::vector<int32_t> CharWidth = std::vector<int32_t>(CharTableRows, 0);
    GridArray Grid;
    GridArray ScratchGrid;
    int32_t CurrentChar = -1;
    int32_t Modified = 0;
    std::string SelectedGlyph;
    std::string PasteBuffer;
    std::string ClipText;
    std::string FontHeader;
    std::string FontName = "untitled";
    std::string DefaultPreamble;
    std::string FileInfo;
    int32_t PrevFontWidth = 0;
    int32_t PrevFontHeight = 0;

    // ---- Editor canvas and main window -------------------------------------
    int32_t CellSize = 10;
    int32_t QuitRequested = 0;
    // The event of the current pass of the loop.
    platform::Event Event;

    // ---- Settings -----------------------------------------------------------
    int32_t MainX = 200, MainY = 200, MainW = 700, MainH = 287;
    int32_t FontViewX = 400, FontViewY = 200, FontViewW = 500, FontViewH = 400;
    int32_t TtfViewX = 120, TtfViewY = 200, TtfViewW = 520, TtfViewH = 600;
    std::string DataFolder;
    std::string FntFolder;
    std::vector<std::string> RecentFiles;  // newest first

    // ---- Font View ----------------------------------------------------------
    int32_t FontViewColumns = 16;
    int32_t FontViewRows = 0;
    int32_t FontViewPixel = 2;
    float FontViewAspect = 1.0f;
    // Font View lives above the commands that change the font: they ask for
    // it here (a ViewFontRequest value) and the event loop applies the
    // request once the command has returned.
    int32_t ViewFontRequest = 0;

    // ---- Font files ---------------------------------------------------------
    std::string SavePath;
    std::string FontPath;
    std::string FileTitle;
    // The raw binary import's fields, as last read from its window.
    int32_t BinWidth = 0;
    int32_t BinWidth8 = 0;
    int32_t BinHeight = 0;
    int32_t BinOffset = 0;
    int32_t BinCount = 0;

    // ---- Glyph capture ------------------------------------------------------
    std::string TtfFontName = "Arial";
    int32_t TtfPointSize = 0;
    int32_t TtfFontStyle = 0;
    int32_t TtfPixelHeight = 0;
    float TtfFontSize = 0.0f;
    int32_t ChartMouseX = 0;
    int32_t ChartMouseY = 0;
    std::string ChartCellName;
    std::string ProgramFolder;
    std::vector<int64_t> CodePageTable = std::vector<int64_t>(CharTableRows, 0);
    std::vector<std::string> CodePageFiles = std::vector<std::string>(31);
    int32_t ChartFirst = -1;
    int32_t ChartLast = -1;
    float ThresholdWindow = 0.9f;
    float ThresholdLevel = 0.02f;
    float OtherThreshold = 0.45f;
    int32_t ThresholdMode = 1;
    std::string ImagePath;
    int32_t ImageNumber = -1;
    // The glyph size the threshold window and its canvases were made for.
    int32_t ThresholdGlyphWidth = 0;
    int32_t ThresholdGlyphHeight = 0;
};

enum ViewFontRequestKind : int32_t {
    ViewFontNone = 0,
    ViewFontIfOpen = 1,  // redraw Font View when it is open
    ViewFontOpen = 2,    // open (or redraw) Font View
};

// Asks the event loop for Font View once the running command returns; the
// stronger of two requests wins.
inline void RequestViewFont(State& s, ViewFontRequestKind kind)
{
    if (kind > s.ViewFontRequest)
        s.ViewFontRequest = kind;
}
