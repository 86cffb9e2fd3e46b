#include "runtime/RtString.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

using runtime::StringToLong;

struct ToLongCase {
    std::string text;
    std::int32_t expected;
};

TEST(StringTest, StringToLongFollowsItsRules) {
    const ToLongCase cases[] = {
        {"  42", 42},
        {"\t-7x", -7},
        {"+15", 15},
        {"- 5", 0},  // no blanks after the sign
        {"+-5", 0},  // one sign only
        {"007", 7},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MIN},  // wraps, no saturation
        {"4294967296", 0},
        {"4294967297", 1},
        {"-2147483648", INT_MIN},
        {"12ab", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"\xB2" "3", 0},  // superscript two is not a digit
        {std::string("9\0" "9", 3), 9},  // a runtime string ends at its zero byte
    };
    for (const auto& c : cases) EXPECT_EQ(StringToLong(c.text), c.expected) << '"' << c.text << '"';
}

TEST(StringTest, StringFromLongWritesPlainDecimal) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, "0"}, {7, "7"}, {-1, "-1"}, {1000, "1000"},
        {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(runtime::StringFromLong(value), text);
}

TEST(StringTest, LeftSpaceLengthAndEqual) {
    const std::string name = "Wald.MAP";
    EXPECT_EQ(runtime::StringLeft(name, runtime::StringLength(name) - 4), "Wald");
    EXPECT_EQ(runtime::StringLeft(name, 100), name);
    EXPECT_EQ(runtime::StringLeft(name, -3), "");
    EXPECT_EQ(runtime::StringSpace(3), "   ");
    EXPECT_EQ(runtime::StringSpace(-2), "");
    EXPECT_EQ(runtime::StringLength(std::string("ab\0cd", 5)), 2);
    EXPECT_EQ(runtime::StringEqual("", {}), 1);
    EXPECT_EQ(runtime::StringEqual("a", "A"), 0);
    EXPECT_EQ(runtime::StringEqual("Wald", "Walde"), 0);
    EXPECT_EQ(runtime::StringEqual("Wald", "Wald"), 1);
}

TEST(StringTest, Cp1252ConversionKeepsEveryByte) {
    EXPECT_EQ(runtime::Cp1252("Öffnen..."), "\xD6" "ffnen...");
    EXPECT_EQ(runtime::Cp1252("90°"), "90\xB0");
    EXPECT_EQ(runtime::Cp1252("€"), "\x80");
    EXPECT_EQ(runtime::Cp1252("日"), "?");  // no CP1252 byte
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(runtime::Cp1252(runtime::Utf8(all)), all);
}

}  // namespace
