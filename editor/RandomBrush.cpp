// The random brush's set and generator.
#include "editor/RandomBrush.h"

#include <algorithm>
#include <chrono>

#include "editor/History.h"
#include "runtime/RtString.h"

namespace editor {

namespace {

std::uint64_t SplitMix(std::uint64_t* state) {
    std::uint64_t z = (*state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

std::uint64_t RotateLeft(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

std::uint64_t Next() {
    std::uint64_t* s = RandomBrush.Generator;
    const std::uint64_t result = RotateLeft(s[1] * 5, 7) * 9;
    const std::uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = RotateLeft(s[3], 45);
    return result;
}

RandomBrushState SeededWithZero() {
    RandomBrushState state;
    std::uint64_t seed = 0;
    for (std::uint64_t& word : state.Generator) word = SplitMix(&seed);
    return state;
}

}  // namespace

// Never all zero, which would give zeros forever.
RandomBrushState RandomBrush = SeededWithZero();

void SeedRandomBrush(std::uint64_t seed) {
    for (std::uint64_t& word : RandomBrush.Generator) word = SplitMix(&seed);
}

std::uint64_t ClockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
               std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) ^
           RotateLeft(static_cast<std::uint64_t>(
                          std::chrono::duration_cast<std::chrono::nanoseconds>(steady).count()),
                      32);
}

void ToggleRandomTile(std::int32_t tile) {
    auto& tiles = RandomBrush.Tiles;
    const auto found = std::find(tiles.begin(), tiles.end(), tile);
    if (found == tiles.end()) {
        tiles.push_back(tile);
    } else {
        tiles.erase(found);
    }
    ++RandomBrush.Version;
}

void EndRandomBrush() {
    if (RandomBrush.Tiles.empty()) return;
    RandomBrush.Tiles.clear();
    ++RandomBrush.Version;
}

bool RandomBrushActive() { return RandomBrush.Tiles.size() >= 2; }

bool InRandomBrush(std::int32_t tile) {
    const auto& tiles = RandomBrush.Tiles;
    return std::find(tiles.begin(), tiles.end(), tile) != tiles.end();
}

std::uint32_t RandomBelow(std::uint32_t n) {
    // Draws below 2^64 mod n are thrown away, so that the rest divides evenly into n classes.
    const std::uint64_t wide = n;
    const std::uint64_t discard = (0 - wide) % wide;
    std::uint64_t r = Next();
    while (r < discard) r = Next();
    return static_cast<std::uint32_t>(r % wide);
}

std::int32_t BrushTile(std::int32_t brush) {
    if (!RandomBrushActive()) return brush;
    const auto& tiles = RandomBrush.Tiles;
    return tiles[RandomBelow(static_cast<std::uint32_t>(tiles.size()))];
}

void FillWithBrush(const FieldRect& rect, std::int32_t brush) {
    if (!RandomBrushActive()) {
        FillFields(rect, brush);
        return;
    }
    if (rect.Empty()) return;
    HistoryBeginGroup();
    std::vector<std::int32_t> column(static_cast<std::size_t>(rect.Bottom - rect.Top + 1));
    for (std::int32_t x = rect.Left; x <= rect.Right; ++x) {
        for (std::int32_t& tile : column) tile = BrushTile(brush);
        SetFieldColumn(x, rect.Top, column.data(), static_cast<std::int32_t>(column.size()));
    }
    HistoryEndGroup();
}

std::string RandomBrushText() {
    if (!RandomBrushActive()) return {};
    return "Zufall: " +
           runtime::StringFromLong(static_cast<std::int32_t>(RandomBrush.Tiles.size())) +
           " Kacheln";
}

void ResetRandomBrush() { RandomBrush = SeededWithZero(); }

}  // namespace editor
