// Text and number conventions.
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include <iconv.h>

#include <gtest/gtest.h>

#include "platform/text.h"

using namespace platform;

TEST(TextNumbers, IntegerReadingRules)
{
    EXPECT_EQ(Val("$ff"), 255);
    EXPECT_EQ(Val("$FF"), 255);
    EXPECT_EQ(Val("%101"), 5);
    EXPECT_EQ(Val("%1021"), 2);  // stops at the first non-binary digit
    EXPECT_EQ(Val("  -12abc"), -12);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("$"), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("\t \t42"), 42);
    EXPECT_EQ(Val(" \t-$10"), -16);
    EXPECT_EQ(Val("12 34"), 12);
    EXPECT_EQ(Val("\n5"), 0);  // only blanks and tabs are skipped
    EXPECT_EQ(Val("3C,"), 3);  // decimal unless "$" says otherwise
    EXPECT_EQ(Val("$3c,"), 0x3C);
}

TEST(TextNumbers, IntegerReadingExtremes)
{
    // Hexadecimal keeps 64 bits, so what Hex writes reads back; decimal saturates.
    EXPECT_EQ(Val("$" + Hex(-256)), -256);
    EXPECT_EQ(Val("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Val("99999999999999999999999999"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Val("-99999999999999999999999999"), std::numeric_limits<int64_t>::min());
}

TEST(TextNumbers, HexAndStr)
{
    EXPECT_EQ(Hex(0), "0");
    EXPECT_EQ(Hex(255), "FF");
    EXPECT_EQ(Hex(0xABCDEF), "ABCDEF");
    EXPECT_EQ(Hex(-1), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Hex(-256), "FFFFFFFFFFFFFF00");
    EXPECT_EQ(Str(0), "0");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ(Str(123), "123");
    EXPECT_EQ(Str(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

TEST(TextNumbers, RSetPadsAndCuts)
{
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

TEST(TextStrings, TrimRemovesBlanksNotTabs)
{
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\t a \t"), "\t a \t");
    EXPECT_EQ(Trim(" \ta"), "\ta");
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(Trim(""), "");
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

TEST(TextStrings, FieldsCountsAndReplacements)
{
    EXPECT_EQ(StringField("0x3C,0xFF,", 2, ","), "0xFF");
    EXPECT_EQ(StringField("0x3C,0xFF,", 3, ","), "");
    EXPECT_EQ(StringField("0x3C,0xFF,", 9, ","), "");
    EXPECT_EQ(CountString("aaaa", "aa"), 2);
    EXPECT_EQ(ReplaceString("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(RemoveString("0x12,0x34,", "0x"), "12,34,");
    EXPECT_EQ(UCase("abc\xC3\xA9z"), "ABC\xC3\xA9Z");
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
    EXPECT_EQ(AnsiToUtf8("plain"), "plain");

    EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC\xC3\xA9"), "\x80\xE9");
    EXPECT_EQ(Utf8ToAnsi("\xCE\xA9"), "?");              // Greek omega
    EXPECT_EQ(Utf8ToAnsi("\xC2\x80"), "?");              // U+0080 is no 1252 byte
    EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80x"), "?x");

    // Every byte survives the way to UTF-8 and back.
    std::string all;
    for (int b = 0; b < 256; b++)
        all += static_cast<char>(b);
    std::string utf8 = AnsiToUtf8(all);
    EXPECT_EQ(Len(utf8), 256);
    EXPECT_EQ(Utf8ToAnsi(utf8), all);
}
