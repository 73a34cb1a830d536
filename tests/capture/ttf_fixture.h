// What the TrueType view tests share: the real GUI layer (offscreen), a
// main window with the character list and the status text, scripted
// requesters, a fresh current folder (for "Glyphery.inf") and a separate
// program folder (for the code-page files).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "capture/ttfobjects.h"
#include "capture/ttfview.h"
#include "core/fontstore.h"
#include "core/glyphtext.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"
#include "tests/platform/temp_folder.h"

// A stored glyph as rows of pixels.
struct Glyph {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Bytes;

    bool At(int x, int y) const
    {
        const int64_t bit = int64_t(y) * Width + x;
        return size_t(bit >> 3) < Bytes.size() && (Bytes[size_t(bit >> 3)] >> (7 - (bit & 7)) & 1);
    }
    // The rows (or columns) holding a set pixel, in order.
    std::vector<int> InkedRows() const
    {
        std::vector<int> rows;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (At(x, y)) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    }
    std::vector<int> InkedColumns() const
    {
        std::vector<int> columns;
        for (int x = 0; x < Width; ++x)
            for (int y = 0; y < Height; ++y)
                if (At(x, y)) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    }
    // The glyph drawn as text, for failure messages.
    std::string Picture() const
    {
        std::string text = "\n";
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x)
                text += At(x, y) ? '#' : '.';
            text += '\n';
        }
        return text;
    }
};

class TtfTest : public ::testing::Test {
protected:
    TempFolder current{true};
    TempFolder program;
    State s;
    platform::ScriptedRequesters* ask = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(platform::InitGui());
        auto scripted = std::make_unique<platform::ScriptedRequesters>();
        ask = scripted.get();
        platform::UseRequesters(std::move(scripted));
        s.ProgramFolder = program.Dir();
        s.DefaultPreamble = MakeDefaultPreamble();
        ASSERT_TRUE(platform::OpenWindow(obj::MainWindow, 10, 10, 400, 300, "Glyphery", platform::WindowTitleBar));
        ASSERT_TRUE(platform::ComboBoxControl(obj::MainWindow, obj::CharList, 235, 8, 100, 25));
        ASSERT_TRUE(platform::TextControl(obj::MainWindow, obj::StatusText, 5, 12, 172, 25, ""));
    }
    void TearDown() override
    {
        platform::CloseWindow(obj::TtfViewWindow);
        platform::CloseWindow(obj::MainWindow);
        platform::FreeImage(obj::TtfGrabImage);
        platform::FreeImage(obj::TtfRenderImage);
    }

    // An event of window 103 through its handler.
    void Send(int control, platform::ControlEvent type, int x = 0, int y = 0, uint32_t character = 0)
    {
        s.Event = platform::Event();
        s.Event.Kind = platform::EventKind::Control;
        s.Event.Window = obj::TtfViewWindow;
        s.Event.Object = control;
        s.Event.Type = type;
        s.Event.MouseX = x;
        s.Event.MouseY = y;
        s.Event.Character = character;
        TtfViewEvent(s);
    }
    // The mouse moved over the chart and clicked there.
    void Click(int x, int y)
    {
        Send(obj::TtfChartCanvas, platform::ControlEvent::MouseMove, x, y);
        Send(obj::TtfChartCanvas, platform::ControlEvent::LeftClick, x, y);
    }
    // A click on the cell of a code.
    void ClickCode(int code) { Click(20 + 30 * (code % 16), 50 + 30 * (code / 16)); }

    // "Import TTF Font", then "Font..." answered with a face.
    void OpenWithFace(const std::string& face, int style = 0)
    {
        ImportTtfFont(s);
        ask->FontAnswers.push_back(platform::FontChoice{true, face, 16, style});
        Send(obj::TtfFontButton, platform::ControlEvent::LeftClick);
    }
    // Marks first to last and presses "Go" with this height in the field.
    void Render(int first, int last, const std::string& height)
    {
        ClickCode(first);
        ClickCode(last);
        platform::SetText(obj::TtfHeightField, height);
        Send(obj::TtfGoButton, platform::ControlEvent::LeftClick);
    }

    Glyph GlyphOf(int code) const
    {
        Glyph g{s.FontWidth, s.FontHeight, {}};
        g.Bytes = GlyphBytes(s.CharData[size_t(code)][1], GlyphByteCount(s.FontWidth, s.FontHeight));
        return g;
    }
};
