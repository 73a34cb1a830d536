// "Save as 8bit C" and "Save as 32bit C": exact bytes, the edge cases of the
// format, and a real C compiler reading the output. The exact default
// preamble is checked by the save_formats driver script.
#include "writers_fixture.h"

// Four glyphs of 8 x 2: an empty one, a too long one and one of odd
// characters. Every glyph still takes exactly two bytes, read as the editor
// reads them. The preamble stands where FileInfo is written.
TEST_F(WritersTest, CFilesExactBytesAndGlyphLengthRepaired)
{
    MakeFont(8, 2, 65, 4);
    s.FileInfo = "//P\r\n";
    s.CharData[65][1] = "0x80,0xFF,";
    s.CharData[66][1] = "";
    s.CharData[67][1] = "0x01,0x02,0x03,";
    s.CharData[68][1] = "\xC3\xA9" "1F,zz";
    const std::string comments =
        "// tiny.c\r\n"
        "// Font type    : Full (4 characters)\r\n"
        "// Font size    : 8x2 pixels\r\n"
        "// Memory usage : 12 bytes\r\n";
    EXPECT_EQ(SaveAs(SaveFontAs8BitC, "tiny"), comments +
                                                   "//P\r\n//fontdatatype tiny[12] PROGMEM={\r\n"
                                                   "//P\r\nconst unsigned char tiny[12] PROGMEM={\r\n"
                                                   "0x08,0x02,0x41,0x04,\r\n"
                                                   "0x80,0xFF, // Chr$(65)  A\r\n"
                                                   "0x00,0x00, // Chr$(66)  B\r\n"
                                                   "0x01,0x02, // Chr$(67)  C\r\n"
                                                   "0x0F,0x00, // Chr$(68)  D\r\n"
                                                   "};\r\n");
    EXPECT_EQ(s.SavePath, PathOf("tiny.c"));
    EXPECT_EQ(SaveAs(SaveFontAs32BitC, "tiny.c"),
              comments + "//P\r\nconst int tiny[3] = {\r\n0x04410208,\r\n0x0000FF80,0x000F0201,\r\n};\r\n");
    EXPECT_EQ(s.FileInfo, "//P\r\n");  // a writer never changes it

    // The bytes written are the bytes the editor shows for the same text.
    for (const std::string text : {"0x1,0xZ9", "\xE2\x82\xAC\xE2\x82\xAC", "xx7F", ",,0xAB"}) {
        s.CharData[65][1] = text;
        HexToChar(s, text);
        EXPECT_EQ(NormalGlyphText(s, 65), CharToHex(s)) << text;
    }
}

// 772 bytes: 193 words, 24 lines of 8.
TEST_F(WritersTest, Font8x8Of96Characters)
{
    MakeFont(8, 8, 32, 96);
    std::vector<std::string> c8 = Lines(SaveAs(SaveFontAs8BitC, "font"));
    ASSERT_EQ(c8.size(), 104u);  // 4 comments, 2 declarations, the header, 96 glyphs, the end
    EXPECT_EQ(c8[1], "// Font type    : Full (96 characters)");
    EXPECT_EQ(c8[3], "// Memory usage : 772 bytes");
    EXPECT_EQ(c8[5], "const unsigned char font[772] PROGMEM={");
    EXPECT_EQ(c8[6], "0x08,0x08,0x20,0x60,");
    EXPECT_EQ(c8[7], s.CharData[32][1] + " // Chr$(32)   ");

    std::vector<std::string> c32 = Lines(SaveAs(SaveFontAs32BitC, "font.c"));
    ASSERT_EQ(c32.size(), 31u);
    EXPECT_EQ(c32[3], "// Memory usage : 772 bytes");
    EXPECT_EQ(c32[4], "const int font[193] = {");
    EXPECT_EQ(c32[5], "0x60200808,");
    for (int line = 6; line < 30; ++line)
        EXPECT_EQ(c32[line].size(), 88u) << line;
    EXPECT_EQ(c32.back(), "};");
}

