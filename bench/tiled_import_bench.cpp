// `maptool import` of a Tiled map of 1000 x 1000 fields of 16 pixels with three tile layers
// (the middle one half transparent) over two tilesets, against Tiled's own reading and writing
// of the same map: `tiled --export-map` converting it to JSON. Both run as child programs in
// the same run; the table's counter "maptool/tiled" and the ratio line below it give the
// import's wall time over Tiled's.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchRatio.h"
#include "screen/PngEncoder.h"

namespace {

constexpr std::int32_t kSide = 1000;
constexpr std::int32_t kTile = 16;
constexpr std::int32_t kColumns = 8, kRows = 4;  // each tileset: 32 tiles

std::filesystem::path work;
double importSeconds = 0;  // the import's mean wall time, for the counter of Tiled's case

// Runs the command once per iteration; returns the mean wall time, or 0 when it failed.
double Time(benchmark::State& state, const std::string& command, const char* failure) {
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
            state.SkipWithError(failure);
            return 0;
        }
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    return total / static_cast<double>(state.iterations());
}

// A tileset picture of kColumns x kRows tiles, each a ring of its own colours.
bool WriteTileset(const std::filesystem::path& path, std::uint32_t seed) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    screen::PngRowWriter writer;
    if (!writer.Start(kColumns * kTile, kRows * kTile, [&out](const std::uint8_t* b, std::size_t n) {
            out.write(reinterpret_cast<const char*>(b), static_cast<std::streamsize>(n));
            return out.good();
        })) {
        return false;
    }
    std::vector<std::uint32_t> row(kColumns * kTile);
    for (std::int32_t y = 0; y < kRows * kTile; ++y) {
        for (std::int32_t x = 0; x < kColumns * kTile; ++x) {
            const std::uint32_t tile = static_cast<std::uint32_t>(y / kTile * kColumns + x / kTile);
            const std::int32_t dx = x % kTile - 8, dy = y % kTile - 8;
            const bool ring = dx * dx + dy * dy < 40 && dx * dx + dy * dy > 12;
            const std::uint32_t base = (seed * 40503u + tile * 2654435761u) & 0xFFFFFFu;
            row[static_cast<std::size_t>(x)] = ring ? ~base & 0xFFFFFFu : base;
        }
        if (!writer.WriteRow(row.data())) return false;
    }
    return writer.Finish() && out.good();
}

void WriteLayer(std::ofstream& out, const char* name, const char* attributes, std::uint32_t firstGid,
                std::uint32_t (*cell)(std::int32_t, std::int32_t)) {
    out << " <layer name=\"" << name << "\" width=\"" << kSide << "\" height=\"" << kSide << "\""
        << attributes << ">\n  <data encoding=\"csv\">\n";
    for (std::int32_t y = 0; y < kSide; ++y) {
        for (std::int32_t x = 0; x < kSide; ++x) {
            const std::uint32_t c = cell(x, y);
            out << (c ? c + firstGid - 1 : 0) << (x + 1 < kSide || y + 1 < kSide ? "," : "");
        }
        out << "\n";
    }
    out << "  </data>\n </layer>\n";
}

// The map in a new temporary folder; the stacks of the three layers make a few hundred
// distinct fields, as a map drawn by hand does.
bool WriteMap() {
    char name[] = "/tmp/tiled_import_bench_XXXXXX";
    if (!mkdtemp(name)) return false;
    work = name;
    std::filesystem::create_directories(work / "Karten");
    std::filesystem::create_directories(work / "run");
    std::filesystem::permissions(work / "run", std::filesystem::perms::owner_all);
    if (!WriteTileset(work / "boden.png", 1) || !WriteTileset(work / "deko.png", 2)) return false;
    std::ofstream out(work / "map.tmx", std::ios::trunc);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" tiledversion=\"1.8.2\""
        << " orientation=\"orthogonal\" renderorder=\"right-down\" width=\"" << kSide
        << "\" height=\"" << kSide << "\" tilewidth=\"" << kTile << "\" tileheight=\"" << kTile
        << "\" infinite=\"0\">\n";
    const char* images[] = {"boden.png", "deko.png"};
    for (std::uint32_t i = 0; i < 2; ++i) {
        out << " <tileset firstgid=\"" << 1 + i * kColumns * kRows << "\" name=\"" << images[i]
            << "\" tilewidth=\"" << kTile << "\" tileheight=\"" << kTile << "\" tilecount=\""
            << kColumns * kRows << "\" columns=\"" << kColumns << "\">\n  <image source=\""
            << images[i] << "\" width=\"" << kColumns * kTile << "\" height=\"" << kRows * kTile
            << "\"/>\n </tileset>\n";
    }
    WriteLayer(out, "Boden", "", 1, [](std::int32_t x, std::int32_t y) {
        return static_cast<std::uint32_t>(1 + (x * 7 + y * 3) % 16);
    });
    WriteLayer(out, "Wege", " opacity=\"0.5\"", 1 + kColumns * kRows, [](std::int32_t x, std::int32_t y) {
        return (x + y) % 3 == 0 ? static_cast<std::uint32_t>(1 + x % 8) : 0u;
    });
    WriteLayer(out, "Deko", "", 1, [](std::int32_t x, std::int32_t y) {
        return (x * y) % 5 == 0 ? static_cast<std::uint32_t>(17 + y % 4) : 0u;
    });
    out << "</map>\n";
    return out.good();
}

void MaptoolImport(benchmark::State& state) {
    const std::string command = std::string("'") + MAPTOOL_PATH + "' import '" +
                                (work / "map.tmx").string() + "' '" +
                                (work / "Karten" / "Bench.MAP").string() + "'";
    importSeconds = Time(state, command, "maptool import failed");
    if (!std::filesystem::exists(work / "Karten" / "Bench.PNG")) {
        state.SkipWithError("maptool import wrote no tile set");
    }
}

void TiledExportMap(benchmark::State& state) {
    if (std::string(TILED_PATH).empty() ||
        !std::filesystem::exists(std::filesystem::path(TILED_PATH))) {
        state.SkipWithError("tiled is not installed");
        return;
    }
    const std::string command = "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR='" +
                                (work / "run").string() + "' '" + TILED_PATH +
                                "' --export-map '" + (work / "map.tmx").string() + "' '" +
                                (work / "map.json").string() + "'";
    const double seconds = Time(state, command, "tiled --export-map failed");
    if (!std::filesystem::exists(work / "map.json")) state.SkipWithError("tiled wrote no JSON");
    if (seconds > 0 && importSeconds > 0) state.counters["maptool/tiled"] = importSeconds / seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (!WriteMap()) {
        std::fprintf(stderr, "tiled_import_bench: the map could not be written\n");
        return 1;
    }
    benchmark::RegisterBenchmark("MaptoolImport", MaptoolImport)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark("TiledExportMap", TiledExportMap)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    const int result = bench_support::RunWithRatios(argc, argv, {{"MaptoolImport", "TiledExportMap"}},
                                                    {1.0});
    std::filesystem::remove_all(work);
    return result;
}
