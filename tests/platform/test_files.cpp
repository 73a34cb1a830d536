// Text files, whole-file bytes, path parts and folder listings.
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/files.h"

using namespace platform;

namespace {

// A fresh folder per test, removed afterwards.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "glyphery-files-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern + "/";
    }
    void TearDown() override
    {
        std::string command = "rm -rf '" + dir_ + "'";
        [[maybe_unused]] int ignored = std::system(command.c_str());
    }
    std::string Put(const std::string& name, const std::string& bytes)
    {
        std::string path = dir_ + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Get(const std::string& path)
    {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(ReadFileBytes(path, bytes)) << path;
        return std::string(bytes.begin(), bytes.end());
    }
    std::vector<std::string> Listing()
    {
        std::vector<std::string> names;
        DirectoryListing listing;
        EXPECT_TRUE(listing.Examine(dir_, "*"));
        while (listing.Next())
            names.push_back(listing.EntryName());
        return names;
    }
    static std::vector<std::string> ReadLines(const std::string& path)
    {
        std::vector<std::string> lines;
        TextFileReader reader;
        EXPECT_TRUE(reader.Open(path));
        while (!reader.Eof())
            lines.push_back(reader.ReadLine());
        return lines;
    }

    std::string dir_;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(FilesTest, ReaderSplitsAtCrLfAndCrLf)
{
    EXPECT_EQ(ReadLines(Put("a", "one\rtwo\nthree\r\nfour")), (Lines{"one", "two", "three", "four"}));
    EXPECT_EQ(ReadLines(Put("b", "x\r\n\r\ny\n")), (Lines{"x", "", "y"}));
    EXPECT_EQ(ReadLines(Put("c", "\n\r")), (Lines{"", ""}));
    EXPECT_EQ(ReadLines(Put("d", "")), Lines{});

    TextFileReader reader;
    ASSERT_TRUE(reader.Open(dir_ + "d"));
    EXPECT_TRUE(reader.Eof());
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_FALSE(reader.Open(dir_ + "missing"));
    EXPECT_FALSE(reader.Open(dir_));
}

TEST_F(FilesTest, ReaderAcrossBufferBoundaries)
{
    // A CR LF whose two bytes land in different reads, then many lines.
    std::string big(65535, 'a');
    big += "\r\nb\r\n";
    for (int i = 0; i < 100000; i++)
        big += "line " + std::to_string(i) + "\r\n";
    big += "last";
    Lines lines = ReadLines(Put("big", big));
    ASSERT_EQ(lines.size(), 100003u);
    EXPECT_EQ(lines[0].size(), 65535u);
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "line 0");
    EXPECT_EQ(lines[100001], "line 99999");
    EXPECT_EQ(lines[100002], "last");
}

TEST_F(FilesTest, ReaderConvertsWindows1252)
{
    EXPECT_EQ(ReadLines(Put("ansi", "\x80 caf\xE9\r\n\x93q\x94")),
              (Lines{"\xE2\x82\xAC caf\xC3\xA9", "\xE2\x80\x9Cq\xE2\x80\x9D"}));
}

TEST_F(FilesTest, ReaderBytesSeekAndLength)
{
    std::string big(200000, 'x');
    big[0] = 'A';
    big[150000] = 'M';
    big[199999] = 'Z';
    TextFileReader reader;
    ASSERT_TRUE(reader.Open(Put("bytes", big)));
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
    std::string path = Put("out.txt", "old content that is longer");
    TextFileWriter writer;
    ASSERT_TRUE(writer.Create(path));
    writer.Write("\xE2\x82\xAC caf\xC3\xA9 \xCE\xA9\r\n");  // euro, é, omega
    writer.WriteBytes("\xC3\xA9");
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(Get(path), "\x80 caf\xE9 ?\r\n\xC3\xA9");

    ASSERT_TRUE(writer.Append(path));
    writer.Write("more");
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(Get(path), "\x80 caf\xE9 ?\r\n\xC3\xA9more");

    ASSERT_TRUE(writer.Append(dir_ + "new.txt"));
    writer.Write("x");
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(Get(dir_ + "new.txt"), "x");

    EXPECT_FALSE(writer.Append(""));
    EXPECT_FALSE(writer.Create(""));
    EXPECT_FALSE(writer.Create(dir_));
    EXPECT_FALSE(writer.Create(dir_ + "no/such/folder.txt"));
    EXPECT_FALSE(writer.Close());  // nothing open
}

