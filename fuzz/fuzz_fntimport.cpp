// The Windows .fnt reader on any file: the parse either refuses the file or
// gives one glyph text per code, each empty or of the padded cell's length;
// the menu command on the same file replaces the font only when the parse
// took it, and never leaves a code outside the store in the list.
#include <cstdlib>
#include <span>
#include <string>

#include "formats/fntimport.h"
#include "fuzz/import_state.h"
#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static InputFile input;
    platform::ScriptedRequesters& ask = FuzzRequesters();

    const FntFont font = ParseFntFont(std::span<const uint8_t>(data, size));
    if (font.Ok) {
        const int64_t cell = int64_t(font.Width) * font.Height;
        if (font.Width < 1 || font.Width > 1024 || font.Height < 1 || font.Height > 64 || cell % 8 != 0)
            std::abort();
        if (font.Glyphs.empty() || font.First < 0 || font.First + int64_t(font.Glyphs.size()) > 256)
            std::abort();
        for (const std::string& glyph : font.Glyphs)
            if (!glyph.empty() && glyph.size() != size_t(cell / 8 * 5))
                std::abort();
    }

    State s;
    MakeSmallFont(s);
    ask.OpenAnswers = {input.Put(data, size, "font.fnt")};
    ImportFntFont(s);
    if (!font.Ok) {
        if (!SmallFontKept(s) || ask.Messages.size() != 1)
            std::abort();
    } else if (s.FontWidth != font.Width || s.FontHeight != font.Height || s.FontStart != font.First ||
               s.FontCount != int32_t(font.Glyphs.size()) || !ask.Messages.empty()) {
        std::abort();
    }
    return 0;
}
