// The Open command on real files, with the main window's list, status text
// and canvas made for real (offscreen): round trips through every writer,
// the messages of the readers, files that cannot be read, the question about
// unsaved work, the requester, the dispatch by extension and the recent files.
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/objects.h"
#include "formats/openfont.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/text.h"
#include "writers_fixture.h"

namespace {

const std::string NotTerminated = "Oops!|Font not terminated properly.\r\nThere may be errors.";
const std::string ErrorReading = "Oops!|Error reading file";
const std::string LeftOut = "Oops!|The characters past code 255 were left out.";

// A DefineFont block of two 8 x 2 glyphs whose end line holds a tab: the
// DefineFont reader removes it, the scanning reader does not, and the C
// reader finds no start line at all.
const std::string TabEndedBlock = "DefineFont #8\r\n  02410208\r\n  0201FF80\r\nEnd\tDefineFont\r\n";

class OpenTest : public WritersTest {
protected:
    void SetUp() override
    {
        WritersTest::SetUp();
        ASSERT_TRUE(platform::InitGui());
        ASSERT_TRUE(platform::OpenWindow(obj::MainWindow, 200, 200, 345, 310, "Glyphery", platform::WindowTitleBar));
        ASSERT_TRUE(platform::ComboBoxControl(obj::MainWindow, obj::CharList, 235, 8, 100, 25));
        ASSERT_TRUE(platform::TextControl(obj::MainWindow, obj::StatusText, 5, 12, 172, 25, ""));
        ASSERT_TRUE(platform::ScrollAreaControl(obj::MainWindow, obj::EditorScrollArea, 10, 40, 185, 265, 80, 80));
        ASSERT_TRUE(platform::CanvasControl(obj::MainWindow, obj::EditorCanvas, 0, 0, 80, 80, obj::EditorScrollArea));
    }
    void TearDown() override
    {
        platform::CloseWindow(obj::MainWindow);
        WritersTest::TearDown();
    }

    // Opens `path` (no requester), collecting the messages shown.
    std::vector<std::string> Open(const std::string& path)
    {
        ask->Messages.clear();
        s.ViewFontRequest = ViewFontNone;
        OpenFontFile(s, path);
        return Messages();
    }
    std::vector<std::string> OpenText(const std::string& name, const std::string& text)
    {
        WriteFile(PathOf(name), text);
        return Open(PathOf(name));
    }