TEST_F(FilesTest, WriterReportsAFullDevice)
{
    TextFileWriter writer;
    if (!writer.Create("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    writer.Write(std::string(100000, 'x'));
    EXPECT_FALSE(writer.Close());
}

TEST_F(FilesTest, ReplacingWriterSwapsOnlyOnSuccess)
{
    std::string path = Put("font.bas", "old");
    ::chmod(path.c_str(), 0640);
    TextFileWriter writer;
    ASSERT_TRUE(writer.CreateReplacing(path));
    writer.Write("new");
    EXPECT_EQ(Get(path), "old");  // untouched until closed
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(Get(path), "new");
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // A writer dropped without Close leaves the old file and no temporary.
    {
        TextFileWriter abandoned;
        ASSERT_TRUE(abandoned.CreateReplacing(path));
        abandoned.Write("half");
    }
    EXPECT_EQ(Get(path), "new");
    EXPECT_FALSE(writer.CreateReplacing(dir_ + "missing/x.c"));

    // A write that fails half-way (the file size limit stands in for a full
    // disk): Close reports it, the old file stays, the temporary goes.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_TRUE(writer.CreateReplacing(path));
    struct rlimit small = saved;
    small.rlim_cur = 8192;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    writer.Write(std::string(100000, 'y'));
    bool closed = writer.Close();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(closed);
    EXPECT_EQ(Get(path), "new");
    EXPECT_EQ(Listing(), Lines{"font.bas"});
}

TEST_F(FilesTest, WholeFileBytesSizesAndDeletion)
{
    std::vector<uint8_t> all;
    for (int i = 0; i < 256; i++)
        all.push_back(static_cast<uint8_t>(i));
    ASSERT_TRUE(WriteFileBytes(dir_ + "all.bin", all));
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadFileBytes(dir_ + "all.bin", back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(FileSize(dir_ + "all.bin"), 256);
    EXPECT_FALSE(ReadFileBytes(dir_ + "missing.bin", back));
    EXPECT_TRUE(back.empty());
    EXPECT_FALSE(ReadFileBytes(dir_, back));
    EXPECT_FALSE(WriteFileBytes(dir_, all));
    // A pipe or a device is no file: reading would never start or never end.
    ASSERT_EQ(::mkfifo((dir_ + "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBytes(dir_ + "pipe", back));
    EXPECT_FALSE(ReadFileBytes("/dev/zero", back));
    EXPECT_FALSE(TextFileReader().Open(dir_ + "pipe"));

    EXPECT_EQ(FileSize(dir_ + "missing"), -1);
    EXPECT_EQ(FileSize(dir_), -2);
    EXPECT_EQ(FileSize(""), -1);
    EXPECT_TRUE(DeleteFile(dir_ + "all.bin"));
    EXPECT_EQ(FileSize(dir_ + "all.bin"), -1);
    EXPECT_FALSE(DeleteFile(dir_ + "all.bin"));
}

TEST(PathParts, FolderFileAndExtension)
{
    EXPECT_EQ(GetPathPart("/home/x.y/font.bas"), "/home/x.y/");
    EXPECT_EQ(GetFilePart("/home/x.y/font.bas"), "font.bas");
    EXPECT_EQ(GetExtensionPart("/home/x.y/font.bas"), "bas");
    EXPECT_EQ(GetFilePartNoExtension("/home/x.y/font.bas"), "font");
    // A dot in a folder name is no extension.
    EXPECT_EQ(GetExtensionPart("/home/x.y/font"), "");
    EXPECT_EQ(GetFilePartNoExtension("/home/x.y/font"), "font");
    EXPECT_EQ(GetExtensionPart("a.tar.GZ"), "GZ");
    EXPECT_EQ(GetFilePartNoExtension("a.tar.GZ"), "a.tar");
    EXPECT_EQ(GetPathPart("font.c"), "");
    EXPECT_EQ(GetFilePart("/home/"), "");
    EXPECT_EQ(GetExtensionPart("/home/.profile"), "");
    EXPECT_EQ(GetExtensionPart(""), "");
}

TEST_F(FilesTest, DirectoryListingWithWildcards)
{
    Put("CP437.inf", "");
    Put("cp850.INF", "");
    Put("cp1.txt", "");
    Put("readme", "");
    Put("\xC3\xBC" "1.txt", "");  // ü1.txt
    ASSERT_EQ(::mkdir((dir_ + "CPdir.inf").c_str(), 0755), 0);

    auto list = [&](const std::string& pattern) {
        Lines names;
        DirectoryListing listing;
        EXPECT_TRUE(listing.Examine(dir_, pattern));
        while (listing.Next())
            names.push_back(listing.EntryName() + (listing.EntryIsFolder() ? "/" : "") +
                            (listing.EntryIsFile() ? "" : "!"));
        EXPECT_EQ(listing.EntryName(), "");
        return names;
    };
    EXPECT_EQ(list("cp*.inf"), (Lines{"CP437.inf", "cp850.INF", "CPdir.inf/!"}));
    EXPECT_EQ(list("CP?.TXT"), Lines{"cp1.txt"});
    EXPECT_EQ(list("?1.txt"), Lines{"\xC3\xBC" "1.txt"});  // "?" is one character, not one byte
    EXPECT_EQ(list("*"), (Lines{"cp1.txt", "CP437.inf", "cp850.INF", "CPdir.inf/!", "readme", "\xC3\xBC" "1.txt"}));
    EXPECT_EQ(list("*.bmp"), Lines{});

    DirectoryListing listing;
    EXPECT_FALSE(listing.Examine(dir_ + "missing", "*"));
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
