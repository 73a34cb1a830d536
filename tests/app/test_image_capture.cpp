// Character from Image on the running program: pictures of each kind
// written by the tests, the threshold window with its keys, the copy into
// the editor, refused files, and a glyph size that changes under the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "core/fontstore.h"
#include "platform/gui.h"
#include "platform/image.h"
#include "platform/requesters.h"
#include "tests/app/pattern_picture.h"
#include "tests/platform/await_active.h"
#include "tests/platform/temp_folder.h"

namespace {

using platform::EventKind;
using platform::Image;

// Scripted answers that also keep what the open requester was given.
struct Recording : platform::ScriptedRequesters {
    std::string Start = "?";
    std::string Filter;
    std::string OpenFile(const std::string& title, const std::string& start, const std::string& filter,
                         int position) override
    {
        Start = start;
        Filter = filter;
        return ScriptedRequesters::OpenFile(title, start, filter, position);
    }
};

enum class Kind { Png, Jpeg, Bmp };

class ImageCapture : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto requesters = std::make_unique<Recording>();
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

    void Start(int w = 16, int h = 24)
    {
        folder.Put("Glyphery.inf", "[Font]\r\nFont Width = " + std::to_string(w) + "\r\nFont Height = " +
                                       std::to_string(h) + "\r\n");
        ASSERT_TRUE(ProgramStart(s));
        ASSERT_EQ(s.FontWidth, w);
    }
    bool Dispatch(EventKind kind, int window, int object = -1)
    {
        s.Event = platform::Event{kind, window, object};
        return DispatchEvent(s);
    }
    void Menu(int number) { Dispatch(EventKind::Menu, 0, number); }
    void Key(int number, int times = 1)
    {
        for (int i = 0; i < times; i++)
            Dispatch(EventKind::Menu, 81, number);
    }
    // Chooses a picture through "Character from Image".
    void Choose(const std::string& path)
    {
        ask->OpenAnswers.push_back(path);
        Menu(60);
    }
    // The pattern picture written as a file of that kind.
    std::string PatternPicture(Kind kind, int w, int h, int mid = 255)
    {
        return Save(::PatternPicture(w, h, mid), kind);
    }
    std::string Save(const Image& picture, Kind kind)
    {
        const char* names[] = {"picture.png", "picture.jpg", "picture.bmp"};
        const std::string path = folder.Path(names[int(kind)]);
        const bool saved = kind == Kind::Png    ? platform::SavePng(picture, path)
                           : kind == Kind::Jpeg ? platform::SaveJpeg(picture, path, 100)
                                                : platform::SaveBmp(picture, path);
        EXPECT_TRUE(saved) << path;
        return path;
    }
    std::vector<std::string> GridRows() const
    {
        std::vector<std::string> rows;
        for (int y = 0; y < s.FontHeight; y++) {
            std::string row;
            for (int x = 0; x < s.FontWidth; x++)
                row += s.Grid(x, y) == 1 ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }
    // Canvas 83 as rows of the glyph size, each pixel a 2 x 2 block of one
    // colour ("?" when the block is not one colour of black or white).
    static std::vector<std::string> ResultRows(int w, int h)
    {
        const Image shown = platform::GetCanvasImage(83);
        std::vector<std::string> rows;
        for (int y = 0; y < h; y++) {
            std::string row;
            for (int x = 0; x < w; x++) {
                const platform::Rgb c = shown.Get(2 * x, 2 * y);
                const bool block = shown.Get(2 * x + 1, 2 * y) == c && shown.Get(2 * x, 2 * y + 1) == c &&
                                   shown.Get(2 * x + 1, 2 * y + 1) == c;
                row += !block ? '?' : c == 0xFFFFFF ? '#' : c == 0 ? '.' : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }

    TempFolder folder{true};
    State s;
    Recording* ask = nullptr;
    std::string missing;
};

// The whole command on each kind of picture: the window, its canvases, the
// result, and Return copying it into the grid but not into the font.
TEST_F(ImageCapture, EachKindOfPictureGivesTheKnownGlyph)
{
    Start();
    // Border column 16 and row 24 of the grid hold pixels that stay.
    s.Grid(16, 3) = 1;
    s.Grid(5, 24) = 1;
    const std::string stored = s.CharData[32][1];
    const auto expected = PatternRows(16, 24, [](int g) { return g > 0; });
    for (Kind kind : {Kind::Png, Kind::Jpeg, Kind::Bmp}) {
        SCOPED_TRACE("picture kind " + std::to_string(int(kind)));
        const std::string path = PatternPicture(kind, 16, 24);
        Choose(path);
        EXPECT_EQ(s.ImagePath, path);
        ASSERT_TRUE(platform::IsWindow(81));
        EXPECT_EQ(platform::GetWindowTitle(81), "Region threshold");
        const Image* glyph = platform::GetImage(s.ImageNumber);
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(std::pair(glyph->Width, glyph->Height), std::pair(16, 24));
        if (kind != Kind::Jpeg) {
            Image picture;
            ASSERT_TRUE(platform::LoadImageFile(path, picture));
            EXPECT_TRUE(platform::GetCanvasImage(82).Pixels == picture.Pixels);
        }
        EXPECT_EQ(ResultRows(16, 24), expected);

        for (int y = 0; y < 24; y++)
            for (int x = 0; x < 16; x++)
                s.Grid(x, y) = (x + y) % 2;
        Key(89);
        EXPECT_EQ(GridRows(), expected);
        EXPECT_EQ(s.Grid(16, 3), 1);
        EXPECT_EQ(s.Grid(5, 24), 1);
        EXPECT_EQ(s.CharData[32][1], stored);
        EXPECT_EQ(s.Modified, 0);
        EXPECT_TRUE(platform::IsWindow(81));  // stays open
    }
    EXPECT_EQ(ask->Titles, std::vector<std::string>(3, "Image"));
    EXPECT_EQ(ask->Start, "");
    EXPECT_EQ(ask->Filter, "Image File|*.bmp;*.jpg;*.png|All files (*.*)|*.*");
    EXPECT_TRUE(ask->Messages.empty());
    EXPECT_TRUE(missing.empty());
}

// The window is 400 wide up to a glyph width of 99 and 4W beyond, with the
// preview and the result side by side.
TEST_F(ImageCapture, WindowAndCanvasSizes)
{
    const struct {
        int w, h;
        std::string window, preview, result;
    } cases[] = {
        {16, 24, "400 x 48", "0,0 32 x 48", "32,0 32 x 48"},
        {128, 16, "512 x 32", "0,0 256 x 32", "256,0 256 x 32"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        Start(c.w, c.h);
        Choose(PatternPicture(Kind::Png, c.w, c.h));
        auto place = [](int control) {
            return std::to_string(platform::ControlX(control)) + "," + std::to_string(platform::ControlY(control)) +
                   " " + std::to_string(platform::ControlWidth(control)) + " x " +
                   std::to_string(platform::ControlHeight(control));
        };
        EXPECT_EQ(std::to_string(platform::WindowWidth(81)) + " x " + std::to_string(platform::WindowHeight(81)),
                  c.window);
        EXPECT_EQ(place(82), c.preview);
        EXPECT_EQ(place(83), c.result);
        EXPECT_EQ(ResultRows(c.w, c.h), PatternRows(c.w, c.h, [](int g) { return g > 0; }));
        ProgramExit(s);
        EXPECT_FALSE(platform::IsWindow(81));
        s = State();
    }
}

// The picture is scaled without keeping its shape: 300 x 100 fills the
// 32 x 48 preview, left half red and right half blue.
TEST_F(ImageCapture, WidePictureFillsThePreview)
{
    Start();
    Image picture(300, 100, platform::RGB(255, 0, 0));
    picture.FillRect(150, 0, 150, 100, platform::RGB(0, 0, 255));
    Choose(Save(picture, Kind::Png));
    const Image preview = platform::GetCanvasImage(82);
    ASSERT_EQ(std::pair(preview.Width, preview.Height), std::pair(32, 48));
    for (int y : {0, 47}) {
        EXPECT_EQ(preview.Get(0, y), platform::RGB(255, 0, 0)) << y;
        EXPECT_EQ(preview.Get(15, y), platform::RGB(255, 0, 0)) << y;
        EXPECT_EQ(preview.Get(16, y), platform::RGB(0, 0, 255)) << y;
        EXPECT_EQ(preview.Get(31, y), platform::RGB(0, 0, 255)) << y;
    }
}

// Right, Left, Up and Down step in double precision and store in single
// precision, then hold at their bounds.
TEST_F(ImageCapture, KeysStepAndStopAtTheBounds)
{
    const struct {
        const char* what;
        int key, times;
        float State::*value;
        float expected;
    } cases[] = {
        // 0.02f + 4 x 0.01: not the single nearest to 0.06 (0x1.eb851ep-5),
        // nor what stepping in single precision gives (0x1.eb851cp-5).
        {"Right x 4", 84, 4, &State::ThresholdLevel, 0x1.eb852p-5f},
        {"Right x 98", 84, 98, &State::ThresholdLevel, 0x1.ffffeap-1f},  // just below 1
        {"Right x 99", 84, 99, &State::ThresholdLevel, 1.0f},
        {"Right x 150", 84, 150, &State::ThresholdLevel, 1.0f},
        {"Left", 85, 1, &State::ThresholdLevel, 0x1.47ae14p-7f},
        {"Left x 2", 85, 2, &State::ThresholdLevel, 0.0f},  // -2.2e-10 is raised to 0
        {"Left x 5", 85, 5, &State::ThresholdLevel, 0.0f},
        {"Up x 10", 86, 10, &State::ThresholdWindow, 0x1.fffffcp-1f},
        {"Up x 11", 86, 11, &State::ThresholdWindow, 1.0f},
        {"Down x 100", 87, 100, &State::ThresholdWindow, 0.0f},
    };
    Start();
    const std::string path = PatternPicture(Kind::Png, 16, 24);
    for (const auto& c : cases) {
        s.ThresholdLevel = 0.02f;
        s.ThresholdWindow = 0.9f;
        Choose(path);
        Key(c.key, c.times);
        EXPECT_EQ(s.*c.value, c.expected) << c.what;
        EXPECT_EQ(s.OtherThreshold, 0.45f) << c.what;
        EXPECT_EQ(s.ThresholdMode, 1) << c.what;
    }
}

// Space swaps the levels and the mode and names the mode in the title; in
// plain mode Up and Down change nothing, not even the picture.
TEST_F(ImageCapture, SpaceSwitchesModesAndUpDownRestInPlainMode)
{
    Start();
    Choose(PatternPicture(Kind::Png, 16, 24, 200));
    // Region threshold, s = 4: grey 200 at (0, 2) is white, but at (0, 23)
    // its square takes in rows 24 to 27 of the canvas, still white from its
    // making: 200 x 32 < 0.98 x (2530 + 16 x 255).
    EXPECT_EQ(ResultRows(16, 24)[2][0], '#');
    EXPECT_EQ(ResultRows(16, 24)[23][0], '.');
    Key(84, 3);
    const float region = s.ThresholdLevel;

    Key(88);
    EXPECT_EQ(s.ThresholdMode, 0);
    EXPECT_EQ(s.ThresholdLevel, 0.45f);
    EXPECT_EQ(s.OtherThreshold, region);
    EXPECT_EQ(platform::GetWindowTitle(81), "Threshold");
    // Plain at 0.45: 200 and 255 are white.
    EXPECT_EQ(ResultRows(16, 24), PatternRows(16, 24, [](int g) { return g > 0; }, 200));

    // A mark on the result stays through Up and Down.
    ASSERT_TRUE(platform::StartDrawingCanvas(83));
    platform::Plot(0, 1, platform::RGB(1, 2, 3));
    platform::StopDrawing();
    Key(86, 3);
    Key(87, 2);
    EXPECT_EQ(s.ThresholdWindow, 0.9f);
    EXPECT_EQ(platform::GetCanvasImage(83).Get(0, 1), platform::RGB(1, 2, 3));

    // Right to the top: only grey 255 is white now, and Return copies that.
    Key(84, 60);
    EXPECT_EQ(s.ThresholdLevel, 1.0f);
    const auto top = PatternRows(16, 24, [](int g) { return g == 255; }, 200);
    EXPECT_EQ(ResultRows(16, 24), top);
    Key(89);
    EXPECT_EQ(GridRows(), top);

    Key(88);
    EXPECT_EQ(s.ThresholdMode, 1);
    EXPECT_EQ(s.ThresholdLevel, region);
    EXPECT_EQ(s.OtherThreshold, 1.0f);
    EXPECT_EQ(platform::GetWindowTitle(81), "Region Threshold");
    Key(88);
    Key(88);
    EXPECT_EQ(std::tuple(s.ThresholdLevel, s.OtherThreshold, s.ThresholdMode), std::tuple(region, 1.0f, 1));
    EXPECT_EQ(platform::GetWindowTitle(81), "Region Threshold");
}

// The settings carry over a close and a reopening (whose title is always
// "Region threshold") and never reach the settings file.
TEST_F(ImageCapture, SettingsLastForTheProgramOnly)
{
    Start();
    const std::string path = PatternPicture(Kind::Png, 16, 24);
    Choose(path);
    Key(88);
    Key(85, 5);
    const float level = s.ThresholdLevel;
    Dispatch(EventKind::CloseWindow, 81);
    EXPECT_FALSE(platform::IsWindow(81));
    Choose(path);
    EXPECT_EQ(platform::GetWindowTitle(81), "Region threshold");
    EXPECT_EQ(std::tuple(s.ThresholdLevel, s.OtherThreshold, s.ThresholdMode), std::tuple(level, 0.02f, 0));
    ProgramExit(s);
    EXPECT_FALSE(platform::IsWindow(81));
    const std::string settings = TempFolder::Read(folder.Path("Glyphery.inf"));
    EXPECT_NE(settings.find("Font Width"), std::string::npos);
    EXPECT_EQ(settings.find("hreshold"), std::string::npos);
}

// Return copies into the character in the editor; the store-back takes it
// into the font when another character is selected.
TEST_F(ImageCapture, ReturnIntoTwoCharacters)
{
    Start();
    Menu(49);  // characters 32 and 33, 33 in the editor
    Menu(65);  // back to 32
    ASSERT_EQ(s.CurrentChar, 32);
    Choose(PatternPicture(Kind::Bmp, 16, 24));
    Key(89);
    Menu(64);  // to 33: 32 is stored back
    EXPECT_EQ(s.Modified, 1);
    const std::string glyph = s.CharData[32][1];
    EXPECT_EQ(GridRows(), std::vector<std::string>(24, std::string(16, '.')));
    Key(89);
    Menu(65);
    EXPECT_EQ(s.CharData[33][1], glyph);
    EXPECT_EQ(GridRows(), PatternRows(16, 24, [](int g) { return g > 0; }));
    EXPECT_TRUE(missing.empty());
}

// The window's keys as the user presses them on it.
TEST_F(ImageCapture, KeysOfTheWindow)
{
    Start();
    Choose(PatternPicture(Kind::Png, 16, 24));
    platform::ActivateWindow(81);
    ASSERT_EQ(AwaitActive(81), 81);
    while (platform::WaitEvent(0).Kind != EventKind::None) {
    }
    const std::pair<int, int> keys[] = {{platform::KeyRight, 84}, {platform::KeyLeft, 85}, {platform::KeyUp, 86},
                                        {platform::KeyDown, 87},  {' ', 88},                {platform::KeyReturn, 89}};
    for (const auto& [key, number] : keys) {
        platform::PressKey(81, key);
        const platform::Event e = platform::WaitEvent(0);
        EXPECT_EQ(std::tuple(int(e.Kind), e.Window, e.Object), std::tuple(int(EventKind::Menu), 81, number))
            << "key " << key;
    }
}

// A file that is no picture we can read: "Oops!", no window (an open one is
// closed with its picture), and nothing else changes.
TEST_F(ImageCapture, RefusedFiles)
{
    Start();
    std::string png;
    {
        const std::string good = PatternPicture(Kind::Png, 16, 24);
        png = TempFolder::Read(good);
    }
    // A BMP header of 100000 x 100000 pixels of 24 bits and nothing after it.
    std::string huge = "BM";
    auto le32 = [&huge](uint32_t v) {
        for (int i = 0; i < 4; i++)
            huge += char(v >> (8 * i) & 255);
    };
    le32(54);
    le32(0);
    le32(54);
    le32(40);
    le32(100000);
    le32(100000);
    huge += std::string("\x01\x00\x18\x00", 4);
    le32(0);
    le32(0);
    le32(2835);
    le32(2835);
    le32(0);
    le32(0);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"text.png", "This is no picture.\r\n"},
        {"empty.bmp", ""},
        {"half.png", png.substr(0, png.size() / 2)},
        {"bad.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x02", 6) + std::string(200, '\x55')},
        {"huge.bmp", huge},
    };
    Menu(49);
    s.Grid(3, 4) = 1;
    const State before = s;
    const std::string good = PatternPicture(Kind::Png, 16, 24);
    for (const auto& c : cases) {
        for (bool open : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (open ? " with the window open" : ""));
            if (open)
                Choose(good);
            const int old = s.ImageNumber;
            ASSERT_EQ(platform::IsWindow(81), open);
            ask->Messages.clear();
            const std::string path = folder.Put(c.name, c.bytes);
            Choose(path);
            ASSERT_EQ(ask->Messages.size(), 1u);
            EXPECT_EQ(ask->Messages[0].Title, "Oops!");
            EXPECT_EQ(ask->Messages[0].Text, "Could not read the image " + path);
            EXPECT_FALSE(platform::IsWindow(81));
            EXPECT_EQ(s.ImageNumber, -1);
            if (old >= 0) {
                EXPECT_FALSE(platform::IsImage(old));
            }
            EXPECT_EQ(s.Grid.Cells, before.Grid.Cells);
            EXPECT_EQ(s.CharData, before.CharData);
            EXPECT_EQ(std::tuple(s.Modified, s.CurrentChar, s.FontCount, s.ThresholdLevel, s.ThresholdMode),
                      std::tuple(before.Modified, before.CurrentChar, before.FontCount, before.ThresholdLevel,
                                 before.ThresholdMode));
        }
    }
    // A cancelled requester leaves an open window as it is.
    Choose(good);
    ask->Messages.clear();
    Choose("");
    EXPECT_TRUE(platform::IsWindow(81));
    EXPECT_TRUE(ask->Messages.empty());
}

