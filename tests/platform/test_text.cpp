// Text and number conventions.
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include <iconv.h>

#include <gtest/gtest.h>

#include "platform/text.h"

using namespace platform;

TEST(TextNumbers, IntegerReading)
{
    constexpr int64_t Min = std::numeric_limits<int64_t>::min(), Max = std::numeric_limits<int64_t>::max();
    const std::pair<std::string, int64_t> cases[] = {
        {"$ff", 255}, {"$FF", 255}, {"%101", 5}, {"%1021", 2},  // stops at the first non-binary digit
        {"  -12abc", -12}, {"+7", 7}, {"", 0}, {"abc", 0}, {"$", 0}, {"-", 0}, {"12 34", 12},
        {"\t \t42", 42}, {" \t-$10", -16}, {"\n5", 0},  // only blanks and tabs are skipped
        {"3C,", 3}, {"$3c,", 0x3C},                      // decimal unless "$" says otherwise
        // Hexadecimal keeps 64 bits, so what Hex writes reads back; decimal saturates.
        {"$" + Hex(-256), -256}, {"-9223372036854775808", Min}, {"99999999999999999999999999", Max},
        {"-99999999999999999999999999", Min}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(Val(text), value) << '"' << text << '"';
}

TEST(TextNumbers, HexStrAndRSet)
{
    EXPECT_EQ(Hex(0) + " " + Hex(255) + " " + Hex(0xABCDEF), "0 FF ABCDEF");
    EXPECT_EQ(Hex(-1), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Hex(-256), "FFFFFFFFFFFFFF00");
    EXPECT_EQ(Str(-5) + " " + Str(0), "-5 0");
    EXPECT_EQ(Str(std::numeric_limits<int64_t>::min()), "-9223372036854775808");

    EXPECT_EQ(RSet("F", 2, '0'), "0F");
    EXPECT_EQ(RSet("FF", 2, '0'), "FF");
    EXPECT_EQ(RSet("100", 2, '0'), "10");  // the first characters stay
    EXPECT_EQ(RSet("ab", 5), "   ab");
    EXPECT_EQ(RSet("\xC3\xA9", 3, '0'), "00\xC3\xA9");  // counts characters, not bytes
    EXPECT_EQ(RSet("\xC3\xA9\xC3\xA9\xC3\xA9", 2), "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(RSet("x", 0), "");
}

TEST(TextNumbers, FloatsIgnoreTheLocale)
{
    // A locale with a decimal comma, when the system has one.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_LOG_(INFO) << "no German locale installed; checked in the C locale only";
    EXPECT_DOUBLE_EQ(ValD("  -1.5e2"), -150.0);
    EXPECT_DOUBLE_EQ(ValD("1,5"), 1.0);
    EXPECT_DOUBLE_EQ(ValD("--1"), 0.0);
    EXPECT_TRUE(std::isinf(ValD("1e400")));
    EXPECT_EQ(StrF(-12.5, 1), "-12.5");
    EXPECT_EQ(StrF(7.6, 0), "8");
    EXPECT_EQ(StrF(1e300, 0).size(), 301u);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(TextStrings, TrimFieldsAndReplacements)
{
    // Blanks only, not tabs.
    EXPECT_EQ(Trim("  a b  ") + "|" + Trim("\t a \t") + "|" + Trim(" \ta") + "|" + Trim("    "), "a b|\t a \t|\ta|");
    EXPECT_EQ(StringField("0x3C,0xFF,", 2, ","), "0xFF");
    EXPECT_EQ(StringField("0x3C,0xFF,", 3, ","), "");
    EXPECT_EQ(StringField("0x3C,0xFF,", 9, ","), "");
    EXPECT_EQ(CountString("aaaa", "aa"), 2);
    EXPECT_EQ(ReplaceString("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(RemoveString("0x12,0x34,", "0x"), "12,34,");
    EXPECT_EQ(UCase("abc\xC3\xA9z"), "ABC\xC3\xA9Z");
}

TEST(TextStrings, PositionsCountCharacters)
{
    const std::string text = "a\xC3\xA9\xE2\x82\xAC" "x\xF0\x9F\x98\x80";  // a é € x 😀
    EXPECT_EQ(Len(text), 5);
    EXPECT_EQ(Left(text, 2), "a\xC3\xA9");
    EXPECT_EQ(Right(text, 2), "x\xF0\x9F\x98\x80");
    EXPECT_EQ(Mid(text, 2, 2), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(Mid(text, 9), "");
    EXPECT_EQ(FindString(text, "\xE2\x82\xAC"), 3);
    EXPECT_EQ(FindString("abcabc", "c", 4), 6);
    EXPECT_EQ(FindString("abc", "z"), 0);
    EXPECT_EQ(Asc(text.substr(3)), 0x20ACu);
    EXPECT_EQ(Chr(0x1F600), "\xF0\x9F\x98\x80");

    // Stray, cut-off and lone bytes are counted, never run past.
    const std::string bad = "\xFF\xC3" "a\x80\xE2\x82";
    EXPECT_EQ(Len(bad), 5);
    EXPECT_EQ(Right(bad, 1), "\xE2\x82");
    EXPECT_EQ(Mid(bad, 3, 1), "a");
    EXPECT_EQ(Utf8ToAnsi(bad), "??a??");
    EXPECT_EQ(Asc("\xC0\x81"), 0xFFFDu);  // overlong form
}

TEST(TextAnsi, Windows1252BothWays)
{
    // Every byte from 0x80 up against the system's own converter; the five
    // bytes the code page leaves undefined stand for the C1 controls of the
    // same value.
    iconv_t system = iconv_open("UTF-8", "WINDOWS-1252");
    ASSERT_NE(system, reinterpret_cast<iconv_t>(-1));
    for (int b = 0x80; b < 0x100; b++) {
        char in = static_cast<char>(b), out[8];
        char *from = &in, *to = out;
        size_t inLeft = 1, outLeft = sizeof out;
        bool defined = iconv(system, &from, &inLeft, &to, &outLeft) != static_cast<size_t>(-1);
        std::string expected = defined ? std::string(out, to) : Chr(static_cast<uint32_t>(b));
        EXPECT_EQ(AnsiToUtf8(std::string(1, in)), expected) << "byte " << b;
    }
    iconv_close(system);

    EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC\xC3\xA9"), "\x80\xE9");
    EXPECT_EQ(Utf8ToAnsi("\xCE\xA9"), "?");  // Greek omega
    EXPECT_EQ(Utf8ToAnsi("\xC2\x80"), "?");  // U+0080 is no 1252 byte
    EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80x"), "?x");

    // Every byte survives the way to UTF-8 and back.
    std::string all;
    for (int b = 0; b < 256; b++)
        all += static_cast<char>(b);
    EXPECT_EQ(Len(AnsiToUtf8(all)), 256);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
}
