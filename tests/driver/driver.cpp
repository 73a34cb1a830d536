// glyphery-driver: runs the real program offscreen from a script, one step a
// line, with scripted requesters, and prints what the steps ask to see.
//
//   answer open|save [PATH]          queue a file requester answer (none: Cancel)
//   answer filter N                  filter position reported after the next file requester
//   answer message yes|no|cancel|ok  queue a message box answer
//   answer input [TEXT]              queue an input box answer (rest of the line)
//   answer font [FACE;SIZE;STYLE]    queue a font chooser answer (none: Cancel, which
//                                    reports the face it started with); STYLE is
//                                    256 bold, 512 italic, 4 underline, 8 strike-out
//                                    added up
//   shift down|up                    the Shift key state
//   clipboard [TEXT]                 put text on the clipboard
//   menu N                           menu item or shortcut N of the main window
//   shortcut WINDOW N                shortcut or menu item N of window WINDOW (84 to
//                                    89 for the arrow keys, Space and Return of 81)
//   event WINDOW OBJECT TYPE [X Y [BUTTONS]]
//                                    a control event; TYPE is left, right, move,
//                                    change, char:C or wheel:N ("char:" alone is
//                                    the blank, char:NUMBER a code when NUMBER has
//                                    two characters or more); BUTTONS defaults
//                                    to 1 for left, 2 for right, else 0
//   text WINDOW CONTROL [TEXT]       set a text field and post its Change event
//   set WINDOW CONTROL VALUE         set a spin field's value, a check box (0 or 1)
//                                    or a list's position, and post the event the
//                                    user's change raises: Change, and LeftClick
//                                    (no buttons) for a check box; other controls
//                                    and values the control cannot take end the run
//   close WINDOW                     a close request
//   click WINDOW X Y [left|right]    a real mouse click at (X, Y) of the window's
//                                    inner area: whatever shows there takes it
//                                    (a canvas, a scroll bar...); then the loop
//                                    runs until the events it raised are handled
//   scroll WINDOW AREA X Y           the scroll bars of scroll area AREA dragged
//                                    to X and Y
//   activate WINDOW                  the window brought forward, as a click on
//                                    it does
//   move WINDOW X Y                  the window's frame moved to (X, Y), its inner
//                                    size kept, as the program moves a window
//   idle                             one pass of the loop
//   wait placed WINDOW               passes of the loop until the window manager
//                                    has framed the window and it stands where it
//                                    was placed (never on the offscreen platform)
//   wait active WINDOW               passes of the loop until the window is the
//                                    active one
//   wait file PATH                   passes of the loop until the file PATH exists:
//                                    a check outside the program lets it go on
//                                    (a wait still waiting after a minute ends the
//                                    run with exit code 1)
//   bytes PATH HEX...                append bytes, each two hexadecimal digits
//                                    (blanks between them allowed), to the file
//                                    PATH, creating it when missing
//   dump font|state|grid|list|clipboard|active
//   dump grid X Y W H                the part of the grid W x H from (X, Y)
//                                    ("active N": our window the system has
//                                    made active, -1 for none)
//   dump frame WINDOW                "frame WINDOW X,Y W x H on X,Y W x H": the
//                                    outer frame's place and size and the
//                                    screen's free area
//   dump menu N                      the text of menu item N
//   dump sheet [PATH]                image 90 as PNG; without PATH as text, one
//                                    character a pixel (# white, . black, - grey)
//   dump file PATH                   the file's bytes on one line, CR and LF as \r and \n
//   dump masked PATH                 the same with the digits of every "0x" byte
//                                    shown as "..", for files of rendered glyphs
//   dump chart                       the TrueType view's marks, the cell name of
//                                    the last move and the face chosen:
//                                    "chart first F last L cell "NAME" face
//                                    "FACE" points P style S"
//   dump window WIN                  "window WIN "TITLE" W x H at X,Y" (inner size,
//                                    outer position), then one line a control in
//                                    number order: "  N KIND X,Y W x H "TEXT" STATE";
//                                    KIND is button, list, label, field, checkbox,
//                                    spin, scrollarea or canvas; a window that is
//                                    not open prints "window WIN: not open"
//   dump tooltip WIN CONTROL         "tooltip WIN CONTROL "TEXT""
//   dump canvas WIN CONTROL PATH     what the canvas shows as PNG, then
//                                    "canvas WIN CONTROL W x H"
//
// Every message box is printed as "message TITLE | TEXT" and "-> ANSWER".
// A requester without a queued answer or a step that cannot be read ends the
// run with exit code 1. At the end of the script the program quits through
// its own quit check and exit steps.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "driver.h"
#include "platform/text.h"

