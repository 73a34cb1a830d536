// glyphery-driver: runs the real program offscreen from a script, one step a
// line, with scripted requesters, and prints what the steps ask to see.
//
//   answer open|save [PATH]          queue a file requester answer (none: Cancel)
//   answer filter N                  filter position reported after the next file requester
//   answer message yes|no|cancel|ok  queue a message box answer
//   answer input [TEXT]              queue an input box answer (rest of the line)
//   answer font [FACE;SIZE;STYLE]    queue a font chooser answer (none: Cancel)
//   shift down|up                    the Shift key state
//   clipboard [TEXT]                 put text on the clipboard
//   menu N                           menu item or shortcut N of the main window
//   event WINDOW OBJECT TYPE [X Y [BUTTONS]]
//                                    a control event; TYPE is left, right, move,
//                                    change, char:C or wheel:N; BUTTONS defaults
//                                    to 1 for left, 2 for right, else 0
//   text WINDOW CONTROL [TEXT]       set a text field and post its Change event
//   close WINDOW                     a close request
//   idle                             one pass of the loop
//   dump font|state|grid|list|clipboard
//   dump menu N                      the text of menu item N
//   dump sheet [PATH]                image 90 as PNG; without PATH as text, one
//                                    character a pixel (# white, . black, - grey)
//   dump file PATH                   the file's bytes on one line, CR and LF as \r and \n
//
// Every message box is printed as "message TITLE | TEXT" and "-> ANSWER".
// A requester without a queued answer or a step that cannot be read ends the
// run with exit code 1. At the end of the script the program quits through
// its own quit check and exit steps.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "core/state.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

int CurrentLine = 0;
std::string CurrentText;

[[noreturn]] void Fail(const std::string& why)
{
    std::fflush(stdout);
    std::fprintf(stderr, "script line %d: %s\n  %s\n", CurrentLine, why.c_str(), CurrentText.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

void Print(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

// CR and LF written as \r and \n, so that any text fits one line.
std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string AnswerName(platform::MessageResult answer)
{
    switch (answer) {
    case platform::MessageResult::Yes: return "yes";
    case platform::MessageResult::No: return "no";
    case platform::MessageResult::Cancel: return "cancel";
    case platform::MessageResult::Ok: return "ok";
    }
    return "?";
}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

// The text after the first `count` words and the one blank that follows them.
std::string RestAfter(const std::string& line, int count)
{
    size_t i = 0;
    for (int w = 0; w < count; ++w) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        while (i < line.size() && line[i] != ' ')
            ++i;
    }
    if (i < line.size())
        ++i;  // the one separating blank
    return line.substr(std::min(i, line.size()));
}

// A decimal integer with an optional sign; anything else, or a value beyond
// what an int holds, fails the run.
int Number(const std::string& text)
{
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i >= text.size())
        Fail("not a number: " + text);
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            Fail("not a number: " + text);
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + (text[0] == '-' ? 1 : 0))
            Fail("number out of range: " + text);
    }
    return int(text[0] == '-' ? -value : value);
}

bool SameEvent(const platform::Event& a, const platform::Event& b)
{
    return a.Kind == b.Kind && a.Window == b.Window && a.Object == b.Object && a.Type == b.Type &&
           a.MouseX == b.MouseX && a.MouseY == b.MouseY && a.Buttons == b.Buttons && a.Wheel == b.Wheel &&
           a.Character == b.Character;
}

struct Driver {
    State s;
    platform::ScriptedRequesters* ask = nullptr;
    bool ended = false;

    void End()
    {
        if (!ended) {
            ended = true;
            ProgramExit(s);
        }
    }

    void NeedRunning()
    {
        if (ended)
            Fail("the program has already ended");
    }

    // Posts the event and runs the real loop until it has been dispatched.
    void Inject(const platform::Event& event)
    {
        NeedRunning();
        platform::PostEvent(event);
        for (int pass = 0; pass < 5000; ++pass) {
            bool goOn = ProgramPass(s);
            bool consumed = SameEvent(s.Event, event);
            if (!goOn) {
                End();
                if (!consumed)
                    Fail("the program ended before the event was handled");
                return;
            }
            if (consumed)
                return;
        }
        Fail("the event never arrived");
    }

    platform::ControlEvent ParseType(const std::string& word, platform::Event& e)
    {
        using platform::ControlEvent;
        if (word == "left")
            return ControlEvent::LeftClick;
        if (word == "right")
            return ControlEvent::RightClick;
        if (word == "move")
            return ControlEvent::MouseMove;
        if (word == "change")
            return ControlEvent::Change;
        if (word.rfind("char:", 0) == 0) {
            std::string c = word.substr(5);
            if (c.empty())
                e.Character = ' ';
            else if (platform::Len(c) == 1)
                e.Character = platform::Asc(c);
            else
                e.Character = uint32_t(platform::Val(c));
            return ControlEvent::Input;
        }
        if (word.rfind("wheel:", 0) == 0) {
            e.Wheel = Number(word.substr(6));
            return ControlEvent::Wheel;
        }
        Fail("unknown event type: " + word);
    }

