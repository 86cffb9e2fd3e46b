// The random brush: a set of tiles gathered in the tile palette with Strg + click. While it
// holds two or more tiles, whatever the brush writes (a stroke, a fill, a rectangle) gives each
// field a tile drawn from the set, each tile of the set as likely as every other; with fewer the
// brush writes its one tile as always.
//
// The draws come from a generator of our own (xoshiro256**, seeded through splitmix64), so a
// seed gives the same fields on every platform: tests seed it with a fixed number, the program
// with the clock at its start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/Selection.h"

namespace editor {

struct RandomBrushState {
    std::vector<std::int32_t> Tiles;  // the set, in the order the tiles were added
    std::uint64_t Generator[4] = {};
    std::uint32_t Version = 0;  // changes with every change of the set
};

extern RandomBrushState RandomBrush;

void SeedRandomBrush(std::uint64_t seed);
// A seed from the clock, different from run to run.
std::uint64_t ClockSeed();

// Adds the tile to the set, or takes it out when it is in it already.
void ToggleRandomTile(std::int32_t tile);
// The set is emptied (a plain click in the palette, a pick).
void EndRandomBrush();
bool RandomBrushActive();  // two or more tiles
bool InRandomBrush(std::int32_t tile);

// A number 0..n - 1, each equally likely (n >= 1).
std::uint32_t RandomBelow(std::uint32_t n);

// The tile the brush gives the next field: drawn from the set while it is active, else `brush`.
std::int32_t BrushTile(std::int32_t brush);

// Gives every field of the rectangle the brush's tiles (see BrushTile), as one undo step.
void FillWithBrush(const FieldRect& rect, std::int32_t brush);

// "Zufall: 4 Kacheln" while the set is active, else "".
std::string RandomBrushText();

// An empty set and the generator seeded with 0; for a fresh run in the same process.
void ResetRandomBrush();

}  // namespace editor
