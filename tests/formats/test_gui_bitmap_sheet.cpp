// "Save char as GUI Bitmap string" and the font-sheet image.
#include <tuple>

#include "platform/gui.h"
#include "platform/image.h"
#include "writers_fixture.h"

namespace {

// The GUI bitmap text of one line of pieces for a w x h glyph.
std::string GuiText(const std::string& pieces, int w, int h)
{
    return "  myBm$ = \"\"\r\n  myBm$=myBm$" + pieces + "\r\n  ' End Define bitmap\r\n\r\n  ' GUI BITMAP 0,0,myBm$," +
           std::to_string(w) + "," + std::to_string(h) + "\r\n";
}

}  // namespace

// 5 x 7 pixels: four whole bytes; the last three pixels fill no byte and are
// dropped, while the GUI BITMAP line keeps the full size.
TEST_F(WritersTest, GuiBitmapExactText)
{
    const bool gui = platform::InitGui();
    MakeFont(5, 7, 65, 1);
    s.CurrentChar = 65;
    HexToChar(s, "0xF0,0x0F,0xAA,0x55,");
    s.Grid(2, 6) = s.Grid(3, 6) = s.Grid(4, 6) = 1;
    s.Modified = 1;
    const std::string text = GuiText("+CHR$(240)+CHR$(15)+CHR$(170)+CHR$(85)", 5, 7);
    EXPECT_EQ(SaveAs(SaveCharAsGuiBitmap, "g"), "  ' g.bas\r\n" + text);
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(s.CharData[65][1], "0xF0,0x0F,0xAA,0x55,");
    if (gui) {
        EXPECT_EQ(platform::GetClipboardText(), text);
    }

    // Cancel at "Confirm": the clipboard is filled all the same, nothing else.
    HexToChar(s, "0x81,0x00,0x00,0x00,");
    s.Modified = 1;
    WriteFile(PathOf("there.bas"), "keep");
    ask->SaveAnswers = {PathOf("there")};
    ask->MessageAnswers = {MessageResult::Cancel};
    SaveCharAsGuiBitmap(s);
    EXPECT_EQ(s.SavePath, "");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CharData[65][1], "0xF0,0x0F,0xAA,0x55,");
    EXPECT_EQ(ReadFile(PathOf("there.bas")), "keep");
    if (gui) {
        EXPECT_EQ(platform::GetClipboardText(), GuiText("+CHR$(129)+CHR$(0)+CHR$(0)+CHR$(0)", 5, 7));
    }
}

TEST_F(WritersTest, GuiBitmapLineBreaksOf16x24)
{
    // An empty glyph: pieces of 8 characters, eight to a line; the last piece
    // closes a line, so one line without pieces follows.
    MakeFont(16, 24, 65, 1);
    std::vector<std::string> lines = Lines(SaveAs(SaveCharAsGuiBitmap, "empty"));
    ASSERT_EQ(lines.size(), 12u);
    for (int i = 2; i < 8; ++i)
        EXPECT_EQ(lines[i], "  myBm$=myBm$+CHR$(0)+CHR$(0)+CHR$(0)+CHR$(0)+CHR$(0)+CHR$(0)+CHR$(0)+CHR$(0)");
    EXPECT_EQ(lines[8], "  myBm$=myBm$");
    EXPECT_EQ(lines[11], "  ' GUI BITMAP 0,0,myBm$,16,24");

    // A full glyph: pieces of 10 characters, six to a line.
    s.Grid.Cells.assign(s.Grid.Cells.size(), 1);
    lines = Lines(SaveAs(SaveCharAsGuiBitmap, "full"));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[2], "  myBm$=myBm$+CHR$(255)+CHR$(255)+CHR$(255)+CHR$(255)+CHR$(255)+CHR$(255)");
    EXPECT_EQ(lines[10], "  myBm$=myBm$");
}

// ---- Font-sheet image ------------------------------------------------------

TEST_F(WritersTest, SheetImageFormatByExtensionOrFilter)
{
    platform::CreateImage(90, 20, 12, platform::RGB(196, 196, 196)).FillRect(2, 2, 6, 6, platform::RGB(255, 255, 255));
    const std::string png = "\x89PNG", jpeg = "\xFF\xD8\xFF", bmp = "BM";
    // The name chosen, the filter in force, the file written, its first bytes.
    const std::vector<std::tuple<std::string, int, std::string, std::string>> cases = {
        {"a.png", 0, "a.png", png}, {"b.PNG", 0, "b.PNG", png}, {"c.jpg", 2, "c.jpg", jpeg},
        {"d.Bmp", 0, "d.Bmp", bmp},  // the extension wins over the filter
        {"e.jpeg", 0, "e.jpeg.png", png},  // any other extension: PNG under the name followed by ".png"
        {"p", 0, "p", png}, {"j", 1, "j", jpeg}, {"b", 2, "b", bmp}};
    for (const auto& [name, filter, file, magic] : cases) {
        ask->SaveAnswers.push_back(PathOf(name));
        ask->FilterAnswers.push_back(filter);
        SaveFontAsImage(s);
        EXPECT_EQ(ReadFile(PathOf(file)).substr(0, magic.size()), magic) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(PathOf("e.jpeg")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("j.jpg")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 8);
    EXPECT_TRUE(ask->Messages.empty());
    const auto& call = ask->SaveCalls[0];
    EXPECT_EQ(call.Title + "|" + call.Filter + "|" + call.Start,
              "Save font As image|PNG| *.png|JPG|*.jpg|BMP|*.bmp|*.*");
    EXPECT_EQ(call.Position, 0);

    // Cancelled: nothing written. A file that cannot be written: a message.
    s.DataFolder = "/data/fonts";
    ask->SaveAnswers = {"", PathOf("a.png/sheet.png")};
    ask->MessageAnswers = {MessageResult::Ok};
    SaveFontAsImage(s);
    EXPECT_EQ(ask->SaveCalls.back().Start, "/data/fonts/*.*");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 8);
    SaveFontAsImage(s);
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(Messages()[0], "Oops!|Could not write the file " + PathOf("a.png/sheet.png"));
}
