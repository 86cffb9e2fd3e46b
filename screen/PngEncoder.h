// A PNG writer over libpng that takes the picture one row at a time, so a picture of any
// height is encoded with the memory of one row. Rows are display pixels (B, G, R, 0 in
// memory); the file holds 8-bit RGB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace screen {

// Widest and tallest picture the writer takes (libpng's own default limit).
inline constexpr std::int64_t kPngMaxSide = 1000000;

class PngRowWriter {
public:
    // Receives the encoded bytes in order; false stops the writing as failed.
    using Sink = std::function<bool(const std::uint8_t* bytes, std::size_t count)>;

    PngRowWriter();
    ~PngRowWriter();
    PngRowWriter(const PngRowWriter&) = delete;
    PngRowWriter& operator=(const PngRowWriter&) = delete;

    // Writes the header of a width x height picture. False for sizes outside 1..kPngMaxSide,
    // or when the sink fails.
    bool Start(std::int32_t width, std::int32_t height, Sink sink);

    // Writes the next row of `width` pixels. False once anything has failed.
    bool WriteRow(const std::uint32_t* pixels);

    // Writes the end of the file after the last row. False when a row is missing or anything
    // has failed.
    bool Finish();

    struct State;  // libpng's write callback reaches it

private:
    std::unique_ptr<State> state_;
};

}  // namespace screen
