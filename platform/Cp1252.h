// CP1252 <-> Unicode conversion at the platform boundary.
// Runtime strings are CP1252 bytes; the OS and the toolkit speak UTF-8 / UTF-16.
// Bytes 0x80..0x9F differ from Latin-1 (0x80 is the Euro sign); the five unassigned
// bytes map to their C1 control code points so that every byte survives a round trip.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Unicode code point of one CP1252 byte.
char32_t Cp1252ToCodePoint(unsigned char byte);

// CP1252 byte of a code point, or '?' when CP1252 has none.
unsigned char Cp1252FromCodePoint(char32_t codePoint);

// CP1252 bytes to UTF-8.
std::string Utf8FromCp1252(std::string_view cp1252);

// UTF-8 to CP1252 bytes; malformed sequences and unmappable characters become '?'.
std::string Cp1252FromUtf8(std::string_view utf8);

}  // namespace platform
