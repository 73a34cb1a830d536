// The save sequence shared by the text writers.
#include "formats/savesequence.h"

#include "core/fontstore.h"
#include "platform/files.h"
#include "platform/requesters.h"
#include "platform/text.h"

using platform::MessageButtons;
using platform::MessageResult;

void ChooseSavePath(State& s, const std::string& title, const std::string& startName,
                    const std::string& filter, const std::string& extension)
{
    for (;;) {
        s.SavePath = platform::Ask().SaveFile(title, startName, filter, 0);
        if (s.SavePath.empty()) {
            return;
        }
        if (platform::GetExtensionPart(s.SavePath).empty()) {
            s.SavePath += extension;
        }
        if (platform::FileSize(s.SavePath) <= 0) {
            return;  // no such file, an empty file or a folder
        }
        MessageResult answer = platform::Ask().Message(
            "Confirm", platform::GetFilePart(s.SavePath) + " already exists. Do you want to replace it?",
            MessageButtons::YesNoCancel);
        if (answer == MessageResult::Yes) {
            return;
        }
        if (answer != MessageResult::No) {
            s.SavePath.clear();
            return;
        }
    }
}

bool FontFitsHeader(const State& s)
{
    auto fits = [](int32_t value) { return value >= 0 && value <= 255; };
    if (fits(s.FontWidth) && fits(s.FontHeight) && fits(s.FontStart) && fits(s.FontCount)) {
        return true;
    }
    std::string text = "This font cannot be saved: its size is " + platform::Str(s.FontWidth) + " x " +
                       platform::Str(s.FontHeight) + " pixels with " + platform::Str(s.FontCount) +
                       " characters.\r\nFont files hold width, height, first code and count up to 255.";
    // A font of codes 0 to 255 (a whole Windows font, or 256 raw glyphs) is
    // one character too many: say how to save the rest.
    if (fits(s.FontWidth) && fits(s.FontHeight) && fits(s.FontStart) && s.FontCount > 255)
        text += "\r\nDelete the first or the last character (Font menu: \"Delete first Character\" or "
                "\"Delete last Character\") to save the other 255.";
    platform::Ask().Message("Oops!", text, MessageButtons::Ok);
    return false;
}

bool ChooseSaveFile(State& s, const std::string& title, const std::string& filter,
                    const std::string& extension, bool wholeFont)
{
    if (wholeFont && !FontFitsHeader(s)) {
        s.SavePath.clear();
        return false;
    }
    MakeFontHeader(s);
    ChooseSavePath(s, title, s.FontName, filter, extension);
    return !s.SavePath.empty();
}

SaveUndo CommitSave(State& s, StoreRange range)
{
    SaveUndo undo;
    undo.ModifiedBefore = s.Modified;
    s.Modified = 0;
    int limit = range == StoreRange::Codes0To255 ? 255 : CharTableRows - 1;
    if (s.CurrentChar >= 0 && s.CurrentChar <= limit) {
        std::string glyph = CharToHex(s);
        std::string& stored = s.CharData[size_t(s.CurrentChar)][1];
        undo.GlyphChanged = glyph != stored;
        stored = glyph;
    }
    return undo;
}

bool WriteSaveFile(State& s, const std::string& text, const SaveUndo& undo)
{
    platform::TextFileWriter file;
    bool written = false;
    if (file.CreateReplacing(s.SavePath)) {
        file.Write(text);
        written = file.Close();
    }
    if (written) {
        return true;
    }
    // The font is not saved: an edit stored by this command counts as unsaved.
    s.Modified = undo.ModifiedBefore != 0 || undo.GlyphChanged ? 1 : 0;
    platform::Ask().Message("Oops!", "Could not write the file " + s.SavePath, MessageButtons::Ok);
    return false;
}
