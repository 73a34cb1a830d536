// JPEG files through libjpeg. Its default error handler ends the process, so
// errors longjmp back to us instead. libjpeg only warns about damaged data (a
// file that ends early, a cut scan, a bad code) and fills in made-up pixels:
// those warnings are errors here. The functions it may jump out of hold no
// C++ objects with destructors.
#include <csetjmp>
#include <cstdio>
#include <new>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

#include "platform/image_codecs.h"

namespace platform {

namespace {

struct JpegError {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to us
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegFail(j_common_ptr cinfo)
{
    auto* error = reinterpret_cast<JpegError*>(cinfo->err);
    std::longjmp(error->jump, 1);
}

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo)
{
    auto* error = reinterpret_cast<JpegError*>(cinfo->err);
    if (cinfo->err->msg_code == JERR_NO_BACKING_STORE)  // what the memory cap gives
        std::snprintf(error->text, sizeof error->text, "the image needs too much memory");
    else
        cinfo->err->format_message(cinfo, error->text);
    JpegFail(cinfo);
}

void JpegOutputMessage(j_common_ptr) {}

// Warnings (level -1) other than those about harmless header fields mean
// damaged image data; trace messages (level 0 and up) are ignored.
void JpegEmitMessage(j_common_ptr cinfo, int level)
{
    const int code = cinfo->err->msg_code;
    if (level >= 0 || code == JWRN_ADOBE_XFORM || code == JWRN_JFIF_MAJOR)
        return;
    auto* error = reinterpret_cast<JpegError*>(cinfo->err);
    if (code == JWRN_JPEG_EOF)
        std::snprintf(error->text, sizeof error->text, "the file is truncated");
    else
        cinfo->err->format_message(cinfo, error->text);
    JpegFail(cinfo);
}

// What libjpeg may allocate for one image: the whole-image coefficient buffers
// of a progressive file (128 bytes a block) are the largest part.
constexpr long MaxJpegMemory = long(codec::MaxDecodedPixels * 4);

// A progressive file may hold any number of scans, each a pass over the whole
// image; a crafted file with thousands of them would take very long.
constexpr int MaxJpegScans = 1000;

void JpegProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxJpegScans) {
        auto* error = reinterpret_cast<JpegError*>(cinfo->err);
        std::snprintf(error->text, sizeof error->text, "the file has too many scans");
        JpegFail(cinfo);
    }
}

void UseOurErrorHandling(JpegError* error)
{
    jpeg_std_error(&error->manager);
    error->manager.error_exit = JpegErrorExit;
    error->manager.output_message = JpegOutputMessage;
    error->manager.emit_message = JpegEmitMessage;
    error->text[0] = 0;
}

// One CMYK pixel as RGB: each light channel is what its ink and the black ink
// leave of white, rounded. Files with Adobe's marker (nearly every CMYK JPEG)
// store each ink inverted, as 255 minus its amount; others store the amounts.
uint32_t CmykToRgb(const JSAMPLE* p, bool inverted)
{
    const unsigned keyLeft = inverted ? p[3] : 255u - p[3];
    uint32_t rgb = 0xFF000000u;
    for (int c = 0; c < 3; c++) {
        const unsigned inkLeft = inverted ? p[c] : 255u - p[c];
        rgb |= (inkLeft * keyLeft + 127) / 255 << 8 * c;
    }
    return rgb;
}

// One decoded row of grey, RGB or CMYK samples into opaque pixels.
void PutRow(const JSAMPLE* p, int components, bool inverted, uint32_t* out, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; x++) {
        if (components == 1) {
            uint32_t v = p[x];
            out[x] = v | v << 8 | v << 16 | 0xFF000000u;
        } else if (components == 3) {
            out[x] = uint32_t(p[3 * x]) | uint32_t(p[3 * x + 1]) << 8 | uint32_t(p[3 * x + 2]) << 16 | 0xFF000000u;
        } else {
            out[x] = CmykToRgb(p + 4 * x, inverted);
        }
    }
}

