// The JPEG reader on any bytes: it fails or gives a whole, opaque picture.
#include <cstdlib>
#include <string>

#include "fuzz/image_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::Image image;
    std::string error;
    CheckDecoded(platform::codec::DecodeJpeg(data, size, image, error), image, error);
    return 0;
}
