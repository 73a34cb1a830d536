// The code-page tables: code page 437 built in, the settings file's
// "CodePage" group, the "CP*.inf" files of the program's folder, and the
// code-page list of the TrueType view.
#include "capture/codepage.h"

#include <filesystem>

#include "ttf_fixture.h"

namespace {

using CodePage = TtfTest;

TEST_F(CodePage, BuiltInTableAndItsTexts)
{
    LoadCodePage(s, "CP437");
    const struct {
        int code;
        int64_t point;
        const char* text;
    } cases[] = {
        {0x00, 0x0000, "$0000"}, {0x01, 0x263A, "$263a"}, {0x41, 0x41, "$0041"},
        {0x7F, 0x2302, "$2302"}, {0x80, 0xC7, "$00c7"},   {0xFF, 0xA0, "$00a0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(s.CodePageTable[size_t(c.code)], c.point) << c.code;
        EXPECT_EQ(CodePageDefault(c.code), c.text);
    }
    EXPECT_EQ(s.CodePageTable[256], 0) << "entry 256 is never written";
}

// A file's "CodePage" group over the built-in table; the settings file's
// group never reaches a chosen file.
TEST_F(CodePage, FilesReadOverTheBuiltInTable)
{
    current.Put("Glyphery.inf", "[CodePage]\r\nchr42 = $0061\r\nchr43 = $0062\r\n");
    const struct {
        const char* file;
        int64_t at41;
    } cases[] = {
        {"[CodePage]\r\nchr41 = $0042\r\n", 0x42},
        {"[CodePage]\nchr41 = 66\n", 0x42},
        {"[CODEPAGE]\r\nCHR41 = $0042\r\n", 0x42},
        {"[CodePage]\r\nchr41 = %1000010\r\n", 0x42},
        {"[CodePage]\r\nchr41 = A\r\n", 0},  // no number: code point 0
        {"[Other]\r\nchr41 = $0042\r\n", 0x41},
        {"", 0x41},
    };
    for (const auto& c : cases) {
        program.Put("CP999.inf", c.file);
        LoadCodePage(s, "CP999.inf");
        EXPECT_EQ(s.CodePageTable[0x41], c.at41) << c.file;
        EXPECT_EQ(s.CodePageTable[0x42], 0x42) << "the settings group shapes only CP437";
        EXPECT_EQ(s.CodePageTable[0x01], 0x263A);
    }
    // Back to CP437: every entry is read again, the settings group applies.
    LoadCodePage(s, "CP437");
    EXPECT_EQ(s.CodePageTable[0x41], 0x41);
    EXPECT_EQ(s.CodePageTable[0x42], 0x61);
    EXPECT_EQ(s.CodePageTable[0x43], 0x62);
}

// The list offers the program folder's files, and a chosen one is read from
// there even when the current folder holds a file of the same name.
TEST_F(CodePage, ListedFilesLoadFromTheProgramFolder)
{
    program.Put("CP850.inf", "[CodePage]\r\nchr41 = $0100\r\n");
    current.Put("CP850.inf", "[CodePage]\r\nchr41 = $0200\r\n");
    ImportTtfFont(s);
    ASSERT_EQ(platform::CountItems(obj::TtfCodePageList), 2);
    EXPECT_EQ(platform::GetItemText(obj::TtfCodePageList, 1), "CP850.inf");
    platform::SetState(obj::TtfCodePageList, 1);
    LoadViewCodePage(s);
    EXPECT_EQ(s.CodePageTable[0x41], 0x100);

    // Gone from the program folder: the built-in table.
    std::filesystem::remove(program.Path("CP850.inf"));
    LoadViewCodePage(s);
    EXPECT_EQ(s.CodePageTable[0x41], 0x41);
}

TEST_F(CodePage, EveryFileIsOfferedFoldersAndOtherNamesAreNot)
{
    for (int i = 1; i <= 35; ++i)
        program.Put("CP" + std::to_string(100 + i) + ".inf", "");
    program.Put("other.inf", "");
    std::filesystem::create_directory(program.Path("CP000.inf"));
    ImportTtfFont(s);
    ASSERT_EQ(platform::CountItems(obj::TtfCodePageList), 36);
    EXPECT_EQ(platform::GetItemText(obj::TtfCodePageList, 0), "CP437");
    EXPECT_EQ(platform::GetState(obj::TtfCodePageList), 0);
    ASSERT_GE(s.CodePageFiles.size(), 36u);
    EXPECT_EQ(s.CodePageFiles[0], "");
    for (int i = 1; i <= 35; ++i)
        EXPECT_EQ(s.CodePageFiles[size_t(i)], platform::GetItemText(obj::TtfCodePageList, i));

    // Opening the view again starts the list afresh.
    ImportTtfFont(s);
    EXPECT_EQ(platform::CountItems(obj::TtfCodePageList), 36);
}

// "Degree" decides entry 96, whatever the table says.
TEST_F(CodePage, DegreeDecidesEntry96)
{
    program.Put("CP1.inf", "[CodePage]\r\nchr60 = $0041\r\n");
    ImportTtfFont(s);
    for (int list : {0, 1})
        for (int degree : {0, 1}) {
            platform::SetState(obj::TtfCodePageList, list);
            platform::SetState(obj::TtfDegreeBox, degree);
            LoadViewCodePage(s);
            EXPECT_EQ(s.CodePageTable[96], degree ? 176 : 96) << list;
        }
}

TEST(CodePointText, OnlyCharacters)
{
    EXPECT_EQ(CodePointText(0x41), "A");
    EXPECT_EQ(CodePointText(0x263A), "\u263A");
    for (int64_t none : {int64_t(0), int64_t(-1), int64_t(0xD800), int64_t(0x110000), int64_t(1) << 40})
        EXPECT_EQ(CodePointText(none), "") << none;
}

}  // namespace