    void Answer(const std::string& line, const std::vector<std::string>& w)
    {
        if (w.size() < 2)
            Fail("answer of what?");
        const std::string& kind = w[1];
        std::string rest = RestAfter(line, 2);
        if (kind == "open") {
            ask->OpenAnswers.push_back(rest);
        } else if (kind == "save") {
            ask->SaveAnswers.push_back(rest);
        } else if (kind == "filter") {
            if (w.size() != 3)
                Fail("answer filter takes one number");
            ask->FilterAnswers.push_back(Number(w[2]));
        } else if (kind == "message") {
            if (w.size() != 3)
                Fail("answer message takes yes, no, cancel or ok");
            if (w[2] == "yes")
                ask->MessageAnswers.push_back(platform::MessageResult::Yes);
            else if (w[2] == "no")
                ask->MessageAnswers.push_back(platform::MessageResult::No);
            else if (w[2] == "cancel")
                ask->MessageAnswers.push_back(platform::MessageResult::Cancel);
            else if (w[2] == "ok")
                ask->MessageAnswers.push_back(platform::MessageResult::Ok);
            else
                Fail("unknown message answer: " + w[2]);
        } else if (kind == "input") {
            ask->InputAnswers.push_back(rest);
        } else if (kind == "font") {
            platform::FontChoice choice;
            if (!rest.empty()) {
                choice.Accepted = true;
                choice.Face = platform::StringField(rest, 1, ";");
                choice.Size = int(platform::Val(platform::StringField(rest, 2, ";")));
                choice.Style = int(platform::Val(platform::StringField(rest, 3, ";")));
            }
            ask->FontAnswers.push_back(choice);
        } else {
            Fail("unknown answer kind: " + kind);
        }
    }

    void DumpFont()
    {
        Print("font " + platform::Str(s.FontWidth) + " " + platform::Str(s.FontHeight) + " " +
              platform::Str(s.FontStart) + " " + platform::Str(s.FontCount));
        for (int i = 0; i < s.FontCount; ++i) {
            int code = s.FontStart + i;
            if (code < 0 || code >= int(s.CharData.size())) {
                Print(platform::Str(code) + " ?");
                continue;
            }
            const std::string& glyph = s.CharData[size_t(code)][1];
            Print(platform::Str(code) + " " + (glyph.empty() ? std::string("-") : glyph));
        }
    }

    void DumpState()
    {
        Print("current " + platform::Str(s.CurrentChar));
        Print("modified " + platform::Str(s.Modified));
        Print("list " + platform::Str(platform::GetState(12)));
        Print("title " + platform::GetWindowTitle(0));
        Print("status " + platform::GetText(40));
    }

    void DumpGrid()
    {
        for (int y = 0; y < s.FontHeight; ++y) {
            std::string row;
            for (int x = 0; x < s.FontWidth; ++x) {
                if (!s.Grid.Inside(x, y))
                    row += '?';
                else
                    row += s.Grid(x, y) == 1 ? '#' : '.';
            }
            Print(row);
        }
    }

    // The sheet as text: its size, then one character a pixel: '#' white,
    // '.' black, '-' the grey of the sheet, '?' any other colour.
    void DumpSheet(const platform::Image& image)
    {
        Print("sheet " + platform::Str(image.Width) + " x " + platform::Str(image.Height));
        for (int y = 0; y < image.Height; ++y) {
            std::string row;
            for (int x = 0; x < image.Width; ++x) {
                platform::Rgb c = image.Get(x, y);
                if (c == platform::RGB(255, 255, 255))
                    row += '#';
                else if (c == platform::RGB(0, 0, 0))
                    row += '.';
                else if (c == platform::RGB(196, 196, 196))
                    row += '-';
                else
                    row += '?';
            }
            Print(row);
        }
    }

    void Dump(const std::string& line, const std::vector<std::string>& w)
    {
        if (w.size() < 2)
            Fail("dump what?");
        const std::string& what = w[1];
        if (what == "font") {
            DumpFont();
        } else if (what == "state") {
            DumpState();
        } else if (what == "grid") {
            DumpGrid();
        } else if (what == "list") {
            int count = platform::CountItems(12);
            Print("items " + platform::Str(count));
            for (int i = 0; i < count; ++i)
                Print(platform::Str(i) + " " + platform::GetItemText(12, i));
        } else if (what == "clipboard") {
            Print("clipboard " + OneLine(platform::GetClipboardText()));
        } else if (what == "menu") {
            if (w.size() != 3)
                Fail("dump menu takes an item number");
            Print("menu " + w[2] + " " + platform::GetMenuItemText(3, Number(w[2])));
        } else if (what == "sheet") {
            std::string path = RestAfter(line, 2);
            const platform::Image* image = platform::GetImage(90);
            if (!image)
                Print("sheet: no image");
            else if (path.empty())
                DumpSheet(*image);
            else if (!platform::SavePng(*image, path))
                Print("sheet: cannot write " + path);
        } else if (what == "file") {
            std::string path = RestAfter(line, 2);
            std::vector<uint8_t> bytes;
            if (path.empty())
                Fail("dump file needs a path");
            if (!platform::ReadFileBytes(path, bytes))
                Print("file: cannot read " + path);
            else
                Print(OneLine(std::string(bytes.begin(), bytes.end())));
        } else {
            Fail("unknown dump: " + what);
        }
    }

