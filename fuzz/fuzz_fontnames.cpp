// The family name and style bits of a face, read from any bytes as its
// "name", "OS/2" and "head" tables, as they come from a font file picked.
#include <cstdint>
#include <string_view>

#include "platform/fontnames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)platform::FaceFamilyName(bytes);
    (void)platform::FaceStyleBits(bytes, bytes);
    (void)platform::FaceStyleBits(bytes.substr(0, 63), bytes);
    return 0;
}