    // The glyph texts of the font's codes, "-" for none.
    std::vector<std::string> Glyphs() const
    {
        std::vector<std::string> texts;
        for (int c = s.FontStart; c < s.FontStart + s.FontCount; c++)
            texts.push_back(InTable(c) ? s.CharData[size_t(c)][1] : "-");
        return texts;
    }
    std::vector<std::string> Items() const
    {
        std::vector<std::string> items;
        for (int i = 0; i < platform::CountItems(obj::CharList); i++)
            items.push_back(platform::GetItemText(obj::CharList, i));
        return items;
    }
    std::string Title() const { return platform::GetWindowTitle(obj::MainWindow); }
};

// Every writer's file reads back to the same geometry, header and glyphs.
TEST_F(OpenTest, RoundTripsThroughEveryWriter)
{
    struct Size {
        int W, H, Start, Count;
    };
    using Writer = void (*)(State&);
    const std::vector<std::pair<Writer, std::string>> writers = {{SaveFontAs8BitC, "rt.c"},
                                                                 {SaveFontAsBas, "rt.bas"},
                                                                 {SaveFontAsFnt, "rt.fnt"},
                                                                 {SaveFontAsBasProportional, "rt.bas"}};
    for (const Size size : {Size{8, 8, 32, 224}, Size{16, 24, 32, 95}, Size{10, 16, 65, 3}, Size{6, 8, 32, 95},
                            Size{8, 8, 65, 1}}) {
        for (const auto& [save, name] : writers) {
            for (const bool preamble : {false, true}) {
                SCOPED_TRACE(name + " " + std::to_string(size.W) + "x" + std::to_string(size.H) + " count " +
                             std::to_string(size.Count) + (preamble ? " with preamble" : ""));
                MakeFont(size.W, size.H, size.Start, size.Count);
                if (preamble)
                    s.FileInfo = MakeDefaultPreamble();
                SaveAs(save, name);
                const std::string header = s.FontHeader;
                const std::vector<std::string> glyphs = Glyphs();

                MakeFont(3, 5, 1, 1);  // anything else
                EXPECT_EQ(Open(PathOf(name)), std::vector<std::string>{});
                EXPECT_EQ(std::vector<int>({s.FontWidth, s.FontHeight, s.FontStart, s.FontCount}),
                          std::vector<int>({size.W, size.H, size.Start, size.Count}));
                EXPECT_EQ(s.FontHeader, header);
                EXPECT_EQ(Glyphs(), glyphs);
                EXPECT_EQ(platform::CountItems(obj::CharList), size.Count);
                EXPECT_EQ(s.FileInfo, "");
                if (!preamble || save != SaveFontAs8BitC)
                    break;  // the preamble matters to the C file only
            }
        }
    }
}

// After Open: the first character in the editor, the labels in the list,
// the title, the recent entry, the names and folder, Font View asked for.
TEST_F(OpenTest, OpenSetsUpTheEditor)
{
    EXPECT_EQ(OpenText("y.Bas", TabEndedBlock), std::vector<std::string>{});
    EXPECT_EQ(Items(), (std::vector<std::string>{"Chr$(65)  A", "Chr$(66)  B"}));
    EXPECT_EQ(platform::GetState(obj::CharList), 0);
    EXPECT_EQ(s.CurrentChar, 65);
    EXPECT_EQ(s.SelectedGlyph, "0x80,0xFF,");
    EXPECT_EQ(s.Grid(0, 0), 1);
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(Title(), "Glyphery - y.Bas");
    EXPECT_EQ(platform::GetText(obj::StatusText), "8 x 2      Chr$(65) to Chr$(66)");
    EXPECT_EQ(s.FileTitle + "|" + s.FontName + "|" + s.DataFolder, "y.Bas|y|" + dir.string() + "/");
    EXPECT_EQ(s.RecentFiles, std::vector<std::string>{PathOf("y.Bas")});
    EXPECT_EQ(s.ViewFontRequest, ViewFontIfOpen);

    // Lower-case digits come in as they stand, so the first store-back of
    // such a glyph counts as a change.
    EXPECT_EQ(OpenText("lower.bas", "DefineFont #8\r\n  01410208\r\n  0000ab80\r\nEnd DefineFont\r\n"),
              std::vector<std::string>{});
    EXPECT_EQ(s.CharData[65][1], "0x80,0xab,");
    EXPECT_EQ(s.Modified, 0);
}

// Which reader an extension goes to: the messages and the font tell.
TEST_F(OpenTest, DispatchByExtension)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"y.Bas", {}}, {"y.FNT", {}}, {"y.h", {NotTerminated}}, {"y.txt", {NotTerminated}},
        {"y", {NotTerminated}}, {"y.c", {ErrorReading}},
    };
    for (const auto& [name, messages] : cases) {
        MakeFont(8, 8, 32, 1);
        EXPECT_EQ(OpenText(name, TabEndedBlock), messages) << name;
        EXPECT_EQ(Title(), "Glyphery - " + name);
        if (messages.empty() || messages[0] == NotTerminated) {
            EXPECT_EQ(Glyphs(), (std::vector<std::string>{"0x80,0xFF,", "0x01,0x02,"})) << name;
        }
    }

    // A binary font is imported from its own window: nothing is read here,
    // but the editor is set up again on the font it had and the file is
    // recorded.
    WriteFile(PathOf("y.BIN"), "\x01\x02");
    MakeFont(8, 8, 32, 1);
    ASSERT_TRUE(Open(PathOf("y.Bas")).empty());
    NextCharacter(s);
    EXPECT_EQ(Open(PathOf("y.BIN")), std::vector<std::string>{});
    EXPECT_EQ(Glyphs(), (std::vector<std::string>{"0x80,0xFF,", "0x01,0x02,"}));
    EXPECT_EQ(platform::CountItems(obj::CharList), 2);
    EXPECT_EQ(s.CurrentChar, 65);
    EXPECT_EQ(Title(), "Glyphery - y.BIN");
    EXPECT_EQ(s.RecentFiles[0], PathOf("y.BIN"));
}

