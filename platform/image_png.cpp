// PNG files through libpng. libpng reports errors by longjmp, so the functions
// it may jump out of hold no C++ objects with destructors; buffers are made by
// the callers.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/image_codecs.h"

namespace platform {

namespace {

struct PngMessage {
    char text[200];
};

[[noreturn]] void PngError(png_structp png, png_const_charp message)
{
    auto* m = static_cast<PngMessage*>(png_get_error_ptr(png));
    if (m)
        std::snprintf(m->text, sizeof m->text, "%s", message ? message : "unknown error");
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// The file held in memory, read by libpng through PngRead.
struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void PngRead(png_structp png, png_bytep out, size_t length)
{
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > src->size - src->position)
        png_error(png, "the file is truncated");
    std::memcpy(out, src->data + src->position, length);
    src->position += length;
}

// The bytes of image data the file holds: the lengths of its IDAT chunks, as
// far as they lie inside the file.
uint64_t PngDataBytes(const uint8_t* data, size_t size)
{
    uint64_t total = 0;
    size_t at = 8;  // after the signature
    while (size >= at && size - at >= 8) {
        uint64_t length = uint64_t(data[at]) << 24 | uint64_t(data[at + 1]) << 16 | uint64_t(data[at + 2]) << 8 |
                          uint64_t(data[at + 3]);
        uint64_t room = size - at - 8;
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0)
            total += length < room ? length : room;
        if (length + 4 > room)
            break;
        at += size_t(length) + 12;
    }
    return total;
}

// zlib's deflate never packs more than 1032 bytes into one.
constexpr uint64_t MaxDeflateRatio = 1032;

// Reads the image after setjmp is armed; every libpng error jumps out of it.
// A picture with transparency is read as laid over white paper.
bool ReadPngImage(png_structp png, png_infop info, uint64_t dataBytes, Image* image, PngMessage* message)
{
    png_read_info(png, info);
    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    int colorType = png_get_color_type(png, info);
    int depth = png_get_bit_depth(png, info);
    if (!codec::DecodedSizeAllowed(width, height)) {
        std::snprintf(message->text, sizeof message->text, "the image is too large (%u x %u)",
                      unsigned(width), unsigned(height));
        return false;
    }
    // Every pixel's bits are in the compressed data, which deflate shrinks
    // at most so far.
    uint64_t pixelBits = uint64_t(width) * height * png_get_channels(png, info) * uint64_t(depth);
    if (dataBytes * MaxDeflateRatio * 8 < pixelBits) {
        std::snprintf(message->text, sizeof message->text, "the file is too short for a picture of %u x %u pixels",
                      unsigned(width), unsigned(height));
        return false;
    }

    bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        alpha = true;
    }
    if (depth == 16) {
#ifdef PNG_READ_SCALE_16_TO_8_SUPPORTED
        png_set_scale_16(png);
#else
        png_set_strip_16(png);
#endif
    }
    if (!(colorType & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(png);
    if (!alpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4 || png_get_bit_depth(png, info) != 8) {
        std::snprintf(message->text, sizeof message->text, "unexpected pixel layout");
        return false;
    }

    if (!codec::AllocateImage(image, width, height)) {
        std::snprintf(message->text, sizeof message->text, "not enough memory for the image");
        return false;
    }
    // libpng writes R, G, B, A bytes straight into the pixel rows.
    for (int pass = 0; pass < passes; pass++)
        for (png_uint_32 y = 0; y < height; y++)
            png_read_row(png, reinterpret_cast<png_bytep>(image->Pixels.data() + size_t(y) * width), nullptr);

    // The bytes R, G, B, A of each pixel are the image's own layout, with the
    // alpha in the top byte.
    if (alpha)
        codec::LayOverWhite(*image);
    return true;
}

bool DecodePngFile(const uint8_t* data, size_t size, Image* image, PngMessage* message)
{
    PngSource source{data, size, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, message, PngError, PngWarning);
    if (!png) {
        std::snprintf(message->text, sizeof message->text, "libpng could not start");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::snprintf(message->text, sizeof message->text, "libpng could not start");
        return false;
    }
    // png and info are not changed after this point, so they survive a longjmp.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &source, PngRead);
    bool ok = ReadPngImage(png, info, PngDataBytes(data, size), image, message);
    png_destroy_read_struct(&png, &info, nullptr);
    return ok;
}

// Writes the image after setjmp is armed; `row` holds width * 3 bytes.
void WritePngImage(png_structp png, png_infop info, const Image* image, std::FILE* file, uint8_t* row)
{
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(image->Width), png_uint_32(image->Height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image->Height; y++) {
        const uint32_t* src = image->Pixels.data() + size_t(y) * size_t(image->Width);
        for (int x = 0; x < image->Width; x++) {
            row[3 * x] = uint8_t(src[x]);
            row[3 * x + 1] = uint8_t(src[x] >> 8);
            row[3 * x + 2] = uint8_t(src[x] >> 16);
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
}

bool EncodePngFile(const Image* image, std::FILE* file, uint8_t* row, PngMessage* message)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, message, PngError, PngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    WritePngImage(png, info, image, file, row);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

namespace codec {

bool DecodePng(const uint8_t* data, size_t size, Image& image, std::string& error)
{
    PngMessage message{};
    if (DecodePngFile(data, size, &image, &message))
        return true;
    error = std::string("The PNG file could not be read: ") + message.text + ".";
    return false;
}

}  // namespace codec

bool SavePng(const Image& image, const std::string& path)
{
    if (image.Empty() || image.Pixels.size() != size_t(image.Width) * size_t(image.Height))
        return false;
    std::vector<uint8_t> row;
    try {
        row.resize(size_t(image.Width) * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return codec::WriteImageFile(path, [&](std::FILE* f) {
        PngMessage message{};
        return EncodePngFile(&image, f, row.data(), &message);
    });
}

}  // namespace platform
