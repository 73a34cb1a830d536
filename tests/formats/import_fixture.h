// Shared set-up of the import tests: the writers' fixture with a main window
// holding the character list, so that what an import lists can be read, and
// a glyph text shown as rows of pixels.
#pragma once

#include <string>
#include <vector>

#include "core/glyphtext.h"
#include "core/objects.h"
#include "formats/binfont.h"
#include "platform/gui.h"
#include "writers_fixture.h"

// A glyph text as `h` rows of `w` pixels, "#" set and "." clear; pixels past
// the text's last whole byte are clear.
inline std::vector<std::string> GlyphRows(const std::string& text, int w, int h)
{
    const std::vector<uint8_t> bytes = GlyphBytes(text, (int64_t(w) * h + 7) / 8);
    std::vector<std::string> rows(size_t(h), std::string(size_t(w), '.'));
    const size_t whole = size_t(int64_t(w) * h / 8);
    for (int64_t bit = 0; bit < int64_t(w) * h; ++bit)
        if (size_t(bit / 8) < whole && (bytes[size_t(bit / 8)] >> (7 - bit % 8) & 1))
            rows[size_t(bit / w)][size_t(bit % w)] = '#';
    return rows;
}

class ImportTest : public WritersTest {
protected:
    void SetUp() override
    {
        WritersTest::SetUp();
        ASSERT_TRUE(platform::InitGui());
        ASSERT_TRUE(platform::OpenWindow(obj::MainWindow, 0, 0, 400, 300, "Glyphery", platform::WindowTitleBar));
        ASSERT_TRUE(platform::ComboBoxControl(obj::MainWindow, obj::CharList, 235, 8, 100, 25));
    }
    void TearDown() override
    {
        platform::CloseWindow(obj::MainWindow);
        WritersTest::TearDown();
    }

    // A raw font file of these bytes, in FontPath.
    void PutBinFile(const std::vector<uint8_t>& bytes)
    {
        WriteFile(PathOf("font.bin"), std::string(bytes.begin(), bytes.end()));
        s.FontPath = PathOf("font.bin");
    }
    // Window 91 opened and answered with these field texts, by its "Save"
    // button or by its close box.
    void AnswerBinWindow(const std::vector<std::string>& fields, bool closeBox = false)
    {
        OpenBinImportWindow(s);
        const int controls[] = {93, 95, 97, 99, 101};
        for (size_t i = 0; i < fields.size(); ++i)
            platform::SetText(controls[i], fields[i]);
        s.Event = closeBox ? platform::Event{platform::EventKind::CloseWindow, 91}
                           : platform::Event{platform::EventKind::Control, 91, 102, platform::ControlEvent::LeftClick};
        BinImportWindowEvent(s);
    }

    // The texts of the character list.
    static std::vector<std::string> ListItems()
    {
        std::vector<std::string> items;
        for (int i = 0; i < platform::CountItems(obj::CharList); ++i)
            items.push_back(platform::GetItemText(obj::CharList, i));
        return items;
    }

    // The state that an import refused must leave as it was.
    struct FontSnapshot {
        int32_t Width, Height, Start, Count, Current, Modified;
        std::vector<CharRow> CharData;
        std::string FontName, FileInfo;
        std::vector<std::string> List;
        bool operator==(const FontSnapshot&) const = default;
    };
    FontSnapshot Snapshot() const
    {
        return {s.FontWidth, s.FontHeight, s.FontStart, s.FontCount, s.CurrentChar, s.Modified,
                s.CharData,  s.FontName,   s.FileInfo,  ListItems()};
    }
    // A small font of 8 x 2 glyphs at codes 65 to 67, listed, with a preamble,
    // code 65 the one Restore goes back to.
    void MakeListedFont()
    {
        MakeFont(8, 2, 65, 3);
        s.FileInfo = "//P\r\n";
        s.FontName = "old";
        s.SelectedGlyph = s.CharData[65][1];
        platform::ClearItems(obj::CharList);
        for (int c = 65; c < 68; ++c)
            platform::AddItem(obj::CharList, -1, s.CharData[size_t(c)][2]);
    }
};
