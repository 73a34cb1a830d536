// "Import FNT Font": small version 2.0 files built here, the padded cell,
// glyphs of several widths, and every file that is refused without loss;
// and Open of such a file, which says what reads it.
#include <functional>

#include "formats/fntimport.h"
#include "formats/openfont.h"
#include "import_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;
using RowList = std::vector<std::string>;

// A version 2.0 file: the header, the character table, each glyph's column
// strips one after another from `BitsOffset`, then the face name.
struct FntFile {
    int PixHeight = 5;
    int First = 65;
    std::string Face = "My Face";
    uint32_t BitsOffset = 0;  // 0: right after the table
    // Each glyph as rows of "#" and "."; the width is the length of a row.
    std::vector<RowList> Glyphs;

    Bytes Build() const
    {
        const size_t table = 118 + 4 * Glyphs.size();
        Bytes file(BitsOffset ? BitsOffset : table, 0);
        auto put = [&file](size_t at, uint32_t value, int bytes) {
            for (int k = 0; k < bytes; ++k)
                file[at + size_t(k)] = uint8_t(value >> (8 * k));
        };
        int widest = 0;
        for (size_t i = 0; i < Glyphs.size(); ++i) {
            const int width = int(Glyphs[i][0].size());
            widest = std::max(widest, width);
            put(118 + 4 * i, uint32_t(width), 2);
            put(120 + 4 * i, uint32_t(file.size()), 2);
            for (int strip = 0; strip * 8 < width; ++strip) {
                for (int y = 0; y < PixHeight; ++y) {
                    uint8_t byte = 0;
                    for (int x = 0; x < 8 && strip * 8 + x < width; ++x)
                        if (Glyphs[i][size_t(y)][size_t(strip * 8 + x)] == '#')
                            byte |= uint8_t(0x80 >> x);
                    file.push_back(byte);
                }
            }
        }
        put(0, 0x0200, 2);
        put(88, uint32_t(PixHeight), 2);
        put(93, uint32_t(widest), 2);
        file[95] = uint8_t(First);
        file[96] = uint8_t(First + int(Glyphs.size()) - 1);
        put(113, BitsOffset ? BitsOffset : uint32_t(table), 4);
        put(105, uint32_t(file.size()), 4);
        file.insert(file.end(), Face.begin(), Face.end());
        file.push_back(0);
        return file;
    }
};

void Put(Bytes& file, size_t at, uint32_t value, int bytes)
{
    for (int k = 0; k < bytes; ++k)
        file[at + size_t(k)] = uint8_t(value >> (8 * k));
}

// Four glyphs of 5 rows: 3 pixels wide, 10 wide (two strips), 0 wide, 8 wide.
FntFile FourGlyphs()
{
    FntFile f;
    f.First = 31;
    f.Glyphs = {
        {"#.#", ".#.", "#.#", "...", "###"},
        {"#........#", ".#......#.", "..######..", "#########.", "##########"},
        RowList(5, ""),
        {"#......#", "########", "........", ".#....#.", "#.#..#.#"},
    };
    return f;
}

class FntImport : public ImportTest {
protected:
    // Import Font FNT on a file of these bytes.
    void Import(const Bytes& file)
    {
        WriteFile(PathOf("font.fnt"), std::string(file.begin(), file.end()));
        ask->OpenAnswers.push_back(PathOf("font.fnt"));
        ImportFntFont(s);
    }
};

}  // namespace

TEST(FntCellTest, PaddedToAMultipleOf8)
{
    const std::pair<std::pair<int, int>, std::pair<int, int>> cases[] = {
        {{6, 15}, {6, 16}}, {{5, 12}, {6, 16}}, {{7, 13}, {8, 13}}, {{10, 9}, {10, 12}},
        {{3, 10}, {4, 12}}, {{4, 9}, {4, 10}},  {{8, 13}, {8, 13}}, {{1, 4}, {2, 8}},
        {{9, 2}, {10, 4}},   {{4, 2}, {4, 2}},
    };
    for (const auto& [size, cell] : cases)
        EXPECT_EQ(FntCell(size.first, size.second), cell) << size.first << " x " << size.second;
}

