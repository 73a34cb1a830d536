// "Save char as GUI Bitmap string" and the font-sheet image.
#include "platform/gui.h"
#include "platform/image.h"
#include "writers_fixture.h"

using platform::MessageResult;

namespace {

const std::string Tail = "  ' End Define bitmap\r\n\r\n";

}  // namespace

// 5 x 7 pixels: four whole bytes; the last three pixels fill no byte and are
// dropped, while the GUI BITMAP line keeps the full size.
TEST_F(WritersTest, GuiBitmapExactText)
{
    bool gui = platform::InitGui();
    MakeFont(5, 7, 65, 1);
    s.CurrentChar = 65;
    HexToChar(s, "0xF0,0x0F,0xAA,0x55,");
    for (int x = 2; x < 5; ++x) {
        s.Grid(x, 6) = 1;
    }
    s.Modified = 1;
    const std::string text =
        "  myBm$ = \"\"\r\n"
        "  myBm$=myBm$+CHR$(240)+CHR$(15)+CHR$(170)+CHR$(85)\r\n" +
        Tail + "  ' GUI BITMAP 0,0,myBm$,5,7\r\n";
    EXPECT_EQ(SaveAs(SaveCharAsGuiBitmap, "g"), "  ' g.bas\r\n" + text);
    EXPECT_EQ(ask->Titles, std::vector<std::string>{"gui.BAS file to save"});
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(s.CharData[65][1], "0xF0,0x0F,0xAA,0x55,");
    if (gui) {
        EXPECT_EQ(platform::GetClipboardText(), text);
    }
}

TEST_F(WritersTest, GuiBitmapLineBreaksOf16x24)
{
    MakeFont(16, 24, 65, 1);
    // An empty glyph: pieces of 8 characters, eight to a line; the last piece
    // closes a line, so one line without pieces follows.
    std::vector<std::string> lines = Lines(SaveAs(SaveCharAsGuiBitmap, "empty"));
    ASSERT_EQ(lines.size(), 1u + 1u + 6u + 1u + 3u);
    for (int i = 2; i < 8; ++i) {
        std::string expected = "  myBm$=myBm$";
        for (int k = 0; k < 8; ++k) {
            expected += "+CHR$(0)";
        }
        EXPECT_EQ(lines[i], expected);
    }
    EXPECT_EQ(lines[8], "  myBm$=myBm$");
    EXPECT_EQ(lines[9], "  ' End Define bitmap");
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[11], "  ' GUI BITMAP 0,0,myBm$,16,24");

    // A full glyph: pieces of 10 characters, six to a line.
    for (int x = 0; x < 16; ++x) {
        for (int y = 0; y < 24; ++y) {
            s.Grid(x, y) = 1;
        }
    }
    lines = Lines(SaveAs(SaveCharAsGuiBitmap, "full"));
    ASSERT_EQ(lines.size(), 1u + 1u + 8u + 1u + 3u);
    EXPECT_EQ(lines[2], "  myBm$=myBm$+CHR$(255)+CHR$(255)+CHR$(255)+CHR$(255)+CHR$(255)+CHR$(255)");
    EXPECT_EQ(lines[10], "  myBm$=myBm$");
}

TEST_F(WritersTest, GuiBitmapCancelledStillFillsTheClipboard)
{
    MakeFont(8, 1, 65, 1);
    s.CurrentChar = 65;
    HexToChar(s, "0x81,");
    s.Modified = 1;
    WriteFile(PathOf("there.bas"), "keep");
    ask->SaveAnswers = {PathOf("there")};
    ask->MessageAnswers = {MessageResult::Cancel};
    bool gui = platform::InitGui();
    if (gui) {
        platform::SetClipboardText("before");
    }
    SaveCharAsGuiBitmap(s);
    EXPECT_EQ(s.SavePath, "");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CharData[65][1], Glyph({PatternByte(65, 0)}));
    EXPECT_EQ(ReadFile(PathOf("there.bas")), "keep");
    if (gui) {
        EXPECT_EQ(platform::GetClipboardText(),
                  "  myBm$ = \"\"\r\n  myBm$=myBm$+CHR$(129)\r\n" + Tail + "  ' GUI BITMAP 0,0,myBm$,8,1\r\n");
    }
}

// ---- Font-sheet image ------------------------------------------------------

class SheetImageTest : public WritersTest {
protected:
    void SetUp() override
    {
        WritersTest::SetUp();
        platform::Image& sheet = platform::CreateImage(90, 20, 12, platform::RGB(196, 196, 196));
        sheet.FillRect(2, 2, 6, 6, platform::RGB(255, 255, 255));
    }

    // Saves the sheet answering the requester with `name` and the filter.
    void Save(const std::string& name, int filter = 0)
    {
        ask->SaveAnswers.push_back(name.empty() ? "" : PathOf(name));
        ask->FilterAnswers.push_back(filter);
        SaveFontAsImage(s);
    }

    std::string Magic(const std::string& name) { return ReadFile(PathOf(name)).substr(0, 4); }

    bool Exists(const std::string& name) { return std::filesystem::exists(PathOf(name)); }
};

TEST_F(SheetImageTest, FormatByExtension)
{
    Save("a.png");
    EXPECT_EQ(Magic("a.png"), "\x89PNG");
    Save("b.PNG");
    EXPECT_EQ(Magic("b.PNG"), "\x89PNG");
    Save("c.jpg", 2);  // the extension wins over the filter
    EXPECT_EQ(Magic("c.jpg").substr(0, 3), "\xFF\xD8\xFF");
    Save("d.Bmp");
    EXPECT_EQ(Magic("d.Bmp").substr(0, 2), "BM");
    // Any other extension: PNG under the name followed by ".png".
    Save("e.jpeg");
    EXPECT_FALSE(Exists("e.jpeg"));
    EXPECT_EQ(Magic("e.jpeg.png"), "\x89PNG");
    EXPECT_TRUE(ask->Messages.empty());
    ASSERT_EQ(ask->SaveCalls.size(), 5u);
    EXPECT_EQ(ask->SaveCalls[0].Title, "Save font As image");
    EXPECT_EQ(ask->SaveCalls[0].Filter, "PNG| *.png|JPG|*.jpg|BMP|*.bmp");
    EXPECT_EQ(ask->SaveCalls[0].Position, 0);
    EXPECT_EQ(ask->SaveCalls[0].Start, "*.*");
    s.DataFolder = "/data/fonts";
    Save("");
    EXPECT_EQ(ask->SaveCalls.back().Start, "/data/fonts/*.*");
}

TEST_F(SheetImageTest, FormatByFilterWhenNoExtension)
{
    Save("p", 0);
    EXPECT_EQ(Magic("p"), "\x89PNG");
    Save("j", 1);
    EXPECT_EQ(Magic("j").substr(0, 3), "\xFF\xD8\xFF");
    Save("b", 2);
    EXPECT_EQ(Magic("b").substr(0, 2), "BM");
    EXPECT_FALSE(Exists("j.jpg"));
}

TEST_F(SheetImageTest, CancelAndFailure)
{
    Save("");
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    EXPECT_TRUE(ask->Messages.empty());

    WriteFile(PathOf("plain"), "x");
    ask->MessageAnswers = {MessageResult::Ok};
    Save("plain/sheet.png");
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Title, "Oops!");
    EXPECT_NE(ask->Messages[0].Text.find(PathOf("plain/sheet.png")), std::string::npos);
}
