// "Save char as GUI Bitmap string": the glyph in the editor as BASIC source
// that builds its bytes in myBm$, on the clipboard and, when a name is
// chosen, in a .bas file. Also the "File Info" box.
#include "formats/guibitmap.h"

#include "formats/savesequence.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

using platform::Str;

static const char* const CrLf = "\r\n";
static const char* const LineStart = "  myBm$=myBm$";

// The text built from the glyph area of `Grid`.
static std::string GuiBitmapText(const State& s)
{
    std::string text = "  myBm$ = \"\"";
    text += CrLf;
    std::string line = LineStart;
    const int64_t w = s.FontWidth;
    int value = 0;
    for (int y = 0; y < s.FontHeight; ++y) {
        for (int x = 0; x < s.FontWidth; ++x) {
            int k = int((w * y + x) % 8);
            if (k == 0) {
                value = 0;
            }
            if (s.Grid.Inside(x, y) && s.Grid(x, y) == 1) {
                value += 1 << (7 - k);
            }
            if (k == 7) {
                line += "+CHR$(" + Str(value) + ")";
            }
            if (line.size() > 70) {
                text += line + CrLf;
                line = LineStart;
            }
        }
    }
    text += line + CrLf;
    text += "  ' End Define bitmap";
    text += CrLf;
    text += CrLf;
    text += "  ' GUI BITMAP 0,0,myBm$," + Str(s.FontWidth) + "," + Str(s.FontHeight) + CrLf;
    return text;
}

void SaveCharAsGuiBitmap(State& s)
{
    bool chosen = ChooseSaveFile(s, "gui.BAS file to save", "BAS File|*.bas|All files (*.*)|*.*", ".bas", false);
    std::string text = GuiBitmapText(s);
    platform::SetClipboardText(text);
    if (!chosen) {
        return;
    }
    SaveUndo undo = CommitSave(s, StoreRange::AnyCode);
    WriteSaveFile(s, "  ' " + platform::GetFilePart(s.SavePath) + CrLf + text, undo);
}

void ShowFileInfo(State& s)
{
    platform::Ask().Message("File Info", s.FileInfo, platform::MessageButtons::Ok);
}
