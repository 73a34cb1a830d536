// A code-page file of any bytes, loaded as the TrueType view loads a listed
// one: the 256 entries are read over the built-in table, and an entry whose
// key the file does not name keeps its built-in value.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "capture/codepage.h"
#include "core/state.h"
#include "fuzz/input_file.h"
#include "platform/settings.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static InputFile input;
    input.Put(data, size, "CP1.inf");

    State s;
    s.ProgramFolder = input.Folder();
    platform::SettingsFile file;
    file.Open(input.Folder() + "CP1.inf");
    file.Group("CodePage");
    LoadCodePageEntries(s, file);
    file.Close();

    std::string lower(reinterpret_cast<const char*>(data), size);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
    static const char hex[] = "0123456789abcdef";
    for (int i = 0; i < 256; ++i) {
        const std::string key = std::string("chr") + hex[i >> 4] + hex[i & 15];
        if (lower.find(key) == std::string::npos && s.CodePageTable[size_t(i)] != platform::Val(CodePageDefault(i)))
            std::abort();
        // Whatever an entry holds, the chart's text for it is one character
        // or none.
        if (platform::Len(CodePointText(s.CodePageTable[size_t(i)])) > 1)
            std::abort();
    }
    if (s.CodePageTable.size() != size_t(CharTableRows) || s.CodePageTable[256] != 0)
        std::abort();

    // Chosen from the list, the same file gives the same table.
    State listed;
    listed.ProgramFolder = input.Folder();
    LoadCodePage(listed, "CP1.inf");
    if (listed.CodePageTable != s.CodePageTable)
        std::abort();
    return 0;
}
