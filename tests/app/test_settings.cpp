// The settings file "Glyphery.inf" and the recent-file list. How the file is
// read (groups, keys, numbers, ANSI or UTF-8) is tested on the platform's
// settings files in tests/platform/test_settings.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/program.h"
#include "app/settings.h"
#include "core/recentfiles.h"
#include "platform/gui.h"
#include "tests/platform/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// Each test runs in a fresh folder of its own, where "Glyphery.inf" lives.
class SettingsTest : public ::testing::Test {
protected:
    State Loaded(const std::string& bytes)
    {
        folder.Put("Glyphery.inf", bytes);
        State s;
        LoadSettings(s);
        return s;
    }
    static std::string Written() { return TempFolder::Read("Glyphery.inf"); }
    TempFolder folder{true};
};

// The file as written for a state with the default values.
std::string DefaultFile(const std::string& tail = "")
{
    return "\xEF\xBB\xBF\r\n"
           "[Windows]\r\n"
           "; Main Window\r\n"
           "MainX = 200\r\n"
           "MainY = 200\r\n"
           "MainW = 700\r\n"
           "MainH = 287\r\n"
           "; Font Window\r\n"
           "FontX = 400\r\n"
           "FontY = 200\r\n"
           "FontW = 500\r\n"
           "FontH = 400\r\n"
           "; TTF Window\r\n"
           "ttfX = 120\r\n"
           "ttfY = 200\r\n"
           "ttfW = 520\r\n"
           "ttfH = 600\r\n"
           "\r\n"
           "[Font]\r\n"
           "Font Width = 16\r\n"
           "Font Height = 24\r\n"
           "Font Scale = 10\r\n"
           "\r\n"
           "[General]\r\n"
           "Data Folder = \r\n"
           "FNT file Folder = \r\n" +
           tail;
}

TEST_F(SettingsTest, NamesIgnoreCaseAndBoundsApply)
{
    State s = Loaded("[WINDOWS]\r\nmainx = 321\r\nMAINY=-50\r\nMainW = 50\r\nmainh = 99\r\n"
                     "FontX = -1\r\nFontW = 199\r\nFontH = 100\r\nttfY = 0\r\nttfW = abc\r\n"
                     "[font]\r\nFont Width = 0\r\nFont Height = high\r\nFont Scale = -3\r\n"
                     "[General]\r\nData Folder =   /home/me/fonts  \t\r\nFNT file Folder=a=b\r\n");
    EXPECT_EQ((std::vector<int>{s.MainX, s.MainY, s.MainW, s.MainH}), (std::vector<int>{321, 0, 200, 100}));
    EXPECT_EQ((std::vector<int>{s.FontViewX, s.FontViewW, s.FontViewH}), (std::vector<int>{0, 200, 100}));
    EXPECT_EQ(s.TtfViewY, 0);
    EXPECT_EQ(s.TtfViewW, 200);  // not a number: 0, then the bound
    EXPECT_EQ(s.FontWidth, 8);
    EXPECT_EQ(s.FontHeight, 12);
    EXPECT_EQ(s.CellSize, -3);  // no bound on the scale
    EXPECT_EQ(s.DataFolder, "/home/me/fonts");
    EXPECT_EQ(s.FntFolder, "a=b");

    s = Loaded("[Font]\r\nFont Width = 2000000000\r\nFont Height = 99999\r\n");
    EXPECT_EQ(s.FontWidth, 1024);
    EXPECT_EQ(s.FontHeight, 1024);
}

