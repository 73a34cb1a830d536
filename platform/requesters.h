// Modal requesters and the Shift-key query, behind one seam: the program uses
// the desktop implementation, tests and the driver a scripted one.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageResult { Ok, Yes, No, Cancel };

enum FontStyle { StyleBold = 256, StyleItalic = 512, StyleUnderline = 4, StyleStrikeOut = 8 };

struct FontChoice {
    bool Accepted = false;
    std::string Face;
    int Size = 0;
    int Style = 0;  // FontStyle flags
};

class Requesters {
public:
    virtual ~Requesters() = default;
    // `filter` is "label|patterns|label|patterns..." with patterns separated
    // by ";". The result is the full path, or empty when cancelled.
    virtual std::string OpenFile(const std::string& title, const std::string& start,
                                 const std::string& filter, int filterPosition) = 0;
    virtual std::string SaveFile(const std::string& title, const std::string& start,
                                 const std::string& filter, int filterPosition) = 0;
    // Position (from 0) of the filter in force when the last file requester closed.
    virtual int SelectedFilter() = 0;
    virtual MessageResult Message(const std::string& title, const std::string& text,
                                  MessageButtons buttons) = 0;
    // The text typed, or empty when closed or cancelled.
    virtual std::string Input(const std::string& title, const std::string& prompt,
                              const std::string& defaultText) = 0;
    virtual FontChoice ChooseFont(const std::string& face, int size, int style) = 0;
    virtual bool ShiftDown() = 0;
};

// The requesters in force. Until one is installed, a scripted set with no
// answers is used.
Requesters& Ask();
void UseRequesters(std::unique_ptr<Requesters> requesters);

// Answers queued by a script or a test. A requester without a queued answer
// calls `OnMissing` with its kind ("OpenFile", "SaveFile", "Message", "Input"
// or "ChooseFont"; it may end the run) and then acts as cancelled: an empty
// path or text, Cancel, a font choice not accepted (with the face, size and
// style it started with, as a queued answer that is not accepted also gives). Every message box takes one answer, an OK-only box
// included. Each file requester takes one entry of `FilterAnswers` when
// there is one. The font chooser has no title; it is recorded as "Font".
class ScriptedRequesters : public Requesters {
public:
    struct Shown {
        std::string Title;
        std::string Text;
        MessageResult Answer;
    };

    std::deque<std::string> OpenAnswers;
    std::deque<std::string> SaveAnswers;
    std::deque<int> FilterAnswers;  // the filter position after each file requester; 0 when none queued
    std::deque<MessageResult> MessageAnswers;
    std::deque<std::string> InputAnswers;
    std::deque<FontChoice> FontAnswers;
    bool Shift = false;

    std::vector<Shown> Messages;  // every message box shown, in order
    std::vector<std::string> Titles;  // the title of every requester shown, in order
    std::function<void(const std::string& what)> OnMissing;
    // Called for every message box as it is answered (the driver prints it).
    std::function<void(const Shown&)> OnMessage;

    std::string OpenFile(const std::string& title, const std::string& start,
                         const std::string& filter, int filterPosition) override;
    std::string SaveFile(const std::string& title, const std::string& start,
                         const std::string& filter, int filterPosition) override;
    int SelectedFilter() override;
    MessageResult Message(const std::string& title, const std::string& text,
                          MessageButtons buttons) override;
    std::string Input(const std::string& title, const std::string& prompt,
                      const std::string& defaultText) override;
    FontChoice ChooseFont(const std::string& face, int size, int style) override;
    bool ShiftDown() override;

private:
    int selectedFilter_ = 0;
};

// The desktop requesters on Qt (in the GUI layer).
std::unique_ptr<Requesters> MakeDesktopRequesters();

}  // namespace platform
