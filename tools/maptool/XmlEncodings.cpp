// The byte tables of the single-byte encodings; Windows-1252 is the runtime's own conversion.
#include "tools/maptool/XmlEncodings.h"

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/RtString.h"

namespace maptool {
namespace {

using Table = std::array<int, 256>;

Table Latin1() {
    Table table{};
    for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = b;
    return table;
}

// The character of a UTF-8 sequence of one character.
int CodePoint(std::string_view utf8) {
    const auto lead = static_cast<std::uint8_t>(utf8[0]);
    if (lead < 0x80) return lead;
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    int c = lead & (0x3F >> (length - 1));
    for (int i = 1; i < length && i < static_cast<int>(utf8.size()); ++i)
        c = c << 6 | (static_cast<std::uint8_t>(utf8[static_cast<std::size_t>(i)]) & 0x3F);
    return c;
}

Table Windows1252() {
    Table table{};
    for (int b = 0; b < 256; ++b) {
        table[static_cast<std::size_t>(b)] =
            CodePoint(runtime::Utf8(std::string(1, static_cast<char>(b))));
    }
    return table;
}

Table Latin9() {
    Table table = Latin1();
    const int changed[][2] = {{0xA4, 0x20AC}, {0xA6, 0x0160}, {0xA8, 0x0161}, {0xB4, 0x017D},
                              {0xB8, 0x017E}, {0xBC, 0x0152}, {0xBD, 0x0153}, {0xBE, 0x0178}};
    for (const auto& [byte, character] : changed) table[static_cast<std::size_t>(byte)] = character;
    return table;
}

bool Named(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view n : names) {
        if (n.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < n.size() && same; ++i) {
            same = std::tolower(static_cast<unsigned char>(name[i])) == n[i];
        }
        if (same) return true;
    }
    return false;
}

}  // namespace

const std::array<int, 256>* SingleByteEncoding(const char* name) {
    static const Table latin1 = Latin1(), windows1252 = Windows1252(), latin9 = Latin9();
    const std::string_view n(name);
    if (Named(n, {"windows-1252", "cp1252", "x-cp1252"})) return &windows1252;
    if (Named(n, {"iso-8859-15", "iso8859-15", "iso_8859-15", "latin-9", "latin9"})) return &latin9;
    if (Named(n, {"latin1", "latin-1", "l1", "iso8859-1", "iso_8859-1", "cp819", "ibm819"}))
        return &latin1;
    return nullptr;
}

}  // namespace maptool
