// Files and folders: 8-bit text files, whole-file byte reads, path parts,
// folder listings, the program's own folder and a pause.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// How a read of a whole file ended.
enum class FileRead {
    Done,        // every byte of the file is read
    CannotOpen,  // missing, not a regular file, or not readable
    CannotRead,  // a read failed, or would have waited
    TooLarge,    // more bytes than asked for: the first of them are read
    NoMemory,
};

// The largest file read whole when no other limit is given. No font file the
// program reads comes near it.
constexpr int64_t MaxFileRead = int64_t(1) << 30;

// The one way the program reads a file a user names. It never waits: the
// file is opened without blocking (a named pipe or a device would hold the
// open until a writer came), must be a regular file, and is read until its
// end, whatever size it gives (/proc files give 0); a read that would wait,
// as /proc/kmsg's waits for the next kernel message, fails the whole read.
// At most `limit` bytes are kept: with TooLarge, `bytes` holds the file's
// first `limit` bytes; after any other failure it is empty.
FileRead ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, int64_t limit = MaxFileRead);
// The whole file (ReadWholeFile gave Done); false otherwise, and `bytes` empty.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes);

// A text file in the ANSI code page (Windows-1252), read whole by ReadWholeFile
// when opened and then served line by line or byte by byte.
class TextFileReader {
public:
    // False, and nothing open, when ReadFileBytes fails.
    bool Open(const std::string& path);
    bool IsOpen() const { return open_; }
    // The next line as UTF-8, without its end (CR, LF or CR LF).
    std::string ReadLine();
    bool Eof() const { return next_ >= bytes_.size(); }
    int64_t Length() const { return int64_t(bytes_.size()); }
    int64_t Position() const { return int64_t(next_); }
    // A position past the end reads as the end.
    void Seek(int64_t position);
    // One byte; 0 at or past the end of the file.
    uint8_t ReadByte();
    // Every byte of the file, as read.
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    void Close();

private:
    std::vector<uint8_t> bytes_;
    size_t next_ = 0;
    bool open_ = false;
};

// The one way the program writes a file. The content goes into a temporary
// file beside the target; Commit() flushes, syncs and closes it and renames it
// over the target, checking every step. Any failure, or a replacement dropped
// without Commit(), leaves the old file whole and no temporary behind.
// A symbolic link is followed to its target (the link stays a link). A target
// that is not a regular file (a folder, a pipe, a device), and an existing
// file without write permission (by its mode bits, so also for root), are
// refused by Open().
class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool Open(const std::string& path);
    // The temporary file to write into; nullptr when not open.
    std::FILE* File() const { return file_; }
    // False, and the target untouched, when anything failed.
    bool Commit();
    void Abandon();

private:
    std::FILE* file_ = nullptr;
    std::string target_;     // the file the path names, links followed
    std::string temporary_;
};

// A text file written in the ANSI code page through a ReplacingFile: the
// file on disk changes only when Close() succeeds. No line end is added:
// callers write "\r\n" themselves.
class TextFileWriter {
public:
    TextFileWriter() = default;
    ~TextFileWriter() = default;  // a file not closed is abandoned
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Starts a new content for the file; Close() puts it in place of an
    // existing file. The two names do the same.
    bool Create(const std::string& path);
    bool CreateReplacing(const std::string& path);
    // Starts from the file's present content (a missing file is empty).
    bool Append(const std::string& path);
    bool IsOpen() const;
    // UTF-8 text, converted to Windows-1252.
    void Write(const std::string& text);
    // Raw bytes, unconverted.
    void WriteBytes(const std::string& bytes);
    // Writes the file; false (and the old file kept) when anything failed.
    bool Close();

private:
    ReplacingFile file_;
    bool failed_ = false;
};

// Writes bytes as they are, through a ReplacingFile; false on failure.
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
