// The save sequence of the text writers: the "Confirm" loop, what a chosen
// or cancelled save does to the font, and saves that cannot write their file.
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "writers_fixture.h"

namespace {

using Writer = void (*)(State&);
const Writer TextWriters[] = {SaveFontAs8BitC, SaveFontAs32BitC, SaveFontAsBas, SaveFontAsFnt,
                              SaveFontAsBasProportional};

}  // namespace

TEST_F(WritersTest, ConfirmOnlyForNonEmptyFilesAndNoAsksAgain)
{
    MakeFont(8, 1, 65, 1);
    WriteFile(PathOf("e.c"), "");
    EXPECT_EQ(Lines(SaveAs(SaveFontAs8BitC, "e.c"))[0], "// e.c");
    EXPECT_TRUE(ask->Messages.empty());
    WriteFile(PathOf("old.c"), "x");
    EXPECT_EQ(Lines(SaveAs(SaveFontAs8BitC, "old.c"))[0], "// old.c");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Confirm|old.c already exists. Do you want to replace it?"}));
    EXPECT_EQ(ask->Buttons[0], platform::MessageButtons::YesNoCancel);

    WriteFile(PathOf("a.bas"), "keep");
    WriteFile(PathOf("b.bas"), "keep too");
    ask->Titles.clear();
    ask->SaveAnswers = {PathOf("a"), PathOf("b.bas"), PathOf("c")};
    ask->MessageAnswers = {MessageResult::No, MessageResult::No};
    SaveFontAsBas(s);
    EXPECT_EQ(ask->Titles, (std::vector<std::string>{"font.BAS file to save", "Confirm", "font.BAS file to save",
                                                     "Confirm", "font.BAS file to save"}));
    EXPECT_EQ(ReadFile(PathOf("a.bas")) + "|" + ReadFile(PathOf("b.bas")), "keep|keep too");
    EXPECT_EQ(Lines(ReadFile(PathOf("c.bas")))[0], "' c.bas");
}

TEST_F(WritersTest, RequesterOfEachWriter)
{
    MakeFont(8, 1, 65, 1);
    s.FontName = "myfont";
    const std::string c = "font.c file to save|C File|*.c|All files (*.*)|*.*";
    const std::string bas = "BAS File|*.bas|All files (*.*)|*.*";
    const std::vector<std::pair<Writer, std::string>> writers = {
        {SaveFontAs8BitC, c}, {SaveFontAs32BitC, c}, {SaveFontAsBas, "font.BAS file to save|" + bas},
        {SaveFontAsBasProportional, "font.BAS file to save|" + bas},
        {SaveFontAsFnt, "font.FNT file to save|FNT File|*.fnt|All files (*.*)|*.*"},
        {SaveCharAsGuiBitmap, "gui.BAS file to save|" + bas}};
    for (const auto& [save, expected] : writers) {
        ask->SaveCalls.clear();
        ask->SaveAnswers = {""};
        save(s);
        ASSERT_EQ(ask->SaveCalls.size(), 1u);
        const auto& call = ask->SaveCalls[0];
        EXPECT_EQ(call.Title + "|" + call.Filter, expected);
        EXPECT_EQ(call.Start, "myfont");
        EXPECT_EQ(call.Position, 0);
    }
}