// Every message of the readers, with the font each leaves.
TEST_F(OpenTest, ReaderMessages)
{
    struct Case {
        std::string Name, Text;
        std::vector<std::string> Messages;
        int Count;  // glyphs listed
    };
    const std::string c = "const unsigned char f[] PROGMEM={\r\n0x08,0x01,0x41,0x02,\r\n0x80,\r\n0x01,\r\n";
    const std::string bas = "DefineFont #8\r\n  02410208\r\n  0201FF80\r\n";
    const std::vector<Case> cases = {
        {"none.txt", "hello\r\nworld\r\n", {ErrorReading}, 0},
        {"nostart.c", "// f.c\r\nstatic const unsigned char f[]={\r\n0x08,0x01,0x41,0x01,\r\n0x80,\r\n};\r\n",
         {ErrorReading}, 0},
        {"empty.c", "", {ErrorReading}, 0},
        {"empty.bas", "", {ErrorReading}, 0},
        {"empty.txt", "", {ErrorReading}, 0},
        {"zero.fnt", "0,8,32,32\r\n#\r\n", {ErrorReading}, 0},
        {"tall.fnt", "1025,8,32,32\r\n#\r\n", {ErrorReading}, 0},
        {"wide.bas", "8,1025,32,32\r\n#\r\n", {ErrorReading}, 0},
        {"negative.bas", "1,8,-2,3\r\n#\r\n", {ErrorReading}, 0},
        {"open.c", c, {NotTerminated}, 2},
        {"many.c", c + "0x02,\r\n};\r\n", {NotTerminated}, 3},
        {"ended.c", c + "};\r\n", {}, 2},
        {"open.bas", bas, {NotTerminated}, 2},
        {"ended.bas", bas + "End DefineFont\r\n", {}, 2},
        {"bitmap.bas", "' a font\r\n2,8,65,66\r\n#\r\n #\r\n  #\r\n   #\r\n", {}, 2},
    };
    for (const Case& k : cases) {
        MakeFont(16, 24, 32, 3);
        EXPECT_EQ(OpenText(k.Name, k.Text), k.Messages) << k.Name;
        EXPECT_EQ(platform::CountItems(obj::CharList), k.Count) << k.Name;
        if (k.Messages == std::vector<std::string>{ErrorReading}) {
            EXPECT_EQ(s.FontWidth * 100 + s.FontHeight, 1624) << k.Name << ": the size stays";
        }
        EXPECT_EQ(s.Modified, 0);
    }
}

