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

// Base64 without white space (the standard alphabet) into `bytes`. Padding is optional; where
// it stands it ends the text, as one '=' or two, in a text of whole groups of four. Bits left
// over after the last whole byte are dropped. False for any other character.
bool DecodeBase64(std::string_view text, std::vector<std::uint8_t>& bytes);

// CSV as Tiled writes it: one line per row of `width` cells, rows apart by ",\n".
std::string EncodeCsvCells(const std::vector<std::uint32_t>& cells, std::int32_t width);

// A chunk of an infinite map's tile layer: its rectangle in fields and its cells.
struct TiledChunk {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> cells;
};

// Why a chunk of that size is not read, or "".
std::string ChunkSizeProblem(std::int32_t width, std::int32_t height);

// Lays the chunks into one rectangle around them all (x, y, width, height, cells: empty
// where no chunk lies). False, with the reason, when the rectangle is larger than a map.
bool AssembleChunks(const std::vector<TiledChunk>& chunks, std::int32_t& x, std::int32_t& y,
                    std::int32_t& width, std::int32_t& height, std::vector<std::uint32_t>& cells,
                    std::string& error);

// A decimal id of a cell: 0 .. 2^32 - 1. False for anything else.
bool ParseCell(std::string_view text, std::uint32_t& cell);

}  // namespace maptool