TEST_F(SettingsTest, WritesTheExactLayout)
{
    // A missing file gives every default, written back as read; with no
    // recent files the file ends with the group "General".
    State s;
    LoadSettings(s);
    SaveSettings(s);
    EXPECT_EQ(Written(), DefaultFile());

    s.MainX = -5;
    s.FontWidth = 8;
    s.FontHeight = 12;
    s.DataFolder = "/data/fonts";
    s.FntFolder = "C:\\fnt";
    s.RecentFiles = {"/a/one.bas", "/b/two.c"};
    SaveSettings(s);
    std::string expected = DefaultFile("\r\n[Recent Files]\r\nMRUFile0 = /a/one.bas\r\nMRUFile1 = /b/two.c\r\n");
    for (auto [from, to] : {std::pair<std::string, std::string>{"MainX = 200", "MainX = -5"},
                            {"Font Width = 16", "Font Width = 8"},
                            {"Font Height = 24", "Font Height = 12"},
                            {"Data Folder = ", "Data Folder = /data/fonts"},
                            {"FNT file Folder = ", "FNT file Folder = C:\\fnt"}})
        expected.replace(expected.find(from), from.size(), to);
    EXPECT_EQ(Written(), expected);
}

TEST_F(SettingsTest, OtherGroupsAreGoneAndGeometryStaysWithoutAWindow)
{
    State s = Loaded("[CodePage]\r\nchr41 = 66\r\n[Windows]\r\nMainX = 33\r\nMainY = 44\r\nMainW = 555\r\n"
                     "MainH = 666\r\n");
    SaveSettings(s);  // no window 0 exists: the values read stay
    EXPECT_EQ(Written().find("CodePage"), std::string::npos);
    EXPECT_NE(Written().find("MainX = 33\r\nMainY = 44\r\nMainW = 555\r\nMainH = 666\r\n"), std::string::npos);
}

TEST_F(SettingsTest, RecentFilesReadTenSkippingGaps)
{
    std::string file = "[Recent Files]\r\nMRUFile1 = /one\r\nMRUFile2 = \r\nMRUFile3 = /three\r\n"
                       "MRUFile4 = /one\r\n";
    for (int i = 5; i < 12; ++i)
        file += "MRUFile" + std::to_string(i) + " = /f" + std::to_string(i) + "\r\n";
    // Keys 1, 3, 4, 5 to 9; duplicates are kept as read.
    EXPECT_EQ(Loaded(file).RecentFiles, (Texts{"/one", "/three", "/one", "/f5", "/f6", "/f7", "/f8", "/f9"}));
}

