// The keyboard shortcuts of the main window, from its shortcut table, pressed
// on the program's own window through the toolkit's real key path: the
// window's shortcuts first, then the control that has the focus. What each
// menu number does is tested in test_program.cpp and the driver scripts.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/menutable.h"
#include "app/program.h"
#include "core/state.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "tests/platform/await_active.h"
#include "tests/platform/temp_folder.h"

namespace {

using platform::EventKind;

class MainShortcuts : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto requesters = std::make_unique<platform::ScriptedRequesters>();
        requesters->OnMissing = [this](const std::string& what) { missing += what + ";"; };
        platform::UseRequesters(std::move(requesters));
        ASSERT_TRUE(ProgramStart(s));
        platform::ActivateWindow(0);
        ASSERT_EQ(AwaitActive(0), 0);
        Raised();
    }
    void TearDown() override
    {
        if (platform::IsWindow(0))
            ProgramExit(s);
        platform::UseRequesters(std::make_unique<platform::ScriptedRequesters>());
    }

    // Everything in the queue (taken out), as "menu N of window W" and
    // "control N" texts.
    static std::string Raised()
    {
        std::string raised;
        for (platform::Event e = platform::WaitEvent(0); e.Kind != EventKind::None; e = platform::WaitEvent(0)) {
            if (!raised.empty())
                raised += ", ";
            if (e.Kind == EventKind::Menu)
                raised += "menu " + std::to_string(e.Object) + " of window " + std::to_string(e.Window);
            else
                raised += e.Kind == EventKind::Control ? "control " + std::to_string(e.Object) : "other event";
        }
        return raised;
    }

    void Focus(int control)
    {
        ASSERT_TRUE(platform::FocusControl(control));
        ASSERT_EQ(platform::FocusedControl(), control);
        Raised();
    }

    TempFolder folder{true};  // the settings file of the start-up lands here
    State s;
    std::string missing;
};

TEST_F(MainShortcuts, EveryKeyOfTheTableRaisesItsMenuNumber)
{
    ASSERT_EQ(MainShortcutRows().size(), 28u);
    // Whichever control of the main window has the focus: the list, the
    // canvas or the Restore button.
    for (int control : {12, 1, 11}) {
        Focus(control);
        for (const ShortcutRow& shortcut : MainShortcutRows()) {
            SCOPED_TRACE("key " + std::to_string(shortcut.Key) + " with control " + std::to_string(control) +
                         " focused");
            platform::PressKey(0, shortcut.Key);
            EXPECT_EQ(Raised(), "menu " + std::to_string(shortcut.Number) + " of window 0");
        }
    }
    EXPECT_EQ(missing, "");
}

TEST_F(MainShortcuts, ArrowsStepThroughTheListAndOtherKeysStillReachIt)
{
    // Three characters, 32 to 34, the last one selected.
    for (int i = 0; i < 2; i++) {
        platform::PressKey(0, platform::KeyInsert);
        ASSERT_TRUE(ProgramPass(s));
    }
    ASSERT_EQ(s.CurrentChar, 34);

    // The arrow runs through the program's loop once, with the list focused.
    Focus(12);
    platform::PressKey(0, platform::KeyLeft);
    ASSERT_TRUE(ProgramPass(s));
    EXPECT_EQ(s.CurrentChar, 33);
    EXPECT_EQ(platform::GetState(12), 1);
    EXPECT_EQ(Raised(), "");

    // Keys that are no shortcut still reach the list: Up moves its selection.
    platform::PressKey(0, platform::KeyUp);
    EXPECT_EQ(Raised(), "control 12");
    EXPECT_EQ(platform::GetState(12), 0);
    EXPECT_EQ(missing, "");
}

}  // namespace
