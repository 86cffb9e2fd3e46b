// What is wrong with a MAP file and its tile set, as sentences for the tool's messages.
#pragma once

#include <string>
#include <vector>

#include "tools/maptool/MapInput.h"

namespace maptool {

// Damage to the file itself: shorter or longer than its header says, a negative name length,
// a zero byte in the name. A file with none of these reads back into the same bytes.
std::vector<std::string> FileDamage(const MapInput& input);

// Everything `maptool check` reports: the file's damage, what the editor would correct when
// it loads the map, a grid without fields, a missing, undecodable or too short tile set, and
// tile indices outside the tile set.
std::vector<std::string> MapFindings(const MapInput& input);

// The tile set's problem, or "" when it is loaded.
std::string TileSetProblem(const MapInput& input);

// "N Felder zeigen Kacheln außerhalb ...", or "" when every tile lies inside the tile set.
std::string TilesOutside(const MapInput& input);

}  // namespace maptool