namespace driver {

namespace {

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

bool SameEvent(const platform::Event& a, const platform::Event& b)
{
    return a.Kind == b.Kind && a.Window == b.Window && a.Object == b.Object && a.Type == b.Type &&
           a.MouseX == b.MouseX && a.MouseY == b.MouseY && a.Buttons == b.Buttons && a.Wheel == b.Wheel &&
           a.Character == b.Character;
}

}  // namespace

void Driver::End()
{
    if (!ended) {
        ended = true;
        ProgramExit(s);
    }
}

void Driver::NeedRunning()
{
    if (ended)
        Fail("the program has already ended");
}

void Driver::Inject(const platform::Event& event)
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

platform::ControlEvent Driver::ParseType(const std::string& word, platform::Event& e)
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

void Driver::Answer(const std::string& line, const std::vector<std::string>& w)
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

void Driver::Set(int window, int control, int value)
{
    NeedRunning();
    platform::ControlInfo info;
    if (!ControlOf(window, control, info))
        Fail("window " + platform::Str(window) + " has no control " + platform::Str(control));
    platform::Event e;
    e.Kind = platform::EventKind::Control;
    e.Window = window;
    e.Object = control;
    switch (info.Kind) {
    case platform::ControlKind::Spin:
    case platform::ControlKind::List: e.Type = platform::ControlEvent::Change; break;
    case platform::ControlKind::CheckBox:
        if (value != 0 && value != 1)
            Fail("a check box takes 0 or 1");
        e.Type = platform::ControlEvent::LeftClick;  // clicked, no buttons reported
        break;
    default: Fail("set takes a spin field, a check box or a list");
    }
    // The user can pick only what the control offers: an item of the list,
    // a value within the spin field's range.
    platform::SetState(control, value);
    if (value < 0 || platform::GetState(control) != value)
        Fail(platform::Str(value) + " is beyond what the control offers");
    Inject(e);
}

void Driver::AppendBytes(const std::string& path, const std::string& hex)
{
    std::string bytes;
    std::string digits;
    for (char c : hex) {
        if (c == ' ')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            Fail("not a hexadecimal digit: " + std::string(1, c));
        digits += c;
        if (digits.size() == 2) {
            bytes += char(std::stoi(digits, nullptr, 16));
            digits.clear();
        }
    }
    if (!digits.empty())
        Fail("bytes takes two digits a byte");
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!(out << bytes) || !out.flush())
        Fail("cannot write " + path);
}

void Driver::Step(const std::string& line)
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
    } else if (op == "menu" || op == "shortcut") {
        const bool onMain = op == "menu";
        if (w.size() != (onMain ? 2u : 3u))
            Fail(onMain ? "menu takes one number" : "shortcut takes WINDOW N");
        platform::Event e;
        e.Kind = platform::EventKind::Menu;
        e.Window = onMain ? 0 : Number(w[1]);
        e.Object = Number(w.back());
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
    } else if (op == "set") {
        if (w.size() != 4)
            Fail("set takes WINDOW CONTROL VALUE");
        Set(Number(w[1]), Number(w[2]), Number(w[3]));
    } else if (op == "close") {
        if (w.size() != 2)
            Fail("close takes one window number");
        platform::Event e;
        e.Kind = platform::EventKind::CloseWindow;
        e.Window = Number(w[1]);
        Inject(e);
    } else if (op == "click") {
        if (w.size() != 4 && w.size() != 5)
            Fail("click takes WINDOW X Y [left|right]");
        NeedRunning();
        const std::string button = w.size() == 5 ? w[4] : "left";
        if (button != "left" && button != "right")
            Fail("click takes left or right");
        platform::ClickWindow(Number(w[1]), Number(w[2]), Number(w[3]),
                              button == "left" ? platform::ButtonLeft : platform::ButtonRight);
        // The passes handle what the click raised; the first that finds
        // nothing ends the step.
        for (int pass = 0; pass < 1000; ++pass) {
            if (!ProgramPass(s)) {
                End();
                return;
            }
            if (s.Event.Kind == platform::EventKind::None)
                return;
        }
    } else if (op == "scroll") {
        if (w.size() != 5)
            Fail("scroll takes WINDOW AREA X Y");
        NeedRunning();
        platform::ControlInfo info;
        if (!ControlOf(Number(w[1]), Number(w[2]), info) || info.Kind != platform::ControlKind::ScrollArea)
            Fail("window " + w[1] + " has no scroll area " + w[2]);
        platform::SetScrollAreaX(info.Number, Number(w[3]));
        platform::SetScrollAreaY(info.Number, Number(w[4]));
    } else if (op == "activate") {
        if (w.size() != 2)
            Fail("activate takes one window number");
        NeedRunning();
        platform::ActivateWindow(Number(w[1]));
    } else if (op == "move") {
        if (w.size() != 4)
            Fail("move takes WINDOW X Y");
        NeedRunning();
        const int window = Number(w[1]);
        if (!platform::IsWindow(window))
            Fail("window " + w[1] + " is not open");
        platform::ResizeWindow(window, Number(w[2]), Number(w[3]), platform::WindowWidth(window),
                               platform::WindowHeight(window));
    } else if (op == "bytes") {
        if (w.size() < 2)
            Fail("bytes takes PATH HEX...");
        AppendBytes(w[1], RestAfter(line, 2));
    } else if (op == "idle") {
        NeedRunning();
        if (!ProgramPass(s))
            End();
    } else if (op == "wait") {
        Wait(line, w);
    } else if (op == "dump") {
        Dump(line, w);
    } else {
        Fail("unknown step: " + op);
    }
}

// The program quits as the user would make it: a pending quit and the
// quit check; a question it asks must have a queued answer.
void Driver::Quit()
{
    if (ended)
        return;
    s.QuitRequested = 1;
    while (ProgramPass(s))
        s.QuitRequested = 1;
    End();
}

}  // namespace driver

int main(int argc, char** argv)
{
    using namespace driver;
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

    auto runner = std::make_unique<Driver>();
    runner->ask = ask;
    if (!ProgramStart(runner->s)) {
        ProgramExit(runner->s);
        std::fprintf(stderr, "the main window could not be opened\n");
        return 1;
    }

    for (size_t i = 0; i < lines.size(); ++i) {
        SetScriptLine(int(i) + 1, lines[i]);
        // Leading blanks are ignored; trailing ones belong to the step's text.
        size_t start = lines[i].find_first_not_of(" \t");
        if (start == std::string::npos || lines[i][start] == '#')
            continue;
        runner->Step(lines[i].substr(start));
    }
    SetScriptLine(int(lines.size()) + 1, "(end of script: quit)");
    runner->Quit();

    std::fflush(stdout);
    platform::EndGui();
    return 0;
}
