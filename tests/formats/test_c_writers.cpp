// "Save as 8bit C" and "Save as 32bit C": exact bytes, the preamble, the
// edge cases of the format, and a real C compiler reading the output.
#include <cstdio>
#include <cstdlib>

#include "writers_fixture.h"

namespace {

const std::string Preamble =
    "\r\n"
    "#if defined(__AVR__)\r\n"
    "    #include <avr/pgmspace.h>\r\n"
    "    #define fontdatatype const uint8_t\r\n"
    "#elif defined(__PIC32MX__)\r\n"
    "    #define PROGMEM\r\n"
    "    #define fontdatatype const unsigned char\r\n"
    "#elif defined(__arm__)\r\n"
    "    #define PROGMEM\r\n"
    "    #define fontdatatype const unsigned char\r\n"
    "#endif\r\n"
    "\r\n";

}  // namespace

TEST(CWriterPieces, DefaultPreambleText)
{
    EXPECT_EQ(MakeDefaultPreamble(), Preamble);
}

TEST(CWriterPieces, IdentifierFromFileName)
{
    EXPECT_EQ(CIdentifier("font"), "font");
    EXPECT_EQ(CIdentifier("Font_16x24"), "Font_16x24");
    EXPECT_EQ(CIdentifier("_x9"), "_x9");
    EXPECT_EQ(CIdentifier("my font-1.v2"), "my_font_1_v2");
    EXPECT_EQ(CIdentifier("8x8"), "_8x8");
    EXPECT_EQ(CIdentifier("9 pt"), "_9_pt");
    EXPECT_EQ(CIdentifier("Schrift\xC3\xA4"), "Schrift_");  // one "_" per character
    EXPECT_EQ(CIdentifier("int"), "int_");
    EXPECT_EQ(CIdentifier(""), "font");
}

// Three glyphs of 8 x 2, the second one empty and the third one too long:
// every glyph still takes exactly two bytes.
TEST_F(WritersTest, CFilesExactBytesAndGlyphLengthRepaired)
{
    MakeFont(8, 2, 65, 3);
    s.CharData[65][1] = "0x80,0xFF,";
    s.CharData[66][1] = "";
    s.CharData[67][1] = "0x01,0x02,0x03,";

    EXPECT_EQ(SaveAs(SaveFontAs8BitC, "tiny"),
              "// tiny.c\r\n"
              "// Font type    : Full (3 characters)\r\n"
              "// Font size    : 8x2 pixels\r\n"
              "// Memory usage : 10 bytes\r\n"
              "//fontdatatype tiny[10] PROGMEM={\r\n"
              "const unsigned char tiny[10] PROGMEM={\r\n"
              "0x08,0x02,0x41,0x03,\r\n"
              "0x80,0xFF, // Chr$(65)  A\r\n"
              "0x00,0x00, // Chr$(66)  B\r\n"
              "0x01,0x02, // Chr$(67)  C\r\n"
              "};\r\n");
    EXPECT_EQ(s.SavePath, PathOf("tiny.c"));
    EXPECT_EQ(s.FontHeader, "0x08,0x02,0x41,0x03,");

    EXPECT_EQ(SaveAs(SaveFontAs32BitC, "tiny32.c"),
              "// tiny32.c\r\n"
              "// Font type    : Full (3 characters)\r\n"
              "// Font size    : 8x2 pixels\r\n"
              "// Memory usage : 10 bytes\r\n"
              "const int tiny32[3] = {\r\n"
              "0x03410208,\r\n"
              "0x0000FF80,0x00000201,\r\n"
              "};\r\n");

    std::vector<std::string> words = PackGlyphWords(s);
    EXPECT_EQ(words, (std::vector<std::string>{"0000FF80", "00000201"}));
}

TEST_F(WritersTest, PreambleStandsBeforeEachDeclaration)
{
    MakeFont(8, 1, 65, 1);
    s.CharData[65][1] = "0x3C,";
    s.FileInfo = MakeDefaultPreamble();
    const std::string comments =
        "// p.c\r\n"
        "// Font type    : Full (1 characters)\r\n"
        "// Font size    : 8x1 pixels\r\n"
        "// Memory usage : 5 bytes\r\n";
    EXPECT_EQ(SaveAs(SaveFontAs8BitC, "p.c"),
              comments + Preamble + "//fontdatatype p[5] PROGMEM={\r\n" + Preamble +
                  "const unsigned char p[5] PROGMEM={\r\n"
                  "0x08,0x01,0x41,0x01,\r\n"
                  "0x3C, // Chr$(65)  A\r\n"
                  "};\r\n");
    EXPECT_EQ(SaveAs(SaveFontAs32BitC, "p.c"),
              comments + Preamble +
                  "const int p[2] = {\r\n"
                  "0x01410108,\r\n"
                  "0x0000003C,\r\n"
                  "};\r\n");
    EXPECT_EQ(s.FileInfo, Preamble);  // a writer never changes it
}

