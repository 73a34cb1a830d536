// In-memory 24-bit images, their file codecs (PNG and JPEG through libpng and
// libjpeg, BMP of our own) and the numbered image store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A colour: red in the lowest byte, green in the next, blue in the third.
using Rgb = uint32_t;
constexpr Rgb RGB(int r, int g, int b)
{
    return uint32_t(r & 255) | uint32_t(g & 255) << 8 | uint32_t(b & 255) << 16;
}
constexpr int Red(Rgb c) { return int(c & 255); }
constexpr int Green(Rgb c) { return int(c >> 8 & 255); }
constexpr int Blue(Rgb c) { return int(c >> 16 & 255); }

// The largest image made or loaded: at most 16384 x 16384 pixels in all and no
// side longer than MaxImageSide. Larger sizes (often a corrupt file header)
// are refused.
constexpr int MaxImageSide = 1 << 20;
constexpr int64_t MaxImagePixels = int64_t(16384) * 16384;
bool ImageSizeAllowed(int64_t width, int64_t height);

// Pixels are stored row by row as 0xFFBBGGRR (bytes R, G, B, 0xFF in memory),
// so the drawing layer can paint on them in place.
struct Image {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;

    Image() = default;
    // A size that is not allowed (or memory that runs out) gives an empty
    // image.
    Image(int width, int height, Rgb fill = 0);
    bool Empty() const { return Width <= 0 || Height <= 0; }
    Rgb Get(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)] & 0xFFFFFF; }
    void Set(int x, int y, Rgb c) { Pixels[size_t(y) * size_t(Width) + size_t(x)] = (c & 0xFFFFFFu) | 0xFF000000u; }
    // Clipped to the image.
    void FillRect(int x, int y, int w, int h, Rgb c);
};

// Loads a BMP, PNG or JPEG file (told apart by content). On failure returns
// false with a reason in `error` and leaves `image` unchanged; a corrupt or
// truncated file is a failure, never a crash. BMP: 1, 4, 8, 16, 24 and 32 bits,
// uncompressed (16 and 32 bits also with bit fields), 4 and 8 bits also
// run-length encoded. PNG: all colour types and depths, interlaced or not.
// JPEG: grey, colour and CMYK (also YCCK). A picture with transparency (PNG,
// or a BMP with an alpha field) is read as laid over white paper.
bool LoadImageFile(const std::string& path, Image& image, std::string* error = nullptr);
// The savers write 24-bit files and return false when the image is empty or
// the file cannot be written; an existing file is then kept as it was.
bool SavePng(const Image& image, const std::string& path);
bool SaveJpeg(const Image& image, const std::string& path, int quality = 90);
bool SaveBmp(const Image& image, const std::string& path);

// Resizes with smoothing (bilinear when enlarging, area-averaging when
// reducing).
Image ResizeSmooth(const Image& image, int width, int height);
// Scales `image` into a rectangle: each target pixel takes the average colour
// of the source area it covers (partly covered source pixels count by the
// part they cover). Enlarging repeats pixels.
Image ScaleAreaAverage(const Image& image, int width, int height);

// Numbered images. Creating under a number in use replaces the old image.
// GetImage gives nullptr for a number not in use. A size that is not allowed
// makes no image: the number is freed and CreateImage returns an empty image
// held by no number. A failed LoadImage frees the number as well.
Image* GetImage(int number);
bool IsImage(int number);
Image& CreateImage(int number, int width, int height, Rgb fill = 0);
bool LoadImage(int number, const std::string& path, std::string* error = nullptr);
void FreeImage(int number);
// A number not in use (1000 or above), for images whose number the program
// does not fix itself.
int UnusedImageNumber();

}  // namespace platform
