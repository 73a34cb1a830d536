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

// Four glyphs of 8 x 2 behind the default preamble: an empty one, a too long
// one and one of odd characters. Every glyph still takes exactly two bytes,
// read as the editor reads them.
TEST_F(WritersTest, CFilesExactBytesAndGlyphLengthRepaired)
{
    MakeFont(8, 2, 65, 4);
    s.FileInfo = MakeDefaultPreamble();
    s.CharData[65][1] = "0x80,0xFF,";
    s.CharData[66][1] = "";
    s.CharData[67][1] = "0x01,0x02,0x03,";
    s.CharData[68][1] = "\xC3\xA9" "1F,zz";
    const std::string comments =
        "// tiny.c\r\n"
        "// Font type    : Full (4 characters)\r\n"
        "// Font size    : 8x2 pixels\r\n"
        "// Memory usage : 12 bytes\r\n";
    EXPECT_EQ(SaveAs(SaveFontAs8BitC, "tiny"),
              comments + Preamble + "//fontdatatype tiny[12] PROGMEM={\r\n" + Preamble +
                  "const unsigned char tiny[12] PROGMEM={\r\n"
                  "0x08,0x02,0x41,0x04,\r\n"
                  "0x80,0xFF, // Chr$(65)  A\r\n"
                  "0x00,0x00, // Chr$(66)  B\r\n"
                  "0x01,0x02, // Chr$(67)  C\r\n"
                  "0x0F,0x00, // Chr$(68)  D\r\n"
                  "};\r\n");
    EXPECT_EQ(s.SavePath, PathOf("tiny.c"));
    EXPECT_EQ(s.FontHeader, "0x08,0x02,0x41,0x04,");

    EXPECT_EQ(SaveAs(SaveFontAs32BitC, "tiny.c"),
              comments + Preamble +
                  "const int tiny[3] = {\r\n"
                  "0x04410208,\r\n"
                  "0x0000FF80,0x000F0201,\r\n"
                  "};\r\n");
    EXPECT_EQ(s.FileInfo, Preamble);  // a writer never changes it

    // The bytes written are the bytes the editor shows for the same text.
    for (const std::string text : {"0x1,0xZ9", "\xE2\x82\xAC\xE2\x82\xAC", "xx7F", ",,0xAB"}) {
        s.CharData[65][1] = text;
        HexToChar(s, text);
        EXPECT_EQ(NormalGlyphText(s, 65), CharToHex(s)) << text;
    }
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
    EXPECT_EQ(c8.back(), "};");

    std::vector<std::string> c32 = Lines(SaveAs(SaveFontAs32BitC, "font.c"));
    ASSERT_EQ(c32.size(), 4u + 1u + 1u + 24u + 1u);
    EXPECT_EQ(c32[3], "// Memory usage : 772 bytes");
    EXPECT_EQ(c32[4], "const int font[193] = {");
    EXPECT_EQ(c32[5], "0x60200808,");
    for (int line = 6; line < 30; ++line) {
        EXPECT_EQ(c32[line].size(), 88u) << line;
    }
    EXPECT_EQ(c32.back(), "};");
}

TEST_F(WritersTest, NumericFontAndEmptyFont)
{
    MakeFont(8, 8, 48, 10);
    EXPECT_EQ(Lines(SaveAs(SaveFontAs8BitC, "n.c"))[1], "// Font type    : Numeric (10 characters)");
    EXPECT_EQ(Lines(SaveAs(SaveFontAs32BitC, "n.c"))[1], "// Font type    : Numeric (10 characters)");
    EXPECT_EQ(Lines(SaveAs(SaveFontAsBas, "n"))[1], "' Font type    : Numeric (10 characters)");

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
    EXPECT_EQ(c32[3], "// Memory usage : 574 bytes");
    EXPECT_EQ(c32[4], "const int six[144] = {");
    ASSERT_EQ(c32.size(), 4u + 1u + 1u + 18u + 1u);
    EXPECT_EQ(c32[23].size(), 7u * 11u);  // the seven words left
    EXPECT_EQ(c32[23].substr(66), "0x" + words[142] + ",");
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

    // Valid names stay as they are; others become valid C identifiers.
    EXPECT_EQ(CIdentifier("Font_16x24"), "Font_16x24");
    EXPECT_EQ(CIdentifier("Schrift\xC3\xA4.v2"), "Schrift__v2");  // one "_" per character
    EXPECT_EQ(CIdentifier("int"), "int_");
    EXPECT_EQ(CIdentifier("bool"), "bool_");
    EXPECT_EQ(CIdentifier(""), "font");
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
