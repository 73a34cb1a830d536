// Start-up, the main window with its menus, the event dispatch, the quit
// check and the exit steps, on the real GUI layer (offscreen). What the
// menu commands do to the font is followed end to end by the driver scripts
// in tests/scripts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <sys/wait.h>

#include "app/fontview.h"
#include "app/program.h"
#include "core/fontstore.h"
#include "formats/binfont.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"
#include "tests/platform/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::ButtonLeft;
using platform::ButtonRight;
using platform::ControlEvent;
using platform::EventKind;

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto requesters = std::make_unique<platform::ScriptedRequesters>();
        ask = requesters.get();
        ask->OnMissing = [this](const std::string& what) { missing += what + ";"; };
        platform::UseRequesters(std::move(requesters));
    }
    void TearDown() override
    {
        if (platform::IsWindow(0))
            ProgramExit(s);
        platform::UseRequesters(std::make_unique<platform::ScriptedRequesters>());
    }

    // Dispatches one event as the loop would after its wait.
    bool Dispatch(EventKind kind, int window, int object = -1, ControlEvent type = ControlEvent::None, int x = 0,
                  int y = 0, int buttons = 0, int wheel = 0)
    {
        s.Event = platform::Event{kind, window, object, type, x, y, buttons, wheel};
        return DispatchEvent(s);
    }
    bool Menu(int number) { return Dispatch(EventKind::Menu, 0, number); }
    bool Canvas(ControlEvent type, int x, int y, int buttons = 0)
    {
        return Dispatch(EventKind::Control, 0, 1, type, x, y, buttons);
    }

    TempFolder folder{true};  // where "Glyphery.inf" is read and written
    State s;
    platform::ScriptedRequesters* ask = nullptr;
    std::string missing;
};

// The driver's edit_session dumps the start-up font, state and status.
TEST_F(ProgramTest, StartUpValues)
{
    // Start-up sets every value itself, whatever the state held before.
    s.FontStart = 99;
    s.Modified = 1;
    s.CharData[40][1] = "old";
    s.RecentFiles = {"old"};
    ASSERT_TRUE(ProgramStart(s));
    EXPECT_EQ(s.FontStart, 32);
    EXPECT_EQ(s.Modified, 0);
    EXPECT_EQ(s.CharData[40][1], "");
    EXPECT_TRUE(s.RecentFiles.empty());
    EXPECT_EQ(s.DefaultPreamble, MakeDefaultPreamble());
    EXPECT_EQ(s.FileInfo, s.DefaultPreamble);
    EXPECT_EQ(s.ProgramFolder.back(), '/');
    EXPECT_EQ(s.Grid.Columns, 18);
    EXPECT_EQ(s.Grid.Rows, 26);
    EXPECT_EQ(platform::GetText(11), "Restore");
    EXPECT_TRUE(ask->Titles.empty());
}

TEST_F(ProgramTest, WindowAndControlPlacesAndGlyphSizeFromSettings)
{
    auto place = [](int control) {
        return std::to_string(platform::ControlX(control)) + "," + std::to_string(platform::ControlY(control)) +
               " " + std::to_string(platform::ControlWidth(control)) + "x" +
               std::to_string(platform::ControlHeight(control));
    };
    folder.Put("Glyphery.inf", "[Windows]\r\nMainX = 150\r\nMainY = 120\r\n");
    ASSERT_TRUE(ProgramStart(s));
    EXPECT_EQ(platform::WindowX(0), 150);
    EXPECT_EQ(platform::WindowY(0), 120);
    // Fitted to the 16 x 24 glyph.
    EXPECT_EQ(platform::WindowWidth(0), 345);
    EXPECT_EQ(platform::WindowHeight(0), 315);
    EXPECT_EQ(place(11), "180,8 50x25");
    EXPECT_EQ(place(12), "235,8 100x25");
    EXPECT_EQ(place(40), "5,12 172x25");
    EXPECT_EQ(place(2).substr(0, 6), "10,40 ");
    EXPECT_EQ(place(1), "0,0 160x240");
    ProgramExit(s);

    folder.Put("Glyphery.inf", "[Font]\r\nFont Width = 32\r\nFont Height = 50\r\nFont Scale = 4\r\n");
    s = State();
    ASSERT_TRUE(ProgramStart(s));
    EXPECT_EQ(s.CellSize, 10);  // chosen again for the glyph size
    EXPECT_EQ(platform::WindowWidth(0), 365);
    EXPECT_EQ(platform::WindowHeight(0), 575);
    EXPECT_EQ(platform::GetText(40), "32 x 50      Chr$(32) to Chr$(32)");
}

