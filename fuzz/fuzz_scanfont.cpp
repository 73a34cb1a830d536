// The scanning reader on any file, as "Open" reads a file whose extension
// has no reader of its own.
#include "fuzz/input_file.h"
#include "fuzz/open_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static InputFile input;
    CheckOpen(input.Put(data, size, "font.txt"));
    return 0;
}
