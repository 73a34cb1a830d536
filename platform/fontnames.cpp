#include "platform/fontnames.h"

#include <algorithm>
#include <cstdint>

#include "platform/requesters.h"
#include "platform/text.h"

namespace platform {

namespace {

// A big-endian 16-bit field; 0 past the end.
uint32_t Field(std::string_view data, size_t at)
{
    if (at > data.size() || data.size() - at < 2)
        return 0;
    return uint32_t(uint8_t(data[at])) << 8 | uint8_t(data[at + 1]);
}

// UTF-16BE text as UTF-8; a lone surrogate becomes U+FFFD.
std::string FromUtf16(std::string_view text)
{
    std::string out;
    for (size_t at = 0; at + 1 < text.size(); at += 2) {
        uint32_t unit = Field(text, at), low = Field(text, at + 2);
        if (unit >= 0xD800 && unit < 0xDC00 && low >= 0xDC00 && low < 0xE000 && at + 3 < text.size()) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            at += 2;
        }
        out += Chr(unit);
    }
    return out;
}

}  // namespace

std::string FaceFamilyName(std::string_view table)
{
    const size_t count = Field(table, 2), strings = Field(table, 4);
    std::string best;
    int bestRank = 4;  // lower is better
    for (size_t i = 0; i < count && 6 + 12 * i + 12 <= table.size(); i++) {
        const size_t record = 6 + 12 * i;
        const uint32_t platform = Field(table, record), encoding = Field(table, record + 2);
        const uint32_t language = Field(table, record + 4), length = Field(table, record + 8);
        const size_t offset = strings + Field(table, record + 10);
        if (Field(table, record + 6) != 1 || offset > table.size() || table.size() - offset < length)
            continue;
        const int rank = platform == 3 ? (language == 0x409 ? 0 : 1) : platform == 0 ? 2 : platform == 1 && encoding == 0 ? 3 : 4;
        const std::string_view text = table.substr(offset, length);
        if (rank >= bestRank || (rank == 3 && std::any_of(text.begin(), text.end(), [](char c) { return uint8_t(c) >= 0x80; })))
            continue;
        const std::string name = rank == 3 ? std::string(text) : FromUtf16(text);
        if (!name.empty()) {
            best = name;
            bestRank = rank;
        }
    }
    return best;
}

int FaceStyleBits(std::string_view os2, std::string_view head)
{
    // fsSelection: bit 0 italic, bit 5 bold; macStyle: bit 0 bold, bit 1 italic.
    if (os2.size() >= 64) {
        const uint32_t selection = Field(os2, 62);
        return (selection & 0x20 ? StyleBold : 0) | (selection & 1 ? StyleItalic : 0);
    }
    if (head.size() >= 46) {
        const uint32_t style = Field(head, 44);
        return (style & 1 ? StyleBold : 0) | (style & 2 ? StyleItalic : 0);
    }
    return 0;
}

}  // namespace platform