TEST_F(WritersTest, NumericFontAndEmptyFont)
{
    MakeFont(8, 8, 48, 10);
    EXPECT_EQ(Lines(SaveAs(SaveFontAs8BitC, "n.c"))[1], "// Font type    : Numeric (10 characters)");
    EXPECT_EQ(Lines(SaveAs(SaveFontAs32BitC, "n.c"))[1], "// Font type    : Numeric (10 characters)");
    EXPECT_EQ(Lines(SaveAs(SaveFontAsBas, "n"))[1], "' Font type    : Numeric (10 characters)");

    MakeFont(8, 8, 32, 0);
    const std::string comments =
        "// e.c\r\n// Font type    : Full (0 characters)\r\n// Font size    : 8x8 pixels\r\n"
        "// Memory usage : 4 bytes\r\n";
    EXPECT_EQ(SaveAs(SaveFontAs8BitC, "e.c"),
              comments + "//fontdatatype e[4] PROGMEM={\r\nconst unsigned char e[4] PROGMEM={\r\n"
                         "0x08,0x08,0x20,0x00,\r\n};\r\n");
    EXPECT_EQ(SaveAs(SaveFontAs32BitC, "e.c"), comments + "const int e[1] = {\r\n0x00200808,\r\n,\r\n};\r\n");
    EXPECT_EQ(SaveAs(SaveFontAsFnt, "e"), "DefineFont #8\r\n  00200808\r\n \r\nEnd DefineFont\r\n");
}

// 6 x 8 pixels, 95 characters: 570 glyph bytes, so the last word is half
// empty and the array holds 144 words.
TEST_F(WritersTest, GlyphBytesNotAMultipleOfFour)
{
    MakeFont(6, 8, 32, 95);
    std::vector<std::string> words = PackGlyphWords(s);
    ASSERT_EQ(words.size(), 143u);
    char last[16];
    std::snprintf(last, sizeof last, "0000%02X%02X", PatternByte(126, 5), PatternByte(126, 4));
    EXPECT_EQ(words.back(), last);

    std::vector<std::string> c32 = Lines(SaveAs(SaveFontAs32BitC, "six"));
    ASSERT_EQ(c32.size(), 25u);
    EXPECT_EQ(c32[3], "// Memory usage : 574 bytes");
    EXPECT_EQ(c32[4], "const int six[144] = {");
    EXPECT_EQ(c32[23].size(), 7u * 11u);  // the seven words left
    EXPECT_EQ(c32[23].substr(66), "0x" + words[142] + ",");
}

TEST_F(WritersTest, LabelsOfBackslashAndControlCodes)
{
    MakeFont(8, 1, 8, 90);  // codes 8 to 97
    std::vector<std::string> lines = Lines(SaveAs(SaveFontAs8BitC, "labels.c"));
    for (const auto& [code, label] : std::vector<std::pair<int, std::string>>{
             {92, "Chr$(92) backslash"}, {10, "Chr$(10) "}, {31, "Chr$(31) "}, {97, "Chr$(97)  a"}})
        EXPECT_EQ(lines[size_t(7 + code - 8)], s.CharData[size_t(code)][1] + " // " + label);
}

TEST_F(WritersTest, ExtensionAndArrayName)
{
    MakeFont(8, 1, 65, 1);
    std::vector<std::string> lines = Lines(SaveAs(SaveFontAs8BitC, "other.txt"));
    EXPECT_EQ(s.SavePath, PathOf("other.txt"));
    EXPECT_EQ(lines[0], "// other.txt");
    EXPECT_EQ(lines[5], "const unsigned char other[5] PROGMEM={");
    lines = Lines(SaveAs(SaveFontAs32BitC, "12 px-font.c"));
    EXPECT_EQ(lines[0], "// 12 px-font.c");
    EXPECT_EQ(lines[4], "const int _12_px_font[2] = {");

    // Valid names stay as they are; others become valid C identifiers, one
    // "_" per character.
    for (const auto& [name, id] : std::vector<std::pair<std::string, std::string>>{
             {"Font_16x24", "Font_16x24"}, {"Schrift\xC3\xA4.v2", "Schrift__v2"}, {"int", "int_"}, {"bool", "bool_"},
             {"", "font"}})
        EXPECT_EQ(CIdentifier(name), id);
}

