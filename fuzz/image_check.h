// What every image reader promises, checked after each fuzzed input.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/image.h"
#include "platform/image_codecs.h"

inline void CheckDecoded(bool ok, const platform::Image& image, const std::string& error)
{
    if (!ok) {
        if (error.empty())
            std::abort();  // a failure always has a reason
        return;
    }
    if (!platform::codec::DecodedSizeAllowed(image.Width, image.Height) ||
        image.Pixels.size() != size_t(image.Width) * size_t(image.Height))
        std::abort();
    for (uint32_t p : image.Pixels)
        if (p >> 24 != 0xFF)
            std::abort();
}
