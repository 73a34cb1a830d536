// The settings file "Glyphery.inf" and the recent-file list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/program.h"
#include "app/settings.h"
#include "platform/gui.h"

namespace {

namespace fs = std::filesystem;

// Each test runs in a fresh folder of its own, where "Glyphery.inf" lives.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        old_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "glyphery-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::current_path(dir_);
    }
    void TearDown() override
    {
        fs::current_path(old_);
        std::error_code error;
        fs::remove_all(dir_, error);
    }

    static void WriteFile(const std::string& bytes)
    {
        std::ofstream out("Glyphery.inf", std::ios::binary);
        out << bytes;
    }
    static std::string ReadFile()
    {
        std::ifstream in("Glyphery.inf", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static State Loaded(const std::string& bytes)
    {
        WriteFile(bytes);
        State s;
        LoadSettings(s);
        return s;
    }

    fs::path old_;
    fs::path dir_;
};

const std::string Bom = "\xEF\xBB\xBF";

// The file as written for a state with the default values.
std::string DefaultFile(const std::string& tail = "")
{
    return Bom + "\r\n"
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
                     "[font]\r\nFont Width = 0\r\nFont Height = high\r\nFont Scale = -3\r\n");
    EXPECT_EQ(s.MainX, 321);
    EXPECT_EQ(s.MainY, 0);
    EXPECT_EQ(s.MainW, 200);
    EXPECT_EQ(s.MainH, 100);
    EXPECT_EQ(s.FontViewX, 0);
    EXPECT_EQ(s.FontViewW, 200);
    EXPECT_EQ(s.FontViewH, 100);
    EXPECT_EQ(s.TtfViewY, 0);
    EXPECT_EQ(s.TtfViewW, 200);  // not a number: 0, then the bound
    EXPECT_EQ(s.FontWidth, 8);
    EXPECT_EQ(s.FontHeight, 12);
    EXPECT_EQ(s.CellSize, -3);  // no bound on the scale
}

TEST_F(SettingsTest, ValuesAsWrittenByHand)
{
    State s = Loaded("MainX = 5\n[Font]\n  Font Width\t= 24   \n[General]\n"
                     "Data Folder =   /home/me/fonts  \t\nFNT file Folder=a=b\n"
                     "[Windows]\nMainX = 7\n[windows]\nMainY = 9\n");
    EXPECT_EQ(s.MainX, 7);    // lines before the first group are never read
    EXPECT_EQ(s.MainY, 200);  // only the first of two equal groups is searched
    EXPECT_EQ(s.FontWidth, 24);
    EXPECT_EQ(s.DataFolder, "/home/me/fonts");
    EXPECT_EQ(s.FntFolder, "a=b");
}

TEST_F(SettingsTest, HugeGlyphSizeIsBounded)
{
    State s = Loaded("[Font]\r\nFont Width = 2000000000\r\nFont Height = 99999\r\n");
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
    EXPECT_EQ(ReadFile(), DefaultFile());

    s.MainX = -5;
    s.FontWidth = 8;
    s.FontHeight = 12;
    s.DataFolder = "/data/fonts";
    s.FntFolder = "C:\\fnt";
    s.RecentFiles = {"/a/one.bas", "/b/two.c"};
    SaveSettings(s);
    std::string expected = DefaultFile("\r\n[Recent Files]\r\nMRUFile0 = /a/one.bas\r\nMRUFile1 = /b/two.c\r\n");
    expected.replace(expected.find("MainX = 200"), 11, "MainX = -5");
    expected.replace(expected.find("Font Width = 16"), 15, "Font Width = 8");
    expected.replace(expected.find("Font Height = 24"), 16, "Font Height = 12");
    expected.replace(expected.find("Data Folder = "), 14, "Data Folder = /data/fonts");
    expected.replace(expected.find("FNT file Folder = "), 18, "FNT file Folder = C:\\fnt");
    EXPECT_EQ(ReadFile(), expected);
}

TEST_F(SettingsTest, OtherGroupsAreGoneAfterWriting)
{
    WriteFile("[CodePage]\r\nchr41 = 66\r\n[Windows]\r\nMainX = 300\r\n");
    State s;
    LoadSettings(s);
    SaveSettings(s);
    std::string text = ReadFile();
    EXPECT_EQ(text.find("CodePage"), std::string::npos);
    EXPECT_NE(text.find("MainX = 300\r\n"), std::string::npos);
}

TEST_F(SettingsTest, AnsiFileBecomesUtf8)
{
    State s = Loaded("[General]\r\nData Folder = C:\\Daten\\M\xFCller\r\n");
    EXPECT_EQ(s.DataFolder, "C:\\Daten\\M\xC3\xBCller");
    SaveSettings(s);
    std::string text = ReadFile();
    EXPECT_EQ(text.substr(0, 5), Bom + "\r\n");
    EXPECT_NE(text.find("Data Folder = C:\\Daten\\M\xC3\xBCller\r\n"), std::string::npos);

    // Read back as UTF-8, the bytes are not taken for ANSI a second time.
    State again;
    LoadSettings(again);
    EXPECT_EQ(again.DataFolder, s.DataFolder);
}

