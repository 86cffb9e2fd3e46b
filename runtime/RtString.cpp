// Runtime strings and number conversion.
#include "runtime/RtString.h"

#include "platform/Cp1252.h"

namespace runtime {
namespace {

std::string_view UpToZero(std::string_view text) {
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

}  // namespace

std::string StringFromLong(std::int32_t value) {
    if (value == 0) return "0";
    char digits[12];
    int n = 0;
    // Work on the magnitude as unsigned so that -2147483648 needs no special negation.
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    while (magnitude != 0) {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(n) + 1);
    if (value < 0) text += '-';
    while (n > 0) text += digits[--n];
    return text;
}

std::int32_t StringToLong(std::string_view text) {
    text = UpToZero(text);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    } else if (i < text.size() && text[i] == '+') {
        ++i;
    }
    std::uint32_t value = 0;  // unsigned: wraps like the 32-bit accumulator it stands for
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
        ++i;
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::string StringLeft(std::string_view text, std::int32_t count) {
    text = UpToZero(text);
    if (count <= 0) return {};
    return std::string(text.substr(0, static_cast<std::size_t>(count)));
}

std::string StringSpace(std::int32_t length) {
    return length <= 0 ? std::string() : std::string(static_cast<std::size_t>(length), ' ');
}

std::int32_t StringLength(std::string_view text) {
    return static_cast<std::int32_t>(UpToZero(text).size());
}

int StringEqual(std::string_view a, std::string_view b) { return UpToZero(a) == UpToZero(b) ? 1 : 0; }

std::string Cp1252(std::string_view utf8) { return platform::Cp1252FromUtf8(utf8); }

std::string Utf8(std::string_view cp1252) { return platform::Utf8FromCp1252(cp1252); }

}  // namespace runtime