// Glyphs narrower than the 10 x 8 cell (10 x 5 padded) have clear columns on
// their right and clear rows below; a width of 0 gives an empty text but is
// listed; codes below 32 get their usual labels.
TEST_F(FntImport, GlyphsOfSeveralWidthsInThePaddedCell)
{
    MakeListedFont();
    s.FntFolder = "/fonts/";
    s.Modified = 1;
    ask->MessageAnswers.push_back(MessageResult::No);
    Import(FourGlyphs().Build());

    ASSERT_EQ(ask->OpenCalls.size(), 1u);
    EXPECT_EQ(ask->OpenCalls[0].Title, "Open");
    EXPECT_EQ(ask->OpenCalls[0].Start, "/fonts/*.fnt");
    EXPECT_EQ(ask->OpenCalls[0].Filter, "fnt (*.fnt)|*.fnt|All files (*.*)|*.*");
    EXPECT_EQ(ask->OpenCalls[0].Position, 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Oops!|Do you want to save changes first?"});

    EXPECT_EQ(std::vector<int>({s.FontWidth, s.FontHeight, s.FontStart, s.FontCount}),
              std::vector<int>({10, 8, 31, 4}));
    const RowList clear = RowList(3, "..........");
    auto cell = [&](RowList rows) {
        rows.insert(rows.end(), clear.begin(), clear.end());
        return rows;
    };
    EXPECT_EQ(GlyphRows(s.CharData[31][1], 10, 8),
              cell({"#.#.......", ".#........", "#.#.......", "..........", "###......."}));
    EXPECT_EQ(GlyphRows(s.CharData[32][1], 10, 8),
              cell({"#........#", ".#......#.", "..######..", "#########.", "##########"}));
    EXPECT_EQ(s.CharData[33][1], "");
    EXPECT_EQ(GlyphRows(s.CharData[34][1], 10, 8),
              cell({"#......#..", "########..", "..........", ".#....#...", "#.#..#.#.."}));
    EXPECT_EQ(s.CharData[65][1], "");
    EXPECT_EQ(ListItems(), (std::vector<std::string>{"Chr$(31) ", "Chr$(32)   ", "Chr$(33)  !", "Chr$(34)  \""}));

    EXPECT_EQ(s.FontName, "My_Face");
    EXPECT_EQ(platform::GetWindowTitle(obj::MainWindow), "Glyphery - My Face");
    EXPECT_EQ(s.FileInfo, "");
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(s.CurrentChar, 31);
    EXPECT_EQ(s.Grid(2, 4), 1);
    EXPECT_EQ(s.ViewFontRequest, ViewFontIfOpen);
}

// One character (first code = last code) whose bitmap lies past offset 32767,
// placed from its unsigned offset.
TEST(FntParse, OneGlyphPastOffset32767)
{
    FntFile f;
    f.PixHeight = 2;
    f.BitsOffset = 40000;
    f.Glyphs = {{"#.......#", ".#####..."}};
    const FntFont font = ParseFntFont(f.Build());
    ASSERT_TRUE(font.Ok);
    EXPECT_EQ(font.First, 65);
    ASSERT_EQ(font.Glyphs.size(), 1u);
    EXPECT_EQ(std::make_pair(font.Width, font.Height), std::make_pair(10, 4));
    EXPECT_EQ(GlyphRows(font.Glyphs[0], 10, 4), (RowList{"#.......#.", ".#####....", "..........", ".........."}));
}

// The strips run up to the face name and stop at the end of the file: the
// bytes past it are clear, and a face name without its NUL ends there too.
TEST(FntParse, StripsStopAtTheEndOfTheFile)
{
    FntFile f;
    f.PixHeight = 4;
    f.Glyphs = {RowList(4, "################")};
    Bytes file = f.Build();
    const size_t bits = 118 + 4;
    file.resize(bits + 6);
    file[bits + 5] = 'Z';
    Put(file, 105, uint32_t(bits + 5), 4);
    const FntFont font = ParseFntFont(file);
    ASSERT_TRUE(font.Ok);
    EXPECT_EQ(font.Face, "Z");
    EXPECT_EQ(GlyphRows(font.Glyphs[0], 16, 4),
              (RowList{"################", "########.#.##.#.", "########........", "########........"}));
}

// Every file that cannot be imported is refused with one message before
// anything changes; the limits themselves are taken.
TEST_F(FntImport, RefusedFilesCostNothing)
{
    const Bytes good = FourGlyphs().Build();
    const size_t size = good.size();
    struct Case {
        const char* what;
        std::function<void(Bytes&)> change;
        bool taken;
    };
    const Case cases[] = {
        {"version 3.0", [](Bytes& b) { Put(b, 0, 0x0300, 2); }, false},
        {"height 0", [](Bytes& b) { Put(b, 88, 0, 2); }, false},
        {"width 0", [](Bytes& b) { Put(b, 93, 0, 2); }, false},
        {"last below first", [](Bytes& b) { b[96] = 30; }, false},
        {"height 61", [](Bytes& b) { Put(b, 88, 61, 2); }, false},
        {"height 60", [](Bytes& b) { Put(b, 88, 60, 2); }, true},
        {"width 1025", [](Bytes& b) { Put(b, 93, 1025, 2); }, false},
        {"width 1024", [](Bytes& b) { Put(b, 93, 1024, 2); }, true},
        {"header cut", [](Bytes& b) { b.resize(117); }, false},
        {"table cut", [](Bytes& b) { b.resize(118 + 15); }, false},
        {"face past the end", [=](Bytes& b) { Put(b, 105, uint32_t(size), 4); }, false},
        {"face at the last byte", [=](Bytes& b) { Put(b, 105, uint32_t(size - 1), 4); }, true},
        {"bitmaps past the end", [=](Bytes& b) { Put(b, 113, uint32_t(size), 4); }, false},
        {"a glyph past the end", [=](Bytes& b) { Put(b, 120, uint32_t(size), 2); }, false},
        {"a glyph at the last byte", [=](Bytes& b) { Put(b, 120, uint32_t(size - 1), 2); }, true},
        {"a width-0 glyph anywhere", [](Bytes& b) { Put(b, 128, 0xFFFF, 2); }, true},
        {"a glyph wider than the widest", [](Bytes& b) { Put(b, 130, 0xFFFF, 2); }, true},
    };
    for (const Case& c : cases) {
        MakeListedFont();
        const FontSnapshot before = Snapshot();
        ask->Messages.clear();
        Bytes file = good;
        c.change(file);
        Import(file);
        if (c.taken) {
            EXPECT_TRUE(ask->Messages.empty()) << c.what;
            EXPECT_EQ(s.FontStart, 31) << c.what;
        } else {
            EXPECT_EQ(Messages(), std::vector<std::string>{"Oops!|unable to load FNT file"}) << c.what;
            EXPECT_TRUE(Snapshot() == before) << c.what;
        }
    }

    // A file that cannot be read, Cancel, and Yes to the save question.
    MakeListedFont();
    const FontSnapshot before = Snapshot();
    ask->Messages.clear();
    ask->OpenCalls.clear();
    for (const std::string& path : {PathOf("missing.fnt"), dir.string()}) {
        ask->OpenAnswers.push_back(path);
        ImportFntFont(s);
    }
    ask->OpenAnswers.push_back("");
    ImportFntFont(s);
    s.Modified = 1;
    ask->MessageAnswers.push_back(MessageResult::Yes);
    ImportFntFont(s);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Oops!|Could not read the file " + PathOf("missing.fnt"),
                                                    "Oops!|Could not read the file " + dir.string(),
                                                    "Oops!|Do you want to save changes first?"}));
    EXPECT_EQ(ask->OpenCalls.size(), 3u);
    s.Modified = 0;
    EXPECT_TRUE(Snapshot() == before);
}

