// The cells of a Tiled tile layer in the encodings Tiled writes: CSV text, and base64 of
// little-endian 32-bit ids, plain or compressed with zlib or gzip. The decoders treat their
// input as hostile: the number of cells is known before anything is decoded, and no more
// than that is ever produced or allocated.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace maptool {

// Why a tile layer of that size is not read (more cells than a map has fields), or "".
std::string LayerSizeProblem(std::string_view name, std::int32_t width, std::int32_t height);

// Decodes exactly `count` cells. False, with the reason (German) in `error`, otherwise.
bool DecodeCsvCells(std::string_view text, std::size_t count, std::vector<std::uint32_t>& cells,
                    std::string& error);
bool DecodeBase64Cells(std::string_view text, std::string_view compression, std::size_t count,
                       std::vector<std::uint32_t>& cells, std::string& error);

// CSV as Tiled writes it: one line per row of `width` cells, rows apart by ",\n".
std::string EncodeCsvCells(const std::vector<std::uint32_t>& cells, std::int32_t width);

// A decimal id of a cell: 0 .. 2^32 - 1. False for anything else.
bool ParseCell(std::string_view text, std::uint32_t& cell);

}  // namespace maptool
