// The save sequence of the text writers: the "Confirm" loop, what a chosen
// or cancelled save does to the font, and saves that cannot write their file.
#include <csignal>
#include <sys/resource.h>

#include "writers_fixture.h"

using platform::MessageResult;

namespace {

const std::string CTitle = "font.c file to save";

}  // namespace

TEST_F(WritersTest, EmptyExistingFileIsReplacedWithoutQuestion)
{
    MakeFont(8, 1, 65, 1);
    WriteFile(PathOf("e.c"), "");
    std::string text = SaveAs(SaveFontAs8BitC, "e.c");
    EXPECT_TRUE(ask->Messages.empty());
    EXPECT_EQ(Lines(text)[0], "// e.c");
}

TEST_F(WritersTest, ConfirmYesReplaces)
{
    MakeFont(8, 1, 65, 1);
    WriteFile(PathOf("old.c"), "x");
    ask->MessageAnswers.push_back(MessageResult::Yes);
    std::string text = SaveAs(SaveFontAs8BitC, "old.c");
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Title, "Confirm");
    EXPECT_EQ(ask->Messages[0].Text, "old.c already exists. Do you want to replace it?");
    EXPECT_EQ(Lines(text)[0], "// old.c");
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

TEST_F(WritersTest, ConfirmCancelChangesNothingButTheHeader)
{
    MakeFont(8, 1, 65, 1);
    s.CurrentChar = 65;
    s.Grid(0, 0) = 1;  // an edit not yet stored
    s.Modified = 1;
    s.FontHeader = "stale";
    WriteFile(PathOf("x.fnt"), "keep");
    ask->SaveAnswers = {PathOf("x")};
    ask->MessageAnswers = {MessageResult::Cancel};
    std::string before = s.CharData[65][1];
    SaveFontAsFnt(s);
    EXPECT_EQ(s.SavePath, "");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CharData[65][1], before);
    EXPECT_EQ(s.FontHeader, "0x08,0x01,0x41,0x01,");
    EXPECT_EQ(ReadFile(PathOf("x.fnt")), "keep");
}

TEST_F(WritersTest, CancelledRequesterWritesNothing)
{
    MakeFont(8, 1, 65, 1);
    s.Modified = 1;
    ask->SaveAnswers = {""};
    SaveFontAs32BitC(s);
    EXPECT_EQ(s.SavePath, "");
    EXPECT_EQ(s.Modified, 1);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

TEST_F(WritersTest, ChosenSaveStoresTheEditedGlyphAndClearsModified)
{
    MakeFont(8, 1, 65, 2);
    s.CurrentChar = 66;
    s.Modified = 1;
    s.Grid(7, 0) = 1;
    std::vector<std::string> lines = Lines(SaveAs(SaveFontAs8BitC, "g.c"));
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(s.CharData[66][1], "0x01,");
    EXPECT_EQ(lines[8], "0x01, // Chr$(66)  B");
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
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

// ---- Saves that cannot write ---------------------------------------------

TEST_F(WritersTest, FolderChosenAsFile)
{
    MakeFont(8, 1, 65, 1);
    std::filesystem::create_directory(PathOf("sub.c"));
    s.Modified = 1;
    ask->SaveAnswers = {PathOf("sub.c")};
    ask->MessageAnswers = {MessageResult::Ok};
    SaveFontAs8BitC(s);
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Title, "Oops!");
    EXPECT_NE(ask->Messages[0].Text.find(PathOf("sub.c")), std::string::npos);
    EXPECT_EQ(s.Modified, 1);
    EXPECT_TRUE(std::filesystem::is_directory(PathOf("sub.c")));
    EXPECT_TRUE(std::filesystem::is_empty(PathOf("sub.c")));
}

TEST_F(WritersTest, UnwritableTargetKeepsTheEditUnsaved)
{
    MakeFont(8, 1, 65, 1);
    WriteFile(PathOf("plain"), "a file, not a folder");
    s.CurrentChar = 65;
    s.Grid(3, 0) = 1;  // differs from the stored glyph
    s.Modified = 0;
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
        EXPECT_NE(ask->Messages[0].Text.find(PathOf("plain/x.c")), std::string::npos);
        // The glyph went into the font but not into a file: still unsaved.
        EXPECT_EQ(s.Modified, 1);
    }
    EXPECT_EQ(ReadFile(PathOf("plain")), "a file, not a folder");
}

TEST_F(WritersTest, UnchangedFontStaysUnmodifiedAfterAFailedSave)
{
    MakeFont(8, 1, 65, 1);
    s.CurrentChar = 65;
    HexToChar(s, s.CharData[65][1]);
    ask->SaveAnswers = {PathOf("none/x.c")};
    ask->MessageAnswers = {MessageResult::Ok};
    SaveFontAs8BitC(s);
    EXPECT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(s.Modified, 0);
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
