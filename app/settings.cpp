// The settings file "Glyphery.inf": window geometries, the glyph size and
// zoom, folders and the recent-file list. Read once at start-up, written
// once at exit.
#include "app/settings.h"

#include <algorithm>

#include "core/objects.h"
#include "platform/gui.h"
#include "platform/text.h"

namespace {

const char* const SettingsName = "Glyphery.inf";
// A glyph size beyond this in a hand-edited file is taken as this size, so a
// stray number cannot make the editor grid exhaust memory.
constexpr int32_t LargestGlyphSide = 1024;
// Window positions and sizes are kept within the 16-bit range of window
// systems, far from where the toolkit's geometry sums overflow.
constexpr int32_t LargestWindowCoordinate = 32767;

int32_t ReadWindowValue(const platform::SettingsFile& file, const std::string& key, int32_t defaultValue,
                        int32_t smallest)
{
    return std::clamp(file.ReadInt(key, defaultValue), smallest, LargestWindowCoordinate);
}

}  // namespace

int32_t MaxInt(int32_t a, int32_t b)
{
    return a > b ? a : b;
}

void ReadRecentFiles(State& s, const platform::SettingsFile& file)
{
    for (int i = 0; i < obj::RecentItems; ++i) {
        std::string path = file.ReadText("MRUFile" + platform::Str(i), "");
        if (!path.empty())
            s.RecentFiles.push_back(path);
    }
}

void WriteRecentFiles(const State& s, platform::SettingsFile& file)
{
    for (size_t i = 0; i < s.RecentFiles.size(); ++i)
        file.WriteText("MRUFile" + platform::Str(int64_t(i)), s.RecentFiles[i]);
}

void LoadSettings(State& s)
{
    platform::SettingsFile file;
    file.Open(SettingsName);  // a missing file reads as an empty one

    file.Group("Windows");
    s.MainX = ReadWindowValue(file, "MainX", 200, 0);
    s.MainY = ReadWindowValue(file, "MainY", 200, 0);
    s.MainW = ReadWindowValue(file, "MainW", 700, 200);
    s.MainH = ReadWindowValue(file, "MainH", 287, 100);
    s.FontViewX = ReadWindowValue(file, "FontX", 400, 0);
    s.FontViewY = ReadWindowValue(file, "FontY", 200, 0);
    s.FontViewW = ReadWindowValue(file, "FontW", 500, 200);
    s.FontViewH = ReadWindowValue(file, "FontH", 400, 100);
    s.TtfViewX = ReadWindowValue(file, "ttfX", 120, 0);
    s.TtfViewY = ReadWindowValue(file, "ttfY", 200, 0);
    s.TtfViewW = ReadWindowValue(file, "ttfW", 520, 200);
    s.TtfViewH = ReadWindowValue(file, "ttfH", 600, 100);

    file.Group("Font");
    s.FontWidth = file.ReadInt("Font Width", 16);
    s.FontHeight = file.ReadInt("Font Height", 24);
    s.CellSize = file.ReadInt("Font Scale", 10);
    if (s.FontWidth < 1)
        s.FontWidth = 8;
    if (s.FontHeight < 1)
        s.FontHeight = 12;
    s.FontWidth = std::min(s.FontWidth, LargestGlyphSide);
    s.FontHeight = std::min(s.FontHeight, LargestGlyphSide);

    file.Group("General");
    s.DataFolder = file.ReadText("Data Folder", "");
    s.FntFolder = file.ReadText("FNT file Folder", "");

    file.Group("Recent Files");
    ReadRecentFiles(s, file);
    file.Close();
}

void SaveSettings(State& s)
{
    // When the main window never opened, the geometry read at start-up is
    // written back unchanged.
    if (platform::IsWindow(obj::MainWindow)) {
        s.MainX = platform::WindowX(obj::MainWindow);
        s.MainY = platform::WindowY(obj::MainWindow);
        s.MainW = platform::WindowWidth(obj::MainWindow);
        s.MainH = platform::WindowHeight(obj::MainWindow);
    }

    platform::SettingsFile file;
    if (!file.Create(SettingsName))
        return;  // no write access: nothing is kept, nothing is said

    file.Group("Windows");
    file.WriteComment("Main Window");
    file.WriteInt("MainX", s.MainX);
    file.WriteInt("MainY", s.MainY);
    file.WriteInt("MainW", s.MainW);
    file.WriteInt("MainH", s.MainH);
    file.WriteComment("Font Window");
    file.WriteInt("FontX", s.FontViewX);
    file.WriteInt("FontY", s.FontViewY);
    file.WriteInt("FontW", s.FontViewW);
    file.WriteInt("FontH", s.FontViewH);
    file.WriteComment("TTF Window");
    file.WriteInt("ttfX", s.TtfViewX);
    file.WriteInt("ttfY", s.TtfViewY);
    file.WriteInt("ttfW", s.TtfViewW);
    file.WriteInt("ttfH", s.TtfViewH);

    file.Group("Font");
    file.WriteInt("Font Width", s.FontWidth);
    file.WriteInt("Font Height", s.FontHeight);
    file.WriteInt("Font Scale", s.CellSize);

    file.Group("General");
    file.WriteText("Data Folder", s.DataFolder);
    file.WriteText("FNT file Folder", s.FntFolder);

    file.Group("Recent Files");
    WriteRecentFiles(s, file);
    file.Close();
}