TEST_F(ProgramTest, MenuItemTexts)
{
    ASSERT_TRUE(ProgramStart(s));
    auto blanks = [](int n) { return std::string(size_t(n), ' '); };
    const std::pair<int, std::string> items[] = {
        {17, "Open" + blanks(3) + "^O"}, {36, "New"}, {37, "Import TTF Font"}, {38, "Import FNT Font"},
        {29, "Save as 8bit C"}, {30, "Save as 32bit C"}, {31, "Save as BAS"}, {32, "Save as BAS (Proportional)"},
        {33, "Save as FNT (CMM2)"}, {35, "Save char as GUI Bitmap string"}, {68, "View font" + blanks(3) + "^A"},
        {39, "Quit"}, {49, "Add Character" + blanks(3) + "^N"},
        {50, "Add Character to beginning" + blanks(3) + "^Insert"},
        {51, "Delete last Character" + blanks(3) + "^X"}, {52, "Delete first Character" + blanks(2) + "^Delete"},
        {53, "Double Size font" + blanks(3) + "^2"}, {54, "Double Width font" + blanks(2) + "^W"},
        {61, "Resize font"}, {62, "Centre font"}, {63, "Left align font"}, {45, "Shift font Right Alt-Right"},
        {46, "Shift font Left" + blanks(2) + "Alt-Left"}, {47, "Shift font Up" + blanks(4) + "Alt-Up"},
        {48, "Shift font Down" + blanks(2) + "Alt-Down"}, {9, "Copy" + blanks(12) + "^C"},
        {10, "Paste" + blanks(11) + "^V"}, {11, "Restore"}, {41, "Shift Right" + blanks(5) + "^Right"},
        {42, "Shift Left" + blanks(6) + "^Left"}, {43, "Shift Up" + blanks(8) + "^Up"},
        {44, "Shift Down" + blanks(6) + "^Down"}, {55, "Flip Right-Left ^M"}, {56, "Flip Up-Down" + blanks(4) + "^H"},
        {57, "Rotate Right" + blanks(4) + "^R"}, {58, "Rotate Left" + blanks(5) + "^L"},
        {59, "Inverse" + blanks(9) + "^I"}, {66, "Outline" + blanks(9) + "^E"}, {60, "Character from Image"},
        {64, ""}, {65, ""},  // shortcuts only
    };
    for (const auto& [number, text] : items)
        EXPECT_EQ(platform::GetMenuItemText(3, number), text) << "item " << number;
    for (int item = 19; item <= 28; ++item)
        EXPECT_EQ(platform::GetMenuItemText(3, item), "-") << "item " << item;
}

TEST_F(ProgramTest, QuitRightAfterStartAsksNothing)
{
    ASSERT_TRUE(ProgramStart(s));
    EXPECT_TRUE(Dispatch(EventKind::None, -1));  // a timeout does nothing
    EXPECT_FALSE(Menu(39));
    EXPECT_TRUE(ask->Messages.empty());
    EXPECT_EQ(s.Modified, 0);
}

// The close box and "Quit" behave alike: stored work asks; Yes stays, No
// exits. The editor is bound to the character it shows from the start, so a
// drawing made right away is stored at the quit check like any other.
class QuitTest : public ProgramTest, public ::testing::WithParamInterface<bool> {
protected:
    bool Quit() { return GetParam() ? Dispatch(EventKind::CloseWindow, 0) : Menu(39); }
};