// ---- A C compiler reads the files -------------------------------------------

class CompiledCTest : public WritersTest {
protected:
    std::string compiler;

    void SetUp() override
    {
        WritersTest::SetUp();
        for (const char* name : {"cc", "gcc", "clang"})
            if (compiler.empty() && std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0)
                compiler = name;
        // The test command installs gcc; a missing compiler is a broken set-up,
        // not a reason to pass without looking.
        ASSERT_FALSE(compiler.empty()) << "no C compiler (cc, gcc or clang) on this host";
    }

    // Compiles a program that includes `source` and prints every byte of
    // array `name` in hexadecimal; returns what it printed.
    std::string CompileAndDump(const std::string& source, const std::string& name)
    {
        WriteFile(PathOf("main.c"), "#include <stdio.h>\n#include \"" + source + "\"\nint main(void)\n{\n"
                                    "    const unsigned char *p = (const unsigned char *)" + name + ";\n"
                                    "    for (size_t i = 0; i < sizeof " + name + "; ++i)\n"
                                    "        printf(\"%02X\", p[i]);\n    return 0;\n}\n");
        const std::string command = "cd '" + dir.string() + "' && " + compiler +
                                    " -std=c99 -DPROGMEM= -w -o dump main.c 2>compile.log && ./dump >out.txt";
        EXPECT_EQ(std::system(command.c_str()), 0) << ReadFile(PathOf("compile.log"));
        return ReadFile(PathOf("out.txt"));
    }

    // The font's bytes as the 8-bit array holds them, header first, in
    // hexadecimal.
    std::string FontHex() const
    {
        std::string hex;
        char piece[4];
        auto add = [&](int b) {
            std::snprintf(piece, sizeof piece, "%02X", b & 255);
            hex += piece;
        };
        for (int b : {s.FontWidth, s.FontHeight, s.FontStart, s.FontCount})
            add(b);
        for (int c = s.FontStart; c < s.FontStart + s.FontCount; ++c)
            for (int i = 0; i < s.FontWidth * s.FontHeight / 8; ++i)
                add(PatternByte(c, i));
        return hex;
    }
};

TEST_F(CompiledCTest, EightBitArrayHoldsTheFont)
{
    MakeFont(8, 8, 32, 96);
    s.FileInfo = MakeDefaultPreamble();
    std::string expected = FontHex();
    s.CharData[40][1] = "0x01,";  // too short: padded, the glyphs after it stay in place
    expected.replace(2 * (4 + 8 * 8), 16, "0100000000000000");
    ask->SaveAnswers.push_back(PathOf("8x8 font-1.c"));
    SaveFontAs8BitC(s);
    EXPECT_EQ(expected.size(), 2 * 772u);
    EXPECT_EQ(CompileAndDump("8x8 font-1.c", "_8x8_font_1"), expected);
}

TEST_F(CompiledCTest, ThirtyTwoBitArrayHoldsTheFont)
{
    const unsigned probe = 1;
    if (*reinterpret_cast<const unsigned char*>(&probe) != 1)
        GTEST_SKIP() << "the byte check assumes a little-endian host";
    MakeFont(6, 8, 32, 95);
    s.FileInfo = MakeDefaultPreamble();
    ask->SaveAnswers.push_back(PathOf("six.c"));
    SaveFontAs32BitC(s);
    EXPECT_EQ(CompileAndDump("six.c", "six"), FontHex() + "0000");  // the last word's high bytes are 00
}
