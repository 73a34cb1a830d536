// The wait steps: the loop runs until what a window manager or a check
// outside the program does has happened, however busy the machine is, and a
// minute at most.
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "driver.h"

namespace driver {

void Driver::Wait(const std::string& line, const std::vector<std::string>& w)
{
    if (w.size() < 3 || (w[1] != "file" && w.size() != 3))
        Fail("wait takes placed WINDOW, active WINDOW or file PATH");
    NeedRunning();
    std::function<bool()> done;
    if (w[1] == "placed") {
        const int window = Number(w[2]);
        done = [window] { return platform::WindowPlaced(window); };
    } else if (w[1] == "active") {
        const int window = Number(w[2]);
        done = [window] { return platform::ActiveWindow() == window; };
    } else if (w[1] == "file") {
        const std::string path = RestAfter(line, 2);
        done = [path] {
            std::error_code error;
            return std::filesystem::exists(path, error);
        };
    } else {
        Fail("unknown wait: " + w[1]);
    }
    // Long enough to tell a stall from a busy machine.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            Fail("still waiting after a minute");
        if (!ProgramPass(s)) {
            End();
            Fail("the program ended while waiting");
        }
    }
}

}  // namespace driver
