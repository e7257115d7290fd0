#include "CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// The Windows-1251 bytes of a text written here in UTF-8.
std::string cp(const std::string &utf8)
{
    return codepage::utf8ToCp1251(utf8).value();
}

TEST(CodePage, ConvertsKnownBytesBothWays)
{
    const std::string privet = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in Windows-1251
    EXPECT_EQ(codepage::cp1251ToUtf8(privet), "Привет");
    EXPECT_EQ(codepage::utf8ToCp1251("Привет"), privet);
    EXPECT_EQ(codepage::utf8ToCp1251("Ёё №€ box 7"), "\xA8\xB8 \xB9\x88 box 7");
    EXPECT_EQ(codepage::utf8ToCp1251(""), "");
    EXPECT_EQ(codepage::cp1251ToUtf8(""), "");
}

TEST(CodePage, EveryDefinedByteRoundTrips)
{
    int defined = 0;
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = codepage::cp1251ToUtf8(byte);
        if (utf8 == "\xEF\xBF\xBD")
            continue;  // a byte without a character
        ++defined;
        EXPECT_EQ(codepage::utf8ToCp1251(utf8), byte) << "byte " << b;
    }
    EXPECT_EQ(defined, 254);  // 0x98 is the one byte the code page leaves out
}

TEST(CodePage, UndefinedByteBecomesReplacementCharacter)
{
    EXPECT_EQ(codepage::cp1251ToUtf8("a\x98z"), "a\xEF\xBF\xBDz");
}

TEST(CodePage, TextThatWindows1251CannotHoldGivesNothing)
{
    const std::vector<std::string> cases = {
        "日本",            // no Chinese characters
        "box Ω",          // no Greek
        "\xEF\xBF\xBD",   // the replacement character itself
        "abc\xC3",        // cut in the middle of a character
        "\xFF",           // not UTF-8 at all
        "\xC0\xAF",       // an overlong form of "/"
        "\xED\xA0\x80",   // a surrogate
    };
    for (const std::string &text : cases)
        EXPECT_EQ(codepage::utf8ToCp1251(text), std::nullopt) << text;
}

TEST(CodePage, EqualsNoCaseFoldsLatinAndCyrillic)
{
    struct Case {
        std::string a, b;
        bool equal;
    };
    const std::vector<Case> cases = {
        {"user", "USER", true},
        {"Interface", "iNTERFACE", true},
        {"", "", true},
        {"user", "users", false},
        {"host", "post", false},
        {cp("Ящик"), cp("яЩИК"), true},
        {cp("ЁЛКА"), cp("ёлка"), true},
        {cp("ЇҐЎІЄЈЉЊЋЏЅЂЃ"), cp("їґўієјљњћџѕђѓ"), true},
        {cp("А"), cp("а"), true},
        {cp("А"), "A", false},  // Cyrillic A is not Latin A
        {cp("а"), cp("б"), false},
        {cp("І"), "I", false},
        {"\xAB", "\xBB", false},  // « and » are not letters of one case pair
        {cp("ключ=знач"), cp("КЛЮЧ=ЗНАЧ"), true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(codepage::equalsNoCase(c.a, c.b), c.equal) << codepage::cp1251ToUtf8(c.a) << " / "
                                                            << codepage::cp1251ToUtf8(c.b);
        EXPECT_EQ(codepage::equalsNoCase(c.b, c.a), c.equal);
    }
}

TEST(CodePage, ConversionsAndComparisonsRunOnManyThreadsAtOnce)
{
    const std::string upper = cp("ПОЧТОВЫЙ ЯЩИК");
    const std::string lower = cp("почтовый ящик");
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (size_t t = 0; t < failures.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                if (!codepage::equalsNoCase(upper, lower) ||
                    codepage::utf8ToCp1251(codepage::cp1251ToUtf8(upper)) != upper)
                    ++failures[t];
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
