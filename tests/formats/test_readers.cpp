// The text readers as pure functions from lines to what they found: the C
// array reader, the DefineFont reader with its text bitmap fallback, and the
// scanning reader. Each case is a file's lines and the font it gives, told
// as "WxH start+count header code=text... !messages" ("-" for a value the
// reader left alone).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/basfont.h"
#include "formats/cfont.h"
#include "formats/openfont.h"
#include "formats/readfont.h"

namespace {

using Lines = std::vector<std::string>;

struct Case {
    const char* Name;
    Lines File;
    std::string Expected;
};

std::string Describe(const FontRead& r)
{
    auto value = [](const std::optional<int32_t>& v) { return v ? std::to_string(*v) : std::string("-"); };
    std::string out = value(r.Width) + "x" + value(r.Height) + " " + value(r.Start) + "+" + value(r.Count);
    if (r.Header)
        out += " " + *r.Header;
    for (const FontRead::Glyph& g : r.Glyphs)
        out += " " + std::to_string(g.Code) + "=" + g.Text;
    if (r.ErrorReading)
        out += " !error";
    if (r.NotTerminated)
        out += " !unterminated";
    if (r.CodesLeftOut)
        out += " !leftout";
    return out;
}

template <typename Reader>
void Check(Reader reader, const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        TextFontLines lines(c.File);
        EXPECT_EQ(Describe(reader(lines)), c.Expected) << c.Name;
    }
}

// A C array of 8 x 1 glyphs from code `start`, `count` in its geometry line,
// with `glyphs` glyph lines (byte i) and the end line when `end`.
Lines CArray(int start, int count, int glyphs, bool end = true)
{
    char geometry[32];
    std::snprintf(geometry, sizeof geometry, "0x08,0x01,0x%02X,0x%02X,", start, count);
    Lines lines = {"const unsigned char f[] PROGMEM={", geometry};
    for (int i = 0; i < glyphs; i++) {
        char glyph[16];
        std::snprintf(glyph, sizeof glyph, "0x%02X, // %d", i, i);
        lines.push_back(glyph);
    }
    if (end)
        lines.push_back("};");
    return lines;
}

const std::string Head = "0x08,0x01,0x41,0x02,";

TEST(CArrayReader, StartLinesGeometryAndGlyphLines)
{
    Check(ReadCFont, {
        {"as written", {"// f.c", "//fontdatatype f[6] PROGMEM={", "const unsigned char f[6] PROGMEM={", Head,
                        "0x80, // Chr$(65)  A", "0x01, // Chr$(66)  B", "};"},
         "8x1 65+2 " + Head + " 65=0x80, 66=0x01,"},
        {"fontdatatype in any case, blanks and tabs in every line",
         {"  FontDataType f[]={", "0x08, 0x01,\t0x41, 0x02,", " 0x80 , 0x11 ,\t// A", "\t0xab,", " } ; "},
         "8x1 65+2 " + Head + " 65=0x80,0x11, 66=0xab,"},
        {"no start line", {"// f.c", "static const unsigned char f[]={", Head, "};"}, "-x- -+- !error"},
        {"other type", {"const uint8_t f[]={", Head, "};"}, "-x- -+- !error"},
        {"two blanks in the type", {"const  unsigned char f[]={", Head, "};"}, "-x- -+- !error"},
        {"fontdatatype after const", {"const fontdatatype f[]={", Head, "};"}, "-x- -+- !error"},
        {"empty file", {}, "-x- -+- !error"},
        {"start line last: no geometry", {"const unsigned char f[]={"}, "-x- -+- !error"},
        {"0x8, three digits, decimal", {"const unsigned char f[]={", "0x8,0x010,8,0x01,", "0xFF,", "};"},
         "8x1 0+1 0x8,0x010,8,0x01, 0=0xFF,"},
        {"a brace line is the geometry, of width 0", {"const unsigned char f[]={", "{", Head, "};"}, "-x- -+- !error"},
        {"width 0", {"const unsigned char f[]={", "0x00,0x08,0x41,0x01,", "0x80,", "};"}, "-x- -+- !error"},
        {"height 0", {"fontdatatype f[]={", "0x08,0x00,0x41,0x01,", "0x80,", "};"}, "-x- -+- !error"},
        {"comment lines use no code", {"const unsigned char f[]={", Head, "// Chr$(65)  A", "", "0x80,", "0x01,", "};"},
         "8x1 65+2 " + Head + " 65=0x80, 66=0x01,"},
        {"a /* line is an empty glyph", {"const unsigned char f[]={", Head, "/* A */ 0x80,", "0x01,", "};"},
         "8x1 65+2 " + Head + " 65= 66=0x01,"},
        {"a comment after the end", {"const unsigned char f[]={", "0x08,0x01,0x41,0x01,", "0x80,", "}; // end"},
         "8x1 65+1 0x08,0x01,0x41,0x01, 65=0x80, 66=}; !unterminated"},
        {"count 0", {"const unsigned char f[]={", "0x08,0x01,0x41,0x00,", "};"}, "8x1 65+0 0x08,0x01,0x41,0x00,"},
        {"count 0 with a glyph", {"const unsigned char f[]={", "0x08,0x01,0x41,0x00,", "0x80,", "};"},
         "8x1 65+0 0x08,0x01,0x41,0x00, 65=0x80, !unterminated"},
        {"one glyph line too many", CArray(0x41, 2, 3), "8x1 65+2 " + Head + " 65=0x00, 66=0x01, 67=0x02, !unterminated"},
        {"no end line", CArray(0x41, 2, 2, false), "8x1 65+2 " + Head + " 65=0x00, 66=0x01, !unterminated"},
        {"the extra line at code 256 is left out", CArray(0xFF, 1, 2),
         "8x1 255+1 0x08,0x01,0xFF,0x01, 255=0x00, !unterminated !leftout"},
    });
}

