// What the map tool's tests share: running the real maptool program, small fixture maps with
// tile sets written in the test, pictures read back from PNG files, and the picture a map
// should give, computed here from the fixture itself.
#pragma once

#include <QProcess>
#include <QStringList>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/MapBytes.h"
#include "support/MapPictureOracle.h"
#include "support/PngFiles.h"
#include "support/TempDir.h"

namespace tool_testing {

using testing_support::Bytes;

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs maptool with the arguments in the current folder.
inline ToolRun RunTool(
    const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
    const std::function<void()>& childSetup = {}) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (childSetup) process.setChildProcessModifier(childSetup);
    process.start(QStringLiteral(MAPTOOL_PATH), arguments);
    process.waitForFinished(120000);
    ToolRun run;
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

using testing_support::Picture;
using testing_support::ReadPng;
using testing_support::WritePng;

constexpr std::uint32_t kGrey = testing_support::kMapGrey;

// A map and its tile set, small and uneven on purpose: fields 5 x 3 pixels, 7 x 4 fields,
// a tile set of 4 whole tiles and 2 columns of a fifth, two rows.
struct Fixture {
    std::string name = "Testkarte";  // CP1252
    std::int32_t playerCount = 2, slotCount = 8, ballCount = 4;
    std::int32_t fieldWidth = 5, fieldHeight = 3, lastX = 6, lastY = 3;
    std::vector<std::vector<std::int32_t>> starts = {{7, 4, 90}, {30, 9, 360}};
    // Tile of field (x, y).
    std::function<std::int32_t(std::int32_t, std::int32_t)> tile =
        [](std::int32_t x, std::int32_t y) { return (x + 2 * y) % 4; };
    std::int32_t tileSetWidth = 22;
    std::int32_t tileSetHeight = 6;

    // A tile set pixel: every pixel differs from its neighbours and from the grey.
    static std::uint32_t TilePixel(std::int32_t x, std::int32_t y) {
        return static_cast<std::uint32_t>(((x * 37 + 11) & 0xFF) << 16 |
                                          ((y * 53 + 7) & 0xFF) << 8 | ((x * y + 190) & 0xFF));
    }

    Bytes MapFile() const {
        std::vector<std::int32_t> rest;
        for (const auto& s : starts) rest.insert(rest.end(), s.begin(), s.end());
        for (std::int32_t x = 0; x <= lastX; ++x) {
            for (std::int32_t y = 0; y <= lastY; ++y) rest.push_back(tile(x, y));
        }
        return testing_support::MapBytes(
            name, {playerCount, slotCount, ballCount, fieldWidth, fieldHeight, lastX, lastY}, rest);
    }

    Picture TileSet() const {
        Picture set{tileSetWidth, tileSetHeight, {}};
        for (std::int32_t y = 0; y < tileSetHeight; ++y) {
            for (std::int32_t x = 0; x < tileSetWidth; ++x) set.pixels.push_back(TilePixel(x, y));
        }
        return set;
    }

    // Writes base.MAP and base.PNG.
    void Write(const std::string& base) const {
        testing_support::WriteBytes(base + ".MAP", MapFile());
        WritePng(base + ".PNG", TileSet());
    }

    // The map and its tile set as the picture oracle takes them.
    testing_support::MapPictureRules Rules(bool zmask) const {
        return {fieldWidth,
                fieldHeight,
                lastX + 1,
                lastY + 1,
                zmask,
                [this](std::int64_t x, std::int64_t y) {
                    return tile(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
                },
                tileSetWidth,
                tileSetHeight,
                [](std::int64_t x, std::int64_t y) {
                    return TilePixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
                }};
    }

    // The picture the map should give at 1:1.
    Picture Expected(bool zmask) const { return BoxScaled(Rules(zmask), 1); }

    // The picture at 1:n, as maptool writes it: blocks cut at the map's edges.
    static Picture BoxScaled(const testing_support::MapPictureRules& map, std::int32_t n) {
        Picture out{static_cast<std::int32_t>((map.Width() + n - 1) / n),
                    static_cast<std::int32_t>((map.Height() + n - 1) / n),
                    {}};
        for (std::int32_t oy = 0; oy < out.height; ++oy) {
            for (std::int32_t ox = 0; ox < out.width; ++ox) {
                out.pixels.push_back(
                    testing_support::BlockMean(map, std::int64_t{ox} * n, std::int64_t{oy} * n, n,
                                               testing_support::BlockEdge::kCutAtTheMap));
            }
        }
        return out;
    }
};

// Files of a folder, for checking that nothing was left behind.
inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tool_testing
