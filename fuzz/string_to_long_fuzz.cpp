// Fuzz target: StringToLong against an independent statement of its rules, and StringFromLong.
//
// The reference keeps the value in 64 bits, reduced modulo 2^32 after every digit, which is
// what a 32-bit accumulator that wraps on overflow computes. StringFromLong must write what
// the C++ library writes, and its text must convert back to the same value.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "runtime/RtString.h"

namespace {

constexpr std::int64_t kModulus = std::int64_t{1} << 32;

std::int32_t ReferenceToLong(const std::string& text) {
    // A runtime string ends at its first zero byte.
    const std::size_t end = std::min(text.find('\0'), text.size());
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    std::size_t i = 0;
    while (i < end && (byte(i) == 0x20 || byte(i) == 0x09)) ++i;
    std::int64_t sign = 1;
    if (i < end && (byte(i) == '-' || byte(i) == '+')) {
        if (byte(i) == '-') sign = -1;
        ++i;
    }
    std::int64_t value = 0;  // 0 .. 2^32 - 1
    for (; i < end && byte(i) >= '0' && byte(i) <= '9'; ++i) {
        value = (value * 10 + (byte(i) - '0')) % kModulus;
    }
    value = ((sign * value) % kModulus + kModulus) % kModulus;
    return static_cast<std::int32_t>(value >= kModulus / 2 ? value - kModulus : value);
}

void CheckDecimal(std::int32_t value) {
    const std::string text = runtime::StringFromLong(value);
    FUZZ_CHECK(text == std::to_string(value));
    FUZZ_CHECK(runtime::StringToLong(text) == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int32_t value = runtime::StringToLong(text);
    FUZZ_CHECK(value == ReferenceToLong(text));
    CheckDecimal(value);
    // The first four bytes as a value reach every number, also those texts rarely spell.
    if (size >= 4) {
        std::int32_t raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        CheckDecimal(raw);
    }
    return 0;
}
