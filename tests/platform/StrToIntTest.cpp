#include "StrToInt.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Case {
    std::string text;
    std::optional<int32_t> value;  // nullopt: not a valid integer
};

const std::vector<Case> kCases = {
    {"0", 0},
    {"123", 123},
    {"-123", -123},
    {"+7", 7},
    {"000000000000000000012", 12},
    {"  42", 42},
    {"\t\r\n42", 42},
    {"\x01\x1F 42", 42},
    {" -8", -8},
    {"2147483647", INT_MAX},
    {"-2147483648", INT_MIN},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999", std::nullopt},
    {"$1F", 31},
    {"x1f", 31},
    {"X1F", 31},
    {"0x6E", 110},
    {"0X6e", 110},
    {"-$10", -16},
    {"+0x10", 16},
    {" -x1", -1},
    {"$7FFFFFFF", INT_MAX},
    {"$80000000", INT_MIN},
    {"0xFFFFFFFF", -1},
    {"-$FFFFFFFF", 1},
    {"$100000000", std::nullopt},
    {"$0000000000FF", 255},
    {"", std::nullopt},
    {"   ", std::nullopt},
    {"-", std::nullopt},
    {"+", std::nullopt},
    {"$", std::nullopt},
    {"0x", std::nullopt},
    {"x", std::nullopt},
    {"12abc", std::nullopt},
    {"42 ", std::nullopt},
    {"4 2", std::nullopt},
    {"- 5", std::nullopt},
    {"--5", std::nullopt},
    {"0x-5", std::nullopt},
    {"$G", std::nullopt},
    {"1e3", std::nullopt},
    {"12.0", std::nullopt},
    {"0b101", std::nullopt},
    {std::string("\0" "5", 2), std::nullopt},  // NUL is not a blank
    {"\xA0" "5", std::nullopt},               // nor is a Windows-1251 no-break space
};

TEST(StrToInt, FollowsTheCreateCommandRules)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE("text: '" + c.text + "'");
        EXPECT_EQ(TryStrToInt(c.text), c.value);
        if (c.value) {
            EXPECT_EQ(StrToInt(c.text), *c.value);
        } else {
            try {
                StrToInt(c.text);
                ADD_FAILURE() << "no exception";
            } catch (const std::runtime_error &e) {
                // The message is a C string: a NUL in the text ends it there.
                const std::string message = "'" + c.text + "' is not a valid integer value";
                EXPECT_STREQ(e.what(), message.c_str());
            }
        }
    }
}

TEST(StrToInt, MessageQuotesTheTextAsGiven)
{
    try {
        StrToInt(" 12a");
        FAIL() << "no exception";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(), "' 12a' is not a valid integer value");
    }
}

}  // namespace
