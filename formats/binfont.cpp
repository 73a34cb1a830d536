// The raw binary font import: window 91 that asks for the geometry, the
// reading of its fields, and the import itself.
#include "formats/binfont.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/editor.h"
#include "core/fontstore.h"
#include "core/glyphpixels.h"
#include "core/objects.h"
#include "formats/readerstore.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/text.h"

namespace {

constexpr int64_t LargestSide = 1024;
constexpr int64_t LastCode = 255;

// Window 91's controls.
constexpr int WidthField = 93;
constexpr int HeightField = 95;
constexpr int FirstField = 97;
constexpr int CountField = 99;
constexpr int StartField = 101;
constexpr int SaveButton = 102;

struct WindowRow {
    int Number;
    bool Field;  // a text field, else a label
    const char* Text;
    int Y;
};

// Each label stands left of its field, one row every 40 pixels.
constexpr WindowRow WindowRows[] = {
    {92, false, "Font width:", 10},      {WidthField, true, "8", 10},
    {94, false, "Font height:", 50},     {HeightField, true, "16", 50},
    {96, false, "First character:", 90}, {FirstField, true, "32", 90},
    {98, false, "Character count:", 130}, {CountField, true, "64", 130},
    {100, false, "New font start:", 170}, {StartField, true, "32", 170},
};

int32_t ToInt32(int64_t value)
{
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

int32_t FieldValue(int control)
{
    return ToInt32(platform::Val(platform::GetText(control)));
}

int64_t BytesPerRow(const BinSettings& settings)
{
    return (int64_t(settings.Width) + 7) / 8;
}

int64_t BytesPerGlyph(const BinSettings& settings)
{
    return BytesPerRow(settings) * settings.Height;
}

// One glyph from byte p of the file: rows of `perRow` bytes, each turned
// round so that its last byte in the file comes first (the leftmost pixels).
std::string DecodeGlyph(std::span<const uint8_t> file, int64_t p, const BinSettings& settings)
{
    const int64_t perRow = BytesPerRow(settings);
    const int64_t height = settings.Height;
    std::vector<uint8_t> rows(size_t(perRow * height));
    auto fileByte = [&](int64_t at) { return at < int64_t(file.size()) ? file[size_t(at)] : uint8_t(0); };
    bool leadingZero = true;
    for (int64_t r = 0; r < height; ++r) {
        uint8_t* row = &rows[size_t(r * perRow)];
        for (int64_t k = 0; k < perRow; ++k)
            row[perRow - 1 - k] = fileByte(p + r * perRow + k);
        leadingZero = leadingZero && row[0] == 0;
    }
    if (leadingZero) {
        for (int64_t r = 0; r < height; ++r) {
            uint8_t* row = &rows[size_t(r * perRow)];
            std::copy(row + 1, row + perRow, row);
            row[perRow - 1] = 0;
        }
    }

    // The pixels, row after row; a partial last byte is left out.
    std::vector<uint8_t> pixels(size_t(settings.Width * height));
    for (int64_t r = 0; r < height; ++r) {
        const uint8_t* row = &rows[size_t(r * perRow)];
        for (int64_t x = 0; x < settings.Width; ++x)
            pixels[size_t(r * settings.Width + x)] = row[x >> 3] >> (7 - (x & 7)) & 1;
    }
    std::string text;
    GlyphPixels().Pack(pixels.data(), int64_t(pixels.size()), text);
    return text;
}

// The first `limit` bytes of the file (fewer when it is shorter); false when
// it cannot be read.
bool ReadFileStart(const std::string& path, int64_t limit, std::vector<uint8_t>& bytes)
{
    const platform::FileRead read = platform::ReadWholeFile(path, bytes, limit);
    return read == platform::FileRead::Done || read == platform::FileRead::TooLarge;
}

}  // namespace

BinSettings BinSettingsOf(const State& s)
{
    return BinSettings{s.BinWidth, s.BinHeight, s.BinOffset, s.BinCount, s.BinStart};
}

std::string BinSettingsProblem(const BinSettings& settings)
{
    const std::string sides = " must be a number from 1 to " + platform::Str(LargestSide) + ".";
    if (settings.Width < 1 || settings.Width > LargestSide)
        return "Font width" + sides;
    if (settings.Height < 1 || settings.Height > LargestSide)
        return "Font height" + sides;
    if (settings.Offset < 0)
        return "First character must not be negative.";
    if (settings.Count < 0)
        return "Character count must not be negative.";
    if (settings.Start < 0 || settings.Start > LastCode)
        return "New font start must be a number from 0 to " + platform::Str(LastCode) + ".";
    return {};
}

int32_t BinCountThatFits(const BinSettings& settings)
{
    return int32_t(std::min<int64_t>(settings.Count, LastCode + 1 - int64_t(settings.Start)));
}

int64_t BinBytesUsed(const BinSettings& settings)
{
    return (int64_t(settings.Offset) + BinCountThatFits(settings)) * BytesPerGlyph(settings);
}

BinGlyphs DecodeBinFont(std::span<const uint8_t> file, const BinSettings& settings)
{
    BinGlyphs result;
    result.Problem = BinSettingsProblem(settings);
    if (!result.Problem.empty())
        return result;
    const int64_t perGlyph = BytesPerGlyph(settings);
    const int32_t count = BinCountThatFits(settings);
    for (int64_t i = 0; i < count; ++i) {
        const int64_t p = (int64_t(settings.Offset) + i) * perGlyph;
        if (int64_t(file.size()) < p)
            break;
        result.Glyphs.push_back(DecodeGlyph(file, p, settings));
    }
    return result;
}

void OpenBinImportWindow(State& s)
{
    const int x = ToInt32(int64_t(s.MainX) + 30);
    const int y = ToInt32(int64_t(s.MainY) + 80);
    if (!platform::OpenWindow(obj::BinarySpecsWindow, x, y, 170, 250, "Binary file specifications",
                              platform::WindowTitleBar | platform::WindowSystemMenu))
        return;
    for (const WindowRow& row : WindowRows) {
        if (row.Field)
            platform::StringControl(obj::BinarySpecsWindow, row.Number, 110, row.Y, 50, 25, row.Text);
        else
            platform::TextControl(obj::BinarySpecsWindow, row.Number, 10, row.Y, 100, 25, row.Text);
    }
    platform::ButtonControl(obj::BinarySpecsWindow, SaveButton, 110, 210, 50, 25, "Save");
}

void GetBinImportSettings(State& s)
{
    s.BinWidth = FieldValue(WidthField);
    s.BinHeight = FieldValue(HeightField);
    s.BinOffset = FieldValue(FirstField);
    if (s.BinOffset > 0)
        s.BinOffset--;
    s.BinCount = FieldValue(CountField);
    // Whole bytes per row; the division truncates toward zero, so 0 gives 8.
    s.BinWidth8 = ToInt32(((int64_t(s.BinWidth) - 1) / 8 + 1) * 8);
    s.BinStart = FieldValue(StartField);
}

void OpenBinFont(State& s)
{
    const BinSettings settings = BinSettingsOf(s);
    if (const std::string problem = BinSettingsProblem(settings); !problem.empty()) {
        ReaderOops(problem);
        return;
    }
    const int32_t count = BinCountThatFits(settings);
    if (count < settings.Count)
        ReaderOops("Only " + platform::Str(count) + " characters fit from code " + platform::Str(settings.Start) +
                   " to code " + platform::Str(LastCode) + ": the character count is cut to " +
                   platform::Str(count) + ".");

    std::vector<uint8_t> file;
    const bool read = ReadFileStart(s.FontPath, BinBytesUsed(settings), file);

    ResetFontForReading(s, settings.Start);
    s.FontStart = settings.Start;
    s.FontHeight = settings.Height;
    s.FontWidth = settings.Width;
    s.FontCount = count;
    platform::SetState(obj::CharList, 0);
    SetupGrid(s);
    if (!read) {
        ReaderOops("Could not read the file " + s.FontPath);
        return;
    }

    StoreGlyphs(s, settings.Start, DecodeBinFont(file, settings).Glyphs);
    s.CurrentChar = settings.Start;
    s.SelectedGlyph = s.CharData[size_t(s.CurrentChar)][1];
    HexToChar(s, s.SelectedGlyph);
    PaintGrid(s);
    platform::SetState(obj::CharList, 0);
    RequestViewFont(s, ViewFontIfOpen);
}

void BinImportWindowEvent(State& s)
{
    const platform::Event& e = s.Event;
    const bool answered = e.Kind == platform::EventKind::CloseWindow ||
                          (e.Kind == platform::EventKind::Control && e.Object == SaveButton);
    // An event still queued when the window was answered (a second click on
    // "Save") finds it closed and must not import again from empty fields.
    if (!answered || !platform::IsWindow(obj::BinarySpecsWindow))
        return;
    GetBinImportSettings(s);
    platform::CloseWindow(obj::BinarySpecsWindow);
    OpenBinFont(s);
}