// A header of width or height 0 holds no glyph that can be read: the file is
// refused and the font keeps its geometry, so no font of 0 pixels is ever
// shown or saved. A count of 0 with a real size is an empty font.
TEST_F(OpenTest, HeadersOfZeroWidthOrHeightAreRefused)
{
    const std::vector<std::pair<std::string, std::string>> files = {
        {"zeros.bas", "DefineFont #8\r\n  00000000\r\nEnd DefineFont\r\n"},
        {"flat.fnt", "DefineFont #8\r\n  01410008\r\n  00000080\r\nEnd DefineFont\r\n"},
        {"narrow.c", "const unsigned char f[]={\r\n0x00,0x08,0x41,0x01,\r\n0x80,\r\n};\r\n"},
        {"flat.h", "fontdatatype f[]={\r\n0x08,0x00,0x41,0x01,\r\n0x80,\r\n};\r\n"},
        {"zeros.txt", "' font\r\n  DefineFont #8\r\n  00000000\r\nEnd DefineFont\r\n"},
        {"empty.bas", "DefineFont #8\r\n  00410208\r\nEnd DefineFont\r\n"},
    };
    for (const auto& [name, text] : files) {
        MakeFont(16, 24, 32, 3);
        s.FontHeader = "0x10,0x18,0x20,0x03,";
        const bool empty = name == "empty.bas";
        EXPECT_EQ(OpenText(name, text), empty ? std::vector<std::string>{} : std::vector<std::string>{ErrorReading})
            << name;
        const std::string geometry = std::to_string(s.FontWidth) + " x " + std::to_string(s.FontHeight) + " " +
                                     std::to_string(s.FontStart) + "+" + std::to_string(s.FontCount) + " " +
                                     s.FontHeader;
        EXPECT_EQ(geometry, empty ? "8 x 2 65+0 0x08,0x02,0x41,0x00," : "16 x 24 32+3 0x10,0x18,0x20,0x03,") << name;
        EXPECT_EQ(platform::GetText(obj::StatusText).substr(0, 7), empty ? "8 x 2  " : "16 x 24") << name;
        EXPECT_EQ(platform::CountItems(obj::CharList), 0) << name;
    }
}

// A text bitmap header that describes no font (a count below 0, a size of 0
// or past 1024) is refused and keeps all of the font's geometry and codes;
// a count of 0 with a real size is an empty font.
TEST_F(OpenTest, TextBitmapHeadersThatDescribeNoFontAreRefused)
{
    // Geometry, FontHeader and status text after the Open.
    const std::string kept = "16 x 24 32+3 0x10,0x18,0x20,0x03,|16 x 24      Chr$(32) to Chr$(34)";
    const std::vector<std::pair<std::string, std::string>> headers = {
        {"8,8,65,2", kept},      // a count of -62
        {"8,8,65,63", kept},     // a count of -1
        {"0,8,65,66", kept},     // height 0
        {"8,0,65,66", kept},     // width 0
        {"1025,8,65,66", kept},  // past 1024
        {"8,8,65,64", "8 x 8 65+0 0x10,0x18,0x20,0x03,|8 x 8      Chr$(65) to Chr$(64)"},
    };
    for (const auto& [header, geometry] : headers) {
        MakeFont(16, 24, 32, 3);
        s.FontHeader = "0x10,0x18,0x20,0x03,";
        EXPECT_EQ(OpenText("font.fnt", header + "\r\n#\r\n#\r\n"),
                  geometry == kept ? std::vector<std::string>{ErrorReading} : std::vector<std::string>{})
            << header;
        EXPECT_EQ(std::to_string(s.FontWidth) + " x " + std::to_string(s.FontHeight) + " " +
                      std::to_string(s.FontStart) + "+" + std::to_string(s.FontCount) + " " + s.FontHeader + "|" +
                      platform::GetText(obj::StatusText),
                  geometry)
            << header;
        EXPECT_EQ(platform::CountItems(obj::CharList), 0) << header;
    }
}

// Each reader keeps the font within code 255 and says so once.
TEST_F(OpenTest, CodesPast255)
{
    std::string c = "fontdatatype f[] PROGMEM={\r\n0x08,0x01,0xF0,0x20,\r\n";
    std::string words = "  20F00108";
    for (int i = 0; i < 8; i++)
        words += " 00000000";
    for (int i = 0; i < 32; i++)
        c += "0x00,\r\n";
    c += "};\r\n";
    std::string bitmap = "1,8,250,300\r\n";
    for (int i = 0; i < 10; i++)
        bitmap += "#\r\n";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"high.c", c}, {"high.h", c}, {"high.bas", "DefineFont #8\r\n" + words + "\r\nEnd DefineFont\r\n"},
        {"high.fnt", bitmap}};
    for (const auto& [name, text] : files) {
        EXPECT_EQ(OpenText(name, text), std::vector<std::string>{LeftOut}) << name;
        EXPECT_EQ(s.FontStart + s.FontCount - 1, 255) << name;
        EXPECT_EQ(platform::CountItems(obj::CharList), s.FontCount) << name;
        EXPECT_EQ(platform::GetItemText(obj::CharList, s.FontCount - 1), "Chr$(255) ") << name;
        EXPECT_EQ(s.CharData[256][1], "") << name;
    }
}