TEST_F(SettingsTest, AddRecentFileMovesToTopAndTwelveAreWrittenTenRead)
{
    State s;
    for (const char* path : {"/a", "/b", "/c", "/a"})
        AddRecentFile(s, path);
    EXPECT_EQ(s.RecentFiles, (Texts{"/a", "/c", "/b"}));
    AddRecentFile(s, "/A");  // another letter case is another path
    EXPECT_EQ(s.RecentFiles, (Texts{"/A", "/a", "/c", "/b"}));

    s.RecentFiles.clear();
    for (int i = 0; i < 12; ++i)
        AddRecentFile(s, "/font" + std::to_string(i) + ".bas");
    SaveSettings(s);
    std::string text = Written();
    EXPECT_NE(text.find("MRUFile0 = /font11.bas\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 24), "MRUFile11 = /font0.bas\r\n");

    State again;
    LoadSettings(again);
    ASSERT_EQ(again.RecentFiles.size(), 10u);
    EXPECT_EQ(again.RecentFiles.front(), "/font11.bas");
    EXPECT_EQ(again.RecentFiles.back(), "/font2.bas");
}

TEST_F(SettingsTest, UnwritableTargetWritesNothing)
{
    fs::create_directory("Glyphery.inf");
    State s;
    LoadSettings(s);  // a folder reads as a missing file
    EXPECT_EQ(s.MainW, 700);
    SaveSettings(s);
    EXPECT_TRUE(fs::is_directory("Glyphery.inf"));
    EXPECT_TRUE(fs::is_empty("Glyphery.inf"));
}

// Window values beyond what window systems take are clamped on reading, so
// the toolkit's geometry sums cannot overflow and what is written back is
// what was used.
TEST_F(SettingsTest, HugeWindowValuesAreClamped)
{
    const std::string huge = "[Windows]\r\nMainX = 2147483647\r\nMainY = 99999\r\nMainW = 2147483647\r\n"
                             "MainH = 40000\r\nFontX = -2147483648\r\nFontW = 32768\r\nttfH = 2147483647\r\n";
    State s = Loaded(huge);
    EXPECT_EQ((std::vector<int>{s.MainX, s.MainY, s.MainW, s.MainH, s.FontViewX, s.FontViewW, s.TtfViewH}),
              (std::vector<int>{32767, 32767, 32767, 32767, 0, 32767, 32767}));

    // The real window placed there writes back no position or size out of range.
    folder.Put("Glyphery.inf", huge);
    State shown;
    ASSERT_TRUE(ProgramStart(shown));
    ProgramExit(shown);
    State again = Loaded(Written());
    for (int value : {again.MainX, again.MainY, again.MainW, again.MainH})
        EXPECT_TRUE(value >= 0 && value <= 32767) << value;
    EXPECT_NE(Written().find("MainX = "), std::string::npos);
    EXPECT_EQ(Written().find("MainX = -"), std::string::npos);
}

// The settings file at exit: a write that fails leaves it whole, and one
// that may not happen (no write permission, a pipe) is skipped; a link is
// written through. All silently.
TEST_F(SettingsTest, FailedWriteAtExitKeepsTheFile)
{
    State s = Loaded("[Recent Files]\r\nMRUFile0 = /kept.bas\r\n");
    const std::string before = Written();
    WithFileSizeLimit(16, [&] { SaveSettings(s); });
    EXPECT_EQ(Written(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1) << "no temporary left";

    fs::permissions("Glyphery.inf", fs::perms(0444));  // refused by its mode, also for root
    SaveSettings(s);
    EXPECT_EQ(Written(), before);
    fs::remove("Glyphery.inf");

    ASSERT_EQ(::mkfifo("Glyphery.inf", 0644), 0);  // neither read nor written: no wait
    SaveSettings(s);
    EXPECT_TRUE(fs::is_fifo("Glyphery.inf"));
    fs::remove("Glyphery.inf");

    fs::create_directory("real");
    folder.Put("real/settings.inf", before);
    fs::create_symlink("real/settings.inf", "Glyphery.inf");
    s.DataFolder = "/through/the/link";
    SaveSettings(s);
    EXPECT_TRUE(fs::is_symlink("Glyphery.inf"));
    EXPECT_NE(TempFolder::Read("real/settings.inf").find("Data Folder = /through/the/link"), std::string::npos);
}

// With the main window: the recent items of the "File" menu.
TEST_F(SettingsTest, RecentMenuItemsFollowTheList)
{
    folder.Put("Glyphery.inf", "[Recent Files]\r\nMRUFile1 = /only\r\n");
    State s;
    ASSERT_TRUE(ProgramStart(s));
    auto items = [] {
        std::string texts;
        for (int item = 19; item <= 28; ++item)
            texts += platform::GetMenuItemText(3, item) + " ";
        return texts;
    };
    EXPECT_EQ(items(), "/only - - - - - - - - - ");
    AddRecentFile(s, "/second");
    EXPECT_EQ(items(), "/second /only - - - - - - - - ");
    // Twelve entries: the first ten get items.
    for (int i = 0; i < 10; ++i)
        AddRecentFile(s, "/r" + std::to_string(i));
    EXPECT_EQ(s.RecentFiles.size(), 12u);
    EXPECT_EQ(items(), "/r9 /r8 /r7 /r6 /r5 /r4 /r3 /r2 /r1 /r0 ");

    // A long path shows its last 65 characters; characters, not bytes, so
    // a path of non-ASCII letters keeps whole letters.
    std::string path = "/";
    for (int i = 0; path.size() < 100; ++i)
        path += char('a' + i % 26);
    AddRecentFile(s, path);
    EXPECT_EQ(platform::GetMenuItemText(3, 19), path.substr(35));
    std::string umlauts;
    for (int i = 0; i < 70; ++i)
        umlauts += "\xC3\xBC";
    AddRecentFile(s, umlauts);
    EXPECT_EQ(platform::GetMenuItemText(3, 19), umlauts.substr(10));
    EXPECT_EQ(platform::GetMenuItemText(3, 20), path.substr(35));
    ProgramExit(s);
}

}  // namespace
