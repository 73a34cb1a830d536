// Text and number conventions: UTF-8 strings measured in characters, the
// program's integer and hexadecimal forms, and the Windows-1252 code page.
#include "platform/text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace platform {

namespace {

constexpr uint32_t Replacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The byte length of the character starting at `i`. A lead byte takes only
// the continuation bytes that actually follow it; a stray byte is one
// character of its own, so any byte sequence splits into characters.
size_t CharLength(std::string_view s, size_t i)
{
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t want = 0;
    if (c >= 0xC0 && c < 0xE0)
        want = 1;
    else if (c >= 0xE0 && c < 0xF0)
        want = 2;
    else if (c >= 0xF0 && c < 0xF8)
        want = 3;
    size_t n = 1;
    while (n <= want && i + n < s.size() && IsContinuation(static_cast<unsigned char>(s[i + n])))
        n++;
    return n;
}

// The code point of the character at `i` (of byte length `n`); malformed,
// overlong or out-of-range sequences give U+FFFD.
uint32_t DecodeChar(std::string_view s, size_t i, size_t n)
{
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80)
        return c;
    size_t want;
    uint32_t cp;
    uint32_t minimum;
    if (c >= 0xC0 && c < 0xE0) {
        want = 2, cp = c & 0x1F, minimum = 0x80;
    } else if (c >= 0xE0 && c < 0xF0) {
        want = 3, cp = c & 0x0F, minimum = 0x800;
    } else if (c >= 0xF0 && c < 0xF8) {
        want = 4, cp = c & 0x07, minimum = 0x10000;
    } else {
        return Replacement;
    }
    if (n != want)
        return Replacement;
    for (size_t k = 1; k < n; k++)
        cp = cp << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return Replacement;
    return cp;
}

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = Replacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Byte offset of character number `index` (from 0); the text's size when it
// has fewer characters.
size_t ByteOffset(std::string_view s, int64_t index)
{
    size_t i = 0;
    while (index > 0 && i < s.size()) {
        i += CharLength(s, i);
        index--;
    }
    return i;
}

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves
// undefined map to the C1 controls of the same value, so they survive a
// round trip.
constexpr std::array<uint16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string Str(int64_t value)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Hex(int64_t value)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<uint64_t>(value), 16);
    for (char* p = buffer; p != result.ptr; ++p)
        if (*p >= 'a' && *p <= 'f')
            *p = static_cast<char>(*p - 'a' + 'A');
    return std::string(buffer, result.ptr);
}

std::string RSet(std::string_view text, int n, char fill)
{
    if (n <= 0)
        return std::string();
    int length = Len(text);
    if (length >= n)
        return Left(text, n);
    std::string out(static_cast<size_t>(n - length), fill);
    out += text;
    return out;
}

int64_t Val(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlankOrTab(text[i]))
        i++;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        i++;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        i++;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        i++;
    }
    // Hexadecimal and binary keep the low 64 bits, so the 16 digits that Hex
    // writes for a negative value read back as that value. Decimal saturates.
    constexpr uint64_t positiveLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    uint64_t magnitude = 0;
    bool saturated = false;
    for (; i < text.size(); i++) {
        int digit = DigitValue(text[i]);
        if (digit >= base)
            break;
        if (base == 10) {
            if (saturated)
                continue;
            if (magnitude > (positiveLimit + 1 - static_cast<uint64_t>(digit)) / 10) {
                saturated = true;
                continue;
            }
        }
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    if (saturated)
        return negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    if (base == 10 && !negative && magnitude > positiveLimit)
        return std::numeric_limits<int64_t>::max();
    // Two's complement negation in unsigned arithmetic; the conversion back
    // to int64_t is modular.
    return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
}