// Whatever a file holds, the readers stay inside its lines: NUL bytes, no
// line ends at all, a line of 10 MB, bytes of every value.
TEST_F(OpenTest, AnyBytes)
{
    std::string words;
    for (int i = 0; i < 1200000; i++)
        words += " 0201FF80";
    std::string garbage;
    for (int i = 0; i < 4096; i++)
        garbage += char((i * 167 + i / 256) & 255);
    struct Case {
        std::string Name, Bytes;
        std::vector<std::string> Messages;
        std::vector<std::string> Glyphs;
    };
    using namespace std::string_literals;
    const std::vector<Case> cases = {
        {"nul.c", "const unsigned char f[]={\0\r\n0x08,0x01,0x41,0x01,\0\r\n0x\0F,\r\n};"s, {}, {"0x\0F,"s}},
        {"nul.bas", "\0DefineFont\r\n  01410108\0\r\n  000000\0\r\nEnd DefineFont"s, {ErrorReading}, {}},
        {"one line.bas", "DefineFont #8  01410108 00000080", {ErrorReading}, {}},
        {"one line.c", "const unsigned char f[]={0x08,0x01,0x41,0x01,0x80,};", {ErrorReading}, {}},
        {"long.bas", "DefineFont #8\r\n  02410208\r\n" + words + "\r\nEnd DefineFont\r\n", {},
         {"0x80,0xFF,", "0x01,0x02,"}},
        {"long.c", "const unsigned char f[]={\r\n0x08,0x01,0x41,0x01,\r\n0x80," + words + "\r\n};\r\n", {},
         {"0x80," + platform::RemoveString(words, " ")}},
    };
    for (const Case& k : cases) {
        MakeFont(8, 8, 32, 1);
        EXPECT_EQ(OpenText(k.Name, k.Bytes), k.Messages) << k.Name;
        if (!k.Glyphs.empty()) {
            EXPECT_EQ(Glyphs(), k.Glyphs) << k.Name;
        }
    }
    for (const std::string name : {"garbage.c", "garbage.bas", "garbage.txt"}) {
        MakeFont(8, 8, 32, 1);
        OpenText(name, garbage);
        EXPECT_LE(s.FontStart + s.FontCount - 1, 255) << name;
        EXPECT_LE(ask->Messages.size(), 2u) << name;
    }
}

// A path that cannot be read is said so; the font is empty as the reset left
// it, and the rest of Open still happens.
TEST_F(OpenTest, FilesThatCannotBeRead)
{
    std::filesystem::create_directory(PathOf("folder.c"));
    for (const std::string name : {"missing.bas", "folder.c", "missing/font.txt"}) {
        MakeFont(8, 8, 32, 2);
        EXPECT_EQ(Open(PathOf(name)), std::vector<std::string>{"Oops!|Could not read the file " + PathOf(name)});
        EXPECT_EQ(Glyphs(), (std::vector<std::string>{"", ""})) << name;
        EXPECT_EQ(platform::CountItems(obj::CharList), 0);
        EXPECT_EQ(s.FontWidth * 100 + s.FontHeight, 808);
        EXPECT_EQ(s.RecentFiles[0], PathOf(name));
        EXPECT_EQ(Title(), "Glyphery - " + platform::GetFilePart(PathOf(name)));
        EXPECT_EQ(s.Modified, 0);
    }
}

