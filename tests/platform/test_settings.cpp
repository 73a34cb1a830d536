// Settings files: reading rules and the exact bytes written.
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/settings.h"

using namespace platform;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "glyphery-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern + "/";
    }
    void TearDown() override
    {
        [[maybe_unused]] int ignored = std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    std::string Put(const std::string& name, const std::string& bytes)
    {
        std::string path = dir_ + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Get(const std::string& path)
    {
        std::vector<uint8_t> bytes;
        ReadFileBytes(path, bytes);
        return std::string(bytes.begin(), bytes.end());
    }

    std::string dir_;
};

const std::string DataFolder = GLYPHERY_TEST_DATA "/platform/";

}  // namespace

TEST_F(SettingsTest, LookupRules)
{
    SettingsFile file;
    ASSERT_TRUE(file.Open(Put("a.inf",
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
    EXPECT_EQ(file.ReadInt("MainX", 200), 200);
    EXPECT_EQ(file.ReadText("Data Folder", "none"), "none");
    file.Group("Open");  // group line without "]"
    EXPECT_EQ(file.ReadInt("x", 1), 1);
    EXPECT_TRUE(file.Close());

    SettingsFile missing;
    EXPECT_FALSE(missing.Open(dir_ + "nothing.inf"));
    missing.Group("Windows");
    EXPECT_EQ(missing.ReadInt("MainX", 200), 200);
}

TEST_F(SettingsTest, NumbersInTheCManner)
{
    SettingsFile file;
    ASSERT_TRUE(file.Open(Put("n.inf",
                              "[N]\n"
                              "plus = +12x\n"
                              "hex = $10\n"
                              "spaced = \t 42 \n"
                              "big = 99999999999\n"
                              "small = -99999999999\n"
                              "edge = -2147483648\n"
                              "long = 123456789012345678901234567890\n"
                              "sign = -\n")));
    file.Group("N");
    EXPECT_EQ(file.ReadInt("plus", 1), 12);
    EXPECT_EQ(file.ReadInt("hex", 1), 0);
    EXPECT_EQ(file.ReadInt("spaced", 1), 42);
    EXPECT_EQ(file.ReadInt("big", 1), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(file.ReadInt("small", 1), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(file.ReadInt("edge", 1), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(file.ReadInt("long", 1), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(file.ReadInt("sign", 1), 0);
}

TEST_F(SettingsTest, AnsiAndUtf8FilesReadAlike)
{
    const std::string folder = "/home/Ren\xC3\xA9/M\xC3\xBCnchen \xE2\x82\xAC";
    for (const char* name : {"settings_ansi.inf", "settings_utf8.inf"}) {
        SCOPED_TRACE(name);
        SettingsFile file;
        ASSERT_TRUE(file.Open(DataFolder + name));
        file.Group("Windows");
        EXPECT_EQ(file.ReadInt("MainX", 200), 12);
        file.Group("General");
        EXPECT_EQ(file.ReadText("Data Folder", ""), folder);
        EXPECT_EQ(file.ReadText("FNT file Folder", ""), "/fnt/");  // blanks and tabs trimmed
    }
}

TEST_F(SettingsTest, ExitLayoutBytes)
{
    std::string path = dir_ + "Glyphery.inf";
    SettingsFile file;
    ASSERT_TRUE(file.Create(path));
    file.Group("Windows");
    file.WriteComment("Main Window");
    file.WriteInt("MainX", 200);
    file.WriteInt("MainY", -3);
    file.WriteComment("Font Window");
    file.WriteInt("FontX", 400);
    file.Group("Font");
    file.WriteInt("Font Width", 16);
    file.Group("General");
    file.WriteText("Data Folder", "/home/Ren\xC3\xA9/");
    file.WriteText("FNT file Folder", "");
    file.Group("Recent Files");
    file.WriteText("MRUFile0", "/a.bas");
    file.WriteText("MRUFile1", "/b.c");
    ASSERT_TRUE(file.Close());

    EXPECT_EQ(Get(path),
              "\xEF\xBB\xBF\r\n"
              "[Windows]\r\n"
              "; Main Window\r\n"
              "MainX = 200\r\n"
              "MainY = -3\r\n"
              "; Font Window\r\n"
              "FontX = 400\r\n"
              "\r\n"
              "[Font]\r\n"
              "Font Width = 16\r\n"
              "\r\n"
              "[General]\r\n"
              "Data Folder = /home/Ren\xC3\xA9/\r\n"
              "FNT file Folder = \r\n"
              "\r\n"
              "[Recent Files]\r\n"
              "MRUFile0 = /a.bas\r\n"
              "MRUFile1 = /b.c\r\n");

    // And it reads back.
    ASSERT_TRUE(file.Open(path));
    file.Group("General");
    EXPECT_EQ(file.ReadText("Data Folder", ""), "/home/Ren\xC3\xA9/");
    EXPECT_EQ(file.ReadText("FNT file Folder", "x"), "");
    file.Group("Windows");
    EXPECT_EQ(file.ReadInt("MainY", 0), -3);
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(Get(path).substr(0, 5), "\xEF\xBB\xBF\r\n");  // reading rewrites nothing
}

TEST_F(SettingsTest, WritesReplaceAppendAndAddGroups)
{
    std::string path = Put("w.inf", "old content");
    SettingsFile file;
    ASSERT_TRUE(file.Create(path));
    EXPECT_EQ(Get(path), "");  // emptied at once
    file.Group("A");
    file.WriteInt("x", 1);
    file.Group("B");
    file.WriteText("y", "line\r\nbreak");
    file.Group("a");
    file.WriteInt("X", 2);  // replaces the value of "x" in "A"
    file.WriteComment("c");
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(Get(path), "\xEF\xBB\xBF\r\n[A]\r\nx = 2\r\n; c\r\n\r\n[B]\r\ny = line  break\r\n");

    // Nothing written: the created file stays empty.
    ASSERT_TRUE(file.Create(path));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(Get(path), "");

    EXPECT_FALSE(file.Create(dir_ + "missing/folder.inf"));
    file.Group("A");
    file.WriteInt("x", 1);
    EXPECT_FALSE(file.Close());
}

TEST_F(SettingsTest, WritingAfterOpeningKeepsTheRest)
{
    std::string path = Put("o.inf",
                           "; top\r\n"
                           "[CodePage]\r\n"
                           "chr80 = $20AC\r\n"
                           "[General]\r\n"
                           "Data Folder = caf\xE9\r\n");
    SettingsFile file;
    ASSERT_TRUE(file.Open(path));
    file.Group("General");
    file.WriteText("FNT file Folder", "/f/");
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(Get(path),
              "\xEF\xBB\xBF\r\n"
              "; top\r\n"
              "\r\n"
              "[CodePage]\r\n"
              "chr80 = $20AC\r\n"
              "\r\n"
              "[General]\r\n"
              "Data Folder = caf\xC3\xA9\r\n"
              "FNT file Folder = /f/\r\n");
}
