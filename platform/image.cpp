// In-memory images: construction, file loading by content, smooth resizing and
// the numbered image store. The codecs live in image_bmp.cpp, image_png.cpp
// and image_jpeg.cpp.
#include "platform/image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>

#include "platform/files.h"
#include "platform/image_codecs.h"

namespace platform {

bool ImageSizeAllowed(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= MaxImageSide && height <= MaxImageSide &&
           width * height <= MaxImagePixels;
}

Image::Image(int width, int height, Rgb fill)
{
    if (!ImageSizeAllowed(width, height))
        return;
    try {
        Pixels.assign(size_t(width) * size_t(height), (fill & 0xFFFFFFu) | 0xFF000000u);
        Width = width;
        Height = height;
    } catch (const std::bad_alloc&) {
        Pixels.clear();
        Pixels.shrink_to_fit();
    }
}

void Image::FillRect(int x, int y, int w, int h, Rgb c)
{
    int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    int64_t x1 = std::min<int64_t>(int64_t(x) + w, Width), y1 = std::min<int64_t>(int64_t(y) + h, Height);
    if (x0 >= x1 || y0 >= y1)
        return;
    uint32_t value = (c & 0xFFFFFFu) | 0xFF000000u;
    for (int64_t row = y0; row < y1; row++) {
        uint32_t* p = Pixels.data() + size_t(row) * size_t(Width);
        std::fill(p + x0, p + x1, value);
    }
}

namespace codec {

bool DecodedSizeAllowed(int64_t width, int64_t height)
{
    return ImageSizeAllowed(width, height) && width * height <= MaxDecodedPixels;
}

bool AllocateImage(Image* image, int64_t width, int64_t height) noexcept
{
    image->Width = image->Height = 0;
    image->Pixels.clear();
    if (!ImageSizeAllowed(width, height))
        return false;
    try {
        image->Pixels.assign(size_t(width) * size_t(height), 0xFF000000u);
    } catch (const std::bad_alloc&) {
        image->Pixels.clear();
        image->Pixels.shrink_to_fit();
        return false;
    }
    image->Width = int(width);
    image->Height = int(height);
    return true;
}

void LayOverWhite(Image& image) noexcept
{
    for (uint32_t& pixel : image.Pixels) {
        const uint32_t alpha = pixel >> 24;
        if (alpha == 255)
            continue;
        uint32_t out = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            const uint32_t c = pixel >> shift & 255;
            out |= (c * alpha + 255 * (255 - alpha) + 127) / 255 << shift;
        }
        pixel = out;
    }
}

}  // namespace codec

// ---------------------------------------------------------------------------
// Loading

namespace {

// No image file we accept is larger than a 32-bit BMP of the largest image.
constexpr int64_t MaxImageFileSize = codec::MaxDecodedPixels * 4 + (int64_t(1) << 20);

// The image file's bytes; false, with the reason, when there are none to
// decode.
bool ReadImageFile(const std::string& path, std::vector<uint8_t>& data, std::string& error)
{
    switch (ReadWholeFile(path, data, MaxImageFileSize)) {
    case FileRead::Done:
        if (!data.empty())
            return true;
        error = "The image file is empty.";
        return false;
    case FileRead::CannotOpen: error = "The image file could not be opened."; break;
    case FileRead::CannotRead: error = "The image file could not be read."; break;
    case FileRead::TooLarge: error = "The image file is too large."; break;
    case FileRead::NoMemory: error = "Not enough memory to read the image file."; break;
    }
    data = {};
    return false;
}

}  // namespace

bool LoadImageFile(const std::string& path, Image& image, std::string* error)
{
    std::string reason;
    std::vector<uint8_t> data;
    Image loaded;
    bool ok = false;
    if (ReadImageFile(path, data, reason)) {
        static const uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
        const uint8_t* d = data.data();
        size_t n = data.size();
        if (n >= 8 && std::memcmp(d, pngSignature, 8) == 0)
            ok = codec::DecodePng(d, n, loaded, reason);
        else if (n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF)
            ok = codec::DecodeJpeg(d, n, loaded, reason);
        else if (n >= 2 && d[0] == 'B' && d[1] == 'M')
            ok = codec::DecodeBmp(d, n, loaded, reason);
        else
            reason = "The file is not a BMP, PNG or JPEG image.";
    }
    if (ok) {
        image = std::move(loaded);
    } else if (error) {
        *error = reason.empty() ? "The image could not be loaded." : reason;
    }
    return ok;
}

// ---------------------------------------------------------------------------
// Resampling
//
// Both scalers are separable: along each axis every target pixel takes a
// weighted sum of a run of source pixels, with integer weights that add up to
// the same total for every target pixel of that axis. The sums are exact and
// divided (rounding half up) only once, at the end.

