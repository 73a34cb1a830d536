// Every file a user names is read without ever waiting: a named pipe with no
// writer, and /proc/kmsg when the tests run as root (its reads wait for the
// next kernel message), are refused as each command refuses a file it cannot
// read, and the program goes on. A read that waits fails the test by its
// watchdog instead of hanging it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "app/program.h"
#include "capture/codepage.h"
#include "capture/imagecapture.h"
#include "capture/ttfview.h"
#include "core/objects.h"
#include "formats/binfont.h"
#include "formats/fntimport.h"
#include "formats/openfont.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "tests/platform/temp_folder.h"

namespace {

// Runs `step`, ending the test program with a message when it has not come
// back after a minute: a read that waits never does.
void WithWatchdog(const std::string& name, const std::function<void()>& step)
{
    std::promise<void> done;
    std::thread watch([&name, returned = done.get_future()] {
        if (returned.wait_for(std::chrono::minutes(1)) == std::future_status::timeout) {
            std::fprintf(stderr, "%s waited for the file for a minute\n", name.c_str());
            std::_Exit(1);
        }
    });
    step();
    done.set_value();
    watch.join();
}

// Scripted answers that keep the face the font chooser started on.
struct Recording : platform::ScriptedRequesters {
    std::string ChooserFace;
    platform::FontChoice ChooseFont(const std::string& face, int size, int style) override
    {
        ChooserFace = face;
        return ScriptedRequesters::ChooseFont(face, size, style);
    }
};

struct Command {
    const char* name;     // the file's name: its extension picks the reader
    const char* refusal;  // the message, the path after it; none when empty
    void (*run)(State&, Recording&, const std::string& path);
};

const Command Commands[] = {
    {"font.bas", "Could not read the file ", [](State& s, Recording&, const std::string& p) { OpenFontFile(s, p); }},
    {"recent.fnt", "Could not read the file ",
     [](State& s, Recording&, const std::string& p) {
         s.RecentFiles.insert(s.RecentFiles.begin(), p);
         OpenRecentFile(s, 0);
     }},
    {"font.bin", "Could not read the file ",
     [](State& s, Recording&, const std::string& p) {
         OpenFontFile(s, p);
         s.Event = platform::Event{platform::EventKind::CloseWindow, obj::BinarySpecsWindow, -1};
         BinImportWindowEvent(s);
     }},
    {"windows.fnt", "Could not read the file ",
     [](State& s, Recording& ask, const std::string& p) {
         ask.OpenAnswers.push_back(p);
         ImportFntFont(s);
     }},
    {"picture.png", "Could not read the image ",
     [](State& s, Recording& ask, const std::string& p) {
         ask.OpenAnswers.push_back(p);
         LoadCharacterImage(s);
     }},
    // Shift + "Font...": nothing is registered and the chooser still opens,
    // on the face it had.
    {"face.ttf", "",
     [](State& s, Recording& ask, const std::string& p) {
         OpenTtfView(s);
         ask.Shift = true;
         ask.OpenAnswers.push_back(p);
         ChooseTtfFont(s);
         ask.Shift = false;
         EXPECT_EQ(ask.ChooserFace + "|" + s.TtfFontName, "Arial|Arial");
     }},
    // A code page from a file that cannot be read is the built-in one.
    {"CPpipe.inf", "",
     [](State& s, Recording&, const std::string& p) {
         s.ProgramFolder = platform::GetPathPart(p);
         LoadCodePage(s, platform::GetFilePart(p));
         EXPECT_EQ(s.CodePageTable[1], 0x263A);
     }},
};

class ReadsNeverWait : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto requesters = std::make_unique<Recording>();
        ask = requesters.get();
        platform::UseRequesters(std::move(requesters));
        ASSERT_TRUE(ProgramStart(s));
    }
    void TearDown() override
    {
        ProgramExit(s);
        platform::UseRequesters(std::make_unique<platform::ScriptedRequesters>());
    }

    // Runs every command on a file of its name made by `make`.
    void RunAll(const std::string& kind, const std::function<bool(const std::string& path)>& make)
    {
        for (const Command& command : Commands) {
            const std::string path = folder.Path(kind + "-" + command.name);
            ASSERT_TRUE(make(path)) << path;
            ask->Messages.clear();
            s.CurrentChar = -1;  // no unsaved glyph to ask about
            s.Modified = 0;
            WithWatchdog(path, [&] { command.run(s, *ask, path); });
            std::vector<std::string> shown, refusal;
            for (const auto& message : ask->Messages)
                shown.push_back(message.Text);
            if (*command.refusal)
                refusal.push_back(command.refusal + path);
            EXPECT_EQ(shown, refusal) << path;
            EXPECT_TRUE(platform::IsWindow(obj::MainWindow));
        }
    }

    TempFolder folder{true};
    State s;
    Recording* ask = nullptr;
};

}  // namespace

TEST_F(ReadsNeverWait, NamedPipes)
{
    RunAll("pipe", [](const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; });
}

// /proc/kmsg is a regular file of size 0 whose reads wait for the kernel:
// reached through links that give each command the name it expects.
TEST_F(ReadsNeverWait, KernelMessages)
{
    if (::geteuid() != 0 || ::access("/proc/kmsg", R_OK) != 0)
        GTEST_SKIP() << "/proc/kmsg is read by root only";
    RunAll("kmsg", [](const std::string& path) { return ::symlink("/proc/kmsg", path.c_str()) == 0; });
}