// Every picture held is the one window 81 shows: reopening and closing
// release the one before.
TEST_F(ImageCapture, ThePictureBeforeIsReleased)
{
    Start();
    auto held = [] {
        std::vector<int> numbers;
        for (int n = 1000; n < 1020; n++)
            if (platform::IsImage(n))
                numbers.push_back(n);
        return numbers;
    };
    Choose(PatternPicture(Kind::Png, 16, 24));
    EXPECT_EQ(held(), std::vector<int>{s.ImageNumber});
    Choose(PatternPicture(Kind::Bmp, 16, 24));
    EXPECT_EQ(held(), std::vector<int>{s.ImageNumber});
    Dispatch(EventKind::CloseWindow, 81);
    EXPECT_FALSE(platform::IsWindow(81));
    EXPECT_TRUE(held().empty());
}

// A command that changes the glyph size closes window 81; one that keeps it
// leaves the window open. A key of the window that was queued before
// changes nothing afterwards.
TEST_F(ImageCapture, GlyphSizeChangeClosesTheWindow)
{
    const struct {
        const char* what;
        int menu;
        std::vector<std::string> inputs;
        bool closes;
    } cases[] = {
        {"New", 36, {"32", "8 x 16"}, true},
        {"Resize", 61, {"16 x 16"}, true},
        {"Double Size", 53, {}, true},
        {"Double Width", 54, {}, true},
        {"New of the same size", 36, {"65", "16 x 24"}, false},
        {"Centre font", 62, {}, false},
    };
    Start();
    const std::string path = PatternPicture(Kind::Png, 16, 24);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramExit(s);
        s = State();
        Start();
        Choose(path);
        const int number = s.ImageNumber;
        for (const std::string& answer : c.inputs)
            ask->InputAnswers.push_back(answer);
        Menu(c.menu);
        EXPECT_EQ(platform::IsWindow(81), !c.closes);
        EXPECT_EQ(platform::IsImage(number), !c.closes);
        if (!c.closes)
            continue;
        EXPECT_EQ(s.ImageNumber, -1);
        const std::vector<int32_t> cells = s.Grid.Cells;
        Key(89);
        Key(84);
        EXPECT_EQ(s.Grid.Cells, cells);
        EXPECT_EQ(s.ThresholdLevel, 0.02f);
    }
    EXPECT_TRUE(missing.empty());
}

}  // namespace
