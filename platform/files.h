// Files and folders: 8-bit text files, whole-file byte reads, path parts,
// folder listings, the program's own folder and a pause.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// A text file in the ANSI code page (Windows-1252), read line by line.
class TextFileReader {
public:
    TextFileReader() = default;
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    bool Open(const std::string& path);
    bool IsOpen() const;
    // The next line as UTF-8, without its end (CR, LF or CR LF).
    std::string ReadLine();
    bool Eof();
    int64_t Length();
    int64_t Position();
    void Seek(int64_t position);
    // One byte; 0 at or past the end of the file.
    uint8_t ReadByte();
    void Close();

private:
    bool Fill();  // refills the buffer when it is used up; false at the end

    int fd_ = -1;
    std::vector<char> buffer_;
    size_t next_ = 0;            // next unread byte in buffer_
    size_t end_ = 0;             // bytes held in buffer_
    int64_t bufferOffset_ = 0;   // file position of buffer_[0]
    int64_t length_ = 0;         // the file's size when opened
};

// A text file written in the ANSI code page. No line end is added: callers
// write "\r\n" themselves.
class TextFileWriter {
public:
    TextFileWriter() = default;
    ~TextFileWriter();  // closes; a pending replacement is abandoned
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Creates the file (an existing one is truncated).
    bool Create(const std::string& path);
    // Writes into a temporary file beside `path`; Close() renames it over
    // `path` only when everything was written, so a failed write leaves an
    // existing file untouched.
    bool CreateReplacing(const std::string& path);
    // Opens for appending; a missing file is created; an empty path fails.
    bool Append(const std::string& path);
    bool IsOpen() const;
    // UTF-8 text, converted to Windows-1252.
    void Write(const std::string& text);
    // Raw bytes, unconverted.
    void WriteBytes(const std::string& bytes);
    // Flushes and closes; false when anything could not be written.
    bool Close();

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    std::string temporary_;
    bool failed_ = false;
};

// The whole file; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes);
// Writes bytes as they are; false on failure.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

std::string GetExtensionPart(const std::string& path);  // without the dot
std::string GetFilePart(const std::string& path);       // name with extension
std::string GetFilePartNoExtension(const std::string& path);
std::string GetPathPart(const std::string& path);       // folder with trailing "/"
// Size in bytes; -1 when missing, -2 for a folder.
int64_t FileSize(const std::string& path);
bool DeleteFile(const std::string& path);

// Lists a folder with a wildcard pattern ("*" and "?", case-insensitive).
class DirectoryListing {
public:
    bool Examine(const std::string& folder, const std::string& pattern);
    bool Next();
    std::string EntryName() const;
    bool EntryIsFile() const;
    bool EntryIsFolder() const;

private:
    struct Entry {
        std::string name;
        bool folder;
    };
    std::vector<Entry> entries_;
    size_t next_ = 0;
    const Entry* current_ = nullptr;
};

// The folder of the running program, with its trailing "/".
std::string ProgramFolder();
// The process's current folder, with its trailing "/".
std::string CurrentFolder();
bool SetCurrentFolder(const std::string& folder);

void Delay(int milliseconds);

}  // namespace platform