TEST_F(WritersTest, CancelChangesNothingButTheHeader)
{
    MakeFont(8, 1, 65, 1);
    s.CurrentChar = 65;
    s.Grid(0, 0) = 1;  // an edit not yet stored
    s.Modified = 1;
    s.FontHeader = "stale";
    WriteFile(PathOf("x.fnt"), "keep");
    ask->SaveAnswers = {PathOf("x"), ""};
    ask->MessageAnswers = {MessageResult::Cancel};
    const std::string before = s.CharData[65][1];
    SaveFontAsFnt(s);     // Cancel at "Confirm"
    SaveFontAs32BitC(s);  // cancelled requester
    EXPECT_EQ(s.SavePath, "");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CharData[65][1], before);
    EXPECT_EQ(s.FontHeader, "0x08,0x01,0x41,0x01,");
    EXPECT_EQ(ReadFile(PathOf("x.fnt")), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(WritersTest, StoreRangeOfEachWriter)
{
    // Code 256 is stored by the 8-bit C, FNT and GUI writers only.
    MakeFont(8, 1, 250, 7);
    s.CurrentChar = 256;
    s.Grid(0, 0) = 1;
    SaveAs(SaveFontAs32BitC, "a.c");
    SaveAs(SaveFontAsBas, "a.bas");
    EXPECT_EQ(s.CharData[256][1], Glyph({PatternByte(256, 0)}));
    SaveAs(SaveFontAsFnt, "a.fnt");
    EXPECT_EQ(s.CharData[256][1], "0x80,");
}

TEST_F(WritersTest, SizeBeyondTheHeaderBytesIsRefusedBeforeTheRequester)
{
    const std::string advice = "\r\nDelete the first or the last character (Font menu: \"Delete first Character\" or "
                               "\"Delete last Character\") to save the other 255.";
    struct Case {
        int32_t width, height, start, count;
        std::string size;  // as the box gives it
        bool advice;       // the count alone is too large
    };
    for (const Case& c : std::vector<Case>{
             // A doubled 128-pixel font is 256 pixels wide.
             {256, 8, 32, 1, "256 x 8 pixels with 1 characters", false},
             // A whole Windows font, codes 0 to 255.
             {8, 8, 0, 256, "8 x 8 pixels with 256 characters", true},
             {8, 256, 0, 256, "8 x 256 pixels with 256 characters", false},
         }) {
        SCOPED_TRACE(c.size);
        MakeFont(c.width, c.height, c.start, c.count);
        s.CharData[32][1] = "0x00,0x01,";  // the proportional save must not move it
        s.Modified = 1;
        ask->Messages.clear();
        ask->Titles.clear();
        for (Writer writer : TextWriters) {
            ask->MessageAnswers.push_back(MessageResult::Ok);
            writer(s);
            ASSERT_FALSE(ask->Messages.empty());
            const std::string& text = ask->Messages.back().Text;
            EXPECT_EQ(ask->Messages.back().Title, "Oops!");
            EXPECT_NE(text.find(c.size), std::string::npos) << text;
            const bool advised = text.size() > advice.size() && text.substr(text.size() - advice.size()) == advice;
            EXPECT_EQ(advised, c.advice) << text;
        }
        EXPECT_EQ(ask->Titles.size(), ask->Messages.size());  // no file requester was shown
        EXPECT_EQ(s.Modified, 1);
        EXPECT_EQ(s.CharData[32][1], "0x00,0x01,");
        EXPECT_TRUE(std::filesystem::is_empty(dir));
    }
}

// ---- Saves that cannot write ---------------------------------------------

// A file in place of the folder: no writer can create its file there. Then a
// folder chosen as the file.
TEST_F(WritersTest, UnwritableTargetKeepsTheEditUnsaved)
{
    MakeFont(8, 1, 65, 1);
    WriteFile(PathOf("plain"), "a file, not a folder");
    std::vector<Writer> writers(std::begin(TextWriters), std::end(TextWriters));
    writers.push_back(SaveCharAsGuiBitmap);
    for (Writer save : writers) {
        ask->Messages.clear();
        s.Modified = 0;
        s.CharData[65][1] = "0x00,";
        s.CurrentChar = 65;
        HexToChar(s, "0x10,");
        ask->SaveAnswers = {PathOf("plain/x.c")};
        ask->MessageAnswers = {MessageResult::Ok};
        save(s);
        EXPECT_EQ(Messages(), (std::vector<std::string>{"Oops!|Could not write the file " + PathOf("plain/x.c")}));
        // The glyph went into the font but not into a file: still unsaved.
        EXPECT_EQ(s.Modified, 1);
    }
    EXPECT_EQ(ReadFile(PathOf("plain")), "a file, not a folder");

    // The glyph in the editor already stored: the font stays unmodified and
    // the folder untouched.
    std::filesystem::create_directory(PathOf("sub.c"));
    s.Modified = 0;
    ask->Messages.clear();
    ask->SaveAnswers = {PathOf("sub")};
    ask->MessageAnswers = {MessageResult::Ok};
    SaveFontAs8BitC(s);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Oops!|Could not write the file " + PathOf("sub.c")}));
    EXPECT_EQ(s.Modified, 0);
    EXPECT_TRUE(std::filesystem::is_empty(PathOf("sub.c")));
}

// Saves into a folder this user cannot write: a clear message, nothing
// written, the old file kept and the work still unsaved. Root writes
// anywhere, so as root the saves run in a child process that has given up
// its rights.
TEST_F(WritersTest, ReadOnlyFolder)
{
    MakeFont(8, 1, 65, 1);
    const std::filesystem::path folder = dir / "locked";
    std::filesystem::create_directory(folder);
    WriteFile((folder / "old.bas").string(), "old");
    using std::filesystem::perms;
    const perms readExec = perms::owner_read | perms::owner_exec | perms::group_read | perms::group_exec |
                           perms::others_read | perms::others_exec;
    std::filesystem::permissions(dir, readExec | perms::owner_write);
    std::filesystem::permissions(folder, readExec);
    auto saveIntoLockedFolder = [&]() {
        s.Modified = 1;
        ask->SaveAnswers = {(folder / "new").string(), (folder / "old.bas").string()};
        ask->MessageAnswers = {MessageResult::Ok, MessageResult::Yes, MessageResult::Ok};
        SaveFontAsFnt(s);
        SaveFontAsBas(s);
        return ask->Messages.size() == 3 &&
               ask->Messages[0].Text == "Could not write the file " + (folder / "new.fnt").string() &&
               ask->Messages[2].Text == "Could not write the file " + (folder / "old.bas").string() &&
               s.Modified == 1 && ReadFile((folder / "old.bas").string()) == "old" &&
               !std::filesystem::exists(folder / "new.fnt");
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(saveIntoLockedFolder());
    } else {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EXPECT_EXIT(std::_Exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && saveIntoLockedFolder() ? 0 : 1),
                    ::testing::ExitedWithCode(0), "");
    }
    std::filesystem::permissions(folder, perms::owner_all);
}

// A write that fails part way (the file size limit stands in for a full
// disk) keeps the existing file as it was and leaves no temporary file.
TEST_F(WritersTest, FailedWriteKeepsTheExistingFile)
{
    MakeFont(16, 24, 32, 95);
    WriteFile(PathOf("keep.c"), "old contents");
    WriteFile(PathOf("keep.bas"), "old basic");
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ask->SaveAnswers = {PathOf("keep.c"), PathOf("keep.bas")};
    ask->MessageAnswers = {MessageResult::Yes, MessageResult::Ok, MessageResult::Yes, MessageResult::Ok};
    s.Modified = 1;
    SaveFontAs8BitC(s);
    SaveFontAsBasProportional(s);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(ReadFile(PathOf("keep.c")) + "|" + ReadFile(PathOf("keep.bas")), "old contents|old basic");
    ASSERT_EQ(ask->Messages.size(), 4u);
    EXPECT_EQ(ask->Messages[1].Title, "Oops!");
    EXPECT_EQ(ask->Messages[3].Title, "Oops!");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
}