// ---- DefineFont blocks -------------------------------------------------------

const std::string BasHead = "8x2 65+2 0x08,0x02,0x41,0x02,";
const std::string BasFont = BasHead + " 65=0x80,0xFF, 66=0x01,0x02,";

// A block of two 8 x 2 glyphs from code 65 with its marker and end lines,
// `inside` between its two word lines.
Lines Block(const std::string& end, const std::string& marker = "DefineFont #8", const Lines& inside = {})
{
    Lines lines = {"' f.bas", marker};
    lines.push_back("  02410208");
    lines.insert(lines.end(), inside.begin(), inside.end());
    lines.push_back("  0201FF80");
    lines.push_back(end);
    return lines;
}

TEST(DefineFontReader, BlockLinesAndStride)
{
    Check(ReadBasFont, {
        {"as written", Block("End DefineFont"), BasFont},
        {"end line in lower case", Block("end definefont"), BasFont},
        {"end line in upper case", Block("END DEFINEFONT"), BasFont},
        {"end line spaced, with a comment", Block("  End   Define Font ' done"), BasFont},
        {"end line without blank", Block("EndDefineFont"), BasFont},
        {"end line with a tab", Block("End\tDefineFont"), BasFont},
        {"marker indented by blanks", Block("End DefineFont", "   definefont"), BasFont},
        {"comment and empty lines inside", Block("End DefineFont", "DefineFont #8", {"' glyphs", "", "   "}), BasFont},
        {"a tab alone in front of a line", Block("End DefineFont", "DefineFont #8", {"\t00000000"}),
         BasHead + " 65=0x00,0x00, 66=0x00,0x00,"},
        {"a tab and a blank in front of a line",
         {"DefineFont #8", "  02410208", "\t 0201FF80", "End DefineFont"}, BasHead + " 65=0xF8,0x1F, 66=0x20,0x 0,"},
        {"three glyphs over two lines", {"DefineFont #8", "  03410208 0201FF80", "  00000403", "End DefineFont"},
         "8x2 65+3 0x08,0x02,0x41,0x03, 65=0x80,0xFF, 66=0x01,0x02, 67=0x03,0x04,"},
        {"a word of 7 digits shifts what follows",
         {"DefineFont #8", "  03410208", "  0000000 0201FF80", "End DefineFont"},
         "8x2 65+3 0x08,0x02,0x41,0x03, 65=0x0 ,0x00, 66=0x00,0x00, 67=0x0 ,0xF8,"},
        {"lower-case digits kept", {"DefineFont #8", "  02410208", "  0201ff80", "End DefineFont"},
         BasHead + " 65=0x80,0xff, 66=0x01,0x02,"},
        {"no end line: the last line is lost", {"DefineFont #8", "  02410208", "  0201FF80"},
         BasHead + " 65=0x,0x,0x,0 66=x,0x,0x,0x !unterminated"},
        {"empty line before the header word: no size", {"DefineFont #8", "", "  02410208", "  0201FF80", "End DefineFont"},
         "-x- -+- !error"},
        {"comment before the header word: height 0", {"DefineFont #8", "' comment", "  02410208", "End DefineFont"},
         "-x- -+- !error"},
        {"DefineFont last", {"DefineFont #8"}, "-x- -+- !error"},
        {"header word of zeros", {"DefineFont #8", "  00000000", "End DefineFont"}, "-x- -+- !error"},
        {"height 0", {"DefineFont #8", "  01410008", "  00000080", "End DefineFont"}, "-x- -+- !error"},
        {"count 0", {"DefineFont #8", "  00410208", "End DefineFont"}, "8x2 65+0 0x08,0x02,0x41,0x00,"},
        {"marker behind a tab: a text bitmap", Block("End DefineFont", "\tDefineFont #8"), "-x- -+- !error"},
    });
}

// ---- Text bitmaps -------------------------------------------------------------