TEST_F(SettingsTest, RecentFilesReadTenSkippingGaps)
{
    std::string file = "[Recent Files]\r\nMRUFile1 = /one\r\nMRUFile2 = \r\nMRUFile3 = /three\r\n"
                       "MRUFile4 = /one\r\n";
    for (int i = 5; i < 12; ++i)
        file += "MRUFile" + std::to_string(i) + " = /f" + std::to_string(i) + "\r\n";
    State s = Loaded(file);
    ASSERT_EQ(s.RecentFiles.size(), 8u);  // keys 1, 3, 4, 5 to 9
    EXPECT_EQ(s.RecentFiles[0], "/one");
    EXPECT_EQ(s.RecentFiles[1], "/three");
    EXPECT_EQ(s.RecentFiles[2], "/one");  // duplicates are kept as read
    EXPECT_EQ(s.RecentFiles[7], "/f9");
}

TEST_F(SettingsTest, AddRecentFileMovesToTop)
{
    State s;
    AddRecentFile(s, "/a");
    AddRecentFile(s, "/b");
    AddRecentFile(s, "/c");
    AddRecentFile(s, "/a");
    EXPECT_EQ(s.RecentFiles, (std::vector<std::string>{"/a", "/c", "/b"}));
    AddRecentFile(s, "/A");  // another letter case is another path
    EXPECT_EQ(s.RecentFiles, (std::vector<std::string>{"/A", "/a", "/c", "/b"}));
}

TEST_F(SettingsTest, TwelveWrittenTenRead)
{
    State s;
    for (int i = 0; i < 12; ++i)
        AddRecentFile(s, "/font" + std::to_string(i) + ".bas");
    SaveSettings(s);
    std::string text = ReadFile();
    EXPECT_NE(text.find("MRUFile0 = /font11.bas\r\n"), std::string::npos);
    EXPECT_NE(text.find("MRUFile11 = /font0.bas\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 24), "MRUFile11 = /font0.bas\r\n");

    State again;
    LoadSettings(again);
    ASSERT_EQ(again.RecentFiles.size(), 10u);
    EXPECT_EQ(again.RecentFiles.front(), "/font11.bas");
    EXPECT_EQ(again.RecentFiles.back(), "/font2.bas");
}

TEST_F(SettingsTest, GeometryKeptWhenTheMainWindowIsMissing)
{
    State s = Loaded("[Windows]\r\nMainX = 33\r\nMainY = 44\r\nMainW = 555\r\nMainH = 666\r\n");
    SaveSettings(s);  // no window 0 exists: the values read stay
    std::string text = ReadFile();
    EXPECT_NE(text.find("MainX = 33\r\nMainY = 44\r\nMainW = 555\r\nMainH = 666\r\n"), std::string::npos);
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

// With the main window: the recent items of the "File" menu.
class RecentMenuTest : public SettingsTest {
protected:
    void TearDown() override
    {
        ProgramExit(s);
        SettingsTest::TearDown();
    }
    State s;
};

TEST_F(RecentMenuTest, ItemsFollowTheList)
{
    WriteFile("[Recent Files]\r\nMRUFile1 = /only\r\n");
    ASSERT_TRUE(ProgramStart(s));
    EXPECT_EQ(platform::GetMenuItemText(3, 19), "/only");
    for (int item = 20; item <= 28; ++item)
        EXPECT_EQ(platform::GetMenuItemText(3, item), "-");

    AddRecentFile(s, "/second");
    EXPECT_EQ(platform::GetMenuItemText(3, 19), "/second");
    EXPECT_EQ(platform::GetMenuItemText(3, 20), "/only");
    EXPECT_EQ(platform::GetMenuItemText(3, 21), "-");

    // Twelve entries: the first ten get items.
    for (int i = 0; i < 10; ++i)
        AddRecentFile(s, "/r" + std::to_string(i));
    ASSERT_EQ(s.RecentFiles.size(), 12u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(platform::GetMenuItemText(3, 19 + i), "/r" + std::to_string(9 - i));
}

TEST_F(RecentMenuTest, LongPathShowsItsLast65Characters)
{
    ASSERT_TRUE(ProgramStart(s));
    std::string path = "/";
    for (int i = 0; path.size() < 100; ++i)
        path += char('a' + i % 26);
    ASSERT_EQ(path.size(), 100u);
    AddRecentFile(s, path);
    EXPECT_EQ(platform::GetMenuItemText(3, 19), path.substr(35));

    // Characters, not bytes: a path of non-ASCII letters keeps whole letters.
    std::string umlauts;
    for (int i = 0; i < 70; ++i)
        umlauts += "\xC3\xBC";
    AddRecentFile(s, umlauts);
    EXPECT_EQ(platform::GetMenuItemText(3, 19), umlauts.substr(10));
    EXPECT_EQ(platform::GetMenuItemText(3, 20), path.substr(35));
}

}  // namespace