// Open, whose readers all refuse a Windows bitmap font, ends its message
// with the command that reads one, exactly when "Import FNT Font" then reads
// the file; nothing else of the refusal changes.
TEST_F(FntImport, OpenPointsToImportFntFontOnlyForFilesItReads)
{
    const std::string hint = "\r\nThis is a Windows bitmap font: use \"Import FNT Font\" (File menu) to read it.";
    const Bytes font = FourGlyphs().Build();
    const std::string real(font.begin(), font.end());
    auto changed = [&font](const std::function<void(Bytes&)>& change) {
        Bytes file = font;
        change(file);
        return std::string(file.begin(), file.end());
    };
    const std::vector<std::pair<std::string, std::string>> files = {
        {"real.fnt", real},
        {"real.c", real},
        {"real.txt", real},
        {"sized.fnt", changed([](Bytes& b) { Put(b, 2, uint32_t(b.size()), 4); })},
        {"version3.fnt", changed([](Bytes& b) { Put(b, 0, 0x0300, 2); })},
        {"tall.fnt", changed([](Bytes& b) { Put(b, 88, 61, 2); })},
        {"facepast.fnt", changed([](Bytes& b) { Put(b, 105, uint32_t(b.size()), 4); })},
        {"header.fnt", real.substr(0, 117)},
        {"zero.fnt", "DefineFont #8\r\n  00000000\r\nEnd DefineFont\r\n"},
        {"backwards.fnt", "8,8,65,2\r\n#\r\n"},
        {"nothing.c", std::string{0, 2} + " no start line"},
    };
    for (const auto& [name, text] : files) {
        MakeListedFont();
        ask->Messages.clear();
        WriteFile(PathOf(name), text);
        OpenFontFile(s, PathOf(name));
        const bool hinted = Messages() == std::vector<std::string>{"Oops!|Error reading file" + hint};
        EXPECT_TRUE(hinted || Messages() == std::vector<std::string>{"Oops!|Error reading file"}) << name;
        EXPECT_EQ(hinted, name.starts_with("real") || name.starts_with("sized")) << name;
        EXPECT_EQ(std::vector<int>({s.FontWidth, s.FontHeight, s.FontStart, s.FontCount, s.CurrentChar, s.Modified}),
                  std::vector<int>({8, 2, 65, 3, 64, 0}))
            << name;
        EXPECT_EQ(ListItems(), std::vector<std::string>{}) << name;
        EXPECT_EQ(platform::GetWindowTitle(obj::MainWindow), "Glyphery - " + name);
        EXPECT_EQ(s.RecentFiles[0], PathOf(name));

        MakeListedFont();
        ask->Messages.clear();
        ask->OpenAnswers.push_back(PathOf(name));
        ImportFntFont(s);
        EXPECT_EQ(Messages().empty(), hinted) << name << ": Import FNT Font disagrees";
    }
}
