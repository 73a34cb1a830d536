// The family name a font's own "name" table gives its face.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/fontnames.h"

using namespace platform;

namespace {

std::string Be16(uint32_t value) { return {char(value >> 8), char(value & 0xFF)}; }

std::string Utf16(const std::u16string& text)
{
    std::string bytes;
    for (char16_t unit : text)
        bytes += Be16(unit);
    return bytes;
}

// A name record: platform, encoding, language, name id, the text as stored
// and, when not where the text is, the offset it gives.
struct Record {
    uint32_t Platform, Encoding, Language, Id;
    std::string Text;
    int Offset = -1;
};

// A "name" table holding `records`, `count` of them announced.
std::string NameTable(const std::vector<Record>& records, size_t count)
{
    std::string table = Be16(0) + Be16(uint32_t(count)) + Be16(uint32_t(6 + 12 * records.size())), texts;
    for (const Record& r : records) {
        table += Be16(r.Platform) + Be16(r.Encoding) + Be16(r.Language) + Be16(r.Id) + Be16(uint32_t(r.Text.size())) +
                 Be16(r.Offset < 0 ? uint32_t(texts.size()) : uint32_t(r.Offset));
        texts += r.Text;
    }
    return table + texts;
}

}  // namespace

TEST(FontNames, FamilyNameOfTheBestRecord)
{
    const Record mac{1, 0, 0, 1, "Mac Name"}, german{3, 1, 0x407, 1, Utf16(u"Deutsch")};
    const Record english{3, 1, 0x409, 1, Utf16(u"DejaVu Sans Light")}, full{3, 1, 0x409, 4, Utf16(u"Full")};
    const std::tuple<std::vector<Record>, size_t, std::string> cases[] = {
        {{mac, german, english, full}, 4, "DejaVu Sans Light"},
        {{mac, german}, 2, "Deutsch"},
        {{full, mac}, 2, "Mac Name"},
        {{{1, 0, 0, 1, "Caf\x8E"}, {0, 3, 0, 1, Utf16(u"Uni")}}, 2, "Uni"},  // Macintosh in plain ASCII only
        {{{3, 1, 0x409, 1, Utf16(u"A\U0001F600\xD800" u"B") + "!"}}, 1, "A\U0001F600\uFFFDB"},  // a lone half replaced, an odd byte dropped
        {{{3, 1, 0x409, 1, Utf16(u"Far"), 0xFFF0}, german}, 2, "Deutsch"},  // text past the end
        {{english}, 5, "DejaVu Sans Light"},  // more announced than there are
        {{{2, 0, 0, 1, "ISO"}, full}, 2, ""},
    };
    for (const auto& [records, count, name] : cases)
        EXPECT_EQ(FaceFamilyName(NameTable(records, count)), name) << name;
    for (size_t cut = 0; cut < 52; cut++)  // the table cut short anywhere
        EXPECT_EQ(FaceFamilyName(NameTable({english}, 1).substr(0, cut)), "") << cut;
}
