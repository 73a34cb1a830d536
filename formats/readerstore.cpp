// The steps the font readers and imports share around the font store.
#include "formats/readerstore.h"

#include "core/editor.h"
#include "core/objects.h"
#include "platform/gui.h"
#include "platform/requesters.h"

void ResetFontForReading(State& s, int32_t currentChar)
{
    s.CharData.assign(CharTableRows, CharRow{});
    MakeCharLabels(s);
    s.FileInfo.clear();
    s.CurrentChar = currentChar;
    s.SelectedGlyph.clear();
    platform::ClearItems(obj::CharList);
}

void ListCharacter(State& s, int32_t code)
{
    if (InTable(code))
        platform::AddItem(obj::CharList, -1, s.CharData[size_t(code)][2]);
}

void StoreGlyphs(State& s, int32_t first, const std::vector<std::string>& glyphs)
{
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const int64_t code = int64_t(first) + int64_t(i);
        if (!InTable(code))
            continue;
        s.CharData[size_t(code)][1] = glyphs[i];
        ListCharacter(s, int32_t(code));
    }
}

void ShowFontRead(State& s, const std::string& name)
{
    SetupGrid(s);
    platform::SetState(obj::CharList, 0);
    SelectCharacter(s);
    s.Modified = 0;
    RequestViewFont(s, ViewFontIfOpen);
    platform::SetWindowTitle(obj::MainWindow, "Glyphery - " + name);
}

void ReaderOops(const std::string& text)
{
    platform::Ask().Message("Oops!", text, platform::MessageButtons::Ok);
}
