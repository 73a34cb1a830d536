// Text files, whole-file bytes, path parts and folder listings.
#include <string>
#include <tuple>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/platform/temp_folder.h"

using namespace platform;

namespace {

using Lines = std::vector<std::string>;

class FilesTest : public ::testing::Test {
protected:
    Lines List(const std::string& pattern = "*")
    {
        Lines names;
        DirectoryListing listing;
        EXPECT_TRUE(listing.Examine(tmp.Dir(), pattern));
        while (listing.Next())
            names.push_back(listing.EntryName() + (listing.EntryIsFolder() ? "/" : "") +
                            (listing.EntryIsFile() ? "" : "!"));
        EXPECT_EQ(listing.EntryName(), "");
        return names;
    }
    static Lines ReadLines(const std::string& path)
    {
        Lines lines;
        TextFileReader reader;
        EXPECT_TRUE(reader.Open(path));
        while (!reader.Eof())
            lines.push_back(reader.ReadLine());
        return lines;
    }
    TempFolder tmp;
};

}  // namespace

TEST_F(FilesTest, ReaderSplitsAtCrOrLfAndConvertsWindows1252)
{
    EXPECT_EQ(ReadLines(tmp.Put("a", "one\rtwo\nthree\r\nfour")), (Lines{"one", "two", "three", "four"}));
    EXPECT_EQ(ReadLines(tmp.Put("b", "x\r\n\r\ny\n")), (Lines{"x", "", "y"}));
    EXPECT_EQ(ReadLines(tmp.Put("c", "\n\r")), (Lines{"", ""}));
    EXPECT_EQ(ReadLines(tmp.Put("ansi", "\x80 caf\xE9\r\n\x93q\x94")),
              (Lines{"\xE2\x82\xAC caf\xC3\xA9", "\xE2\x80\x9Cq\xE2\x80\x9D"}));

    TextFileReader reader;
    ASSERT_TRUE(reader.Open(tmp.Put("d", "")));
    EXPECT_TRUE(reader.Eof());
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_FALSE(reader.Open(tmp.Path("missing")));
    EXPECT_FALSE(reader.Open(tmp.Dir()));
}

TEST_F(FilesTest, ReaderAcrossBufferBoundaries)
{
    // A CR LF whose two bytes land in different reads, then many lines.
    std::string big(65535, 'a');
    big += "\r\nb\r\n";
    for (int i = 0; i < 100000; i++)
        big += "line " + std::to_string(i) + "\r\n";
    Lines lines = ReadLines(tmp.Put("big", big + "last"));
    ASSERT_EQ(lines.size(), 100003u);
    EXPECT_EQ(lines[0].size(), 65535u);
    EXPECT_EQ(lines[1] + "|" + lines[2] + "|" + lines[100001] + "|" + lines[100002], "b|line 0|line 99999|last");
}

TEST_F(FilesTest, ReaderBytesSeekAndLength)
{
    std::string big(200000, 'x');
    big[0] = 'A';
    big[150000] = 'M';
    big[199999] = 'Z';
    TextFileReader reader;
    ASSERT_TRUE(reader.Open(tmp.Put("bytes", big)));
    EXPECT_EQ(reader.Length(), 200000);
    EXPECT_EQ(reader.ReadByte(), 'A');
    reader.Seek(150000);  // beyond the buffer
    EXPECT_EQ(reader.ReadByte(), 'M');
    reader.Seek(199999);
    EXPECT_EQ(reader.ReadByte(), 'Z');
    EXPECT_TRUE(reader.Eof());
    EXPECT_EQ(reader.ReadByte(), 0) << "a read at the end gives 0";
    reader.Seek(500000);
    EXPECT_EQ(reader.ReadByte(), 0) << "and so does one past it";
    reader.Seek(0);
    EXPECT_FALSE(reader.Eof());
    EXPECT_EQ(reader.ReadByte(), 'A');
}

TEST_F(FilesTest, WriterCreateAppendAndConversion)
{
    std::string path = tmp.Put("out.txt", "old content that is longer");
    TextFileWriter writer;
    ASSERT_TRUE(writer.Create(path));
    writer.Write("\xE2\x82\xAC caf\xC3\xA9 \xCE\xA9\r\n");  // euro, é, omega
    writer.WriteBytes("\xC3\xA9");
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(TempFolder::Read(path), "\x80 caf\xE9 ?\r\n\xC3\xA9");
    ASSERT_TRUE(writer.Append(path));
    writer.Write("more");
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(TempFolder::Read(path), "\x80 caf\xE9 ?\r\n\xC3\xA9more");
    ASSERT_TRUE(writer.Append(tmp.Path("new.txt")));
    writer.Write("x");
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(TempFolder::Read(tmp.Path("new.txt")), "x");

    for (std::string bad : {std::string(), tmp.Dir(), tmp.Path("no/such/folder.txt")})
        EXPECT_FALSE(writer.Create(bad)) << bad;
    EXPECT_FALSE(writer.Append(""));
    EXPECT_FALSE(writer.Close());  // nothing open
    if (writer.Create("/dev/full")) {
        writer.Write(std::string(100000, 'x'));
        EXPECT_FALSE(writer.Close()) << "a full device is reported";
    }
}

