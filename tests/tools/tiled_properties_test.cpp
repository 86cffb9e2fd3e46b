// Custom property values read from and written to TMX and TMJ: one spelling and one verdict for
// both formats.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/maptool/TiledJson.h"
#include "tools/maptool/TiledMap.h"
#include "tools/maptool/TiledProperties.h"
#include "tools/maptool/TmjFormat.h"
#include "tools/maptool/TmxFormat.h"

namespace maptool {

void PrintTo(const TiledProperty& p, std::ostream* os) {
    *os << p.name << " (" << p.type << ") = \"" << p.value << '"';
}

}  // namespace maptool

namespace {

using maptool::TiledMap;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string Tmx(const std::string& property) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.10\" "
           "orientation=\"orthogonal\" renderorder=\"right-down\" width=\"1\" height=\"1\" "
           "tilewidth=\"8\" tileheight=\"8\" infinite=\"0\">\n<properties>" +
           property + "</properties>\n</map>\n";
}

std::string Tmj(const std::string& property) {
    return "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"width\": 1, \"height\": 1, "
           "\"tilewidth\": 8, \"tileheight\": 8, \"infinite\": false, \"layers\": [], "
           "\"properties\": [" +
           property + "]}";
}

TEST(TiledPropertiesTest, BothFormatsSpellAndRefuseValuesAlikeAndWriteThemBack) {
    struct Case {
        const char* type;
        const char* tmx;                   // the property element
        const char* tmj;                   // the value in JSON
        std::optional<std::string> value;  // none: refused
    };
    const Case cases[] = {
        {"int", R"(<property name="p" type="int" value="42"/>)", "42", "42"},
        {"int", R"(<property name="p" type="int" value="-7"/>)", "-7", "-7"},
        {"int", R"(<property name="p" type="int" value="1.5"/>)", "1.5", std::nullopt},
        {"int", R"(<property name="p" type="int" value="2147483648"/>)", "2147483648",
         std::nullopt},
        {"object", R"(<property name="p" type="object" value="3"/>)", "3", "3"},
        {"float", R"(<property name="p" type="float" value="0.1"/>)", "0.1", "0.10000000000000001"},
        {"float", R"(<property name="p" type="float" value="2"/>)", "2", "2"},
        {"float", R"(<property name="p" type="float" value="zwei"/>)", "\"zwei\"", std::nullopt},
        {"bool", R"(<property name="p" type="bool" value="true"/>)", "true", "true"},
        {"bool", R"(<property name="p" type="bool" value="1"/>)", "1", std::nullopt},
        {"string", R"(<property name="p" value="Wald"/>)", "\"Wald\"", "Wald"},
        {"class", R"(<property name="p" type="class"><properties/></property>)", "{}", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tmx);
        TiledMap fromTmx;
        TiledMap fromTmj;
        std::string tmxError;
        std::string tmjError;
        const bool tmxRead = maptool::ReadTmx(Bytes(Tmx(c.tmx)), fromTmx, tmxError);
        const bool tmjRead = maptool::ReadTmj(Bytes(Tmj(std::string(R"({"name": "p", "type": ")") +
                                                        c.type + R"(", "value": )" + c.tmj + "}")),
                                              fromTmj, tmjError);
        if (!c.value) {
            const std::string why =
                std::string("die Eigenschaft p hat keinen Wert vom Typ ") + c.type;
            EXPECT_FALSE(tmxRead);
            EXPECT_NE(tmxError.find(why), std::string::npos) << tmxError;
            EXPECT_FALSE(tmjRead);
            EXPECT_NE(tmjError.find(why), std::string::npos) << tmjError;
            continue;
        }
        ASSERT_TRUE(tmxRead) << tmxError;
        ASSERT_TRUE(tmjRead) << tmjError;
        const std::vector<maptool::TiledProperty> expected{{"p", c.type, *c.value}};
        EXPECT_EQ(fromTmx.properties, expected);
        EXPECT_EQ(fromTmj.properties, expected);

        // What the writers make of it reads back the same in either format.
        std::string tmx;
        std::string error;
        ASSERT_TRUE(maptool::WriteTmx(fromTmx, tmx, error)) << error;
        TiledMap again;
        ASSERT_TRUE(maptool::ReadTmx(Bytes(tmx), again, error)) << error;
        EXPECT_EQ(again.properties, expected);
        ASSERT_TRUE(maptool::ReadTmj(Bytes(maptool::WriteTmj(fromTmj)), again, error)) << error;
        EXPECT_EQ(again.properties, expected);
    }
}

// Numbers in a TMX property text, read as they always have been: around a whole number ASCII
// white space only, around a float any space; a plus sign; 17 digits written back.
TEST(TiledPropertiesTest, TmxNumberTextsAreReadAndSpelledAsBefore) {
    const struct {
        const char* type;
        const char* text;
        std::optional<std::string> value;  // none: refused
    } cases[] = {
        {"int", " +7\t", "7"},
        {"int", "\v-7\f", "-7"},
        {"int", "00000000007", "7"},
        {"int", "-2147483648", "-2147483648"},
        {"int", "\u00A07", std::nullopt},
        {"int", "+-1", std::nullopt},
        {"int", "1e2", std::nullopt},
        {"float", "\u00A01.5\u3000", "1.5"},
        {"float", "+1", "1"},
        {"float", ".5", "0.5"},
        {"float", "5.", "5"},
        {"float", "1.e5", "100000"},
        {"float", "-0", "0"},
        {"float", "1e16", "10000000000000000"},
        {"float", "1e17", "1e+17"},
        {"float", "1e-7", "9.9999999999999995e-08"},
        {"float", "1e-320", "9.9998886718268301e-321"},
        {"float", "1e-330", std::nullopt},  // becomes 0
        {"float", "1e400", std::nullopt},
        {"float", "inf", std::nullopt},
        {"float", "nan", std::nullopt},
        {"float", "++1", std::nullopt},
        {"float", "0x10", std::nullopt},
        {"float", "1,5", std::nullopt},
    };
    for (const auto& c : cases) {
        maptool::TiledProperty property{"p", c.type, c.text};
        const bool spelled = maptool::SpellTiledTextValue(property);
        EXPECT_EQ(spelled ? std::optional(property.value) : std::nullopt, c.value)
            << c.type << " \"" << c.text << '"';
    }
}

}  // namespace

// Numbers in a written TMJ: whole ones up to 2^53 as such, the others in the shorter of the
// decimal and the exponent form with at least two exponent digits, a tie going to the decimal.
TEST(TiledPropertiesTest, TmjWritesNumbersInTheShorterForm) {
    const struct {
        double number;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {100000, "100000"},
        {9007199254740992.0, "9007199254740992"},
        {1e18, "1e+18"},
        {9223372036854775808.0, "9223372036854776000"},
        {1e300, "1e+300"},
        {0.5, "0.5"},
        {-2.5, "-2.5"},
        {0.0001, "1e-04"},
        {0.000123, "0.000123"},
        {-1.5e-7, "-1.5e-07"},
        {0.3333333333333333, "0.3333333333333333"},
        {5e-324, "5e-324"},
        {1.7976931348623157e308, "1.7976931348623157e+308"},
    };
    for (const auto& c : cases) EXPECT_EQ(maptool::JsonNumberText(c.number), c.text) << c.text;
}
