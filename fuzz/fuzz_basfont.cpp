// The DefineFont reader (and the text bitmap reader it falls back to) on
// any file, as "Open" reads a ".bas" file.
#include "fuzz/input_file.h"
#include "fuzz/open_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static InputFile input;
    CheckOpen(input.Put(data, size, "font.bas"));
    return 0;
}
