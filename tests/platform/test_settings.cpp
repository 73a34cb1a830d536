// Settings files: reading rules and the exact bytes written. The whole
// "Glyphery.inf" the program writes is checked in tests/app/test_settings.cpp.
#include <iterator>
#include <limits>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "platform/settings.h"
#include "tests/platform/temp_folder.h"

using namespace platform;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    TempFolder tmp;
};

const std::string DataFolder = GLYPHERY_TEST_DATA "/platform/";
const std::string Bom = "\xEF\xBB\xBF";

}  // namespace

TEST_F(SettingsTest, LookupRules)
{
    SettingsFile file;
    ASSERT_TRUE(file.Open(tmp.Put("a.inf",
                                  "orphan = 1\r\n"
                                  "[WINDOWS] trailing text\r\n"
                                  "  \t mainx=  5\r\n"
                                  "MainY = -7 ; not a comment\n"
                                  "\n"
                                  "   \n"
                                  "Weird Key\t =\t a=b=c  \r"
                                  "mainx = 6\r\n"
                                  "; FontX = 9\r\n"
                                  "FontX\r\n"
                                  "[Font]\r\n"
                                  "Font Width = abc\r\n"
                                  "Font Height =\r\n"
                                  "[windows]\r\n"
                                  "MainW = 999\r\n"
                                  "[Open")));

    file.Group("Windows");
    EXPECT_EQ(file.ReadInt("MainX", 200), 5);  // the first of two wins
    EXPECT_EQ(file.ReadInt("MAINY", 200), -7);
    EXPECT_EQ(file.ReadText("weird key", ""), "a=b=c");
    EXPECT_EQ(file.ReadInt("MainW", 700), 700);  // only the first "Windows" counts
    EXPECT_EQ(file.ReadInt("FontX", 400), 0);    // present without a value
    EXPECT_EQ(file.ReadInt("orphan", 3), 3);     // before any group: never read

    file.Group("font");
    EXPECT_EQ(file.ReadInt("Font Width", 16), 0);  // present, not a number: 0
    EXPECT_EQ(file.ReadInt("Font Height", 24), 0);
    EXPECT_EQ(file.ReadText("Font Height", "x"), "");
    EXPECT_EQ(file.ReadInt("Font Scale", 10), 10);
    EXPECT_EQ(file.ReadInt("MainX", 200), 200);  // keys stay in their group

    file.Group("");
    EXPECT_EQ(file.ReadInt("orphan", 3), 3);
    file.Group("Missing");
    EXPECT_EQ(file.ReadText("Data Folder", "none"), "none");
    file.Group("Open");  // group line without "]"
    EXPECT_EQ(file.ReadInt("x", 1), 1);
    EXPECT_TRUE(file.Close());

    SettingsFile missing;
    EXPECT_FALSE(missing.Open(tmp.Path("nothing.inf")));
    missing.Group("Windows");
    EXPECT_EQ(missing.ReadInt("MainX", 200), 200);
}

TEST_F(SettingsTest, NumbersInTheCManner)
{
    constexpr int32_t Min = std::numeric_limits<int32_t>::min(), Max = std::numeric_limits<int32_t>::max();
    const std::pair<const char*, int32_t> cases[] = {
        {"+12x", 12}, {"$10", 0},  {"\t 42 ", 42}, {"99999999999", Max}, {"-99999999999", Min},
        {"-2147483648", Min},      {"123456789012345678901234567890", Max}, {"-", 0}};
    std::string text = "[N]\n";
    for (size_t i = 0; i < std::size(cases); i++)
        text += "key" + std::to_string(i) + " = " + cases[i].first + "\n";
    SettingsFile file;
    ASSERT_TRUE(file.Open(tmp.Put("n.inf", text)));
    file.Group("N");
    for (size_t i = 0; i < std::size(cases); i++)
        EXPECT_EQ(file.ReadInt("key" + std::to_string(i), 1), cases[i].second) << cases[i].first;
}

TEST_F(SettingsTest, AnsiAndUtf8FilesReadAlike)
{
    for (const char* name : {"settings_ansi.inf", "settings_utf8.inf"}) {
        SCOPED_TRACE(name);
        SettingsFile file;
        ASSERT_TRUE(file.Open(DataFolder + name));
        file.Group("Windows");
        EXPECT_EQ(file.ReadInt("MainX", 200), 12);
        file.Group("General");
        EXPECT_EQ(file.ReadText("Data Folder", ""), "/home/Ren\xC3\xA9/M\xC3\xBCnchen \xE2\x82\xAC");
        EXPECT_EQ(file.ReadText("FNT file Folder", ""), "/fnt/");  // blanks and tabs trimmed
    }
}

TEST_F(SettingsTest, WritesReplaceAppendAndAddGroups)
{
    std::string path = tmp.Put("w.inf", "old content");
    SettingsFile file;
    ASSERT_TRUE(file.Create(path));
    EXPECT_EQ(TempFolder::Read(path), "old content");  // replaced only when written
    file.Group("A");
    file.WriteInt("x", 1);
    file.Group("B");
    file.WriteText("y", "line\r\nbreak");
    file.Group("a");
    file.WriteInt("X", -2);  // replaces the value of "x" in "A"
    file.WriteComment("c");
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(TempFolder::Read(path), Bom + "\r\n[A]\r\nx = -2\r\n; c\r\n\r\n[B]\r\ny = line  break\r\n");

    // Nothing written: the file stays as it was.
    const std::string before = TempFolder::Read(path);
    ASSERT_TRUE(file.Create(path));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(TempFolder::Read(path), before);

    EXPECT_FALSE(file.Create(tmp.Path("missing/folder.inf")));
    file.Group("A");
    file.WriteInt("x", 1);
    EXPECT_FALSE(file.Close());
}

TEST_F(SettingsTest, WritingAfterOpeningKeepsTheRest)
{
    std::string path = tmp.Put("o.inf", "; top\r\n[CodePage]\r\nchr80 = $20AC\r\n[General]\r\nData Folder = caf\xE9\r\n");
    SettingsFile file;
    ASSERT_TRUE(file.Open(path));
    file.Group("General");
    file.WriteText("FNT file Folder", "/f/");
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(TempFolder::Read(path), Bom +
                                          "\r\n"
                                          "; top\r\n"
                                          "\r\n"
                                          "[CodePage]\r\n"
                                          "chr80 = $20AC\r\n"
                                          "\r\n"
                                          "[General]\r\n"
                                          "Data Folder = caf\xC3\xA9\r\n"
                                          "FNT file Folder = /f/\r\n");

    // Read back as UTF-8, the bytes are not taken for ANSI a second time.
    ASSERT_TRUE(file.Open(path));
    file.Group("General");
    EXPECT_EQ(file.ReadText("Data Folder", ""), "caf\xC3\xA9");
}
