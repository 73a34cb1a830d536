// Character from Image through the scripted driver, on a picture written
// by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <sys/wait.h>

#include "platform/image.h"
#include "tests/app/pattern_picture.h"
#include "tests/platform/temp_folder.h"

namespace {

// The scripted driver on a picture written here: pick it, Space, Right,
// Return, the next character, Return, save; then a New of another size
// closes the window.
TEST(ImageCaptureScript, PickTuneCopyTwiceAndSave)
{
    TempFolder folder;
    ASSERT_TRUE(platform::SavePng(PatternPicture(8, 8, 200), folder.Path("picture.png")));
    folder.Put("test.script",
               "answer input 32\nanswer input 8 x 8\nmenu 36\nmenu 49\nmenu 65\n"
               "answer open picture.png\nmenu 60\ndump window 81\n"
               "shortcut 81 88\nshortcut 81 84\ndump window 81\nshortcut 81 89\n"
               "dump canvas 81 83 result.png\ndump grid\n"
               "menu 64\nshortcut 81 89\nmenu 65\ndump state\n"
               "answer save font.c\nmenu 29\ndump file font.c\n"
               "answer input 32\nanswer input 8 x 16\nmenu 36\ndump window 81\nanswer message no\n");
    const std::string command = "cd '" + folder.Dir() + "' && GLYPHERY_DRIVER_DIR='" + folder.Dir() +
                                "' QT_QPA_PLATFORM=offscreen '" + std::string(GLYPHERY_DRIVER) +
                                "' test.script > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << TempFolder::Read(folder.Path("err.txt"));
    const std::string out = TempFolder::Read(folder.Path("out.txt"));
    // Plain threshold at 0.45 + 0.01: grey 200 and 255 are white.
    const std::string pattern = ".##.##.#\n#.##.##.\n##.##.##\n.##.##.#\n#.##.##.\n##.##.##\n.##.##.#\n#.##.##.\n";
    const std::string window = " 400 x 16 at 200,392\n"
                               "  82 canvas 0,0 16 x 16 \"\" 0\n"
                               "  83 canvas 16,0 16 x 16 \"\" 0\n";
    const std::string shown = "window 81 \"Region threshold\"" + window + "window 81 \"Threshold\"" + window +
                              "canvas 81 83 16 x 16\n" + pattern +
                              "current 32\nmodified 1\nlist 0\ntitle Glyphery\n"
                              "status 8 x 8      Chr$(32) to Chr$(33)\n";
    EXPECT_EQ(out.substr(0, shown.size()), shown);
    // The saved font: both characters hold the pattern, row after row.
    const std::string glyph = "0x6D,0xB6,0xDB,0x6D,0xB6,0xDB,0x6D,0xB6,";
    EXPECT_NE(out.find(glyph + " // Chr$(32)   \\r\\n" + glyph + " // Chr$(33)  !\\r\\n"), std::string::npos);
    const std::string end = "window 81: not open\nmessage Oops! | Do you want to save changes first?\n-> no\n";
    EXPECT_EQ(out.substr(out.size() - std::min(out.size(), end.size())), end);
    platform::Image result;
    ASSERT_TRUE(platform::LoadImageFile(folder.Path("result.png"), result));
    EXPECT_EQ(std::pair(result.Width, result.Height), std::pair(16, 16));
    EXPECT_EQ(result.Get(1, 1), 0u);       // (0, 0) black, two times enlarged
    EXPECT_EQ(result.Get(2, 0), 0xFFFFFFu);  // (1, 0) white
}

}  // namespace
