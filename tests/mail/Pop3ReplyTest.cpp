#include "Pop3.h"
#include "Pop3Reply.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

TEST(Pop3Reply, TrimDropsSpacesAndControlBytesAtBothEndsOnly)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"+OK hi\r\n", "+OK hi"},
        {" \t+OK  a b \r\n\r\n", "+OK  a b"},
        {"\x01\x1f x \x7f", "x \x7f"},            // DEL is not a control byte here
        {"\xe0\xff\r\n", "\xe0\xff"},              // high bytes are text, not blanks
        {"\r\n", ""},
        {"", ""},
        {" \0 "s, ""},
        {"a\0b"s, "a\0b"s},
    };
    for (const auto &[text, trimmed] : cases)
        EXPECT_EQ(pop3reply::Trim(text), trimmed) << text;
}

TEST(Pop3Reply, StatusLooksAtTheFirstThreeBytesCaseSensitively)
{
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"+OK", 0}, {"+OK ready", 0}, {"+OKAY", 0},
        {"-ERR", 101}, {"-ER", 101}, {"-ERROR bad", 101},
        {"+ok", 100}, {"-err", 100}, {"+O", 100}, {"+", 100}, {"", 100},
        {"* OK", 100}, {"OK", 100}, {"\xff\xfe\xfd", 100},
    };
    for (const auto &[reply, status] : cases)
        EXPECT_EQ(pop3reply::Status(reply), status) << reply;
}

TEST(Pop3Reply, StatCountsAreTwoPlainDecimalNumbers)
{
    struct Case {
        std::string reply;
        std::optional<std::pair<int32_t, int32_t>> counts;
    };
    const std::vector<Case> cases = {
        {"+OK 2 320", std::pair{2, 320}},
        {"+OK 0 0", std::pair{0, 0}},
        {"+OK 5", std::pair{5, 5}},                         // no space: both from the rest
        {"+OK 007 010", std::pair{7, 10}},
        {"+OK 2147483647 2147483647", std::pair{2147483647, 2147483647}},
        {"+OKx3 4", std::pair{3, 4}},                       // the first 4 bytes go, whatever they are
        {"+OK x y", std::nullopt},
        {"+OK  5 100", std::nullopt},                      // two spaces: an empty count
        {"+OK 5 100 extra", std::nullopt},
        {"+OK 5  100", std::nullopt},
        {"+OK 99999999999 1", std::nullopt},
        {"+OK 1 2147483648", std::nullopt},
        {"+OK -1 5", std::nullopt},
        {"+OK +1 5", std::nullopt},
        {"+OK 0x10 5", std::nullopt},
        {"+OK 5\t100", std::nullopt},
        {"+OK", std::nullopt},
        {"+OK ", std::nullopt},
        {"", std::nullopt},
        {"+OK 1 2\0"s, std::nullopt},
    };
    for (const auto &c : cases) {
        const auto parsed = pop3reply::ParseStat(c.reply);
        ASSERT_EQ(parsed.has_value(), c.counts.has_value()) << c.reply;
        if (parsed) {
            EXPECT_EQ(parsed->count, c.counts->first) << c.reply;
            EXPECT_EQ(parsed->size, c.counts->second) << c.reply;
        }
    }
}

TEST(Pop3Reply, UniqueIdIsTheTextAfterTheMessageNumber)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"+OK 3 a5", "a5"},
        {"+OK 12 0001-ABCD", "0001-ABCD"},
        {"+OK 3   spaced  ", "spaced"},
        {"+OK 3 a b c", "a b c"},
        {"+OK a5", "a5"},            // no message number: the rest
        {"+OK 3", "3"},
        {"+OK", ""},
        {"+O", ""},
        {"", ""},
        {"+OK\t3 x", "x"},           // the 4th byte goes whatever it is
    };
    for (const auto &[reply, uid] : cases)
        EXPECT_EQ(pop3reply::UniqueId(reply), uid) << reply;
}

TEST(Pop3Reply, UniqueIdsCompareAsUnsignedBytesWithThePrefixSmaller)
{
    struct Case {
        std::string a, b;
        bool less;
    };
    const std::vector<Case> cases = {
        {"a4", "a5", true},   {"a5", "a4", false}, {"a4", "a4", false},
        {"99", "100", false}, {"100", "99", true},  // text, not numbers
        {"a", "ab", true},    {"ab", "a", false},   {"", "a", true}, {"", "", false},
        {"0", "a3", true},    {"0", "\x01", false},
        {"z", "\x80", true},  {"\xff", "\x7f", false},  // bytes above 127 are the greater
        {"A", "a", true},     {"a\0"s, "a", false}, {"a", "a\0"s, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(pop3reply::UidLess(c.a, c.b), c.less) << c.a << " < " << c.b;
        EXPECT_EQ(TPOP3::UidLess(c.a, c.b), c.less) << c.a << " < " << c.b;
    }
}

}  // namespace
