// The settings reader on any file: reading every kind of key, then writing
// values back and reading them again from the file it wrote.
#include <cstdlib>
#include <string>

#include "fuzz/input_file.h"
#include "platform/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static InputFile input;
    const std::string path = input.Put(data, size, "Glyphery.inf");

    platform::SettingsFile file;
    file.Open(path);
    // The groups and keys the program reads, and a group named by the input.
    std::string named(reinterpret_cast<const char*>(data), size < 12 ? size : 12);
    for (const std::string& group : {std::string("Windows"), std::string("Font"), std::string("Recent Files"), named}) {
        file.Group(group);
        for (const char* key : {"MainX", "Font Width", "MRUFile0", "Data Folder", ""}) {
            file.ReadInt(key, 7);
            file.ReadText(key, "default");
        }
    }
    // What is written reads back, whatever else the file held.
    const int64_t number = size ? int64_t(data[0]) * 1000003 - 99999999 : 5;
    file.Group("Fuzz");
    file.WriteInt("Number", number);
    file.WriteText("Text", "a value = with; [signs]");
    file.WriteComment(named);
    if (!file.Close())
        std::abort();
    platform::SettingsFile again;
    if (!again.Open(path))
        std::abort();
    again.Group("fuzz");
    if (again.ReadInt("number", 0) != number || again.ReadText("TEXT", "") != "a value = with; [signs]")
        std::abort();
    again.Close();
    return 0;
}