TEST_P(QuitTest, ChangedWorkAsksFirst)
{
    ASSERT_TRUE(ProgramStart(s));
    ASSERT_TRUE(Canvas(ControlEvent::LeftClick, 15, 25, ButtonLeft));
    EXPECT_EQ(s.Grid(1, 2), 1);

    ask->MessageAnswers.push_back(platform::MessageResult::Yes);
    EXPECT_TRUE(Quit());
    ASSERT_EQ(ask->Messages.size(), 1u);
    EXPECT_EQ(ask->Messages[0].Title + " " + ask->Messages[0].Text, "Oops! Do you want to save changes first?");
    EXPECT_EQ(s.QuitRequested, 0);
    EXPECT_EQ(s.Modified, 1);
    EXPECT_EQ(s.CharData[32][1].substr(0, 25), "0x00,0x00,0x00,0x00,0x40,");  // stored back at the quit check

    // The loop goes on: a timeout asks nothing more.
    EXPECT_TRUE(Dispatch(EventKind::None, -1));
    EXPECT_EQ(ask->Messages.size(), 1u);

    ask->MessageAnswers.push_back(platform::MessageResult::No);
    EXPECT_FALSE(Quit());
    EXPECT_EQ(ask->Messages.size(), 2u);
    EXPECT_TRUE(missing.empty());
}

INSTANTIATE_TEST_SUITE_P(CloseBoxAndMenu, QuitTest, ::testing::Bool());

// Clicks, left drags and both-button drags run in the driver's edit_session.
TEST_F(ProgramTest, RightDragClearsAndOtherWindowsDoNotPaint)
{
    ASSERT_TRUE(ProgramStart(s));
    Canvas(ControlEvent::MouseMove, 35, 10, ButtonLeft);
    EXPECT_EQ(s.Grid(3, 1), 1);
    Canvas(ControlEvent::MouseMove, 35, 10, ButtonRight);
    EXPECT_EQ(s.Grid(3, 1), 0);

    // Other windows' controls with the same number do nothing here.
    Dispatch(EventKind::Control, 69, 1, ControlEvent::LeftClick, 45, 5, ButtonLeft);
    Dispatch(EventKind::Control, 5, 1, ControlEvent::LeftClick, 45, 5, ButtonLeft);
    EXPECT_EQ(s.Grid(4, 0), 0);
}

TEST_F(ProgramTest, WheelScrollsOnlyWhenTheGlyphDoesNotFit)
{
    folder.Put("Glyphery.inf", "[Font]\r\nFont Width = 16\r\nFont Height = 48\r\n");
    ASSERT_TRUE(ProgramStart(s));
    const int glyph = s.FontHeight * s.CellSize;
    auto wheel = [&](int notches) { Dispatch(EventKind::Control, 0, 1, ControlEvent::Wheel, 5, 5, 0, notches); };

    // Too small for the glyph: the wheel scrolls by 10 pixels a notch.
    platform::ResizeWindow(0, platform::WindowX(0), platform::WindowY(0), 345, 300);
    Dispatch(EventKind::SizeWindow, 0);
    for (int pass = 0; pass < 5; ++pass)
        ProgramPass(s);
    ASSERT_LE(platform::WindowHeight(0, false) - 94, glyph);
    // The size event fitted the scroll area to the window.
    EXPECT_EQ(platform::ControlWidth(2), platform::WindowWidth(0, false) - 20);
    EXPECT_EQ(platform::ControlHeight(2), platform::WindowHeight(0, false) - 95);
    platform::SetScrollAreaY(2, 100);
    ASSERT_EQ(platform::ScrollAreaY(2), 100);
    wheel(2);
    EXPECT_EQ(platform::ScrollAreaY(2), 80);
    wheel(-1);
    EXPECT_EQ(platform::ScrollAreaY(2), 90);

    // Large enough: nothing happens.
    platform::ResizeWindow(0, platform::WindowX(0), platform::WindowY(0), 345, glyph + 200);
    Dispatch(EventKind::SizeWindow, 0);
    ASSERT_GT(platform::WindowHeight(0, false) - 94, glyph);
    int now = platform::ScrollAreaY(2);
    wheel(1);
    EXPECT_EQ(platform::ScrollAreaY(2), now);
}

TEST_F(ProgramTest, RestoreButtonAndNumbersWithoutAnAction)
{
    ASSERT_TRUE(ProgramStart(s));
    Canvas(ControlEvent::LeftClick, 5, 5, ButtonLeft);
    EXPECT_EQ(s.Grid(0, 0), 1);
    Dispatch(EventKind::Control, 0, 11, ControlEvent::LeftClick);
    EXPECT_EQ(s.Grid(0, 0), 0);

    // Numbers without an action and "&Recent" items without a file do
    // nothing.
    for (int number : {0, 19, 28, 34, 67, 99})
        EXPECT_TRUE(Menu(number));
    EXPECT_TRUE(missing.empty());
    EXPECT_EQ(s.FontCount, 1);
    EXPECT_EQ(s.Modified, 0);
}

