// Files and folders on POSIX: every write as a safe replacement, path parts,
// listings and the program's folders.
#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/text.h"

namespace platform {

namespace {

bool WriteAll(std::FILE* file, const std::string& bytes)
{
    if (bytes.empty())
        return true;
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

// ---- ReplacingFile ----------------------------------------------------------

namespace {

// The file a path names, symbolic links followed (a relative link from the
// link's own folder). A missing file is named by the path itself. False on a
// loop of links or one that cannot be read.
bool FollowLinks(const std::string& path, std::string& target)
{
    target = path;
    for (int hops = 0; hops < 40; hops++) {
        struct stat info;
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        std::string link(4096, '\0');
        ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || size_t(n) >= link.size())
            return false;
        link.resize(size_t(n));
        target = link[0] == '/' ? link : GetPathPart(target) + link;
    }
    return false;
}

// Syncs a folder, so a rename in it lasts; best effort.
void SyncFolder(const std::string& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

ReplacingFile::~ReplacingFile() { Abandon(); }

bool ReplacingFile::Open(const std::string& path)
{
    Abandon();
    std::string target;
    if (path.empty() || !FollowLinks(path, target))
        return false;
    struct stat info;
    bool exists = ::stat(target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && (!S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        return false;
    // The temporary lives in the target's folder, so the final rename stays
    // on one file system; its own short name keeps it within name limits.
    std::string name = GetPathPart(target) + ".glyphery-XXXXXX";
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    // mkstemp makes the file private; give it the mode and owner the target
    // has, or the usual mode of a new file.
    if (exists) {
        ::fchmod(fd, info.st_mode & 07777);
        if (info.st_uid != ::geteuid() || info.st_gid != ::getegid())
            (void)!::fchown(fd, info.st_uid, info.st_gid);  // only root may; others keep their own
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        ::unlink(name.c_str());
        return false;
    }
    target_ = target;
    temporary_ = name;
    return true;
}

bool ReplacingFile::Commit()
{
    if (!file_)
        return false;
    bool ok = std::ferror(file_) == 0;
    if (std::fflush(file_) != 0 || ::fsync(fileno(file_)) != 0)
        ok = false;
    if (std::fclose(file_) != 0)
        ok = false;
    file_ = nullptr;
    if (ok && std::rename(temporary_.c_str(), target_.c_str()) != 0)
        ok = false;
    if (ok)
        SyncFolder(GetPathPart(target_));
    else
        ::unlink(temporary_.c_str());
    temporary_.clear();
    target_.clear();
    return ok;
}

void ReplacingFile::Abandon()
{
    if (!file_)
        return;
    std::fclose(file_);
    file_ = nullptr;
    ::unlink(temporary_.c_str());
    temporary_.clear();
    target_.clear();
}

// ---- TextFileWriter ---------------------------------------------------------

bool TextFileWriter::Create(const std::string& path) { return CreateReplacing(path); }

bool TextFileWriter::CreateReplacing(const std::string& path)
{
    failed_ = false;
    return file_.Open(path);
}

bool TextFileWriter::Append(const std::string& path)
{
    failed_ = false;
    if (!file_.Open(path))
        return false;
    std::vector<uint8_t> old;
    if (FileSize(path) > 0 && !ReadFileBytes(path, old)) {
        file_.Abandon();
        return false;
    }
    WriteBytes(std::string(old.begin(), old.end()));
    return true;
}

bool TextFileWriter::IsOpen() const { return file_.File() != nullptr; }

void TextFileWriter::Write(const std::string& text)
{
    if (IsOpen() && !WriteAll(file_.File(), Utf8ToAnsi(text)))
        failed_ = true;
}

void TextFileWriter::WriteBytes(const std::string& bytes)
{
    if (IsOpen() && !WriteAll(file_.File(), bytes))
        failed_ = true;
}

bool TextFileWriter::Close()
{
    if (!IsOpen())
        return false;
    bool ok = !failed_;
    if (ok)
        ok = file_.Commit();
    else
        file_.Abandon();
    failed_ = false;
    return ok;
}

// ---- Whole-file writes ------------------------------------------------------

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    ReplacingFile file;
    if (!file.Open(path))
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.File()) != bytes.size())
        return false;
    return file.Commit();
}

// ---- Path parts -------------------------------------------------------------

namespace {

// Position of the extension's dot in the file part, npos when there is none.
// A leading dot names a hidden file and is not an extension's.
size_t ExtensionDot(const std::string& file)
{
    size_t dot = file.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return std::string::npos;
    return dot;
}

}  // namespace

std::string GetPathPart(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string GetFilePart(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetExtensionPart(const std::string& path)
{
    std::string file = GetFilePart(path);
    size_t dot = ExtensionDot(file);
    return dot == std::string::npos ? std::string() : file.substr(dot + 1);
}

std::string GetFilePartNoExtension(const std::string& path)
{
    std::string file = GetFilePart(path);
    size_t dot = ExtensionDot(file);
    return dot == std::string::npos ? file : file.substr(0, dot);
}

int64_t FileSize(const std::string& path)
{
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return -1;
    if (S_ISDIR(info.st_mode))
        return -2;
    return static_cast<int64_t>(info.st_size);
}

bool DeleteFile(const std::string& path)
{
    if (path.empty() || FileSize(path) == -2)
        return false;
    return ::unlink(path.c_str()) == 0;
}

// ---- Directory listing ------------------------------------------------------

namespace {

// The text as code points, ASCII letters folded to lower case. Bytes that
// are not valid UTF-8 are kept as separate units, so they still compare.
std::vector<uint32_t> FoldedChars(const std::string& text)
{
    std::vector<uint32_t> out;
    std::string lower = LCase(text);
    for (size_t i = 0; i < lower.size();) {
        std::string_view rest(lower.data() + i, lower.size() - i);
        std::string one = Left(rest, 1);
        uint32_t cp = Asc(one);
        if (cp == 0xFFFD && one != "\xEF\xBF\xBD")
            cp = 0x110000 + static_cast<unsigned char>(one[0]);
        out.push_back(cp);
        i += one.size();
    }
    return out;
}

// "*" matches any run of characters, "?" exactly one.
bool WildcardMatch(const std::vector<uint32_t>& name, const std::vector<uint32_t>& pattern)
{
    size_t n = 0, p = 0;
    size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            n++;
            p++;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        p++;
    return p == pattern.size();
}

}  // namespace

bool DirectoryListing::Examine(const std::string& folder, const std::string& pattern)
{
    entries_.clear();
    next_ = 0;
    current_ = nullptr;
    std::string base = folder.empty() ? std::string("./") : folder;
    if (base.back() != '/')
        base += '/';
    DIR* dir = ::opendir(base.c_str());
    if (!dir)
        return false;
    std::vector<uint32_t> wanted = FoldedChars(pattern.empty() ? std::string("*") : pattern);
    while (struct dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (!WildcardMatch(FoldedChars(name), wanted))
            continue;
        bool isFolder;
        if (entry->d_type == DT_DIR) {
            isFolder = true;
        } else if (entry->d_type == DT_REG) {
            isFolder = false;
        } else {
            // Unknown type or a link: ask for what it points to.
            isFolder = FileSize(base + name) == -2;
        }
        entries_.push_back({name, isFolder});
    }
    ::closedir(dir);
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        std::string la = LCase(a.name), lb = LCase(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return true;
}

bool DirectoryListing::Next()
{
    if (next_ >= entries_.size()) {
        current_ = nullptr;
        return false;
    }
    current_ = &entries_[next_++];
    return true;
}

std::string DirectoryListing::EntryName() const { return current_ ? current_->name : std::string(); }

bool DirectoryListing::EntryIsFile() const { return current_ && !current_->folder; }

bool DirectoryListing::EntryIsFolder() const { return current_ && current_->folder; }

// ---- Program and process ----------------------------------------------------

std::string ProgramFolder()
{
    std::string buffer(4096, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<size_t>(n) >= buffer.size())
        return CurrentFolder();
    buffer.resize(static_cast<size_t>(n));
    std::string folder = GetPathPart(buffer);
    return folder.empty() ? CurrentFolder() : folder;
}

std::string CurrentFolder()
{
    std::string buffer(4096, '\0');
    if (!::getcwd(buffer.data(), buffer.size()))
        return "./";
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    if (buffer.empty() || buffer.back() != '/')
        buffer += '/';
    return buffer;
}

bool SetCurrentFolder(const std::string& folder)
{
    return !folder.empty() && ::chdir(folder.c_str()) == 0;
}

void Delay(int milliseconds)
{
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
