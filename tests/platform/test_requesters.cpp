// The scripted requesters and the seam that installs them.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/requesters.h"

using namespace platform;
using Texts = std::vector<std::string>;

TEST(ScriptedRequesters, AnswersInOrderThenCancels)
{
    auto owned = std::make_unique<ScriptedRequesters>();
    ScriptedRequesters& ask = *owned;
    ask.OpenAnswers = {"/f/a.bas"};
    ask.SaveAnswers = {"/f/b.c", "/f/c.c"};
    ask.FilterAnswers = {2};
    ask.MessageAnswers = {MessageResult::Ok, MessageResult::No};
    ask.InputAnswers = {"8"};
    ask.FontAnswers = {FontChoice{true, "Serif", 12, StyleBold}, FontChoice{}};
    Texts missing;
    ask.OnMissing = [&](const std::string& what) { missing.push_back(what); };
    UseRequesters(std::move(owned));
    ASSERT_EQ(&Ask(), &ask);

    EXPECT_EQ(Ask().OpenFile("Open", "", "All|*.*", 0), "/f/a.bas");
    EXPECT_EQ(Ask().SelectedFilter(), 2);
    EXPECT_EQ(Ask().SaveFile("Save", "", "C|*.c", 0), "/f/b.c");
    EXPECT_EQ(Ask().SelectedFilter(), 0);  // none queued for this one
    EXPECT_EQ(Ask().Message("Oops!", "Bad file", MessageButtons::Ok), MessageResult::Ok);
    EXPECT_EQ(Ask().Message("Confirm", "Replace?", MessageButtons::YesNoCancel), MessageResult::No);
    EXPECT_EQ(Ask().Input("Size", "Width", "16"), "8");
    EXPECT_EQ(Ask().ChooseFont("Arial", 10, 0).Face, "Serif");
    // A queued cancel reports what the chooser started with.
    FontChoice cancelled = Ask().ChooseFont("Mono", 14, StyleUnderline);
    EXPECT_EQ(cancelled.Face + " " + std::to_string(cancelled.Size) + " " + std::to_string(cancelled.Style), "Mono 14 4");
    EXPECT_FALSE(cancelled.Accepted);
    EXPECT_TRUE(missing.empty());

    // Queues used up: each requester reports itself and acts as cancelled.
    EXPECT_EQ(Ask().OpenFile("Open again", "", "", 0), "");
    EXPECT_EQ(Ask().Message("Q", "again?", MessageButtons::YesNo), MessageResult::Cancel);
    EXPECT_EQ(Ask().Input("In", "", "x"), "");
    FontChoice font = Ask().ChooseFont("Arial", 10, StyleItalic);
    EXPECT_FALSE(font.Accepted);
    EXPECT_EQ(font.Face + " " + std::to_string(font.Style), "Arial 512");
    EXPECT_EQ(missing, (Texts{"OpenFile", "Message", "Input", "ChooseFont"}));

    ASSERT_EQ(ask.Messages.size(), 3u);
    EXPECT_EQ(ask.Messages[0].Text, "Bad file");
    EXPECT_EQ(ask.Messages[2].Answer, MessageResult::Cancel);
    EXPECT_EQ(ask.Titles, (Texts{"Open", "Save", "Oops!", "Confirm", "Size", "Font", "Font", "Open again", "Q", "In", "Font"}));
    EXPECT_EQ(ask.SaveAnswers.size(), 1u);  // left for later
    ask.Shift = true;
    EXPECT_TRUE(Ask().ShiftDown());

    // Uninstalling falls back to a scripted set without answers.
    UseRequesters(nullptr);
    EXPECT_EQ(Ask().Message("M", "t", MessageButtons::YesNo), MessageResult::Cancel);
    EXPECT_FALSE(Ask().ShiftDown());
}