    void Step(const std::string& line)
    {
        std::vector<std::string> w = Words(line);
        const std::string& op = w[0];
        if (op == "answer") {
            Answer(line, w);
        } else if (op == "shift") {
            if (w.size() != 2 || (w[1] != "down" && w[1] != "up"))
                Fail("shift takes down or up");
            ask->Shift = w[1] == "down";
        } else if (op == "clipboard") {
            platform::SetClipboardText(RestAfter(line, 1));
        } else if (op == "menu") {
            if (w.size() != 2)
                Fail("menu takes one number");
            platform::Event e;
            e.Kind = platform::EventKind::Menu;
            e.Window = 0;
            e.Object = Number(w[1]);
            Inject(e);
        } else if (op == "event") {
            if (w.size() != 4 && w.size() != 6 && w.size() != 7)
                Fail("event takes WINDOW OBJECT TYPE [X Y [BUTTONS]]");
            platform::Event e;
            e.Kind = platform::EventKind::Control;
            e.Window = Number(w[1]);
            e.Object = Number(w[2]);
            e.Type = ParseType(w[3], e);
            if (w.size() >= 6) {
                e.MouseX = Number(w[4]);
                e.MouseY = Number(w[5]);
            }
            if (w.size() == 7)
                e.Buttons = Number(w[6]);
            else if (e.Type == platform::ControlEvent::LeftClick)
                e.Buttons = platform::ButtonLeft;
            else if (e.Type == platform::ControlEvent::RightClick)
                e.Buttons = platform::ButtonRight;
            Inject(e);
        } else if (op == "text") {
            if (w.size() < 3)
                Fail("text takes WINDOW CONTROL [TEXT]");
            NeedRunning();
            platform::Event e;
            e.Kind = platform::EventKind::Control;
            e.Window = Number(w[1]);
            e.Object = Number(w[2]);
            e.Type = platform::ControlEvent::Change;
            platform::SetText(e.Object, RestAfter(line, 3));
            Inject(e);
        } else if (op == "close") {
            if (w.size() != 2)
                Fail("close takes one window number");
            platform::Event e;
            e.Kind = platform::EventKind::CloseWindow;
            e.Window = Number(w[1]);
            Inject(e);
        } else if (op == "idle") {
            NeedRunning();
            if (!ProgramPass(s))
                End();
        } else if (op == "dump") {
            Dump(line, w);
        } else {
            Fail("unknown step: " + op);
        }
    }

    // The program quits as the user would make it: a pending quit and the
    // quit check; a question it asks must have a queued answer.
    void Quit()
    {
        if (ended)
            return;
        s.QuitRequested = 1;
        while (ProgramPass(s))
            s.QuitRequested = 1;
        End();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: glyphery-driver SCRIPT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read the script %s\n", argv[1]);
        return 2;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }

    if (const char* dir = std::getenv("GLYPHERY_DRIVER_DIR"); dir && *dir) {
        std::error_code error;
        std::filesystem::current_path(dir, error);
        if (error) {
            std::fprintf(stderr, "cannot enter %s\n", dir);
            return 2;
        }
    }

    auto requesters = std::make_unique<platform::ScriptedRequesters>();
    platform::ScriptedRequesters* ask = requesters.get();
    ask->OnMissing = [](const std::string& what) { Fail("no answer queued for " + what); };
    ask->OnMessage = [](const platform::ScriptedRequesters::Shown& shown) {
        Print("message " + OneLine(shown.Title) + " | " + OneLine(shown.Text));
        Print("-> " + AnswerName(shown.Answer));
    };
    platform::UseRequesters(std::move(requesters));

    auto driver = std::make_unique<Driver>();
    driver->ask = ask;
    if (!ProgramStart(driver->s)) {
        ProgramExit(driver->s);
        std::fprintf(stderr, "the main window could not be opened\n");
        return 1;
    }

    for (size_t i = 0; i < lines.size(); ++i) {
        CurrentLine = int(i) + 1;
        CurrentText = lines[i];
        // Leading blanks are ignored; trailing ones belong to the step's text.
        size_t start = lines[i].find_first_not_of(" \t");
        if (start == std::string::npos || lines[i][start] == '#')
            continue;
        driver->Step(lines[i].substr(start));
    }
    CurrentLine = int(lines.size()) + 1;
    CurrentText = "(end of script: quit)";
    driver->Quit();

    std::fflush(stdout);
    platform::EndGui();
    return 0;
}