// Window 91 opens beside the main window's place as read at start-up, with
// its fields at their defaults each time; the loop hands its events to the
// import, which runs on the close box as on "Save".
TEST_F(ProgramTest, BinaryFileWindow)
{
    folder.Put("Glyphery.inf", "[Windows]\r\nMainX = 150\r\nMainY = 120\r\n");
    ASSERT_TRUE(ProgramStart(s));
    platform::ResizeWindow(0, 400, 300, 345, 315);
    OpenBinImportWindow(s);
    platform::SetText(93, "4");
    OpenBinImportWindow(s);
    EXPECT_EQ(platform::GetWindowTitle(91), "Binary file specifications");
    EXPECT_EQ(std::vector<int>({platform::WindowX(91), platform::WindowY(91), platform::WindowWidth(91),
                                platform::WindowHeight(91)}),
              std::vector<int>({180, 200, 170, 250}));
    std::vector<std::string> controls;
    for (const platform::ControlInfo& c : platform::WindowControls(91))
        controls.push_back(std::to_string(c.Number) + " " + std::to_string(int(c.Kind)) + " " + std::to_string(c.X) +
                           "," + std::to_string(c.Y) + " " + std::to_string(c.Width) + "x" +
                           std::to_string(c.Height) + " " + c.Text);
    const int label = int(platform::ControlKind::Label);
    const int field = int(platform::ControlKind::Field);
    auto row = [](int n, int kind, int x, int y, int w, const std::string& text) {
        return std::to_string(n) + " " + std::to_string(kind) + " " + std::to_string(x) + "," + std::to_string(y) +
               " " + std::to_string(w) + "x25 " + text;
    };
    EXPECT_EQ(controls, (std::vector<std::string>{
                            row(92, label, 10, 10, 100, "Font width:"), row(93, field, 110, 10, 50, "8"),
                            row(94, label, 10, 50, 100, "Font height:"), row(95, field, 110, 50, 50, "16"),
                            row(96, label, 10, 90, 100, "First character:"), row(97, field, 110, 90, 50, "32"),
                            row(98, label, 10, 130, 100, "Character count:"), row(99, field, 110, 130, 50, "64"),
                            row(100, label, 10, 170, 100, "New font start:"), row(101, field, 110, 170, 50, "32"),
                            row(102, int(platform::ControlKind::Button), 110, 210, 50, "Save")}));

    s.FontPath = folder.Put("font.bin", "\xF0\x90");
    for (auto [control, text] : {std::pair{95, "1"}, {97, "1"}, {99, "2"}, {101, "65"}})
        platform::SetText(control, text);
    EXPECT_TRUE(Dispatch(EventKind::Control, 91, 95, ControlEvent::Change));
    EXPECT_TRUE(platform::IsWindow(91));
    EXPECT_TRUE(Dispatch(EventKind::CloseWindow, 91));
    EXPECT_FALSE(platform::IsWindow(91));
    EXPECT_EQ(s.CharData[66][1], "0x90,");
    EXPECT_EQ(platform::CountItems(12), 2);
    EXPECT_EQ(platform::GetText(40), "8 x 1      Chr$(65) to Chr$(66)");
    EXPECT_TRUE(missing.empty());
}

// Adding a character before the first keeps what was drawn on the character
// in the editor, and the new item gets its label.
TEST_F(ProgramTest, AddingAtTheBeginningKeepsTheEditorsDrawing)
{
    ASSERT_TRUE(ProgramStart(s));
    Menu(49);  // 32 and 33; 33 selected
    Canvas(ControlEvent::LeftClick, 5, 5, ButtonLeft);
    Menu(50);
    EXPECT_EQ(s.FontStart, 31);
    EXPECT_EQ(platform::GetItemText(12, 0), "Chr$(31) ");
    EXPECT_EQ(s.CharData[33][1].substr(0, 5), "0x80,");
    EXPECT_EQ(s.CharData[32][1].substr(0, 5), "0x00,");  // the old first character is untouched
    EXPECT_EQ(s.Modified, 1);
}

