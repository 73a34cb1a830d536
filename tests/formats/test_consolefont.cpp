// Real raw fonts: two of Debian's console fonts (package console-setup-linux)
// with their PSF headers taken off here, imported through window 91, then
// saved as 8-bit C and read back.
#include <zlib.h>

#include "import_fixture.h"

namespace {

using RowList = std::vector<std::string>;

struct ConsoleFont {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Glyphs;  // 256 glyphs of one byte a row, no header

    // Glyph `code` as rows of pixels: the leftmost bits of each row byte.
    RowList Rows(int code) const
    {
        RowList rows;
        for (int y = 0; y < Height; ++y) {
            std::string row;
            for (int x = 0; x < Width; ++x)
                row += (Glyphs[size_t(code * Height + y)] >> (7 - x) & 1) ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }
};

// The glyphs of a gzipped PSF file: PSF1 has a 4-byte header, PSF2 says the
// size of its own.
bool ReadConsoleFont(const std::string& path, ConsoleFont& font)
{
    gzFile in = gzopen(path.c_str(), "rb");
    if (!in)
        return false;
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    for (int n; (n = gzread(in, chunk, sizeof chunk)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + n);
    gzclose(in);
    auto word = [&](size_t at) {
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
               uint32_t(bytes[at + 3]) << 24;
    };
    size_t header = 0;
    if (bytes.size() > 4 && bytes[0] == 0x36 && bytes[1] == 0x04) {
        header = 4;
        font.Width = 8;
        font.Height = bytes[3];
    } else if (bytes.size() > 32 && word(0) == 0x864AB572) {
        header = word(8);
        font.Height = int(word(24));
        font.Width = int(word(28));
    } else {
        return false;
    }
    const size_t size = size_t(font.Height) * 256;
    if (font.Width > 8 || bytes.size() < header + size)
        return false;
    font.Glyphs.assign(bytes.begin() + ptrdiff_t(header), bytes.begin() + ptrdiff_t(header + size));
    return true;
}

class ConsoleFonts : public ImportTest {};

}  // namespace

// "First character: 1", count 256 and "New font start: 0" put every glyph at
// its own code; "First character: 33" from code 32 keeps them there. Saved
// as 8-bit C, the file holds the same pixels.
TEST_F(ConsoleFonts, EveryGlyphInPlaceAndThroughC)
{
    for (const std::string name : {"Lat15-VGA16.psf.gz", "Lat15-Terminus12x6.psf.gz"}) {
        ConsoleFont font;
        ASSERT_TRUE(ReadConsoleFont("/usr/share/consolefonts/" + name, font))
            << name << " is missing: ./dev.sh installs the package console-setup-linux";
        PutBinFile(font.Glyphs);
        const std::string w = std::to_string(font.Width);
        const std::string h = std::to_string(font.Height);

        AnswerBinWindow({w, h, "1", "256", "0"});
        EXPECT_TRUE(ask->Messages.empty());
        ASSERT_EQ(s.FontCount, 256);
        for (int code = 0; code < 256; ++code)
            ASSERT_EQ(GlyphRows(s.CharData[size_t(code)][1], font.Width, font.Height), font.Rows(code))
                << name << " code " << code;
        if (font.Height == 16) {
            EXPECT_EQ(font.Rows('A'), (RowList{"........", "........", "...#....", "..###...", ".##.##..", "##...##.",
                                               "##...##.", "#######.", "##...##.", "##...##.", "##...##.", "##...##.",
                                               "........", "........", "........", "........"}));
        }

        AnswerBinWindow({w, h, "33", "224", "32"});
        const std::vector<std::string> lines = Lines(SaveAs(SaveFontAs8BitC, "console"));
        const auto header = std::find(lines.begin(), lines.end(), "0x0" + w + ",0x" + (font.Height == 16 ? "10" : "0C") +
                                                                       ",0x20,0xE0,");
        ASSERT_LT(header + 224, lines.end()) << name;
        for (int code = 32; code < 256; ++code) {
            const std::string& line = *(header + (code - 31));
            const std::string glyph = line.substr(0, line.find(" //"));
            EXPECT_EQ(GlyphRows(glyph, font.Width, font.Height), font.Rows(code)) << name << " code " << code;
        }
    }
}
