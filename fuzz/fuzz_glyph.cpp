// The glyph codec on any text: the first two bytes give the glyph's size, the
// rest is decoded into the grid. The grid holds only 0 and 1 afterwards, and
// encoding, decoding and encoding again gives the same text.
#include <cstdlib>
#include <string>

#include "core/fontstore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    State s;
    s.FontWidth = 1 + data[0] % 130;
    s.FontHeight = 1 + data[1] % 130;
    s.Grid.Create(s.FontWidth + 2, s.FontHeight + 2);
    HexToChar(s, std::string(reinterpret_cast<const char*>(data) + 2, size - 2));
    for (int32_t cell : s.Grid.Cells)
        if (cell != 0 && cell != 1)
            std::abort();
    const std::string text = CharToHex(s);
    if (text.size() != size_t(s.FontWidth * s.FontHeight / 8) * 5)
        std::abort();

    State again;
    again.FontWidth = s.FontWidth;
    again.FontHeight = s.FontHeight;
    again.Grid.Create(s.FontWidth + 2, s.FontHeight + 2);
    HexToChar(again, text);
    if (CharToHex(again) != text)
        std::abort();
    return 0;
}