TEST_F(ProgramTest, ExitKeepsFontViewGeometryAndWritesSettings)
{
    ASSERT_TRUE(ProgramStart(s));
    platform::ResizeWindow(0, 77, 66, 400, 350);
    ViewFont(s);
    ASSERT_TRUE(platform::IsWindow(69));
    platform::ResizeWindow(69, 50, 60, 300, 220);
    ProgramExit(s);
    EXPECT_FALSE(platform::IsWindow(69));
    EXPECT_FALSE(platform::IsWindow(0));
    std::string text = TempFolder::Read("Glyphery.inf");
    EXPECT_NE(text.find("MainX = 77\r\nMainY = 66\r\nMainW = 400\r\nMainH = 350\r\n"), std::string::npos);
    EXPECT_NE(text.find("FontX = 50\r\nFontY = 60\r\nFontW = 300\r\nFontH = 220\r\n"), std::string::npos);
    EXPECT_NE(text.find("Font Width = 16\r\nFont Height = 24\r\nFont Scale = 10\r\n"), std::string::npos);
}

// The whole program: a close request right after start-up ends the process
// with exit code 0 after writing the settings file.
TEST(ProgramMainTest, CloseBoxEndsTheProcessWithZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child process runs this test again up to the statement: it finds
    // the folder through the environment instead of making another one.
    if (!std::getenv("GLYPHERY_MAIN_TEST_DIR")) {
        std::string pattern = (fs::temp_directory_path() / "glyphery-main-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        setenv("GLYPHERY_MAIN_TEST_DIR", pattern.c_str(), 1);
    }
    const fs::path dir = std::getenv("GLYPHERY_MAIN_TEST_DIR");
    EXPECT_EXIT(
        {
            fs::current_path(dir);
            platform::InitGui();
            platform::PostEvent(platform::Event{EventKind::CloseWindow, 0});
            State s;
            ProgramMain(s);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(fs::exists(dir / "Glyphery.inf"));
    std::error_code error;
    fs::remove_all(dir, error);
    unsetenv("GLYPHERY_MAIN_TEST_DIR");
}

// The scripted driver works in GLYPHERY_DRIVER_DIR and refuses what it
// cannot do, naming the line.
TEST_F(ProgramTest, DriverFolderAndFailures)
{
    auto run = [&](const std::string& script) {
        folder.Put("test.script", script);
        std::string command = "GLYPHERY_DRIVER_DIR='" + folder.Dir() + "' QT_QPA_PLATFORM=offscreen '" +
                              std::string(GLYPHERY_DRIVER) + "' test.script > out.txt 2> err.txt";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("# nothing but a look\n\nidle\n"), 0);
    EXPECT_TRUE(fs::exists("Glyphery.inf"));

    // "Quit" asks about the drawing; no answer is queued.
    EXPECT_EQ(run("event 0 1 left 3 3\nidle\nmenu 39\ndump state\n"), 1);
    EXPECT_NE(TempFolder::Read("out.txt").find("message Oops! | Do you want to save changes first?"),
              std::string::npos);
    EXPECT_EQ(TempFolder::Read("out.txt").find("current"), std::string::npos);  // the run stopped there
    EXPECT_NE(TempFolder::Read("err.txt").find("line 3"), std::string::npos);

    EXPECT_EQ(run("idle\nfrobnicate 3\n"), 1);
    EXPECT_NE(TempFolder::Read("err.txt").find("line 2"), std::string::npos);
    for (const char* bad : {"event 0 1 sideways\n", "menu x\n", "menu 99999999999\n", "shortcut 0\n",
                            "set 0 40 1\n", "set 0 99 0\n", "set 0 12 1\n", "dump canvas 0 1\n"})
        EXPECT_EQ(run(bad), 1) << bad;
    EXPECT_NE(TempFolder::Read("err.txt").find("line 1"), std::string::npos);

    // The canvas dump writes what Font View shows: the sheet, at its size.
    EXPECT_EQ(run("event 0 1 left 5 5\nmenu 68\ndump sheet sheet.png\ndump canvas 69 70 shown.png\n"
                  "answer message no\n"),
              0);
    platform::Image sheet, shown;
    ASSERT_TRUE(platform::LoadImageFile("sheet.png", sheet));
    ASSERT_TRUE(platform::LoadImageFile("shown.png", shown));
    EXPECT_EQ(std::pair(shown.Width, shown.Height), std::pair(sheet.Width, sheet.Height));
    EXPECT_TRUE(shown.Pixels == sheet.Pixels);
}

}  // namespace
