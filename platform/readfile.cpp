// Reading the files a user names: whole, without ever waiting, and then
// served as ANSI text lines or bytes.
#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/text.h"

namespace platform {

namespace {

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// Reads into `bytes` from its current size up to `limit`; false when a read
// fails or would wait. `more` tells whether the file goes on past `limit`.
bool ReadUntilEnd(int fd, std::vector<uint8_t>& bytes, int64_t limit, bool& more)
{
    constexpr size_t Chunk = 64 * 1024;
    more = false;
    while (true) {
        const size_t used = bytes.size();
        // One byte past the limit tells a file of exactly `limit` bytes from
        // a longer one.
        const size_t room = size_t(std::min<int64_t>(int64_t(Chunk), limit + 1 - int64_t(used)));
        bytes.resize(used + room);
        const ssize_t n = ::read(fd, bytes.data() + used, room);
        if (n < 0 && errno == EINTR) {
            bytes.resize(used);
            continue;
        }
        bytes.resize(used + size_t(std::max<ssize_t>(n, 0)));
        if (n < 0)
            return false;  // EAGAIN included: the file would make us wait
        if (n == 0)
            return true;
        if (int64_t(bytes.size()) > limit) {
            bytes.resize(size_t(limit));
            more = true;
            return true;
        }
    }
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, int64_t limit)
{
    bytes.clear();
    if (path.empty())
        return FileRead::CannotOpen;
    // O_NONBLOCK stays on: a regular file reads as ever, and one that would
    // wait (/proc/kmsg) says so instead of stopping the program.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info;
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return FileRead::CannotOpen;
    limit = std::max<int64_t>(limit, 0);
    bool more = false;
    try {
        bytes.reserve(size_t(std::min<int64_t>(std::max<int64_t>(info.st_size, 0), limit)));
        if (!ReadUntilEnd(file.Get(), bytes, limit, more)) {
            bytes.clear();
            return FileRead::CannotRead;
        }
    } catch (const std::bad_alloc&) {
        bytes = {};
        return FileRead::NoMemory;
    }
    return more ? FileRead::TooLarge : FileRead::Done;
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes)
{
    if (ReadWholeFile(path, bytes) == FileRead::Done)
        return true;
    bytes = {};
    return false;
}

// ---- TextFileReader ---------------------------------------------------------

bool TextFileReader::Open(const std::string& path)
{
    Close();
    open_ = ReadFileBytes(path, bytes_);
    return open_;
}

std::string TextFileReader::ReadLine()
{
    const size_t start = std::min(next_, bytes_.size());
    size_t end = start;
    while (end < bytes_.size() && bytes_[end] != '\r' && bytes_[end] != '\n')
        end++;
    next_ = end;
    if (next_ < bytes_.size() && bytes_[next_++] == '\r' && next_ < bytes_.size() && bytes_[next_] == '\n')
        next_++;
    return AnsiToUtf8(std::string(bytes_.begin() + std::ptrdiff_t(start), bytes_.begin() + std::ptrdiff_t(end)));
}

void TextFileReader::Seek(int64_t position)
{
    if (open_)
        next_ = size_t(std::clamp<int64_t>(position, 0, int64_t(bytes_.size())));
}

uint8_t TextFileReader::ReadByte() { return next_ < bytes_.size() ? bytes_[next_++] : 0; }

void TextFileReader::Close()
{
    bytes_ = {};
    next_ = 0;
    open_ = false;
}

}  // namespace platform
