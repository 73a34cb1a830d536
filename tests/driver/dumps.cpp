// The dump steps: what the script asks to see of the program's state, its
// windows and its files.
#include <cstdint>
#include <string>
#include <vector>

#include "driver.h"
#include "platform/files.h"
#include "platform/text.h"

namespace driver {

namespace {

const char* KindName(platform::ControlKind kind)
{
    switch (kind) {
    case platform::ControlKind::Button: return "button";
    case platform::ControlKind::List: return "list";
    case platform::ControlKind::Label: return "label";
    case platform::ControlKind::Field: return "field";
    case platform::ControlKind::CheckBox: return "checkbox";
    case platform::ControlKind::Spin: return "spin";
    case platform::ControlKind::ScrollArea: return "scrollarea";
    case platform::ControlKind::Canvas: return "canvas";
    }
    return "?";
}

std::string Quoted(const std::string& text) { return "\"" + OneLine(text) + "\""; }

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Every "0x" and two hexadecimal digits as "0x..": what a file holds around
// its bytes, for files whose bytes come from antialiased renders.
std::string MaskHexBytes(std::string text)
{
    for (size_t i = 0; i + 3 < text.size(); ++i)
        if (text[i] == '0' && text[i + 1] == 'x' && IsHexDigit(text[i + 2]) && IsHexDigit(text[i + 3]))
            text[i + 2] = text[i + 3] = '.';
    return text;
}

}  // namespace

bool ControlOf(int window, int control, platform::ControlInfo& info)
{
    for (const platform::ControlInfo& c : platform::WindowControls(window)) {
        if (c.Number == control) {
            info = c;
            return true;
        }
    }
    return false;
}

void Driver::DumpFont()
{
    Print("font " + platform::Str(s.FontWidth) + " " + platform::Str(s.FontHeight) + " " +
          platform::Str(s.FontStart) + " " + platform::Str(s.FontCount));
    for (int i = 0; i < s.FontCount; ++i) {
        int code = s.FontStart + i;
        if (code < 0 || code >= int(s.CharData.size())) {
            Print(platform::Str(code) + " ?");
            continue;
        }
        const std::string& glyph = s.CharData[size_t(code)][1];
        Print(platform::Str(code) + " " + (glyph.empty() ? std::string("-") : glyph));
    }
}

void Driver::DumpState()
{
    Print("current " + platform::Str(s.CurrentChar));
    Print("modified " + platform::Str(s.Modified));
    Print("list " + platform::Str(platform::GetState(12)));
    Print("title " + platform::GetWindowTitle(0));
    Print("status " + platform::GetText(40));
}

void Driver::DumpChart()
{
    Print("chart first " + platform::Str(s.ChartFirst) + " last " + platform::Str(s.ChartLast) + " cell " +
          Quoted(s.ChartCellName) + " face " + Quoted(s.TtfFontName) + " points " + platform::Str(s.TtfPointSize) +
          " style " + platform::Str(s.TtfFontStyle));
}

void Driver::DumpGrid(int left, int top, int width, int height)
{
    for (int y = top; y < top + height; ++y) {
        std::string row;
        for (int x = left; x < left + width; ++x) {
            if (!s.Grid.Inside(x, y))
                row += '?';
            else
                row += s.Grid(x, y) == 1 ? '#' : '.';
        }
        Print(row);
    }
}

// The sheet as text: its size, then one character a pixel: '#' white,
// '.' black, '-' the grey of the sheet, '?' any other colour.
void Driver::DumpSheet(const platform::Image& image)
{
    Print("sheet " + platform::Str(image.Width) + " x " + platform::Str(image.Height));
    for (int y = 0; y < image.Height; ++y) {
        std::string row;
        for (int x = 0; x < image.Width; ++x) {
            platform::Rgb c = image.Get(x, y);
            if (c == platform::RGB(255, 255, 255))
                row += '#';
            else if (c == platform::RGB(0, 0, 0))
                row += '.';
            else if (c == platform::RGB(196, 196, 196))
                row += '-';
            else
                row += '?';
        }
        Print(row);
    }
}

// The window's title, inner size and outer position, then its controls.
void Driver::DumpWindow(int window)
{
    const std::string name = "window " + platform::Str(window);
    if (!platform::IsWindow(window)) {
        Print(name + ": not open");
        return;
    }
    Print(name + " " + Quoted(platform::GetWindowTitle(window)) + " " + platform::Str(platform::WindowWidth(window)) +
          " x " + platform::Str(platform::WindowHeight(window)) + " at " + platform::Str(platform::WindowX(window)) +
          "," + platform::Str(platform::WindowY(window)));
    for (const platform::ControlInfo& c : platform::WindowControls(window))
        Print("  " + platform::Str(c.Number) + " " + KindName(c.Kind) + " " + platform::Str(c.X) + "," +
              platform::Str(c.Y) + " " + platform::Str(c.Width) + " x " + platform::Str(c.Height) + " " +
              Quoted(c.Text) + " " + platform::Str(c.State));
}

void Driver::DumpFrame(int window)
{
    using platform::Str;
    int x = 0, y = 0, w = 0, h = 0;
    platform::ScreenArea(window, x, y, w, h);
    const std::string screen = " on " + Str(x) + "," + Str(y) + " " + Str(w) + " x " + Str(h);
    if (!platform::IsWindow(window)) {
        Print("frame " + Str(window) + ": not open" + screen);
        return;
    }
    Print("frame " + Str(window) + " " + Str(platform::WindowX(window)) + "," + Str(platform::WindowY(window)) + " " +
          Str(platform::WindowWidth(window, false)) + " x " + Str(platform::WindowHeight(window, false)) + screen);
}

void Driver::DumpToolTip(int window, int control)
{
    const std::string name = "tooltip " + platform::Str(window) + " " + platform::Str(control);
    platform::ControlInfo info;
    if (!ControlOf(window, control, info))
        Print(name + ": no control");
    else
        Print(name + " " + Quoted(platform::GetToolTip(control)));
}

void Driver::DumpCanvas(int window, int control, const std::string& path)
{
    const std::string name = "canvas " + platform::Str(window) + " " + platform::Str(control);
    platform::ControlInfo info;
    if (!ControlOf(window, control, info) || info.Kind != platform::ControlKind::Canvas) {
        Print(name + ": no canvas");
        return;
    }
    platform::Image shown = platform::GetCanvasImage(control);
    if (!platform::SavePng(shown, path))
        Print("canvas: cannot write " + path);
    else
        Print(name + " " + platform::Str(shown.Width) + " x " + platform::Str(shown.Height));
}

void Driver::Dump(const std::string& line, const std::vector<std::string>& w)
{
    if (w.size() < 2)
        Fail("dump what?");
    const std::string& what = w[1];
    if (what == "font") {
        DumpFont();
    } else if (what == "state") {
        DumpState();
    } else if (what == "grid") {
        if (w.size() == 2)
            DumpGrid(0, 0, s.FontWidth, s.FontHeight);
        else if (w.size() == 6)
            DumpGrid(Number(w[2]), Number(w[3]), Number(w[4]), Number(w[5]));
        else
            Fail("dump grid takes nothing or X Y W H");
    } else if (what == "active") {
        Print("active " + platform::Str(platform::ActiveWindow()));
    } else if (what == "frame") {
        if (w.size() != 3)
            Fail("dump frame takes a window number");
        DumpFrame(Number(w[2]));
    } else if (what == "list") {
        int count = platform::CountItems(12);
        Print("items " + platform::Str(count));
        for (int i = 0; i < count; ++i)
            Print(platform::Str(i) + " " + platform::GetItemText(12, i));
    } else if (what == "clipboard") {
        Print("clipboard " + OneLine(platform::GetClipboardText()));
    } else if (what == "menu") {
        if (w.size() != 3)
            Fail("dump menu takes an item number");
        Print("menu " + w[2] + " " + platform::GetMenuItemText(3, Number(w[2])));
    } else if (what == "sheet") {
        std::string path = RestAfter(line, 2);
        const platform::Image* image = platform::GetImage(90);
        if (!image)
            Print("sheet: no image");
        else if (path.empty())
            DumpSheet(*image);
        else if (!platform::SavePng(*image, path))
            Print("sheet: cannot write " + path);
    } else if (what == "window") {
        if (w.size() != 3)
            Fail("dump window takes a window number");
        DumpWindow(Number(w[2]));
    } else if (what == "tooltip") {
        if (w.size() != 4)
            Fail("dump tooltip takes WINDOW CONTROL");
        DumpToolTip(Number(w[2]), Number(w[3]));
    } else if (what == "canvas") {
        std::string path = RestAfter(line, 4);
        if (w.size() < 5 || path.empty())
            Fail("dump canvas takes WINDOW CONTROL PATH");
        DumpCanvas(Number(w[2]), Number(w[3]), path);
    } else if (what == "file" || what == "masked") {
        std::string path = RestAfter(line, 2);
        std::vector<uint8_t> bytes;
        if (path.empty())
            Fail("dump " + what + " needs a path");
        if (!platform::ReadFileBytes(path, bytes))
            Print(what + ": cannot read " + path);
        else if (what == "file")
            Print(OneLine(std::string(bytes.begin(), bytes.end())));
        else
            Print(OneLine(MaskHexBytes(std::string(bytes.begin(), bytes.end()))));
    } else if (what == "chart") {
        DumpChart();
    } else {
        Fail("unknown dump: " + what);
    }
}

}  // namespace driver
