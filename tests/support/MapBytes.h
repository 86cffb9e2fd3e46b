// The bytes of a MAP file written by hand in the file's layout, for fixtures that a writer of
// ours must not produce itself: damaged headers, cut files, any values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

inline void PutLong(Bytes& b, std::int32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
    }
}

// The name's length word and bytes, then the header longs (players, slots, balls, field
// width, field height, last x, last y), then the rest (players, fields) as longs.
inline Bytes MapBytes(const std::string& name, const std::vector<std::int32_t>& header,
                      const std::vector<std::int32_t>& rest = {}) {
    Bytes b;
    b.push_back(static_cast<std::uint8_t>(name.size()));
    b.push_back(static_cast<std::uint8_t>(name.size() >> 8));
    for (char c : name) b.push_back(static_cast<std::uint8_t>(c));
    for (std::int32_t v : header) PutLong(b, v);
    for (std::int32_t v : rest) PutLong(b, v);
    return b;
}

}  // namespace testing_support
