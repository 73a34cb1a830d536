// The file codecs behind LoadImageFile and the savers. Private to the image
// files of platform/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/image.h"

namespace platform::codec {

// The largest picture a reader accepts. A file header can claim any size, so
// each reader also checks that the file is long enough to hold the picture it
// claims before it allocates anything for it (where the coding allows: an
// arithmetic-coded JPEG of one plain colour is tiny at any size). Fuzz builds
// take less, so that every input stays quick under the sanitizers.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr int64_t MaxDecodedPixels = int64_t(1) << 20;
#else
constexpr int64_t MaxDecodedPixels = int64_t(1) << 26;  // 64 M pixels
#endif
bool DecodedSizeAllowed(int64_t width, int64_t height);

// Gives `image` the size and fills it black. False (the image left empty) when
// the size is not allowed or memory runs out. Never throws, so the codecs may
// call it between setjmp and longjmp.
bool AllocateImage(Image* image, int64_t width, int64_t height) noexcept;

// Reads every pixel of `image` as laid over white paper: its top byte holds
// the pixel's alpha (0 to 255), and each channel c becomes
// (c x alpha + 255 x (255 - alpha)) / 255, rounded; the pixel is then opaque.
void LayOverWhite(Image& image) noexcept;

// Decode a whole file held in memory into `image`. On failure `image` may be
// partly written and `error` holds the reason.
bool DecodeBmp(const uint8_t* data, size_t size, Image& image, std::string& error);
bool DecodePng(const uint8_t* data, size_t size, Image& image, std::string& error);
bool DecodeJpeg(const uint8_t* data, size_t size, Image& image, std::string& error);

// Lets `encode` write the file's new content and puts it in place of `path`
// (see ReplacingFile). False, with an existing file kept whole, when anything
// failed.
bool WriteImageFile(const std::string& path, const std::function<bool(std::FILE*)>& encode);

}  // namespace platform::codec
