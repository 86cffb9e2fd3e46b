// What an import says besides its result: what of a map does not come along, and the reasons
// it refuses a map, gathered all at once: each reason counted, with the
// first few places it applies to, and said in the order it was first found.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/maptool/TiledMap.h"

namespace maptool {

// What of the map does not come along into a MAP file, counted, as one line ("nicht
// übernommen: 2 Objektebenen (\"Deko\", \"Wege\"), 1 verborgene Ebene (\"Alt\"), ..."), or ""
// when everything does: object layers other than "Spieler", image layers, hidden tile
// layers, properties of layers, tilesets and tiles, animations.
std::string NotCarried(const TiledMap& map);

class ImportReasons {
public:
    // `count` more cases of the reason (`one` said of a single case, `many` after a count
    // above one), at `place` (a field "(x, y)", a layer's name, or "" for none).
    void Add(const std::string& one, const std::string& many, const std::string& place = "",
             std::int64_t count = 1);
    // A reason that is not counted: said as it is.
    void Add(const std::string& reason) { Add(reason, "", "", 0); }
    void AddField(const std::string& one, const std::string& many, std::int64_t x,
                  std::int64_t y);

    bool Empty() const { return reasons_.empty(); }

    // "277 leere Felder, zuerst (1, 1), (2, 1), (3, 1)", "1 Feld ..., bei (4, 0)": one line each.
    std::vector<std::string> Lines() const;

private:
    struct Reason {
        std::string one;
        std::string many;
        std::int64_t count = 0;
        std::vector<std::string> places;
    };
    std::vector<Reason> reasons_;
};

}  // namespace maptool
