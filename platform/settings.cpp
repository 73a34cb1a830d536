// Settings files: "[group]" lines, "; comment" lines and "key = value" lines.
// The whole file is parsed on opening and written whole on closing.
#include "platform/settings.h"

#include <limits>

#include "platform/files.h"
#include "platform/text.h"

namespace platform {

namespace {

const char ByteOrderMark[] = "\xEF\xBB\xBF";

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

bool SameAsciiText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::string TrimBlanksAndTabs(const std::string& text)
{
    size_t start = 0, end = text.size();
    while (start < end && IsBlankOrTab(text[start]))
        start++;
    while (end > start && IsBlankOrTab(text[end - 1]))
        end--;
    return text.substr(start, end - start);
}

// A line break inside a written text would start a new line of the file;
// it becomes a blank.
std::string OneLine(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

// A decimal int32 the way C reads it: leading white space, an optional sign,
// then digits up to the first other character. No digits give 0; values
// beyond the range stop at its ends.
int32_t ParseInt32(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        i++;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        i++;
    }
    int64_t magnitude = 0;
    constexpr int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; i++) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

}  // namespace

bool SettingsFile::Open(const std::string& name)
{
    path_ = name;
    preamble_.clear();
    groups_.clear();
    current_.clear();
    grouped_ = false;
    writable_ = !name.empty();
    written_ = false;
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(name, bytes))
        return false;
    std::string raw(bytes.begin(), bytes.end());
    if (raw.compare(0, 3, ByteOrderMark) == 0)
        Parse(raw.substr(3));
    else
        Parse(AnsiToUtf8(raw));
    return true;
}

void SettingsFile::Parse(const std::string& text)
{
    std::vector<Line>* lines = &preamble_;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = text.find_first_of("\r\n", i);
        if (end == std::string::npos)
            end = text.size();
        size_t start = i;
        while (start < end && IsBlankOrTab(text[start]))
            start++;
        std::string line = text.substr(start, end - start);
        i = end;
        if (i < text.size() && text[i] == '\r')
            i++;
        if (i < text.size() && text[i] == '\n' && (i == end || text[i - 1] == '\r'))
            i++;
        if (line.empty())
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            std::string group = close == std::string::npos ? line.substr(1) : line.substr(1, close - 1);
            groups_.push_back({group, {}});
            lines = &groups_.back().lines;
        } else if (line[0] == ';') {
            std::string comment = line.substr(1);
            if (!comment.empty() && comment[0] == ' ')
                comment.erase(0, 1);
            lines->push_back({Line::CommentLine, comment, ""});
        } else {
            size_t equals = line.find('=');
            std::string key = line.substr(0, equals);
            while (!key.empty() && IsBlankOrTab(key.back()))
                key.pop_back();
            std::string value;
            if (equals != std::string::npos) {
                size_t v = equals + 1;
                while (v < line.size() && IsBlankOrTab(line[v]))
                    v++;
                value = line.substr(v);
            }
            lines->push_back({Line::KeyLine, key, value});
        }
    }
}

bool SettingsFile::Create(const std::string& name)
{
    path_ = name;
    preamble_.clear();
    groups_.clear();
    current_.clear();
    grouped_ = false;
    written_ = false;
    ReplacingFile probe;  // dropped unused: the file stays as it is
    writable_ = probe.Open(name);
    return writable_;
}

void SettingsFile::Group(const std::string& name)
{
    current_ = name;
    grouped_ = true;
}

SettingsFile::GroupData* SettingsFile::FindGroup(const std::string& name)
{
    for (GroupData& group : groups_)
        if (SameAsciiText(group.name, name))
            return &group;
    return nullptr;
}

const SettingsFile::GroupData* SettingsFile::FindGroup(const std::string& name) const
{
    for (const GroupData& group : groups_)
        if (SameAsciiText(group.name, name))
            return &group;
    return nullptr;
}

const SettingsFile::Line* SettingsFile::FindKey(const std::string& key) const
{
    if (!grouped_)
        return nullptr;
    const GroupData* group = FindGroup(current_);
    if (!group)
        return nullptr;
    for (const Line& line : group->lines)
        if (line.kind == Line::KeyLine && SameAsciiText(line.key, key))
            return &line;
    return nullptr;
}

int32_t SettingsFile::ReadInt(const std::string& key, int32_t defaultValue) const
{
    const Line* line = FindKey(key);
    return line ? ParseInt32(line->value) : defaultValue;
}

std::string SettingsFile::ReadText(const std::string& key, const std::string& defaultValue) const
{
    const Line* line = FindKey(key);
    return line ? TrimBlanksAndTabs(line->value) : defaultValue;
}

std::vector<SettingsFile::Line>& SettingsFile::CurrentForWriting()
{
    written_ = true;
    if (!grouped_)
        return preamble_;
    GroupData* group = FindGroup(current_);
    if (!group) {
        groups_.push_back({OneLine(current_), {}});
        group = &groups_.back();
    }
    return group->lines;
}

void SettingsFile::WriteInt(const std::string& key, int64_t value)
{
    WriteText(key, Str(value));
}

void SettingsFile::WriteText(const std::string& key, const std::string& value)
{
    std::vector<Line>& lines = CurrentForWriting();
    std::string cleanKey = OneLine(key);
    for (Line& line : lines) {
        if (line.kind == Line::KeyLine && SameAsciiText(line.key, cleanKey)) {
            line.value = OneLine(value);
            return;
        }
    }
    lines.push_back({Line::KeyLine, cleanKey, OneLine(value)});
}

void SettingsFile::WriteComment(const std::string& text)
{
    CurrentForWriting().push_back({Line::CommentLine, OneLine(text), ""});
}

bool SettingsFile::Close()
{
    bool ok = true;
    if (written_) {
        std::string out = ByteOrderMark;
        out += "\r\n";
        auto writeLines = [&out](const std::vector<Line>& lines) {
            for (const Line& line : lines) {
                if (line.kind == Line::CommentLine)
                    out += "; " + line.key;
                else
                    out += line.key + " = " + line.value;
                out += "\r\n";
            }
        };
        writeLines(preamble_);
        bool first = preamble_.empty();
        for (const GroupData& group : groups_) {
            if (!first)
                out += "\r\n";
            first = false;
            out += "[" + group.name + "]\r\n";
            writeLines(group.lines);
        }
        ok = false;
        TextFileWriter file;
        if (writable_ && file.CreateReplacing(path_)) {
            file.WriteBytes(out);
            ok = file.Close();
        }
    }
    path_.clear();
    preamble_.clear();
    groups_.clear();
    current_.clear();
    grouped_ = false;
    writable_ = false;
    written_ = false;
    return ok;
}

}  // namespace platform
