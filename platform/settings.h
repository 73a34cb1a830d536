// Settings files ("Glyphery.inf", the code-page files): groups of
// "key = value" lines, read case-insensitively, written whole on close.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class SettingsFile {
public:
    // Reads and parses the whole file; a missing or unreadable file behaves as
    // an empty one (and gives false). Values written afterwards are kept with
    // everything read, and Close() rewrites the file (as UTF-8).
    bool Open(const std::string& name);
    // Starts the file anew: an existing file is not read, and is replaced only
    // when Close() writes the new content. False when the file could not be
    // written (see ReplacingFile).
    bool Create(const std::string& name);
    // Selects the group that reads look in and writes go to. Names and keys
    // compare without regard to the case of ASCII letters; of two groups of
    // one name only the first counts.
    void Group(const std::string& name);
    int32_t ReadInt(const std::string& key, int32_t defaultValue) const;
    std::string ReadText(const std::string& key, const std::string& defaultValue) const;
    void WriteInt(const std::string& key, int64_t value);
    void WriteText(const std::string& key, const std::string& value);
    void WriteComment(const std::string& text);
    // Rewrites the file whole when anything was written; false on failure,
    // with the file on disk as it was.
    bool Close();

private:
    struct Line {
        enum Kind { KeyLine, CommentLine } kind;
        std::string key;    // the key, or the comment's text
        std::string value;
    };
    struct GroupData {
        std::string name;
        std::vector<Line> lines;
    };
    void Parse(const std::string& text);
    GroupData* FindGroup(const std::string& name);
    const GroupData* FindGroup(const std::string& name) const;
    const Line* FindKey(const std::string& key) const;
    std::vector<Line>& CurrentForWriting();

    std::string path_;
    std::vector<Line> preamble_;  // lines before the first group: kept, never read
    std::vector<GroupData> groups_;
    std::string current_;
    bool grouped_ = false;        // a group has been selected
    bool writable_ = false;
    bool written_ = false;
};

}  // namespace platform
