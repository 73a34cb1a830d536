// The raw binary font import: rows of one or more bytes, the leading zero
// byte, which glyphs of the file are read, the fields of window 91 and what
// the import refuses.
#include <span>

#include "core/commands.h"
#include "formats/binfont.h"
#include "import_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;
using RowList = std::vector<std::string>;

class BinImport : public ImportTest {};

}  // namespace

TEST(BinDecode, RowsBytesAndTheLeadingZeroShift)
{
    struct Case {
        const char* what;
        int w, h;
        Bytes file;
        RowList rows;
    };
    const Case cases[] = {
        {"one byte a row", 8, 16, Bytes(16, 0x18), RowList(16, "...##...")},
        {"two bytes a row, the last byte leftmost", 12, 2, {0x30, 0x0F, 0x30, 0x0F},
         {"....####..##", "....####..##"}},
        {"every row starts with a zero byte: moved 8 left", 16, 2, {0xF0, 0x00, 0x81, 0x00},
         {"####............", "#......#........"}},
        {"one row does not: kept", 16, 2, {0xF0, 0x00, 0x00, 0x01},
         {"........####....", ".......#........"}},
        {"5 x 7 keeps 4 bytes", 5, 7, Bytes(7, 0xF8), {"#####", "#####", "#####", "#####", "#####", "#####", "##..."}},
        {"a glyph past the end reads zero bytes", 8, 4, {0xFF, 0x81}, {"########", "#......#", "........", "........"}},
    };
    for (const Case& c : cases) {
        const BinGlyphs read = DecodeBinFont(c.file, BinSettings{c.w, c.h, 0, 1, 32});
        ASSERT_EQ(read.Glyphs.size(), 1u) << c.what;
        EXPECT_EQ(read.Glyphs[0].size(), size_t(c.w * c.h / 8 * 5)) << c.what;
        EXPECT_EQ(GlyphRows(read.Glyphs[0], c.w, c.h), c.rows) << c.what;
    }
}

// A file of 64 glyphs of 8 x 1, glyph i holding the byte i. "First
// character:" counts the file's glyphs from 1, and 0 means the first too.
TEST_F(BinImport, WhichGlyphsAreRead)
{
    Bytes file;
    for (int i = 0; i < 64; ++i)
        file.push_back(uint8_t(i));
    PutBinFile(file);
    struct Case {
        std::string first, count, start;
        std::vector<int> bytes;  // of the glyphs stored from the start code on
        int fontCount;
    };
    const Case cases[] = {
        {"0", "2", "32", {0x00, 0x01}, 2},
        {"1", "2", "32", {0x00, 0x01}, 2},
        {"33", "2", "32", {0x20, 0x21}, 2},
        {" $10", "1", "7", {0x0F}, 1},
        // The 64th glyph, then one starting exactly at the end (read as
        // zero bytes); the next one starts past the end.
        {"64", "3", "32", {0x3F, 0x00}, 3},
        // Too short: the 64 glyphs and the one at the end (filled below).
        {"1", "70", "32", {}, 70},
        {"1", "0", "32", {}, 0},
    };
    for (Case c : cases) {
        if (c.fontCount == 70) {
            for (int i = 0; i < 64; ++i)
                c.bytes.push_back(i);
            c.bytes.push_back(0);
        }
        AnswerBinWindow({"8", "1", c.first, c.count, c.start});
        const int start = std::stoi(c.start);
        EXPECT_EQ(s.FontStart, start);
        EXPECT_EQ(s.FontCount, c.fontCount);
        EXPECT_EQ(s.CurrentChar, start);
        std::vector<int> stored;
        for (int code = start; code < CharTableRows && !s.CharData[size_t(code)][1].empty(); ++code)
            stored.push_back(GlyphBytes(s.CharData[size_t(code)][1], 1)[0]);
        EXPECT_EQ(stored, c.bytes) << c.first << " " << c.count;
        EXPECT_EQ(platform::CountItems(obj::CharList), int(c.bytes.size()));
        if (!c.bytes.empty()) {
            EXPECT_EQ(platform::GetItemText(obj::CharList, 0), s.CharData[size_t(start)][2]);
        }
    }
    EXPECT_TRUE(ask->Messages.empty());
}

