// The requester seam and its scripted implementation.
#include "platform/requesters.h"

namespace platform {

namespace {

std::unique_ptr<Requesters>& Installed()
{
    static std::unique_ptr<Requesters> requesters;
    return requesters;
}

// Takes the first queued answer into `answer`; false when none is queued.
template <typename T>
bool Pop(std::deque<T>& queue, T& answer)
{
    if (queue.empty())
        return false;
    answer = std::move(queue.front());
    queue.pop_front();
    return true;
}

}  // namespace

Requesters& Ask()
{
    std::unique_ptr<Requesters>& requesters = Installed();
    if (!requesters)
        requesters = std::make_unique<ScriptedRequesters>();
    return *requesters;
}

void UseRequesters(std::unique_ptr<Requesters> requesters) { Installed() = std::move(requesters); }

std::string ScriptedRequesters::OpenFile(const std::string& title, const std::string&,
                                         const std::string&, int)
{
    Titles.push_back(title);
    selectedFilter_ = 0;
    Pop(FilterAnswers, selectedFilter_);
    std::string path;
    if (!Pop(OpenAnswers, path) && OnMissing)
        OnMissing("OpenFile");
    return path;
}

std::string ScriptedRequesters::SaveFile(const std::string& title, const std::string&,
                                         const std::string&, int)
{
    Titles.push_back(title);
    selectedFilter_ = 0;
    Pop(FilterAnswers, selectedFilter_);
    std::string path;
    if (!Pop(SaveAnswers, path) && OnMissing)
        OnMissing("SaveFile");
    return path;
}

int ScriptedRequesters::SelectedFilter() { return selectedFilter_; }

MessageResult ScriptedRequesters::Message(const std::string& title, const std::string& text,
                                          MessageButtons)
{
    Titles.push_back(title);
    MessageResult answer = MessageResult::Cancel;
    bool missing = !Pop(MessageAnswers, answer);
    // The box is recorded (and shown to the driver) before a missing answer
    // is reported, so the report follows the question it concerns.
    Messages.push_back({title, text, answer});
    if (OnMessage)
        OnMessage(Messages.back());
    if (missing && OnMissing)
        OnMissing("Message");
    return answer;
}

std::string ScriptedRequesters::Input(const std::string& title, const std::string&, const std::string&)
{
    Titles.push_back(title);
    std::string text;
    if (!Pop(InputAnswers, text) && OnMissing)
        OnMissing("Input");
    return text;
}

FontChoice ScriptedRequesters::ChooseFont(const std::string& face, int size, int style)
{
    Titles.push_back("Font");
    FontChoice choice;
    bool answered = Pop(FontAnswers, choice);
    if (answered && choice.Accepted)
        return choice;
    if (!answered && OnMissing)
        OnMissing("ChooseFont");
    // Cancelled: the chooser still reports the face and style it started with.
    choice.Accepted = false;
    choice.Face = face;
    choice.Size = size;
    choice.Style = style;
    return choice;
}

bool ScriptedRequesters::ShiftDown() { return Shift; }

}  // namespace platform
