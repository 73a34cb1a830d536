// Every file a user names is read without ever waiting: a named pipe with no
// writer, and /proc/kmsg when the tests run as root (its reads wait for the
// next kernel message), are refused as each command refuses a file it cannot
// read, and the program goes on. A read that waits fails the test by its
// watchdog instead of hanging it.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
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

// Ends the test program, naming the step, when a step has not come back
// after many seconds: a read that waits never does.
class Watchdog {
public:
    explicit Watchdog(std::string step) : step_(std::move(step)), thread_([this] { Watch(); }) {}
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        woken_.notify_one();
        thread_.join();
    }

private:
    void Watch()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!woken_.wait_for(lock, std::chrono::seconds(60), [this] { return done_; })) {
            std::fprintf(stderr, "%s waited for the file for a minute\n", step_.c_str());
            std::_Exit(1);
        }
    }

    std::string step_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool done_ = false;
    std::thread thread_;
};

// Scripted answers that keep the face the font chooser started on.
struct Recording : platform::ScriptedRequesters {
    std::string ChooserFace;
    platform::FontChoice ChooseFont(const std::string& face, int size, int style) override
    {
        ChooserFace = face;
        return ScriptedRequesters::ChooseFont(face, size, style);
    }
};

using Messages = std::vector<std::string>;

struct Command {
    const char* name;  // the file's name: its extension picks the reader
    // Runs the command on the file; gives the messages it showed.
    std::function<void(State&, Recording&, const std::string& path)> run;
    std::function<Messages(const std::string& path)> refusal;
};

Messages CannotReadFile(const std::string& path) { return {"Could not read the file " + path}; }

const Command Commands[] = {
    {"font.bas", [](State& s, Recording&, const std::string& p) { OpenFontFile(s, p); }, CannotReadFile},
    {"font.c", [](State& s, Recording&, const std::string& p) { OpenFontFile(s, p); }, CannotReadFile},
    {"font.txt", [](State& s, Recording&, const std::string& p) { OpenFontFile(s, p); }, CannotReadFile},
    {"recent.fnt",
     [](State& s, Recording&, const std::string& p) {
         s.RecentFiles.insert(s.RecentFiles.begin(), p);
         OpenRecentFile(s, 0);
     },
     CannotReadFile},
    {"font.bin",
     [](State& s, Recording&, const std::string& p) {
         OpenFontFile(s, p);
         s.Event = platform::Event{platform::EventKind::CloseWindow, obj::BinarySpecsWindow, -1};
         BinImportWindowEvent(s);
     },
     CannotReadFile},
    {"windows.fnt",
     [](State& s, Recording& ask, const std::string& p) {
         ask.OpenAnswers.push_back(p);
         ImportFntFont(s);
     },
     CannotReadFile},
    {"picture.png",
     [](State& s, Recording& ask, const std::string& p) {
         ask.OpenAnswers.push_back(p);
         LoadCharacterImage(s);
     },
     [](const std::string& p) { return Messages{"Could not read the image " + p}; }},
    // Shift + "Font...": nothing is registered and the chooser still opens,
    // on the face it had.
    {"face.ttf",
     [](State& s, Recording& ask, const std::string& p) {
         OpenTtfView(s);
         ask.Shift = true;
         ask.OpenAnswers.push_back(p);
         ChooseTtfFont(s);
         ask.Shift = false;
         EXPECT_EQ(ask.ChooserFace, "Arial");
         EXPECT_EQ(s.TtfFontName, "Arial");
     },
     [](const std::string&) { return Messages{}; }},
    // A code page from a file that cannot be read is the built-in one.
    {"CPpipe.inf",
     [](State& s, Recording&, const std::string& p) {
         s.ProgramFolder = platform::GetPathPart(p);
         LoadCodePage(s, platform::GetFilePart(p));
         EXPECT_EQ(s.CodePageTable[1], 0x263A);
     },
     [](const std::string&) { return Messages{}; }},
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
            {
                const Watchdog watchdog(path);
                command.run(s, *ask, path);
            }
            Messages shown;
            for (const auto& message : ask->Messages)
                shown.push_back(message.Text);
            EXPECT_EQ(shown, command.refusal(path)) << path;
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
