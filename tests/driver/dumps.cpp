// The dump steps: what the script asks to see of the program's state, its
// windows and its files.
#include <cstdint>
#include <string>
#include <vector>

#include "driver.h"
#include "platform/files.h"
#include "platform/text.h"

namespace driver {


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

void Driver::DumpGrid()
{
    for (int y = 0; y < s.FontHeight; ++y) {
        std::string row;
        for (int x = 0; x < s.FontWidth; ++x) {
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
        DumpGrid();
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
    } else if (what == "file") {
        std::string path = RestAfter(line, 2);
        std::vector<uint8_t> bytes;
        if (path.empty())
            Fail("dump file needs a path");
        if (!platform::ReadFileBytes(path, bytes))
            Print("file: cannot read " + path);
        else
            Print(OneLine(std::string(bytes.begin(), bytes.end())));
    } else {
        Fail("unknown dump: " + what);
    }
}

}  // namespace driver
