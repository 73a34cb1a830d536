// The parts of glyphery-driver (see driver.cpp for the steps it reads).
#pragma once

#include <string>
#include <vector>

#include "core/state.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"

namespace driver {

// ---- Script text (script_text.cpp) ----

// The line that Fail names.
void SetScriptLine(int number, const std::string& text);
// Ends the run with exit code 1, naming the script line and why.
[[noreturn]] void Fail(const std::string& why);
void Print(const std::string& line);
// CR and LF written as \r and \n, so that any text fits one line.
std::string OneLine(const std::string& text);
std::vector<std::string> Words(const std::string& line);
// The text after the first `count` words and the one blank that follows them.
std::string RestAfter(const std::string& line, int count);
// A decimal integer with an optional sign; anything else, or a value beyond
// what an int holds, fails the run.
int Number(const std::string& text);

// ---- The program under the script ----

// The control of that number on that window; false when the window has none
// (dumps.cpp).
bool ControlOf(int window, int control, platform::ControlInfo& info);

struct Driver {
    State s;
    platform::ScriptedRequesters* ask = nullptr;
    bool ended = false;

    void End();
    void NeedRunning();
    // Posts the event and runs the real loop until it has been dispatched.
    void Inject(const platform::Event& event);
    platform::ControlEvent ParseType(const std::string& word, platform::Event& e);
    void Answer(const std::string& line, const std::vector<std::string>& w);
    // Appends bytes written as hexadecimal digits to a file.
    void AppendBytes(const std::string& path, const std::string& hex);
    // Sets a spin field, check box or list as the user would and posts its event.
    void Set(int window, int control, int value);
    void Step(const std::string& line);
    // The program quits as the user would make it.
    void Quit();

    // Runs the loop until a window is placed or active, or a file exists
    // (waits.cpp).
    void Wait(const std::string& line, const std::vector<std::string>& w);

    // Dumps (dumps.cpp).
    void Dump(const std::string& line, const std::vector<std::string>& w);
    void DumpFont();
    void DumpState();
    void DumpGrid(int left, int top, int width, int height);
    void DumpChart();
    void DumpSheet(const platform::Image& image);
    void DumpWindow(int window);
    void DumpFrame(int window);
    void DumpToolTip(int window, int control);
    void DumpCanvas(int window, int control, const std::string& path);
};

}  // namespace driver
