// The whole-file read and the Windows-1252 text reader on any file: a read
// up to a limit keeps exactly the file's first bytes, lines come out as UTF-8
// without line ends, byte reads and seeks stay in the file, and the
// conversion back gives the bytes read.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/input_file.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

bool ValidUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > text.size())
            return false;
        for (size_t k = 1; k < n; k++)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static InputFile input;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (platform::Utf8ToAnsi(platform::AnsiToUtf8(bytes)) != bytes)
        std::abort();

    const std::string path = input.Put(data, size);
    const int64_t limit = size ? data[size - 1] % (int64_t(size) + 2) : 0;
    std::vector<uint8_t> start;
    const platform::FileRead read = platform::ReadWholeFile(path, start, limit);
    if (read != (limit >= int64_t(size) ? platform::FileRead::Done : platform::FileRead::TooLarge) ||
        start != std::vector<uint8_t>(data, data + std::min<int64_t>(limit, int64_t(size))))
        std::abort();

    platform::TextFileReader reader;
    if (!reader.Open(path) || reader.Length() != int64_t(size))
        std::abort();
    std::string joined;
    while (!reader.Eof()) {
        std::string line = reader.ReadLine();
        if (!ValidUtf8(line) || line.find_first_of("\r\n") != std::string::npos)
            std::abort();
        joined += line;
    }
    std::string unended;
    for (char c : bytes)
        if (c != '\r' && c != '\n')
            unended += c;
    if (platform::Utf8ToAnsi(joined) != unended)
        std::abort();

    // Byte reads at positions the input chooses.
    for (size_t i = 0; i + 1 < size && i < 16; i += 2) {
        int64_t position = int64_t(data[i]) * 257 + data[i + 1];
        reader.Seek(position);
        uint8_t byte = reader.ReadByte();
        if (byte != (position < int64_t(size) ? data[position] : 0))
            std::abort();
    }
    reader.Close();
    return 0;
}