// `rows` rows of a one-pixel-wide pattern: row r has column (r mod 8) set.
Lines Bitmap(const std::string& header, int rows)
{
    Lines lines = {header};
    for (int r = 0; r < rows; r++)
        lines.push_back(std::string(size_t(r % 8), ' ') + "#");
    return lines;
}

TEST(TextBitmapReader, HeaderSizesAndPixels)
{
    Check(ReadBasFont, {
        {"5 x 7 becomes 6 x 8", {"7,5,65,65", "#####", "#####", "#####", "#####", "#####", "#####", "#####"},
         "6x8 65+1 65=0xFB,0xEF,0xBE,0xFB,0xEF,0x80,"},
        {"3 x 5 becomes 4 x 6; letter, blank, digit; zeros; short lines",
         {"' a font", "5, 3, 65, 65", "a 1zzz", "' between rows", "000", "", " ", "x"},
         "4x6 65+1 65=0xAE,0x00,0x80,"},
        {"hexadecimal header", {"$2,8,$41,$41", "#", "\t"}, "8x2 65+1 65=0x80,0x80,"},
        {"a last glyph with too few rows is not stored", {"2,8,65,70", "#", "#", "#"}, "8x2 65+6 65=0x80,0x80,"},
        {"more glyphs than the header counts", {"1,8,65,65", "#", " #"}, "8x1 65+1 65=0x80, 66=0x40,"},
        {"height 0", {"0,8,32,32", "#"}, "-x- -+- !error"},
        {"width 0", {"8,0,32,32", "#"}, "-x- -+- !error"},
        {"last code 0", {"8,8,32,0"}, "-x- -+- !error"},
        {"last code below the first: count -62", {"8,8,65,2", "#"}, "-x- -+- !error"},
        {"last code two below the first: count -1", {"8,8,65,63"}, "-x- -+- !error"},
        {"last code one below the first: an empty font", {"8,8,65,64", "#"}, "8x8 65+0"},
        {"empty file", {}, "-x- -+- !error"},
        {"empty header line", {"", "8,8,32,32"}, "-x- -+- !error"},
        {"only comments", {"' nothing", "'"}, "-x- -+-"},
        {"negative first code", {"8,8,-1,5", "#"}, "-x- -+- !error"},
        {"first code past 255", {"8,8,256,300", "#"}, "-x- -+- !error"},
        {"height above 1024", {"1025,8,32,32"}, "-x- -+- !error"},
        {"width above 1024", {"8,1025,32,32"}, "-x- -+- !error"},
        {"1024 x 1024", {"1024,1024,32,32"}, "1024x1024 32+1"},
        {"codes past 255", {"1,8,254,260", "#", "#", "#", "#"}, "8x1 254+2 254=0x80, 255=0x80, !leftout"},
        {"a last code past any count", {"1,8,0,99999999999999999999", "#"}, "8x1 0+256 0=0x80, !leftout"},
    });
}

TEST(TextBitmapReader, RowsBeyondTheLastGlyphAreIgnored)
{
    for (int rows : {48, 50}) {
        TextFontLines lines(Bitmap("16,8,32,34", rows));
        const FontRead read = ReadBasFont(lines);
        ASSERT_EQ(read.Glyphs.size(), 3u) << rows;
        for (const FontRead::Glyph& g : read.Glyphs)
            EXPECT_EQ(g.Text, "0x80,0x40,0x20,0x10,0x08,0x04,0x02,0x01,0x80,0x40,0x20,0x10,0x08,0x04,0x02,0x01,");
        EXPECT_EQ(read.Width, 8);
        EXPECT_EQ(read.Height, 16);
    }
}

// ---- The scanning reader ---------------------------------------------------------

TEST(ScanningReader, MarkersAndBlanks)
{
    Check(ScanFontLines, {
        {"fontdatatype array; a tab before a field reads 0",
         {"// font", "  fontdatatype f[] PROGMEM={", "0x08,0x01,\t0x41, 0x02,", " 0x80 , // A", "0x01,", "};"},
         "8x1 0+2 0x08,0x01,\t0x41,0x02, 0=0x80, 1=0x01,"},
        {"a tab before the height: height 0", {"fontdatatype f[]={", "0x08,\t0x01,0x41,0x02,", "0x80,", "0x01,", "};"},
         "-x- -+- !error"},
        {"DefineFont block of width 0", {"DefineFont #8", "  01410800", "End DefineFont"}, "-x- -+- !error"},
        {"const unsigned char is not searched", {"const unsigned char f[]={", Head, "0x80,", "0x01,", "};"},
         "-x- -+- !error"},
        {"DefineFont after blanks", Block("End DefineFont", "  DefineFont #8"), BasFont},
        {"DefineFont after a tab", Block("End DefineFont", "\tDefineFont #8"), "-x- -+- !error"},
        {"tabs stay in the end line", Block("End\tDefineFont"), BasFont + " !unterminated"},
        {"no marker", {"hello", "world"}, "-x- -+- !error"},
        {"empty file", {}, "-x- -+- !error"},
    });
}

}  // namespace