double ValD(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlankOrTab(text[i]))
        i++;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        i++;
    }
    // A second sign is not a number.
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        return 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    double value = 0.0;
    auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return 0.0;
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small to hold: decide by the exponent's sign, or
        // by the integer digits when there is no exponent.
        std::string_view number(first, static_cast<size_t>(result.ptr - first));
        size_t e = number.find_first_of("eE");
        bool overflow;
        if (e != std::string_view::npos) {
            overflow = !(e + 1 < number.size() && number[e + 1] == '-');
        } else {
            overflow = false;
            for (char c : number) {
                if (c == '.')
                    break;
                if (c >= '1' && c <= '9')
                    overflow = true;
            }
        }
        value = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::string StrF(double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 60)
        decimals = 60;
    // The largest double has 309 integer digits.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

std::string Trim(std::string_view text)
{
    size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return std::string();
    size_t end = text.find_last_not_of(' ');
    return std::string(text.substr(start, end - start + 1));
}

std::string UCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string RemoveString(std::string_view text, std::string_view what)
{
    return ReplaceString(text, what, std::string_view());
}

std::string ReplaceString(std::string_view text, std::string_view what, std::string_view with)
{
    if (what.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (true) {
        size_t found = text.find(what, i);
        if (found == std::string_view::npos)
            break;
        out.append(text, i, found - i);
        out += with;
        i = found + what.size();
    }
    out.append(text, i);
    return out;
}

int CountString(std::string_view text, std::string_view what)
{
    if (what.empty())
        return 0;
    int count = 0;
    for (size_t i = text.find(what); i != std::string_view::npos; i = text.find(what, i + what.size()))
        count++;
    return count;
}

int FindString(std::string_view text, std::string_view what, int start)
{
    if (what.empty())
        return 0;
    if (start < 1)
        start = 1;
    size_t from = ByteOffset(text, start - 1);
    if (from >= text.size())
        return 0;
    size_t found = text.find(what, from);
    if (found == std::string_view::npos)
        return 0;
    return Len(text.substr(0, found)) + 1;
}

std::string StringField(std::string_view text, int k, std::string_view separator)
{
    if (k < 1)
        return std::string();
    if (separator.empty())
        return k == 1 ? std::string(text) : std::string();
    size_t begin = 0;
    for (int field = 1; field < k; field++) {
        size_t found = text.find(separator, begin);
        if (found == std::string_view::npos)
            return std::string();
        begin = found + separator.size();
    }
    size_t end = text.find(separator, begin);
    if (end == std::string_view::npos)
        end = text.size();
    return std::string(text.substr(begin, end - begin));
}

int Len(std::string_view text)
{
    int count = 0;
    for (size_t i = 0; i < text.size(); i += CharLength(text, i))
        count++;
    return count;
}

std::string Left(std::string_view text, int n)
{
    if (n <= 0)
        return std::string();
    return std::string(text.substr(0, ByteOffset(text, n)));
}

std::string Right(std::string_view text, int n)
{
    if (n <= 0)
        return std::string();
    int length = Len(text);
    if (n >= length)
        return std::string(text);
    return std::string(text.substr(ByteOffset(text, length - n)));
}

std::string Mid(std::string_view text, int position, int length)
{
    if (position < 1)
        position = 1;
    size_t begin = ByteOffset(text, position - 1);
    std::string_view rest = text.substr(begin);
    if (length < 0)
        return std::string(rest);
    return std::string(rest.substr(0, ByteOffset(rest, length)));
}

std::string Chr(uint32_t codePoint)
{
    std::string out;
    AppendUtf8(out, codePoint);
    return out;
}

uint32_t Asc(std::string_view text)
{
    if (text.empty())
        return 0;
    return DecodeChar(text, 0, CharLength(text, 0));
}

std::string AnsiToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else if (c < 0xA0)
            AppendUtf8(out, Cp1252High[c - 0x80]);
        else
            AppendUtf8(out, c);
    }
    return out;
}

std::string Utf8ToAnsi(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t n = CharLength(text, i);
        uint32_t cp = DecodeChar(text, i, n);
        i += n;
        char byte = '?';
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            byte = static_cast<char>(cp);
        } else {
            for (size_t k = 0; k < Cp1252High.size(); k++) {
                if (Cp1252High[k] == cp) {
                    byte = static_cast<char>(0x80 + k);
                    break;
                }
            }
        }
        out += byte;
    }
    return out;
}

}  // namespace platform
