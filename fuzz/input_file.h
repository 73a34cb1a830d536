// For fuzz targets whose reader takes a path: each input is written to one
// file in a private folder (in /dev/shm when there is one, so no disk is
// touched), which goes when the target exits.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

class InputFile {
public:
    InputFile()
    {
        std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path().string();
        std::string pattern = base + "/glyphery-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder_ = pattern + "/";
    }
    ~InputFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // The path of a file in the folder holding exactly these bytes.
    std::string Put(const uint8_t* data, size_t size, const std::string& name = "input")
    {
        std::string path = folder_ + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0)
            std::abort();
        return path;
    }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};
