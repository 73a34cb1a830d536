// Every writer of the platform layer (text files, whole-file bytes, the three
// image savers, settings files) against targets a user may choose by mistake
// or on purpose: each goes through the one safe replacement, so a failure
// never costs the old file and nothing else is ever opened for writing.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/image.h"
#include "platform/settings.h"
#include "tests/platform/temp_folder.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

struct Writer {
    std::string name;
    std::function<bool(const std::string& path)> write;
};

void PrintTo(const Writer& writer, std::ostream* out) { *out << writer.name; }

// Each writes well over 64 bytes, the size limit that stands in for a full
// disk below.
std::vector<Writer> Writers()
{
    static const Image picture = [] {
        Image image(40, 30);
        for (int y = 0; y < 30; y++)
            for (int x = 0; x < 40; x++)
                image.Set(x, y, RGB(x * 6, y * 8, (x * y) & 255));
        return image;
    }();
    auto text = [](bool (TextFileWriter::*open)(const std::string&)) {
        return [open](const std::string& path) {
            TextFileWriter writer;
            if (!(writer.*open)(path))
                return false;
            writer.Write(std::string(500, 'x'));
            return writer.Close();
        };
    };
    return {
        {"text", text(&TextFileWriter::Create)},
        {"text replacing", text(&TextFileWriter::CreateReplacing)},
        {"text append", text(&TextFileWriter::Append)},
        {"bytes", [](const std::string& path) { return WriteFileBytes(path, std::vector<uint8_t>(500, 7)); }},
        {"png", [](const std::string& path) { return SavePng(picture, path); }},
        {"jpeg", [](const std::string& path) { return SaveJpeg(picture, path); }},
        {"bmp", [](const std::string& path) { return SaveBmp(picture, path); }},
        {"settings",
         [](const std::string& path) {
             SettingsFile file;
             if (!file.Create(path))
                 return false;
             file.Group("Recent Files");
             file.WriteText("MRUFile0", std::string(200, 'f'));
             return file.Close();
         }},
    };
}

class SafeWriteTest : public ::testing::TestWithParam<Writer> {
protected:
    bool Write(const std::string& path) { return GetParam().write(path); }
    // The folder holds exactly these names: no temporary file is left.
    void ExpectOnly(std::vector<std::string> names, const std::string& folder = "")
    {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(tmp.Path(folder)))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(found, names);
    }
    TempFolder tmp;
};

}  // namespace

// A failed write (the file size limit stands in for a full disk) keeps the
// old file whole.
TEST_P(SafeWriteTest, FailedWriteKeepsTheOldFile)
{
    const std::string path = tmp.Put("sheet.bmp", "old content");
    EXPECT_FALSE(WithFileSizeLimit(64, [&] { return Write(path); }));
    EXPECT_EQ(TempFolder::Read(path), "old content");
    ExpectOnly({"sheet.bmp"});
}

// A folder and a pipe (which would block the writer forever) are refused and
// left alone; so is a file without write permission, also when the tests run
// as root. (No device here: a writer that failed this test as root would
// replace it.)
TEST_P(SafeWriteTest, TargetsThatAreNoWritableFileAreRefused)
{
    fs::create_directory(tmp.Path("folder"));
    ASSERT_EQ(::mkfifo(tmp.Path("pipe").c_str(), 0644), 0);
    const std::string locked = tmp.Put("locked", "old content");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    for (const std::string& target :
         {tmp.Path("folder"), tmp.Path("pipe"), locked, std::string(), tmp.Path("no/such/folder/file")}) {
        SCOPED_TRACE(target);
        EXPECT_FALSE(Write(target));
    }
    EXPECT_TRUE(fs::is_empty(tmp.Path("folder")));
    EXPECT_TRUE(fs::is_fifo(tmp.Path("pipe")));
    EXPECT_EQ(TempFolder::Read(locked), "old content");
    ExpectOnly({"folder", "pipe", "locked"});
}

// A symbolic link is written through: its target gets the new content and
// the link stays a link, also one whose target does not exist yet.
TEST_P(SafeWriteTest, LinksAreFollowed)
{
    fs::create_directory(tmp.Path("real"));
    const std::string target = tmp.Put("real/file", "old content");
    ::chmod(target.c_str(), 0640);
    fs::create_symlink("real/file", tmp.Path("link"));
    fs::create_symlink(tmp.Path("real/new"), tmp.Path("dangling"));
    ASSERT_TRUE(Write(tmp.Path("link")));
    ASSERT_TRUE(Write(tmp.Path("dangling")));
    EXPECT_TRUE(fs::is_symlink(tmp.Path("link")));
    EXPECT_TRUE(fs::is_symlink(tmp.Path("dangling")));
    EXPECT_NE(TempFolder::Read(target), "old content");
    EXPECT_FALSE(TempFolder::Read(tmp.Path("real/new")).empty());
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640)) << "the mode is kept";
    ExpectOnly({"real", "link", "dangling"});
    ExpectOnly({"file", "new"}, "real");
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, SafeWriteTest, ::testing::ValuesIn(Writers()),
                         [](const ::testing::TestParamInfo<Writer>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });
