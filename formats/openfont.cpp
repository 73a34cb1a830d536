// The Open command and its dispatch by extension, the "&Recent" items and the
// scanning reader.
#include "formats/openfont.h"

#include "core/editor.h"
#include "core/objects.h"
#include "core/recentfiles.h"
#include "formats/basfont.h"
#include "formats/binfont.h"
#include "formats/cfont.h"
#include "formats/readerstore.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

void OpenFontFile(State& s, const std::string& path)
{
    StoreBackGlyph(s);
    if (!AskSaveFirst(s))
        return;
    s.Modified = 0;

    if (path.empty())
        s.FontPath = platform::Ask().OpenFile("font.c, font.BAS or font.BIN file to modify.", s.DataFolder,
                                              "C/BAS/BIN/FNT File|*.c;*.bas;*.bin;*.fnt|All files (*.*)|*.*", 0);
    else
        s.FontPath = path;

    if (!s.FontPath.empty()) {
        // Recorded before anything is read, so a file that cannot be read
        // is still the newest recent file.
        AddRecentFile(s, s.FontPath);
        s.FileTitle = platform::GetFilePart(s.FontPath);
        s.FontName = platform::GetFilePartNoExtension(s.FontPath);
        s.DataFolder = platform::GetPathPart(s.FontPath);
        const std::string extension = platform::UCase(platform::GetExtensionPart(s.FontPath));
        if (extension == "BAS" || extension == "FNT") {
            OpenBasFont(s);
        } else if (extension == "C") {
            OpenCFont(s);
        } else if (extension == "BIN") {
            // The import runs later, when its window is answered.
            OpenBinImportWindow(s);
        } else {
            ScanFontFile(s);
        }
    }

    // Whatever happened above, the editor shows the font's first character.
    ShowFontRead(s, s.FileTitle);
}

void OpenRecentFile(State& s, int n)
{
    if (n < 0 || size_t(n) >= s.RecentFiles.size())
        return;
    const std::string path = s.RecentFiles[size_t(n)];
    if (!path.empty())
        OpenFontFile(s, path);
}

void ScanFontFile(State& s)
{
    ReadFontFile(s, ScanFontLines);
}

FontRead ScanFontLines(FontLines& lines)
{
    bool cArray = false;
    bool defineFont = false;
    do {
        const std::string line = platform::Trim(lines.Next());
        cArray = StartsWithWord(line, "fontdatatype");
        defineFont = !cArray && StartsWithWord(line, "definefont");
    } while (!cArray && !defineFont && !lines.AtEnd());
    // Only blanks are removed from the lines of either block; tabs stay.
    if (cArray)
        return ReadCArray(lines, false);
    if (defineFont)
        return ReadDefineFontBlock(lines, false);
    FontRead read;
    read.ErrorReading = true;
    return read;
}
