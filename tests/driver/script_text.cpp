// Reading the script: its words and numbers, failures naming the line, and
// the output.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "driver.h"

namespace driver {

namespace {

int CurrentLine = 0;
std::string CurrentText;

}  // namespace

void SetScriptLine(int number, const std::string& text)
{
    CurrentLine = number;
    CurrentText = text;
}

void Fail(const std::string& why)
{
    std::fflush(stdout);
    std::fprintf(stderr, "script line %d: %s\n  %s\n", CurrentLine, why.c_str(), CurrentText.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

void Print(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    // A line at a time, so that whoever watches the output sees each step.
    std::fflush(stdout);
}

std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string RestAfter(const std::string& line, int count)
{
    size_t i = 0;
    for (int w = 0; w < count; ++w) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        while (i < line.size() && line[i] != ' ')
            ++i;
    }
    if (i < line.size())
        ++i;  // the one separating blank
    return line.substr(std::min(i, line.size()));
}

int Number(const std::string& text)
{
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i >= text.size())
        Fail("not a number: " + text);
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            Fail("not a number: " + text);
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + (text[0] == '-' ? 1 : 0))
            Fail("number out of range: " + text);
    }
    return int(text[0] == '-' ? -value : value);
}

}  // namespace driver