TEST_F(WritersTest, Font8x8Of96Characters)
{
    MakeFont(8, 8, 32, 96);
    std::vector<std::string> c8 = Lines(SaveAs(SaveFontAs8BitC, "font"));
    ASSERT_EQ(c8.size(), 4u + 2u + 1u + 96u + 1u);
    EXPECT_EQ(c8[0], "// font.c");
    EXPECT_EQ(c8[1], "// Font type    : Full (96 characters)");
    EXPECT_EQ(c8[2], "// Font size    : 8x8 pixels");
    EXPECT_EQ(c8[3], "// Memory usage : 772 bytes");
    EXPECT_EQ(c8[4], "//fontdatatype font[772] PROGMEM={");
    EXPECT_EQ(c8[5], "const unsigned char font[772] PROGMEM={");
    EXPECT_EQ(c8[6], "0x08,0x08,0x20,0x60,");
    EXPECT_EQ(c8[7], s.CharData[32][1] + " // Chr$(32)   ");
    EXPECT_EQ(c8[7 + 65 - 32], s.CharData[65][1] + " // Chr$(65)  A");
    EXPECT_EQ(c8[102], s.CharData[127][1] + " // Chr$(127) ");
    EXPECT_EQ(c8.back(), "};");

    std::vector<std::string> c32 = Lines(SaveAs(SaveFontAs32BitC, "font.c"));
    ASSERT_EQ(c32.size(), 4u + 1u + 1u + 24u + 1u);
    EXPECT_EQ(c32[3], "// Memory usage : 772 bytes");
    EXPECT_EQ(c32[4], "const int font[193] = {");
    EXPECT_EQ(c32[5], "0x60200808,");
    for (int line = 6; line < 30; ++line) {
        EXPECT_EQ(c32[line].size(), 88u) << line;
        EXPECT_EQ(c32[line].back(), ',');
    }
    // The first word holds the first four bytes of the space glyph, lowest first.
    char first[16];
    std::snprintf(first, sizeof first, "0x%02X%02X%02X%02X,", PatternByte(32, 3), PatternByte(32, 2),
                  PatternByte(32, 1), PatternByte(32, 0));
    EXPECT_EQ(c32[6].substr(0, 11), first);
    EXPECT_EQ(c32.back(), "};");
}

TEST_F(WritersTest, NumericFontAndEmptyFont)
{
    MakeFont(8, 8, 48, 10);
    EXPECT_EQ(Lines(SaveAs(SaveFontAs8BitC, "n.c"))[1], "// Font type    : Numeric (10 characters)");
    EXPECT_EQ(Lines(SaveAs(SaveFontAs32BitC, "n.c"))[1], "// Font type    : Numeric (10 characters)");

    MakeFont(8, 8, 32, 0);
    EXPECT_EQ(SaveAs(SaveFontAs8BitC, "e.c"),
              "// e.c\r\n"
              "// Font type    : Full (0 characters)\r\n"
              "// Font size    : 8x8 pixels\r\n"
              "// Memory usage : 4 bytes\r\n"
              "//fontdatatype e[4] PROGMEM={\r\n"
              "const unsigned char e[4] PROGMEM={\r\n"
              "0x08,0x08,0x20,0x00,\r\n"
              "};\r\n");
    std::vector<std::string> c32 = Lines(SaveAs(SaveFontAs32BitC, "e.c"));
    ASSERT_EQ(c32.size(), 8u);
    EXPECT_EQ(c32[4], "const int e[1] = {");
    EXPECT_EQ(c32[5], "0x00200808,");
    EXPECT_EQ(c32[6], ",");
    EXPECT_EQ(c32[7], "};");
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
    EXPECT_EQ(c32[3], "// Memory usage : 574 bytes");
    EXPECT_EQ(c32[4], "const int six[144] = {");
    ASSERT_EQ(c32.size(), 4u + 1u + 1u + 18u + 1u);
    EXPECT_EQ(c32[23], "0x" + words[136] + ",0x" + words[137] + ",0x" + words[138] + ",0x" + words[139] +
                           ",0x" + words[140] + ",0x" + words[141] + ",0x" + words[142] + ",");
}

