// The scripted requesters and the seam that installs them.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/requesters.h"

using namespace platform;

TEST(ScriptedRequesters, AnswersInOrderThenCancels)
{
    auto owned = std::make_unique<ScriptedRequesters>();
    ScriptedRequesters& ask = *owned;
    ask.OpenAnswers = {"/f/a.bas"};
    ask.SaveAnswers = {"/f/b.c", "/f/c.c"};
    ask.FilterAnswers = {2};
    ask.MessageAnswers = {MessageResult::Ok, MessageResult::No, MessageResult::Yes};
    ask.InputAnswers = {"8"};
    ask.FontAnswers = {FontChoice{true, "Serif", 12, StyleBold}};
    std::vector<std::string> missing;
    ask.OnMissing = [&](const std::string& what) { missing.push_back(what); };
    std::vector<std::string> shown;
    ask.OnMessage = [&](const ScriptedRequesters::Shown& m) { shown.push_back(m.Title + ": " + m.Text); };
    UseRequesters(std::move(owned));
    ASSERT_EQ(&Ask(), &ask);

    EXPECT_EQ(Ask().OpenFile("Open", "", "All|*.*", 0), "/f/a.bas");
    EXPECT_EQ(Ask().SelectedFilter(), 2);
    EXPECT_EQ(Ask().SaveFile("Save", "", "C|*.c", 0), "/f/b.c");
    EXPECT_EQ(Ask().SelectedFilter(), 0);  // none queued for this one
    EXPECT_EQ(Ask().Message("Oops!", "Bad file", MessageButtons::Ok), MessageResult::Ok);
    EXPECT_EQ(Ask().Message("Confirm", "Replace?", MessageButtons::YesNoCancel), MessageResult::No);
    EXPECT_EQ(Ask().Message("Oops!", "Save first?", MessageButtons::YesNo), MessageResult::Yes);
    EXPECT_EQ(Ask().Input("Size", "Width", "16"), "8");
    FontChoice font = Ask().ChooseFont("Arial", 10, 0);
    EXPECT_TRUE(font.Accepted);
    EXPECT_EQ(font.Face, "Serif");
    EXPECT_TRUE(missing.empty());

    // Queues used up: each requester reports itself and acts as cancelled.
    EXPECT_EQ(Ask().OpenFile("Open again", "", "", 0), "");
    EXPECT_EQ(Ask().Message("Q", "again?", MessageButtons::YesNo), MessageResult::Cancel);
    EXPECT_EQ(Ask().Input("In", "", "x"), "");
    font = Ask().ChooseFont("Arial", 10, StyleItalic);
    EXPECT_FALSE(font.Accepted);
    EXPECT_EQ(font.Face, "Arial");
    EXPECT_EQ(font.Style, StyleItalic);
    EXPECT_EQ(missing, (std::vector<std::string>{"OpenFile", "Message", "Input", "ChooseFont"}));

    ASSERT_EQ(ask.Messages.size(), 4u);
    EXPECT_EQ(ask.Messages[0].Text, "Bad file");
    EXPECT_EQ(ask.Messages[0].Answer, MessageResult::Ok);
    EXPECT_EQ(ask.Messages[3].Answer, MessageResult::Cancel);
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1], "Confirm: Replace?");
    EXPECT_EQ(ask.Titles, (std::vector<std::string>{"Open", "Save", "Oops!", "Confirm", "Oops!", "Size", "Font",
                                                    "Open again", "Q", "In", "Font"}));
    EXPECT_EQ(ask.SaveAnswers.size(), 1u);  // left for later

    ask.Shift = true;
    EXPECT_TRUE(Ask().ShiftDown());

    // Uninstalling falls back to a scripted set without answers.
    UseRequesters(nullptr);
    EXPECT_EQ(Ask().SaveFile("S", "", "", 0), "");
    EXPECT_EQ(Ask().Message("M", "t", MessageButtons::YesNo), MessageResult::Cancel);
    EXPECT_FALSE(Ask().ShiftDown());
}
