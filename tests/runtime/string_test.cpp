#include "runtime/RtString.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

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

    // 0x80..0x9F are where the code page differs from Latin-1: each byte against its
    // character; the five bytes it leaves unassigned stand for the C1 controls of their value.
    const std::pair<unsigned char, char32_t> table[] = {
        {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E},
        {0x85, 0x2026}, {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030},
        {0x8A, 0x0160}, {0x8B, 0x2039}, {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D},
        {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C},
        {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014}, {0x98, 0x02DC},
        {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9D, 0x009D},
        {0x9E, 0x017E}, {0x9F, 0x0178},
    };
    const auto utf8 = [](char32_t c) {  // two or three bytes for these
        std::string out;
        if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (c & 0x3F));
        return out;
    };
    for (const auto& [byte, character] : table) {
        SCOPED_TRACE(static_cast<int>(byte));
        const std::string cp1252(1, static_cast<char>(byte));
        EXPECT_EQ(runtime::Utf8(cp1252), utf8(character));
        EXPECT_EQ(runtime::Cp1252(utf8(character)), cp1252);
    }
}

}  // namespace
