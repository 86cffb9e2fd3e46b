// Writes the benchmark's map: BASE.MAP with 1000 x 1000 fields of 16 x 16 pixels, tiles
// chosen by a fixed pseudo-random sequence, and BASE.PNG, a tile set of 16 tiles whose pictures
// are noisy like the sample maps' grass (row 0) with their Z-masks (row 1), and 8 players.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "runtime/File.h"
#include "screen/PngEncoder.h"

namespace {

constexpr std::int32_t kTile = 16;
constexpr std::int32_t kTiles = 16;

std::uint32_t Next(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

bool WriteTileSet(const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    screen::PngRowWriter writer;
    if (!writer.Start(kTile * kTiles, 2 * kTile, [&out](const std::uint8_t* b, std::size_t n) {
            out.write(reinterpret_cast<const char*>(b), static_cast<std::streamsize>(n));
            return out.good();
        })) {
        return false;
    }
    std::uint32_t state = 7;
    std::vector<std::uint32_t> row(kTile * kTiles);
    for (std::int32_t y = 0; y < 2 * kTile; ++y) {
        for (std::int32_t x = 0; x < kTile * kTiles; ++x) {
            const std::int32_t tile = x / kTile, dx = x % kTile - 8, dy = y % kTile - 8;
            const bool shape = dx * dx + dy * dy < 4 * (tile % 5 + 2);
            const std::uint32_t noise = Next(state) % 24;
            row[static_cast<std::size_t>(x)] =
                y < kTile ? (shape ? 0x303030u * (tile % 4 + 1) + noise
                                   : (60 + noise) << 16 | (130 + noise + tile) << 8 | (50 + noise))
                          : (shape ? 0xFFFFFFu : 0u);
        }
        if (!writer.WriteRow(row.data())) return false;
    }
    return writer.Finish() && out.good();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bench_map BASE (writes BASE.MAP and BASE.PNG)\n");
        return 2;
    }
    const std::string base = argv[1];
    runtime::FileLibraryInit();
    editor::ResetDocument();
    editor::Document.MapName = "Benchmark";
    editor::Document.FieldWidth = editor::Document.FieldHeight = kTile;
    editor::Document.LastFieldX = editor::Document.LastFieldY = 999;
    editor::Document.PlayerCount = 8;
    std::uint32_t state = 1;
    for (std::int32_t p = 1; p <= 8; ++p) {
        editor::Document.Players(p) = {static_cast<std::int32_t>(Next(state) % 16000),
                                       static_cast<std::int32_t>(Next(state) % 16000), p * 45};
    }
    for (std::int32_t x = 0; x < 1000; ++x) {
        for (std::int32_t y = 0; y < 1000; ++y) {
            editor::Document.Fields(x, y) = static_cast<std::int32_t>(Next(state) % kTiles);
        }
    }
    const bool written = editor::WriteMapFileAt(base + ".MAP") != 0 && WriteTileSet(base + ".PNG");
    runtime::FileLibraryEnd();
    if (!written) std::fprintf(stderr, "make_bench_map: %s cannot be written\n", base.c_str());
    return written ? 0 : 1;
}
