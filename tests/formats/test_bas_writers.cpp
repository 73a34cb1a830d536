// "Save as BAS", "Save as FNT (CMM2)" and "Save as BAS (Proportional)".
#include "writers_fixture.h"

TEST_F(WritersTest, BasAndFntExactBytes)
{
    MakeFont(8, 2, 65, 3);
    s.CharData[65][1] = "0x80,0xFF,";
    s.CharData[66][1] = "";  // an empty glyph still takes its two bytes
    s.CharData[67][1] = "0x01,0x02,";
    const std::string block = "DefineFont #8\r\n  03410208\r\n  0000FF80 00000201\r\nEnd DefineFont\r\n";
    EXPECT_EQ(SaveAs(SaveFontAsBas, "tiny"),
              "' tiny.bas\r\n"
              "' Font type    : Full (3 characters)\r\n"
              "' Font start   : CHR$(65)\r\n"
              "' Font size    : 8x2 pixels\r\n"
              "' Memory usage : 10 bytes\r\n" + block);
    EXPECT_EQ(SaveAs(SaveFontAsFnt, "tiny"), block);
    EXPECT_EQ(s.SavePath, PathOf("tiny.fnt"));
}

// 764 bytes: 190 glyph words, 23 full lines of 8 and one of 6, in order.
TEST_F(WritersTest, Bas8x8Of95Characters)
{
    MakeFont(8, 8, 32, 95);
    std::vector<std::string> lines = Lines(SaveAs(SaveFontAsBas, "font"));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[4], "' Memory usage : 764 bytes");
    EXPECT_EQ(lines[6], "  5F200808");
    std::string joined, written;
    for (const std::string& word : PackGlyphWords(s))
        joined += " " + word;
    for (int line = 7; line < 31; ++line) {
        EXPECT_EQ(lines[line].size(), line < 30 ? 73u : 55u) << line;
        written += lines[line].substr(1);
    }
    EXPECT_EQ(written, joined);
    EXPECT_EQ(lines[31], "End DefineFont");
    EXPECT_EQ(Lines(SaveAs(SaveFontAsFnt, "font")).size(), 27u);
}

// 16 x 2 pixels, codes 31 to 34: an empty glyph, an empty space, a glyph
// starting in column 1 (not moved) and one starting in column 2 (moved).
TEST_F(WritersTest, ProportionalExactBytes)
{
    MakeFont(16, 2, 31, 4);
    s.CharData[31][1] = "";
    s.CharData[32][1] = "0x00,0x00,0x00,0x00,";
    s.CharData[33][1] = "0x7C,0x00,0x00,0x00,";  // columns 1 to 5
    s.CharData[34][1] = "0x20,0x01,0x00,0x00,";  // columns 2 and 15
    EXPECT_EQ(SaveAs(SaveFontAsBasProportional, "prop"),
              "' prop.bas\r\n"
              "' Font type    : Full (4 characters)\r\n"
              "' Font start   : CHR$(31)\r\n"
              "' Font size    : 16x2 pixels\r\n"
              "' Memory usage : 20 bytes\r\n"
              "DefineFont #8\r\n"
              "  041F0210\r\n"
              "  00000000 00000000 0000007C 00000480\r\n"
              "End DefineFont\r\n"
              "' \r\n"
              "' font widths\r\n"
              "FONT_WIDTH:\r\n"
              " DATA  31, 4 ' fontstart, fontcount\r\n"
              " DATA  1,8,6,14\r\n"
              "' \r\n");
    EXPECT_EQ(std::vector<int>(s.CharWidth.begin() + 31, s.CharWidth.begin() + 35), (std::vector<int>{1, 8, 6, 14}));
    EXPECT_EQ(s.CharData[34][1], "0x80,0x04,0x00,0x00,");
    EXPECT_EQ(s.Modified, 0);
}

TEST_F(WritersTest, ProportionalWidthsOfOddFonts)
{
    // A space of a 7-pixel font gets 3; a glyph reaching the right edge gets W.
    MakeFont(7, 8, 32, 2);
    s.CharData[32][1] = "";
    s.CharData[33][1] = Glyph({0x03, 0, 0, 0, 0, 0, 0});  // columns 6 and 0 of rows 0 and 1
    std::vector<std::string> lines = Lines(SaveAs(SaveFontAsBasProportional, "odd"));
    EXPECT_EQ(lines[lines.size() - 2], " DATA  3,7");

    // A one-pixel font: the empty space is 0 wide.
    MakeFont(1, 8, 32, 1);
    s.CharData[32][1] = "0x00,";
    lines = Lines(SaveAs(SaveFontAsBasProportional, "one"));
    EXPECT_EQ(lines[lines.size() - 2], " DATA  0");
}

// Empty glyphs: the space of an 8-pixel font is 4 wide, every other one 1.
TEST_F(WritersTest, ProportionalTableOf95And96Characters)
{
    for (int count : {95, 96}) {
        std::string table = "' \r\n' font widths\r\nFONT_WIDTH:\r\n DATA  32, " + std::to_string(count) +
                            " ' fontstart, fontcount\r\n DATA  4,1,1,1,1,1,1,1\r\n";
        for (int line = 0; line < 10; ++line)
            table += " DATA  1,1,1,1,1,1,1,1\r\n";
        table += count == 95 ? " DATA  1,1,1,1,1,1,1\r\n' \r\n" : " DATA  1,1,1,1,1,1,1,1\r\n DATA  \r\n' \r\n";
        MakeFont(8, 8, 32, count);
        for (int c = 32; c < 32 + count; ++c)
            s.CharData[c][1] = "";
        const std::string text = SaveAs(SaveFontAsBasProportional, "p");
        ASSERT_GE(text.size(), table.size());
        EXPECT_EQ(text.substr(text.size() - table.size()), table) << count;
    }
}

// The edit in the editor is stored before the glyphs are measured, so it
// reaches the file and the width table. A cancelled save still aligns.
TEST_F(WritersTest, ProportionalKeepsTheEditInTheEditor)
{
    MakeFont(8, 1, 65, 2);
    s.CharData[65][1] = "0x80,";
    s.CharData[66][1] = "0x80,";
    s.CurrentChar = 66;
    HexToChar(s, "0x81,");  // edited, not stored
    std::vector<std::string> lines = Lines(SaveAs(SaveFontAsBasProportional, "edit"));
    EXPECT_EQ(s.CharData[66][1], "0x81,");
    EXPECT_EQ(lines[7], "  00008180");
    EXPECT_EQ(lines[lines.size() - 2], " DATA  1,8");
    EXPECT_EQ(s.Modified, 0);

    MakeFont(8, 1, 65, 1);
    s.CharData[65][1] = "0x20,";
    ask->SaveAnswers = {""};
    SaveFontAsBasProportional(s);
    EXPECT_EQ(s.SavePath, "");
    EXPECT_EQ(s.CharData[65][1], "0x80,");
    EXPECT_EQ(s.CharWidth[65], 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "only edit.bas";
}