TEST_F(WritersTest, LabelsOfBackslashAndControlCodes)
{
    MakeFont(8, 1, 8, 90);  // codes 8 to 97
    std::vector<std::string> lines = Lines(SaveAs(SaveFontAs8BitC, "labels.c"));
    auto lineOf = [&](int code) { return lines[7 + code - 8]; };
    EXPECT_EQ(lineOf(92), s.CharData[92][1] + " // Chr$(92) backslash");
    EXPECT_EQ(lineOf(10), s.CharData[10][1] + " // Chr$(10) ");
    EXPECT_EQ(lineOf(31), s.CharData[31][1] + " // Chr$(31) ");
    EXPECT_EQ(lineOf(97), s.CharData[97][1] + " // Chr$(97)  a");
}

TEST_F(WritersTest, ExtensionAndArrayName)
{
    MakeFont(8, 1, 65, 1);
    SaveAs(SaveFontAs8BitC, "plain");
    EXPECT_EQ(s.SavePath, PathOf("plain.c"));

    std::vector<std::string> lines = Lines(SaveAs(SaveFontAs8BitC, "other.txt"));
    EXPECT_EQ(s.SavePath, PathOf("other.txt"));
    EXPECT_EQ(lines[0], "// other.txt");
    EXPECT_EQ(lines[5], "const unsigned char other[5] PROGMEM={");

    lines = Lines(SaveAs(SaveFontAs32BitC, "12 px-font.c"));
    EXPECT_EQ(lines[0], "// 12 px-font.c");
    EXPECT_EQ(lines[4], "const int _12_px_font[2] = {");
}

// ---- A C compiler reads the files -------------------------------------------

namespace {

std::string FindCompiler()
{
    for (const char* name : {"cc", "gcc", "clang"}) {
        std::string probe = std::string("command -v ") + name + " >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) {
            return name;
        }
    }
    return "";
}

}  // namespace

class CompiledCTest : public WritersTest {
protected:
    std::string compiler;

    void SetUp() override
    {
        WritersTest::SetUp();
        compiler = FindCompiler();
        if (compiler.empty()) {
            GTEST_SKIP() << "no C compiler on this host";
        }
    }

    // Compiles a program that includes `source` and prints every byte of
    // array `name` in hexadecimal; returns what it printed.
    std::string CompileAndDump(const std::string& source, const std::string& name)
    {
        WriteFile(PathOf("main.c"),
                  "#include <stdio.h>\n"
                  "#include \"" + source + "\"\n"
                  "int main(void)\n"
                  "{\n"
                  "    const unsigned char *p = (const unsigned char *)" + name + ";\n"
                  "    for (size_t i = 0; i < sizeof " + name + "; ++i)\n"
                  "        printf(\"%02X\", p[i]);\n"
                  "    return 0;\n"
                  "}\n");
        std::string program = PathOf("dump");
        std::string command = "cd '" + dir.string() + "' && " + compiler +
                              " -std=c99 -DPROGMEM= -w -o dump main.c 2>compile.log && ./dump >out.txt";
        int rc = std::system(command.c_str());
        EXPECT_EQ(rc, 0) << ReadFile(PathOf("compile.log"));
        return ReadFile(PathOf("out.txt"));
    }

    static std::string Hex(const std::vector<int>& bytes)
    {
        std::string text;
        char piece[4];
        for (int b : bytes) {
            std::snprintf(piece, sizeof piece, "%02X", b & 255);
            text += piece;
        }
        return text;
    }
};

TEST_F(CompiledCTest, EightBitArrayHoldsTheFont)
{
    MakeFont(8, 8, 32, 96);
    s.FileInfo = MakeDefaultPreamble();
    s.CharData[40][1] = "0x01,";  // too short: padded, the glyphs after it stay in place
    ask->SaveAnswers.push_back(PathOf("8x8 font-1.c"));
    SaveFontAs8BitC(s);

    std::vector<int> expected = FontBytes();
    int at = 4 + (40 - 32) * 8;
    for (int i = 0; i < 8; ++i) {
        expected[at + i] = i == 0 ? 1 : 0;
    }
    EXPECT_EQ(expected.size(), 772u);
    EXPECT_EQ(CompileAndDump("8x8 font-1.c", "_8x8_font_1"), Hex(expected));
}

TEST_F(CompiledCTest, ThirtyTwoBitArrayHoldsTheFont)
{
    const unsigned probe = 1;
    if (*reinterpret_cast<const unsigned char*>(&probe) != 1) {
        GTEST_SKIP() << "the byte check assumes a little-endian host";
    }
    MakeFont(6, 8, 32, 95);
    s.FileInfo = MakeDefaultPreamble();
    ask->SaveAnswers.push_back(PathOf("six.c"));
    SaveFontAs32BitC(s);

    std::vector<int> expected = FontBytes();
    expected.push_back(0);
    expected.push_back(0);  // the last word's high bytes
    EXPECT_EQ(expected.size(), 144u * 4u);
    EXPECT_EQ(CompileAndDump("six.c", "six"), Hex(expected));
}