namespace {

struct AxisMap {
    std::vector<int> first;        // first source pixel, per target pixel
    std::vector<uint32_t> offset;  // start of its weights; one extra entry at the end
    std::vector<uint32_t> weights;
    uint64_t total = 1;

    int Count(int t) const { return int(offset[size_t(t) + 1] - offset[size_t(t)]); }
    const uint32_t* Weights(int t) const { return weights.data() + offset[size_t(t)]; }
    bool SameAs(int a, int b) const
    {
        return first[size_t(a)] == first[size_t(b)] && Count(a) == Count(b) &&
               std::equal(Weights(a), Weights(a) + Count(a), Weights(b));
    }
    void Add(int source, std::initializer_list<uint32_t> w)
    {
        first.push_back(source);
        weights.insert(weights.end(), w);
        offset.push_back(uint32_t(weights.size()));
    }
};

// Target pixel t covers source units [t*S, (t+1)*S) where source pixel s covers
// [s*T, (s+1)*T): the weights are the overlaps and add up to S.
AxisMap BoxMap(int source, int target)
{
    AxisMap m;
    m.total = uint64_t(source);
    m.offset.push_back(0);
    int64_t S = source, T = target;
    for (int64_t t = 0; t < T; t++) {
        int64_t lo = t * S, hi = (t + 1) * S;
        int64_t s0 = lo / T, s1 = (hi - 1) / T;
        m.first.push_back(int(s0));
        for (int64_t s = s0; s <= s1; s++)
            m.weights.push_back(uint32_t(std::min((s + 1) * T, hi) - std::max(s * T, lo)));
        m.offset.push_back(uint32_t(m.weights.size()));
    }
    return m;
}

// Each target pixel repeats the source pixel under its centre.
AxisMap NearestMap(int source, int target)
{
    AxisMap m;
    m.offset.push_back(0);
    for (int64_t t = 0; t < target; t++)
        m.Add(int((2 * t + 1) * source / (2 * int64_t(target))), {1});
    return m;
}

// Linear interpolation between the two source pixels around the target pixel's
// centre, in units of 1/(2T) source pixels; the edges repeat the edge pixel.
AxisMap LinearMap(int source, int target)
{
    AxisMap m;
    int64_t S = source, T = target;
    m.total = uint64_t(2 * T);
    m.offset.push_back(0);
    for (int64_t t = 0; t < T; t++) {
        int64_t X = (2 * t + 1) * S - T;  // centre, measured from the centre of source pixel 0
        if (X <= 0) {
            m.Add(0, {uint32_t(2 * T)});
            continue;
        }
        int64_t s0 = X / (2 * T), f = X % (2 * T);
        if (s0 >= S - 1)
            m.Add(int(S - 1), {uint32_t(2 * T)});
        else if (f == 0)
            m.Add(int(s0), {uint32_t(2 * T)});
        else
            m.Add(int(s0), {uint32_t(2 * T - f), uint32_t(f)});
    }
    return m;
}

AxisMap IdentityMap(int size)
{
    AxisMap m;
    m.offset.push_back(0);
    for (int t = 0; t < size; t++)
        m.Add(t, {1});
    return m;
}

inline uint32_t Pack(uint64_t r, uint64_t g, uint64_t b, uint64_t total)
{
    uint64_t half = total / 2;
    return uint32_t((r + half) / total) | uint32_t((g + half) / total) << 8 |
           uint32_t((b + half) / total) << 16 | 0xFF000000u;
}

// Columns first, then rows, streaming one row of column sums at a time.
void ResampleRowsLast(const Image& src, Image& out, const AxisMap& mx, const AxisMap& my)
{
    const int sw = src.Width, tw = out.Width, th = out.Height;
    const uint64_t total = mx.total * my.total;
    std::vector<uint64_t> acc(size_t(sw) * 3);
    for (int ty = 0; ty < th; ty++) {
        uint32_t* dst = out.Pixels.data() + size_t(ty) * size_t(tw);
        if (ty > 0 && my.SameAs(ty, ty - 1)) {
            std::copy(dst - tw, dst, dst);
            continue;
        }
        std::fill(acc.begin(), acc.end(), 0);
        const uint32_t* wy = my.Weights(ty);
        for (int k = 0; k < my.Count(ty); k++) {
            const uint32_t* row = src.Pixels.data() + size_t(my.first[size_t(ty)] + k) * size_t(sw);
            uint64_t w = wy[k];
            for (int x = 0; x < sw; x++) {
                uint32_t p = row[x];
                acc[3 * size_t(x)] += w * (p & 255);
                acc[3 * size_t(x) + 1] += w * (p >> 8 & 255);
                acc[3 * size_t(x) + 2] += w * (p >> 16 & 255);
            }
        }
        for (int tx = 0; tx < tw; tx++) {
            const uint32_t* wx = mx.Weights(tx);
            const uint64_t* a = acc.data() + 3 * size_t(mx.first[size_t(tx)]);
            uint64_t r = 0, g = 0, b = 0;
            for (int k = 0; k < mx.Count(tx); k++, a += 3) {
                r += wx[k] * a[0];
                g += wx[k] * a[1];
                b += wx[k] * a[2];
            }
            dst[tx] = Pack(r, g, b, total);
        }
    }
}

// Rows first into a narrower intermediate image, then columns. Used when the
// width shrinks and the height grows, where the other order would sum the
// wide source rows once per target row.
void ResampleColumnsLast(const Image& src, Image& out, const AxisMap& mx, const AxisMap& my)
{
    const int sw = src.Width, sh = src.Height, tw = out.Width, th = out.Height;
    const uint64_t total = mx.total * my.total;
    std::vector<uint64_t> mid(size_t(tw) * size_t(sh) * 3);
    for (int y = 0; y < sh; y++) {
        const uint32_t* row = src.Pixels.data() + size_t(y) * size_t(sw);
        uint64_t* m = mid.data() + size_t(y) * size_t(tw) * 3;
        for (int tx = 0; tx < tw; tx++, m += 3) {
            const uint32_t* wx = mx.Weights(tx);
            const uint32_t* p = row + mx.first[size_t(tx)];
            for (int k = 0; k < mx.Count(tx); k++) {
                m[0] += uint64_t(wx[k]) * (p[k] & 255);
                m[1] += uint64_t(wx[k]) * (p[k] >> 8 & 255);
                m[2] += uint64_t(wx[k]) * (p[k] >> 16 & 255);
            }
        }
    }
    for (int ty = 0; ty < th; ty++) {
        uint32_t* dst = out.Pixels.data() + size_t(ty) * size_t(tw);
        if (ty > 0 && my.SameAs(ty, ty - 1)) {
            std::copy(dst - tw, dst, dst);
            continue;
        }
        const uint32_t* wy = my.Weights(ty);
        for (int tx = 0; tx < tw; tx++) {
            uint64_t r = 0, g = 0, b = 0;
            for (int k = 0; k < my.Count(ty); k++) {
                const uint64_t* m = mid.data() + (size_t(my.first[size_t(ty)] + k) * size_t(tw) + size_t(tx)) * 3;
                r += wy[k] * m[0];
                g += wy[k] * m[1];
                b += wy[k] * m[2];
            }
            dst[tx] = Pack(r, g, b, total);
        }
    }
}

Image Resample(const Image& image, int width, int height, bool smooth)
{
    if (image.Empty() || image.Pixels.size() != size_t(image.Width) * size_t(image.Height))
        return Image();
    Image out(width, height);
    if (out.Empty())
        return out;
    auto axis = [smooth](int source, int target) {
        if (source == target)
            return IdentityMap(source);
        if (target < source)
            return BoxMap(source, target);
        return smooth ? LinearMap(source, target) : NearestMap(source, target);
    };
    try {
        AxisMap mx = axis(image.Width, width), my = axis(image.Height, height);
        if (width < image.Width && height > image.Height)
            ResampleColumnsLast(image, out, mx, my);
        else
            ResampleRowsLast(image, out, mx, my);
    } catch (const std::bad_alloc&) {
        return Image();
    }
    return out;
}

}  // namespace

