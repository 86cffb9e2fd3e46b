// Single-byte encodings a TMX may declare besides those expat knows itself (UTF-8, UTF-16,
// ISO-8859-1, US-ASCII): Windows-1252, the encoding of this system's own texts, ISO-8859-15, and
// further names of ISO-8859-1.
#pragma once

#include <array>

namespace maptool {

// The character of each byte (-1 for a byte that stands for none) in the encoding of that name
// (any case), or nullptr for an encoding not known here.
const std::array<int, 256>* SingleByteEncoding(const char* name);

}  // namespace maptool
