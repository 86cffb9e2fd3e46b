// Writing JSON in maptool's layout.
#include "tools/maptool/TiledJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace maptool {
namespace {

void AppendText(const std::string& text, std::string& out) {
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out += c;  // UTF-8 stays as it is
                }
        }
    }
    out += '"';
}

void Append(const nlohmann::json& value, int indent, std::string& out) {
    const std::string inner(static_cast<std::size_t>(4 * (indent + 1)), ' ');
    switch (value.type()) {
        case nlohmann::json::value_t::object: {
            out += "{\n";
            bool first = true;
            for (const auto& [key, member] : value.items()) {
                if (!first) out += ",\n";
                first = false;
                out += inner;
                AppendText(key, out);
                out += ": ";
                Append(member, indent + 1, out);
            }
            if (!first) out += '\n';
            out.append(static_cast<std::size_t>(4 * indent), ' ');
            out += '}';
            return;
        }
        case nlohmann::json::value_t::array: {
            out += "[\n";
            bool first = true;
            for (const nlohmann::json& item : value) {
                if (!first) out += ",\n";
                first = false;
                out += inner;
                Append(item, indent + 1, out);
            }
            if (!first) out += '\n';
            out.append(static_cast<std::size_t>(4 * indent), ' ');
            out += ']';
            return;
        }
        case nlohmann::json::value_t::string:
            AppendText(value.get_ref<const std::string&>(), out);
            return;
        case nlohmann::json::value_t::boolean:
            out += value.get<bool>() ? "true" : "false";
            return;
        case nlohmann::json::value_t::number_integer:
            out += std::to_string(value.get<std::int64_t>());
            return;
        case nlohmann::json::value_t::number_unsigned:
            out += std::to_string(value.get<std::uint64_t>());
            return;
        case nlohmann::json::value_t::number_float:
            out += JsonNumberText(value.get<double>());
            return;
        default:
            out += "null";
    }
}

}  // namespace

std::string JsonNumberText(double number) {
    if (!std::isfinite(number)) return "null";
    if (number == std::floor(number) && std::fabs(number) <= 9007199254740992.0)
        return std::to_string(static_cast<std::int64_t>(number));
    // The shortest digits that read back exactly, and where the decimal point goes.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, number,
                                       std::chars_format::scientific);
    const std::string scientific(buffer, written.ptr);
    const std::size_t e = scientific.find('e');
    const bool negative = scientific.front() == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i)
        if (scientific[i] != '.') digits += scientific[i];
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    const int point = exponent + 1;  // digits before the decimal point
    const int count = static_cast<int>(digits.size());
    std::string decimal;
    if (point <= 0) {
        decimal = "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (point >= count) {
        decimal = digits + std::string(static_cast<std::size_t>(point - count), '0');
    } else {
        decimal = digits.substr(0, static_cast<std::size_t>(point)) + "." +
                  digits.substr(static_cast<std::size_t>(point));
    }
    std::string exponential = digits.substr(0, 1);
    if (count > 1) exponential += "." + digits.substr(1);
    const int magnitude = std::abs(exponent);
    exponential += exponent < 0 ? "e-" : "e+";
    if (magnitude < 10) exponential += '0';
    exponential += std::to_string(magnitude);
    const std::string& shorter = decimal.size() <= exponential.size() ? decimal : exponential;
    return negative ? "-" + shorter : shorter;
}

std::string IndentedJson(const nlohmann::json& value) {
    std::string out;
    Append(value, 0, out);
    out += '\n';
    return out;
}

}  // namespace maptool
