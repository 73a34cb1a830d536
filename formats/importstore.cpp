// The steps the font imports share around the font store.
#include "formats/importstore.h"

#include "core/editor.h"
#include "core/objects.h"
#include "platform/gui.h"
#include "platform/requesters.h"

void ResetImportedFont(State& s, int32_t currentChar)
{
    s.CharData.assign(CharTableRows, CharRow{});
    MakeCharLabels(s);
    s.FileInfo.clear();
    s.CurrentChar = currentChar;
    // Restore must not bring a glyph of the old font into the new one.
    s.SelectedGlyph.clear();
    platform::ClearItems(obj::CharList);
}

void StoreImportedGlyphs(State& s, int32_t first, const std::vector<std::string>& glyphs)
{
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const int64_t code = int64_t(first) + int64_t(i);
        if (!InTable(code))
            continue;
        s.CharData[size_t(code)][1] = glyphs[i];
        platform::AddItem(obj::CharList, -1, s.CharData[size_t(code)][2]);
    }
}

void ImportOops(const std::string& text)
{
    platform::Ask().Message("Oops!", text, platform::MessageButtons::Ok);
}