// The close box answers as "Save" does; the text fields do nothing. The whole
// store is replaced, Modified is left alone, Font View is redrawn, and
// Restore puts back the imported glyph, not one of the old font.
TEST_F(BinImport, CloseBoxImportsAsSaveDoes)
{
    PutBinFile({0x18, 0x3C, 0x18, 0x00});
    for (bool closeBox : {false, true}) {
        MakeListedFont();
        s.Modified = 1;
        s.ViewFontRequest = ViewFontNone;
        OpenBinImportWindow(s);
        s.Event = platform::Event{platform::EventKind::Control, 91, 93, platform::ControlEvent::Change};
        BinImportWindowEvent(s);
        EXPECT_TRUE(platform::IsWindow(91));
        EXPECT_EQ(s.FontWidth, 8);

        AnswerBinWindow({"8", "2", "1", "2", "65"}, closeBox);
        EXPECT_FALSE(platform::IsWindow(91));
        // A second click still queued finds the window closed.
        s.Event = platform::Event{platform::EventKind::Control, 91, 102, platform::ControlEvent::LeftClick};
        BinImportWindowEvent(s);
        EXPECT_EQ(std::vector<int>({s.FontWidth, s.FontHeight, s.FontStart, s.FontCount}),
                  std::vector<int>({8, 2, 65, 2}));
        EXPECT_EQ(s.CharData[65][1], "0x18,0x3C,");
        EXPECT_EQ(s.CharData[66][1], "0x18,0x00,");
        EXPECT_EQ(s.CharData[67][1], "");
        EXPECT_EQ(s.FileInfo, "");
        EXPECT_EQ(s.Modified, 1);
        EXPECT_EQ(s.FontName, "old");
        EXPECT_EQ(s.Grid(3, 0), 1);  // code 65 in the editor
        EXPECT_EQ(s.ViewFontRequest, ViewFontIfOpen);
        EXPECT_EQ(ListItems(), (std::vector<std::string>{"Chr$(65)  A", "Chr$(66)  B"}));
        s.Grid(0, 0) = 1;
        RestoreCharacter(s);
        EXPECT_EQ(s.CharData[65][1], "0x18,0x3C,");
        EXPECT_EQ(s.Grid(0, 0), 0);
    }
    EXPECT_TRUE(ask->Messages.empty());
}

// Fields that cannot be used are refused, naming the field, before anything
// changes.
TEST_F(BinImport, RefusedFieldsKeepTheFont)
{
    PutBinFile(Bytes(64, 0xFF));
    const std::string sides = " must be a number from 1 to 1024.";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"0", "16", "1", "2", "32"}, "Font width" + sides},
        {{"1025", "16", "1", "2", "32"}, "Font width" + sides},
        {{"wide", "16", "1", "2", "32"}, "Font width" + sides},
        {{"8", "0", "1", "2", "32"}, "Font height" + sides},
        {{"8", "99999999999", "1", "2", "32"}, "Font height" + sides},
        {{"8", "16", "-1", "2", "32"}, "First character must not be negative."},
        {{"8", "16", "1", "-2", "32"}, "Character count must not be negative."},
        {{"8", "16", "1", "2", "-1"}, "New font start must be a number from 0 to 255."},
        {{"8", "16", "1", "0", "256"}, "New font start must be a number from 0 to 255."},
    };
    for (const auto& [fields, message] : cases) {
        MakeListedFont();
        s.CurrentChar = 66;
        const FontSnapshot before = Snapshot();
        ask->Messages.clear();
        AnswerBinWindow(fields);
        EXPECT_EQ(Messages(), std::vector<std::string>{"Oops!|" + message}) << fields[0];
        EXPECT_TRUE(Snapshot() == before) << message;
    }
}

// A count that would pass code 255 is cut, with one message; a file that
// cannot be read leaves the font empty with the geometry asked for.
TEST_F(BinImport, CountCutAtCode255AndUnreadableFile)
{
    PutBinFile(Bytes(400, 0x80));
    AnswerBinWindow({"8", "1", "1", "100", "200"});
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "Oops!|Only 56 characters fit from code 200 to code 255: the character count is cut to 56."});
    EXPECT_EQ(s.FontCount, 56);
    EXPECT_EQ(s.CharData[255][1], "0x80,");
    EXPECT_EQ(s.CharData[256][1], "");
    EXPECT_EQ(platform::CountItems(obj::CharList), 56);

    for (const std::string& path : {PathOf("missing.bin"), dir.string()}) {
        MakeListedFont();
        ask->Messages.clear();
        s.FontPath = path;
        AnswerBinWindow({"12", "3", "1", "4", "48"});
        EXPECT_EQ(Messages(), std::vector<std::string>{"Oops!|Could not read the file " + path});
        EXPECT_EQ(std::vector<int>({s.FontWidth, s.FontHeight, s.FontStart, s.FontCount}),
                  std::vector<int>({12, 3, 48, 4}));
        EXPECT_EQ(s.CharData[65][1], "");
        EXPECT_EQ(s.FileInfo, "");
        EXPECT_EQ(platform::CountItems(obj::CharList), 0);
    }
}
