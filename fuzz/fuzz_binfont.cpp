// The raw binary import on any file and any fields: the first ten bytes of
// the input are the five fields (width, height, first character, count, new
// font start) as signed 16-bit numbers, the rest is the file. Fields that
// cannot be used change nothing; otherwise every stored glyph has the
// glyph size's length, no code passes 255, and the bytes the import reads
// from the file are all it needs.
#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>

#include "formats/binfont.h"
#include "fuzz/import_state.h"
#include "fuzz/input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static InputFile input;
    platform::ScriptedRequesters& ask = FuzzRequesters();
    if (size < 10)
        return 0;
    int32_t fields[5];
    for (int i = 0; i < 5; ++i)
        fields[i] = int16_t(uint16_t(data[2 * i] | data[2 * i + 1] << 8));
    const std::span<const uint8_t> file(data + 10, size - 10);

    State s;
    MakeSmallFont(s);
    s.BinWidth = fields[0];
    s.BinHeight = fields[1];
    s.BinOffset = fields[2] > 0 ? fields[2] - 1 : fields[2];
    s.BinCount = fields[3];
    s.BinStart = fields[4];
    s.FontPath = input.Put(file.data(), file.size(), "font.bin");
    OpenBinFont(s);

    const BinSettings settings = BinSettingsOf(s);
    const BinGlyphs read = DecodeBinFont(file, settings);
    if (!read.Problem.empty()) {
        if (!SmallFontKept(s) || ask.Messages.size() != 1)
            std::abort();
        return 0;
    }
    if (s.FontStart != settings.Start || s.FontCount > 256 - s.FontStart || int64_t(read.Glyphs.size()) > s.FontCount)
        std::abort();
    const size_t length = size_t(int64_t(settings.Width) * settings.Height / 8 * 5);
    for (size_t i = 0; i < read.Glyphs.size(); ++i)
        if (read.Glyphs[i].size() != length || s.CharData[size_t(settings.Start) + i][1] != read.Glyphs[i])
            std::abort();
    // The file cut after the bytes the import uses gives the same glyphs.
    const int64_t used = std::min<int64_t>(BinBytesUsed(settings), int64_t(file.size()));
    if (DecodeBinFont(file.first(size_t(used)), settings).Glyphs != read.Glyphs)
        std::abort();
    return 0;
}
