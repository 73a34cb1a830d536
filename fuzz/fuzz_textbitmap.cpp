// The plain-text bitmap reader on any file: every glyph it gives has the
// length of its size, and the font it gives loads into the editor.
#include <cstdlib>

#include "core/editor.h"
#include "core/glyphtext.h"
#include "formats/basfont.h"
#include "formats/readerstore.h"
#include "fuzz/input_file.h"
#include "fuzz/open_check.h"
#include "platform/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static InputFile input;
    platform::TextFileReader file;
    if (!file.Open(input.Put(data, size, "font.fnt")))
        std::abort();
    FileFontLines lines(file);
    const FontRead read = OpenTextBitmapFont(lines);
    file.Close();
    CheckFontRead(read);
    if (read.Width && read.Height) {
        const size_t length = size_t(GlyphByteCount(*read.Width, *read.Height)) * 5;
        for (const FontRead::Glyph& glyph : read.Glyphs)
            if (glyph.Text.size() != length)
                std::abort();
    } else if (!read.Glyphs.empty()) {
        std::abort();
    }

    FreshRequesters();
    State s;
    s.FontWidth = 8;
    s.FontHeight = 8;
    ResetFontForReading(s);
    StoreFontRead(s, read);
    SetupGrid(s);
    SelectCharacter(s);
    return 0;
}