Image ResizeSmooth(const Image& image, int width, int height)
{
    return Resample(image, width, height, true);
}

Image ScaleAreaAverage(const Image& image, int width, int height)
{
    return Resample(image, width, height, false);
}

// ---------------------------------------------------------------------------
// The numbered image store

namespace {

std::map<int, Image>& Store()
{
    static std::map<int, Image> images;
    return images;
}

}  // namespace

Image* GetImage(int number)
{
    auto it = Store().find(number);
    return it == Store().end() ? nullptr : &it->second;
}

bool IsImage(int number)
{
    return Store().count(number) != 0;
}

Image& CreateImage(int number, int width, int height, Rgb fill)
{
    FreeImage(number);
    Image image(width, height, fill);
    if (image.Empty()) {
        static Image none;
        none = Image();
        return none;
    }
    Image& slot = Store()[number];
    slot = std::move(image);
    return slot;
}

bool LoadImage(int number, const std::string& path, std::string* error)
{
    FreeImage(number);
    Image image;
    if (!LoadImageFile(path, image, error))
        return false;
    Store()[number] = std::move(image);
    return true;
}

void FreeImage(int number)
{
    Store().erase(number);
}

int UnusedImageNumber()
{
    int number = 1000;
    for (auto it = Store().lower_bound(number); it != Store().end() && it->first == number; ++it)
        number++;
    return number;
}

}  // namespace platform

namespace platform::codec {

bool WriteImageFile(const std::string& path, const std::function<bool(std::FILE*)>& encode)
{
    ReplacingFile file;
    return file.Open(path) && encode(file.File()) && file.Commit();
}

}  // namespace platform::codec