// Without read permission, also when the tests run as root: the open is
// made by a child process that has given up root first.
TEST(OpenWithoutPermission, SaysItCannotReadTheFile)
{
    char folder[] = "/tmp/glyphery-perm-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/locked.bas";
    std::ofstream(path) << "DefineFont #8\r\n  01410208\r\n  00000080\r\nEnd DefineFont\r\n";
    ASSERT_EQ(::chmod(folder, 0755), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        auto* ask = new platform::ScriptedRequesters;
        platform::UseRequesters(std::unique_ptr<platform::ScriptedRequesters>(ask));
        State s;
        s.FontCount = 0;
        OpenFontFile(s, path);
        const bool told = ask->Messages.size() == 1 && ask->Messages[0].Text == "Could not read the file " + path;
        ::_exit(told && s.RecentFiles[0] == path ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Unsaved work: Yes ends the command after the store-back, No goes on and
// clears Modified even when the requester is then cancelled.
TEST_F(OpenTest, SaveQuestionAndCancelledRequester)
{
    ASSERT_TRUE(OpenText("first.bas", TabEndedBlock).empty());
    const std::vector<std::string> recent = s.RecentFiles;
    const std::vector<std::string> question = {"Oops!|Do you want to save changes first?"};
    s.Grid(1, 0) = 1;  // drawn on code 65
    ask->MessageAnswers = {MessageResult::Yes};
    EXPECT_EQ(Open(PathOf("other.bas")), question);
    EXPECT_EQ(s.CharData[65][1], "0xC0,0xFF,");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_TRUE(ask->OpenCalls.empty());
    EXPECT_EQ(s.RecentFiles, recent);
    EXPECT_EQ(Title(), "Glyphery - first.bas");

    // No, then Cancel in the requester: nothing read, the editor set up
    // again on the same font, the old title.
    s.DataFolder = "/start/here/";
    s.FontPath = "old";
    ask->MessageAnswers = {MessageResult::No};
    ask->OpenAnswers = {""};
    NextCharacter(s);
    ASSERT_EQ(s.CurrentChar, 66);
    EXPECT_EQ(Open(""), question);
    ASSERT_EQ(ask->OpenCalls.size(), 1u);
    const auto& call = ask->OpenCalls[0];
    EXPECT_EQ(call.Title, "font.c, font.BAS or font.BIN file to modify.");
    EXPECT_EQ(call.Start, "/start/here/");
    EXPECT_EQ(call.Filter, "C/BAS/BIN/FNT File|*.c;*.bas;*.bin;*.fnt|All files (*.*)|*.*");
    EXPECT_EQ(call.Position, 0);
    EXPECT_EQ(s.FontPath, "");
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(platform::GetState(obj::CharList), 0);
    EXPECT_EQ(s.CurrentChar, 65);
    EXPECT_EQ(s.CharData[65][1], "0xC0,0xFF,");
    EXPECT_EQ(platform::CountItems(obj::CharList), 2);
    EXPECT_EQ(Title(), "Glyphery - first.bas");
    EXPECT_EQ(s.RecentFiles, recent);

    // A cancel before any file was opened leaves "Glyphery - " alone.
    s.FileTitle.clear();
    ask->OpenAnswers = {""};
    Open("");
    EXPECT_EQ(Title(), "Glyphery - ");
}

// "&Recent": an entry opens and moves to the top; an item without an entry
// does nothing at all.
TEST_F(OpenTest, RecentFiles)
{
    WriteFile(PathOf("a.bas"), TabEndedBlock);
    s.RecentFiles = {PathOf("c.bas"), PathOf("a.bas"), PathOf("b.bas")};
    OpenRecentFile(s, 1);
    EXPECT_EQ(s.RecentFiles, (std::vector<std::string>{PathOf("a.bas"), PathOf("c.bas"), PathOf("b.bas")}));
    EXPECT_EQ(Title(), "Glyphery - a.bas");
    EXPECT_EQ(s.FontCount, 2);

    s.Grid(3, 0) = 1;  // an edit nobody is asked about
    for (int n : {3, 9}) {
        OpenRecentFile(s, n);
        EXPECT_TRUE(ask->Messages.empty());
        EXPECT_TRUE(ask->OpenCalls.empty());
        EXPECT_EQ(s.Grid(3, 0), 1);
        EXPECT_EQ(s.RecentFiles.size(), 3u);
    }
}

}  // namespace
