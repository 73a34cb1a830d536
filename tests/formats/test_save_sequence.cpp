// The save sequence of the text writers: the "Confirm" loop, what a chosen
// or cancelled save does to the font, and saves that cannot write their file.
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "writers_fixture.h"

using platform::MessageResult;

TEST_F(WritersTest, ConfirmOnlyForNonEmptyFiles)
{
    MakeFont(8, 1, 65, 1);
    WriteFile(PathOf("e.c"), "");
    EXPECT_EQ(Lines(SaveAs(SaveFontAs8BitC, "e.c"))[0], "// e.c");
    EXPECT_TRUE(ask->Messages.empty());

    WriteFile(PathOf("old.c"), "x");
    EXPECT_EQ(Lines(SaveAs(SaveFontAs8BitC, "old.c"))[0], "// old.c");
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Title, "Confirm");
    EXPECT_EQ(ask->Messages[0].Text, "old.c already exists. Do you want to replace it?");
    EXPECT_EQ(ask->Buttons[0], platform::MessageButtons::YesNoCancel);
}

TEST_F(WritersTest, RequesterOfEachWriter)
{
    MakeFont(8, 1, 65, 1);
    s.FontName = "myfont";
    const std::string bas = "BAS File|*.bas|All files (*.*)|*.*";
    struct Expected {
        void (*save)(State&);
        std::string title, filter;
    };
    for (const Expected& e : {Expected{SaveFontAs8BitC, "font.c file to save", "C File|*.c|All files (*.*)|*.*"},
                              Expected{SaveFontAs32BitC, "font.c file to save", "C File|*.c|All files (*.*)|*.*"},
                              Expected{SaveFontAsBas, "font.BAS file to save", bas},
                              Expected{SaveFontAsBasProportional, "font.BAS file to save", bas},
                              Expected{SaveFontAsFnt, "font.FNT file to save", "FNT File|*.fnt|All files (*.*)|*.*"},
                              Expected{SaveCharAsGuiBitmap, "gui.BAS file to save", bas}}) {
        ask->SaveCalls.clear();
        ask->SaveAnswers = {""};
        e.save(s);
        ASSERT_EQ(ask->SaveCalls.size(), 1u);
        EXPECT_EQ(ask->SaveCalls[0].Title, e.title);
        EXPECT_EQ(ask->SaveCalls[0].Start, "myfont");
        EXPECT_EQ(ask->SaveCalls[0].Filter, e.filter);
        EXPECT_EQ(ask->SaveCalls[0].Position, 0);
    }
    EXPECT_EQ(s.FontName, "myfont");
}

TEST_F(WritersTest, ConfirmNoAsksForAnotherName)
{
    MakeFont(8, 1, 65, 1);
    WriteFile(PathOf("a.bas"), "keep");
    WriteFile(PathOf("b.bas"), "keep too");
    ask->SaveAnswers = {PathOf("a"), PathOf("b.bas"), PathOf("c")};
    ask->MessageAnswers = {MessageResult::No, MessageResult::No};
    SaveFontAsBas(s);
    EXPECT_EQ(ask->Titles, (std::vector<std::string>{"font.BAS file to save", "Confirm",
                                                     "font.BAS file to save", "Confirm",
                                                     "font.BAS file to save"}));
    EXPECT_EQ(s.SavePath, PathOf("c.bas"));
    EXPECT_EQ(ReadFile(PathOf("a.bas")), "keep");
    EXPECT_EQ(ReadFile(PathOf("b.bas")), "keep too");
    EXPECT_EQ(Lines(ReadFile(PathOf("c.bas")))[0], "' c.bas");
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
    std::string before = s.CharData[65][1];
    SaveFontAsFnt(s);      // Cancel at "Confirm"
    SaveFontAs32BitC(s);   // cancelled requester
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
    EXPECT_EQ(s.CharData[256][1], Glyph({PatternByte(256, 0)}));
    SaveAs(SaveFontAsBas, "a.bas");
    EXPECT_EQ(s.CharData[256][1], Glyph({PatternByte(256, 0)}));
    SaveAs(SaveFontAsFnt, "a.fnt");
    EXPECT_EQ(s.CharData[256][1], "0x80,");
}

