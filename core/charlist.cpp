// The character list of the main window: selecting a character with the
// store-back of the edited glyph, stepping through the list, the labels, and
// adding and deleting characters at either end.
#include "core/editor.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/fontstore.h"
#include "core/objects.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

// The highest code a font may hold: the file formats keep codes 0 to 255.
constexpr int LastCode = 255;

// The editor follows the character at the list's position.
void BindToListCharacter(State& s)
{
    const int64_t code = int64_t(platform::GetState(obj::CharList)) + s.FontStart;
    s.CurrentChar = InTable(code) ? int32_t(code) : -1;
}

// SelectCharacter without its repaint: the edited glyph is stored back and
// the list's character loaded into the grid.
void LoadListCharacter(State& s)
{
    StoreBackGlyph(s);
    BindToListCharacter(s);
    if (s.CurrentChar >= 0) {
        s.SelectedGlyph = s.CharData[size_t(s.CurrentChar)][1];
        HexToChar(s, s.SelectedGlyph);
    }
}

void RefuseCharacter(const std::string& what)
{
    platform::Ask().Message("Oops!", what + " is not a valid character", platform::MessageButtons::Ok);
}

}  // namespace

void StoreBackGlyph(State& s)
{
    if (s.CurrentChar < 0 || !InTable(s.CurrentChar))
        return;
    std::string text = CharToHex(s);
    std::string& stored = s.CharData[size_t(s.CurrentChar)][1];
    if (text != stored) {
        s.Modified = 1;
        stored = std::move(text);
    }
}

bool AskSaveFirst(State& s)
{
    if (s.Modified != 1)
        return true;
    // Only a plain No goes on: a box closed without an answer keeps the
    // changes, as Yes does.
    const platform::MessageResult answer =
        platform::Ask().Message("Oops!", "Do you want to save changes first?", platform::MessageButtons::YesNo);
    return answer == platform::MessageResult::No;
}

void SelectCharacter(State& s)
{
    LoadListCharacter(s);
    PaintGrid(s);
}

void PreviousCharacter(State& s)
{
    const int n = platform::GetState(obj::CharList) - 1;
    if (n >= 0) {
        platform::SetState(obj::CharList, n);
        SelectCharacter(s);
    }
}

void NextCharacter(State& s)
{
    const int n = platform::GetState(obj::CharList) + 1;
    if (n < s.FontCount) {
        platform::SetState(obj::CharList, n);
        SelectCharacter(s);
    }
}

void MakeCharLabels(State& s)
{
    for (int c = 0; c <= LastCode; c++) {
        std::string label = "Chr$(" + platform::Str(c) + ")";
        if (c == 92)
            label += " backslash";
        else if (c >= 32 && c <= 126)
            label += "  " + platform::Chr(uint32_t(c));
        else
            label += " ";
        s.CharData[size_t(c)][2] = std::move(label);
    }
}

void AddCharacter(State& s, int atEnd)
{
    const bool end = atEnd == 1;
    std::string answer;
    bool asked = false;
    const int32_t previousStart = s.FontStart;

    if (s.FontStart == 0) {
        // Setting up the grid below reloads it from the table: edits of the
        // glyph in the editor go to their character first. Adding at the
        // beginning drops them anyway (the old first glyph text is put back).
        if (end)
            StoreBackGlyph(s);
        answer = platform::Ask().Input("New font", "Enter starting character ASCII value", "32");
        const int64_t value = platform::Val(answer);
        // Kept within 32 bits; anything out there is refused below anyway.
        s.FontStart = int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
        asked = true;
        SetupGrid(s);
    }

    // Ends the command without adding. A first code that was refused is
    // dropped again, so that no code outside the table is ever selected; the
    // editor stays bound to the character whose glyph it shows.
    auto giveUp = [&](bool refused) {
        if (asked && refused) {
            s.FontStart = previousStart;
            WriteStatusText(s);
        }
        if (!end)
            BindToListCharacter(s);
    };

    if (s.FontStart < 1 || s.FontStart > 253) {
        RefuseCharacter(answer);
        giveUp(true);
        return;
    }
    // The code the font would end at: beyond 255 there is no room.
    const int64_t last = int64_t(s.FontStart) + s.FontCount - (end ? 0 : 1);
    if (last > LastCode) {
        RefuseCharacter(platform::Str(last));
        giveUp(true);
        return;
    }
    if (!end && s.FontStart == 1) {
        giveUp(false);
        return;
    }

    const int32_t first = s.FontStart;
    const std::string saved = s.CharData[size_t(first)][1];
    s.FontCount++;
    if (end) {
        const int n = s.FontStart + s.FontCount - 1;
        platform::AddItem(obj::CharList, -1, "Chr$(" + platform::Str(n) + ")  " + platform::Chr(uint32_t(n)));
        platform::SetState(obj::CharList, s.FontCount - 1);
    } else {
        s.FontStart = first - 1;
        platform::AddItem(obj::CharList, 0, s.CharData[size_t(s.FontStart)][2]);
        platform::SetState(obj::CharList, 0);
    }

    // Selected and cleared, and painted once.
    LoadListCharacter(s);
    ClearCharacter(s);
    if (!end)
        s.CharData[size_t(first)][1] = saved;
    WriteStatusText(s);
}

void DeleteCharacter(State& s, int last)
{
    if (s.FontCount > 0) {
        s.FontCount--;
        if (last == 1) {
            platform::RemoveItem(obj::CharList, s.FontCount);
            platform::SetState(obj::CharList, s.FontCount - 1);
        } else {
            s.FontStart++;
            platform::RemoveItem(obj::CharList, 0);
        }
    }
    SelectCharacter(s);
    WriteStatusText(s);
}
