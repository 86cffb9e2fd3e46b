// Custom property values of Tiled files, read and written in one spelling.
#include "tools/maptool/TiledProperties.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <nlohmann/json.hpp>
#include <span>

#include "tools/maptool/TiledLimits.h"

namespace maptool {
namespace {

// The text without the white space around it: ASCII's, and with `unicode` Unicode's spaces
// too (in UTF-8). Whole numbers have always been read with ASCII's only.
std::string_view Trimmed(std::string_view text, bool unicode) {
    static constexpr std::string_view kSpaces[] = {
        " ",      "\t",     "\n",     "\v",     "\f",     "\r",     "\u0085", "\u00A0", "\u1680",
        "\u2000", "\u2001", "\u2002", "\u2003", "\u2004", "\u2005", "\u2006", "\u2007", "\u2008",
        "\u2009", "\u200A", "\u2028", "\u2029", "\u202F", "\u205F", "\u3000"};
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (std::string_view space : std::span(kSpaces).first(unicode ? std::size(kSpaces) : 6)) {
            if (text.starts_with(space)) text.remove_prefix(space.size()), trimmed = true;
            if (text.ends_with(space)) text.remove_suffix(space.size()), trimmed = true;
        }
    }
    return text;
}

}  // namespace

bool ParseTiledDouble(std::string_view text, double& out) {
    text = Trimmed(text, true);
    // from_chars takes a minus but no plus.
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && problem == std::errc() && end == text.data() + text.size();
}

bool ParseTiledWholeNumber(std::string_view text, std::int32_t& out) {
    text = Trimmed(text, false);
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
    if (text.empty()) return false;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{INT32_MAX} + 1) return false;
    }
    value = negative ? -value : value;
    if (value > INT32_MAX) return false;
    out = static_cast<std::int32_t>(value);
    return true;
}

std::string TiledFloatText(double number) {
    if (number == 0) return "0";
    if (std::isnan(number)) return "nan";
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", number);
    return text;
}

TiledValueKind KindOfTiledType(std::string_view type) {
    if (type == "int" || type == "object") return TiledValueKind::Integer;
    if (type == "float") return TiledValueKind::Float;
    if (type == "bool") return TiledValueKind::Bool;
    if (type == "class") return TiledValueKind::Class;
    return TiledValueKind::Text;
}

std::string WrongTiledValueText(const TiledProperty& property) {
    return "die Eigenschaft " + property.name + " hat keinen Wert vom Typ " + property.type;
}

bool SpellTiledTextValue(TiledProperty& property) {
    bool ok = true;
    switch (KindOfTiledType(property.type)) {
        case TiledValueKind::Integer: {
            std::int32_t number = 0;
            ok = ParseTiledWholeNumber(property.value, number);
            property.value = std::to_string(number);
            break;
        }
        case TiledValueKind::Float: {
            double number = 0;
            ok = ParseTiledDouble(property.value, number) && std::isfinite(number);
            property.value = TiledFloatText(number);
            break;
        }
        case TiledValueKind::Bool:
            ok = property.value == "true" || property.value == "false";
            break;
        case TiledValueKind::Class:
        case TiledValueKind::Text:
            break;
    }
    return ok;
}

std::optional<std::int32_t> JsonInt32(const nlohmann::json& value) {
    if (!value.is_number()) return std::nullopt;
    const double d = value.get<double>();
    if (d != std::floor(d) || d < INT32_MIN || d > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(d);
}

bool SpellTiledJsonValue(const nlohmann::json& value, TiledProperty& property) {
    switch (KindOfTiledType(property.type)) {
        case TiledValueKind::Class:
            return true;  // members are not kept
        case TiledValueKind::Integer: {
            const std::optional<std::int32_t> number = JsonInt32(value);
            if (!number) return false;
            property.value = std::to_string(*number);
            return true;
        }
        case TiledValueKind::Float:
            if (!value.is_number()) return false;
            property.value = TiledFloatText(value.get<double>());
            return true;
        case TiledValueKind::Bool:
            if (!value.is_boolean()) return false;
            property.value = value.get<bool>() ? "true" : "false";
            return true;
        case TiledValueKind::Text:
            if (!value.is_string()) return false;
            property.value = value.get<std::string>();
            return true;
    }
    return false;
}

nlohmann::json TiledJsonValue(const TiledProperty& property) {
    switch (KindOfTiledType(property.type)) {
        case TiledValueKind::Integer: {
            std::int32_t number = 0;  // a value that is none is written as 0
            if (!ParseTiledInt(property.value, number)) number = 0;
            return number;
        }
        case TiledValueKind::Float: {
            double number = 0;
            const char* end = property.value.data() + property.value.size();
            if (std::from_chars(property.value.data(), end, number).ptr != end) number = 0;
            return number;
        }
        case TiledValueKind::Bool:
            return property.value == "true";
        case TiledValueKind::Class:
            return nlohmann::json::object();
        case TiledValueKind::Text:
            break;
    }
    return property.value;
}

bool TmxWritesType(const TiledProperty& property) { return property.type != "string"; }

bool TmxWritesValue(const TiledProperty& property) {
    return KindOfTiledType(property.type) != TiledValueKind::Class;
}

}  // namespace maptool
