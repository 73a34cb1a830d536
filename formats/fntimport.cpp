// "Import FNT Font": the version 2.0 header and character table, the glyph
// bitmaps cut from the column strips, each glyph put into the padded cell.
#include "formats/fntimport.h"

#include <algorithm>

#include "core/editor.h"
#include "core/glyphpixels.h"
#include "core/objects.h"
#include "formats/readerstore.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/requesters.h"
#include "platform/text.h"

namespace {

constexpr int64_t TallestGlyph = 60;
constexpr int64_t WidestGlyph = 1024;

uint32_t Little(std::span<const uint8_t> file, size_t at, int bytes)
{
    uint32_t value = 0;
    for (int k = bytes - 1; k >= 0; --k)
        value = value << 8 | file[at + size_t(k)];
    return value;
}

// Pixel row i of all bitmap strips side by side. The strips run one every
// `height` bytes from the first bitmap up to the one that starts at the face
// name (always at least one) and stop at the end of the file; position k of
// a row is bit 7 - k mod 8 of byte i of strip k div 8. Positions outside the
// strips are clear. The rows are read straight from the file's bytes, so no
// strip is decoded twice.
class BitRows {
public:
    BitRows(std::span<const uint8_t> file, int64_t bits, int64_t face, int64_t height)
        : file_(file), bits_(bits), height_(height)
    {
        const int64_t toFace = face >= bits ? (face - bits) / height + 1 : 1;
        const int64_t toEnd = (int64_t(file.size()) - bits + height - 1) / height;
        strips_ = std::min(toFace, toEnd);
    }
    bool Set(int64_t row, int64_t position) const
    {
        if (position < 0 || position / 8 >= strips_)
            return false;
        const int64_t at = bits_ + position / 8 * height_ + row;
        return at < int64_t(file_.size()) && (file_[size_t(at)] >> (7 - position % 8) & 1);
    }

private:
    std::span<const uint8_t> file_;
    int64_t bits_;
    int64_t height_;
    int64_t strips_ = 0;
};

}  // namespace

std::pair<int32_t, int32_t> FntCell(int32_t width, int32_t height)
{
    const int32_t w = width;
    const int32_t h = height;
    if (int64_t(w) * h % 8 == 0)
        return {w, h};
    if (h % 8 == 7 && w % 8 != 7)
        return {w, h + 1};
    switch (w % 8) {
    case 1: return {w + 1, h - h % 4 + 4};
    case 2: return {w, h - h % 4 + 4};
    case 3: return {w + 1, h - h % 2 + 2};
    case 4: return {w, h + 1};
    case 5: return {w + 1, h - h % 4 + 4};
    case 6: return {w, h - h % 4 + 4};
    case 7: return {w + 1, h};
    default: return {w, h};
    }
}

FntFont ParseFntFont(std::span<const uint8_t> file)
{
    FntFont font;
    if (file.size() < FntHeaderSize)
        return font;
    const uint32_t version = Little(file, 0, 2);
    const int64_t pixHeight = Little(file, 88, 2);
    const int64_t maxWidth = Little(file, 93, 2);
    const int64_t first = file[95];
    const int64_t last = file[96];
    const int64_t face = Little(file, 105, 4);
    const int64_t bits = Little(file, 113, 4);
    if (maxWidth == 0 || pixHeight == 0 || last < first || version != 0x0200)
        return font;
    if (pixHeight > TallestGlyph || maxWidth > WidestGlyph)
        return font;
    const int64_t count = last - first + 1;
    const int64_t size = int64_t(file.size());
    if (size < int64_t(FntHeaderSize) + 4 * count || face >= size || bits >= size)
        return font;
    for (int64_t i = 0; i < count; ++i) {
        const size_t entry = FntHeaderSize + size_t(4 * i);
        if (Little(file, entry, 2) != 0 && Little(file, entry + 2, 2) >= size)
            return font;
    }

    const auto [w, h] = FntCell(int32_t(maxWidth), int32_t(pixHeight));
    const BitRows rows(file, bits, face, pixHeight);
    GlyphPixels codec;
    std::vector<uint8_t> pixels(size_t(w) * size_t(h));
    for (int64_t i = 0; i < count; ++i) {
        const size_t entry = FntHeaderSize + size_t(4 * i);
        const int64_t width = Little(file, entry, 2);
        std::string& glyph = font.Glyphs.emplace_back();
        if (width == 0)
            continue;
        // The glyph's first column in the rows; the division truncates
        // toward zero.
        const int64_t column = (int64_t(Little(file, entry + 2, 2)) - bits) / pixHeight * 8;
        for (int64_t y = 0; y < h; ++y)
            for (int64_t x = 0; x < w; ++x)
                pixels[size_t(y * w + x)] = y < pixHeight && x < width && rows.Set(y, column + x);
        codec.Pack(pixels.data(), int64_t(pixels.size()), glyph);
    }

    const auto name = file.begin() + face;
    font.Face = platform::AnsiToUtf8(std::string(name, std::find(name, file.end(), uint8_t(0))));
    font.Width = w;
    font.Height = h;
    font.First = int32_t(first);
    font.Ok = true;
    return font;
}

void ImportFntFont(State& s)
{
    StoreBackGlyph(s);
    if (!AskSaveFirst(s))
        return;
    const std::string path = platform::Ask().OpenFile("Open", s.FntFolder + "*.fnt",
                                                      "fnt (*.fnt)|*.fnt|All files (*.*)|*.*", 0);
    if (path.empty())
        return;

    FntFont font;
    {
        std::vector<uint8_t> buffer;
        if (!platform::ReadFileBytes(path, buffer)) {
            ReaderOops("Could not read the file " + path);
            return;
        }
        font = ParseFntFont(buffer);
    }
    if (!font.Ok) {
        ReaderOops("unable to load FNT file");
        return;
    }

    s.FontName = platform::ReplaceString(font.Face, " ", "_");
    ResetFontForReading(s, -1);
    s.FontWidth = font.Width;
    s.FontHeight = font.Height;
    s.FontStart = font.First;
    s.FontCount = int32_t(font.Glyphs.size());
    StoreGlyphs(s, font.First, font.Glyphs);

    ShowFontRead(s, font.Face);
}