TEST_F(FilesTest, ReplacingWriterSwapsOnlyOnSuccess)
{
    std::string path = tmp.Put("font.bas", "old");
    ::chmod(path.c_str(), 0640);
    TextFileWriter writer;
    ASSERT_TRUE(writer.CreateReplacing(path));
    writer.Write("new");
    EXPECT_EQ(TempFolder::Read(path), "old");  // untouched until closed
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(TempFolder::Read(path), "new");
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // A writer dropped without Close leaves the old file and no temporary.
    {
        TextFileWriter abandoned;
        ASSERT_TRUE(abandoned.CreateReplacing(path));
        abandoned.Write("half");
    }
    EXPECT_EQ(TempFolder::Read(path), "new");
    EXPECT_FALSE(writer.CreateReplacing(tmp.Path("missing/x.c")));

    // A write that fails half-way (the file size limit stands in for a full
    // disk): Close reports it, the old file stays, the temporary goes.
    ASSERT_TRUE(writer.CreateReplacing(path));
    EXPECT_FALSE(WithFileSizeLimit(8192, [&] {
        writer.Write(std::string(100000, 'y'));
        return writer.Close();
    }));
    EXPECT_EQ(TempFolder::Read(path), "new");
    EXPECT_EQ(List(), Lines{"font.bas"});
}

TEST_F(FilesTest, WholeFileBytesSizesAndDeletion)
{
    std::vector<uint8_t> all, back;
    for (int i = 0; i < 256; i++)
        all.push_back(uint8_t(i));
    const std::string bin = tmp.Path("all.bin");
    ASSERT_TRUE(WriteFileBytes(bin, all));
    ASSERT_TRUE(ReadFileBytes(bin, back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(FileSize(bin), 256);
    EXPECT_FALSE(ReadFileBytes(tmp.Path("missing.bin"), back));
    EXPECT_TRUE(back.empty());
    EXPECT_FALSE(ReadFileBytes(tmp.Dir(), back));
    EXPECT_FALSE(WriteFileBytes(tmp.Dir(), all));
    // A pipe or a device is no file: reading would never start or never end.
    ASSERT_EQ(::mkfifo(tmp.Path("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBytes(tmp.Path("pipe"), back));
    EXPECT_FALSE(ReadFileBytes("/dev/zero", back));
    EXPECT_FALSE(TextFileReader().Open(tmp.Path("pipe")));

    EXPECT_EQ(FileSize(tmp.Path("missing")), -1);
    EXPECT_EQ(FileSize(tmp.Dir()), -2);
    EXPECT_EQ(FileSize(""), -1);
    EXPECT_TRUE(DeleteFile(bin));
    EXPECT_EQ(FileSize(bin), -1);
    EXPECT_FALSE(DeleteFile(bin));
}

// A whole-file read up to a limit keeps the file's first bytes when it goes
// further; a /proc file gives its size as 0 and is still read to its end.
// (Files that cannot be read: WholeFileBytesSizesAndDeletion.)
TEST_F(FilesTest, WholeFileReadLimitsAndProcFiles)
{
    const std::string ten = tmp.Put("ten", "0123456789");
    const std::tuple<int64_t, FileRead, std::string> cases[] = {
        {10, FileRead::Done, "0123456789"},
        {9, FileRead::TooLarge, "012345678"},
        {0, FileRead::TooLarge, ""},
    };
    for (const auto& [limit, outcome, start] : cases) {
        std::vector<uint8_t> bytes;
        EXPECT_EQ(ReadWholeFile(ten, bytes, limit), outcome) << limit;
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), start) << limit;
    }
    ASSERT_EQ(FileSize("/proc/self/status"), 0);
    TextFileReader reader;
    ASSERT_TRUE(reader.Open("/proc/self/status"));
    EXPECT_TRUE(reader.ReadLine().starts_with("Name:"));
}

TEST(PathParts, FolderFileAndExtension)
{
    // Path, file, extension, file without extension.
    for (Lines c : {Lines{"/home/x.y/font.bas", "/home/x.y/", "font.bas", "bas", "font"},
                    Lines{"/home/x.y/font", "/home/x.y/", "font", "", "font"},  // a dot in a folder name
                    Lines{"a.tar.GZ", "", "a.tar.GZ", "GZ", "a.tar"},
                    Lines{"/home/", "/home/", "", "", ""},
                    Lines{"/home/.profile", "/home/", ".profile", "", ".profile"},
                    Lines{"", "", "", "", ""}})
        EXPECT_EQ((Lines{c[0], GetPathPart(c[0]), GetFilePart(c[0]), GetExtensionPart(c[0]),
                         GetFilePartNoExtension(c[0])}),
                  c);
}

TEST_F(FilesTest, DirectoryListingWithWildcards)
{
    for (const char* name : {"CP437.inf", "cp850.INF", "cp1.txt", "readme", "\xC3\xBC" "1.txt"})  // ü1.txt
        tmp.Put(name, "");
    ASSERT_EQ(::mkdir(tmp.Path("CPdir.inf").c_str(), 0755), 0);

    EXPECT_EQ(List("cp*.inf"), (Lines{"CP437.inf", "cp850.INF", "CPdir.inf/!"}));
    EXPECT_EQ(List("CP?.TXT"), Lines{"cp1.txt"});
    EXPECT_EQ(List("?1.txt"), Lines{"\xC3\xBC" "1.txt"});  // "?" is one character, not one byte
    EXPECT_EQ(List(), (Lines{"cp1.txt", "CP437.inf", "cp850.INF", "CPdir.inf/!", "readme", "\xC3\xBC" "1.txt"}));
    EXPECT_EQ(List("*.bmp"), Lines{});

    DirectoryListing listing;
    EXPECT_FALSE(listing.Examine(tmp.Path("missing"), "*"));
    EXPECT_FALSE(listing.Next());
}

TEST(ProgramFolders, EndWithASlash)
{
    std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    char exe[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    EXPECT_EQ(folder + GetFilePart(exe), exe);
    EXPECT_EQ(CurrentFolder().back(), '/');
}
