// A fresh folder for one test, removed with its contents afterwards. With
// `enter` it is also the current folder while it lives (where the program
// keeps "Glyphery.inf").
#pragma once

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

class TempFolder {
public:
    explicit TempFolder(bool enter = false) : old_(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "glyphery-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        dir_ = pattern + "/";
        if (enter)
            std::filesystem::current_path(dir_);
    }
    ~TempFolder()
    {
        std::error_code error;
        std::filesystem::current_path(old_, error);
        std::filesystem::remove_all(dir_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder itself, ending in "/", and a name in it.
    const std::string& Dir() const { return dir_; }
    std::string Path(const std::string& name) const { return dir_ + name; }

    // Writes a file of these bytes into the folder and gives its path.
    std::string Put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    // The bytes of any file ("" when there is none).
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::filesystem::path old_;
    std::string dir_;
};

// Runs `action` with the size limit of written files lowered to `bytes`, a
// stand-in for a full disk: writes past it fail instead of raising SIGXFSZ.
template <class Action>
auto WithFileSizeLimit(rlim_t bytes, Action action)
{
    struct rlimit saved;
    if (::getrlimit(RLIMIT_FSIZE, &saved) != 0)
        throw std::runtime_error("cannot read the file size limit");
    struct sigaction ignore = {}, old;
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &old);
    struct rlimit small = saved;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
    struct Restore {
        rlimit limit;
        struct sigaction handler;
        ~Restore()
        {
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::sigaction(SIGXFSZ, &handler, nullptr);
        }
    } restore{saved, old};
    return action();
}