TEST_F(WritersTest, SizeBeyondTheHeaderBytesIsRefusedBeforeTheRequester)
{
    // A doubled 128-pixel font is 256 pixels wide: its header cannot hold that.
    MakeFont(256, 8, 32, 1);
    s.CharData[32][1] = "0x00,0x01,";  // the proportional save must not move it
    s.Modified = 1;
    for (auto writer : {SaveFontAs8BitC, SaveFontAs32BitC, SaveFontAsBas, SaveFontAsFnt,
                        SaveFontAsBasProportional}) {
        ask->MessageAnswers.push_back(platform::MessageResult::Ok);
        writer(s);
        ASSERT_FALSE(ask->Messages.empty());
        EXPECT_EQ(ask->Messages.back().Title, "Oops!");
        EXPECT_NE(ask->Messages.back().Text.find("256 x 8"), std::string::npos);
    }
    EXPECT_TRUE(ask->Titles.size() == ask->Messages.size());  // no file requester was shown
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CharData[32][1], "0x00,0x01,");
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

// ---- Saves that cannot write ---------------------------------------------

// A file in place of the folder: no writer can create its file there.
// Then a folder chosen as the file.
TEST_F(WritersTest, UnwritableTargetKeepsTheEditUnsaved)
{
    MakeFont(8, 1, 65, 1);
    WriteFile(PathOf("plain"), "a file, not a folder");
    for (auto save : {SaveFontAs8BitC, SaveFontAs32BitC, SaveFontAsBas, SaveFontAsFnt,
                      SaveCharAsGuiBitmap, SaveFontAsBasProportional}) {
        ask->Messages.clear();
        s.Modified = 0;
        s.CharData[65][1] = "0x00,";
        s.CurrentChar = 65;
        HexToChar(s, "0x10,");
        ask->SaveAnswers = {PathOf("plain/x.c")};
        ask->MessageAnswers = {MessageResult::Ok};
        save(s);
        ASSERT_EQ(ask->Messages.size(), 1u);
        EXPECT_EQ(ask->Messages[0].Title, "Oops!");
        EXPECT_EQ(ask->Messages[0].Text, "Could not write the file " + PathOf("plain/x.c"));
        // The glyph went into the font but not into a file: still unsaved.
        EXPECT_EQ(s.Modified, 1);
    }
    EXPECT_EQ(ReadFile(PathOf("plain")), "a file, not a folder");

    // A folder chosen as the file, the glyph in the editor already stored:
    // the font stays unmodified and the folder untouched.
    std::filesystem::create_directory(PathOf("sub.c"));
    s.Modified = 0;
    ask->Messages.clear();
    ask->SaveAnswers = {PathOf("sub")};
    ask->MessageAnswers = {MessageResult::Ok};
    SaveFontAs8BitC(s);
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Text, "Could not write the file " + PathOf("sub.c"));
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
    std::filesystem::path folder = dir / "locked";
    std::filesystem::create_directory(folder);
    WriteFile((folder / "old.bas").string(), "old");
    using std::filesystem::perms;
    std::filesystem::permissions(dir, perms::owner_all | perms::group_read | perms::group_exec |
                                          perms::others_read | perms::others_exec);
    std::filesystem::permissions(folder, perms::owner_read | perms::owner_exec | perms::group_read |
                                             perms::group_exec | perms::others_read | perms::others_exec);
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
        EXPECT_EXIT(
            {
                bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
                std::_Exit(dropped && saveIntoLockedFolder() ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }
    std::filesystem::permissions(folder, perms::owner_all);
}

// A write that fails part way (the file size limit stands in for a full
// disk) keeps the existing file as it was.
TEST_F(WritersTest, FailedWriteKeepsTheExistingFile)
{
    MakeFont(16, 24, 32, 95);
    WriteFile(PathOf("keep.c"), "old contents");
    WriteFile(PathOf("keep.bas"), "old basic");

    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
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

    EXPECT_EQ(ReadFile(PathOf("keep.c")), "old contents");
    EXPECT_EQ(ReadFile(PathOf("keep.bas")), "old basic");
    ASSERT_EQ(ask->Messages.size(), 4u);
    EXPECT_EQ(ask->Messages[1].Title, "Oops!");
    EXPECT_EQ(ask->Messages[3].Title, "Oops!");
    EXPECT_EQ(s.Modified, 1);
    // No temporary file is left behind.
    int entries = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir)) {
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}