// Reads the image after setjmp is armed; every libjpeg error jumps out of it.
bool ReadJpegImage(j_decompress_ptr cinfo, const uint8_t* data, size_t size, Image* image, JpegError* error)
{
    jpeg_mem_src(cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo->out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_RGB:
    case JCS_YCbCr:
        cinfo->out_color_space = JCS_RGB;
        break;
    case JCS_CMYK:
    case JCS_YCCK:  // libjpeg turns YCCK into CMYK
        cinfo->out_color_space = JCS_CMYK;
        break;
    default:
        std::snprintf(error->text, sizeof error->text, "its colour space is not supported");
        return false;
    }
    if (!codec::DecodedSizeAllowed(cinfo->image_width, cinfo->image_height)) {
        std::snprintf(error->text, sizeof error->text, "the image is too large (%u x %u)",
                      unsigned(cinfo->image_width), unsigned(cinfo->image_height));
        return false;
    }
    // Huffman coding spends at least one bit on every 8 x 8 block of every
    // component (the code of its DC value), so the file must have that many
    // bits. Arithmetic coding can pack blocks tighter; the memory cap holds
    // for those files.
    if (!cinfo->arith_code) {
        uint64_t blocks = 0;
        for (int c = 0; c < cinfo->num_components; c++)
            blocks += uint64_t(cinfo->comp_info[c].width_in_blocks) * cinfo->comp_info[c].height_in_blocks;
        if (blocks > uint64_t(size) * 8) {
            std::snprintf(error->text, sizeof error->text, "the file is too short for a picture of %u x %u pixels",
                          unsigned(cinfo->image_width), unsigned(cinfo->image_height));
            return false;
        }
    }
    jpeg_start_decompress(cinfo);
    const int components = cinfo->output_components;
    const int wanted = cinfo->out_color_space == JCS_GRAYSCALE ? 1 : cinfo->out_color_space == JCS_RGB ? 3 : 4;
    const JDIMENSION width = cinfo->output_width, height = cinfo->output_height;
    if (components != wanted || !codec::DecodedSizeAllowed(width, height)) {
        std::snprintf(error->text, sizeof error->text, "unexpected pixel layout");
        return false;
    }
    if (!codec::AllocateImage(image, width, height)) {
        std::snprintf(error->text, sizeof error->text, "not enough memory for the image");
        return false;
    }
    // The row buffer belongs to libjpeg and goes with jpeg_destroy_decompress.
    JSAMPARRAY row = cinfo->mem->alloc_sarray(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                              width * JDIMENSION(components), 1);
    while (cinfo->output_scanline < height) {
        JDIMENSION y = cinfo->output_scanline;
        if (jpeg_read_scanlines(cinfo, row, 1) != 1) {
            std::snprintf(error->text, sizeof error->text, "the file is truncated");
            return false;
        }
        PutRow(row[0], components, cinfo->saw_Adobe_marker, image->Pixels.data() + size_t(y) * width, width);
    }
    // Every row is in: whatever follows the image data no longer matters, so
    // the decoder is not finished (which could only complain about it).
    return true;
}

bool DecodeJpegFile(const uint8_t* data, size_t size, Image* image, JpegError* error)
{
    jpeg_decompress_struct cinfo{};
    jpeg_progress_mgr progress{};
    progress.progress_monitor = JpegProgress;
    UseOurErrorHandling(error);
    cinfo.err = &error->manager;
    // cinfo is only filled in by libjpeg through its address from here on.
    if (setjmp(error->jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    cinfo.mem->max_memory_to_use = MaxJpegMemory;
    bool ok = ReadJpegImage(&cinfo, data, size, image, error);
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

// Writes the image after setjmp is armed; `row` holds width * 3 bytes.
void WriteJpegImage(j_compress_ptr cinfo, const Image* image, std::FILE* file, int quality, uint8_t* row)
{
    jpeg_stdio_dest(cinfo, file);
    cinfo->image_width = JDIMENSION(image->Width);
    cinfo->image_height = JDIMENSION(image->Height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    JSAMPROW rows[1] = {row};
    while (cinfo->next_scanline < cinfo->image_height) {
        const uint32_t* src = image->Pixels.data() + size_t(cinfo->next_scanline) * size_t(image->Width);
        for (int x = 0; x < image->Width; x++) {
            row[3 * x] = uint8_t(src[x]);
            row[3 * x + 1] = uint8_t(src[x] >> 8);
            row[3 * x + 2] = uint8_t(src[x] >> 16);
        }
        jpeg_write_scanlines(cinfo, rows, 1);
    }
    jpeg_finish_compress(cinfo);
}

bool EncodeJpegFile(const Image* image, std::FILE* file, int quality, uint8_t* row, JpegError* error)
{
    jpeg_compress_struct cinfo{};
    UseOurErrorHandling(error);
    cinfo.err = &error->manager;
    if (setjmp(error->jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    WriteJpegImage(&cinfo, image, file, quality, row);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

namespace codec {

bool DecodeJpeg(const uint8_t* data, size_t size, Image& image, std::string& error)
{
    JpegError jpegError;
    if (DecodeJpegFile(data, size, &image, &jpegError))
        return true;
    error = std::string("The JPEG file could not be read: ") + jpegError.text + ".";
    return false;
}

}  // namespace codec

bool SaveJpeg(const Image& image, const std::string& path, int quality)
{
    if (image.Empty() || image.Pixels.size() != size_t(image.Width) * size_t(image.Height) ||
        image.Width > JPEG_MAX_DIMENSION || image.Height > JPEG_MAX_DIMENSION)
        return false;
    std::vector<uint8_t> row;
    try {
        row.resize(size_t(image.Width) * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int clamped = quality < 1 ? 1 : quality > 100 ? 100 : quality;
    return codec::WriteImageFile(path, [&](std::FILE* f) {
        JpegError error;
        return EncodeJpegFile(&image, f, clamped, row.data(), &error);
    });
}

}  // namespace platform
