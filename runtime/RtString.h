// Runtime strings and number conversion.
//
// Runtime strings are 8-bit CP1252 bytes held by value in std::string; a runtime string ends
// at its first zero byte. Texts in the program's UTF-8 sources that hold characters beyond
// ASCII are converted once with Cp1252 (for example Cp1252("Öffnen...")).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

// Decimal text of a value: no leading zeros, no blanks, no '+'.
std::string StringFromLong(std::int32_t value);

// Value of a decimal text: leading blanks and tabs skipped, one optional sign, then digits
// accumulated with 32-bit wrap-around; anything after the digits is ignored; no digits give 0.
std::int32_t StringToLong(std::string_view text);

// The first min(count, length) bytes; a negative count counts as 0.
std::string StringLeft(std::string_view text, std::int32_t count);

// `length` blanks; a negative length gives "".
std::string StringSpace(std::int32_t length);

// Bytes before the first zero byte.
std::int32_t StringLength(std::string_view text);

// 1 when both texts hold the same bytes up to their first zero byte, else 0. Case matters.
int StringEqual(std::string_view a, std::string_view b);

// CP1252 bytes of a UTF-8 text; characters CP1252 lacks become '?'.
std::string Cp1252(std::string_view utf8);

// UTF-8 of CP1252 bytes.
std::string Utf8(std::string_view cp1252);

}  // namespace runtime
