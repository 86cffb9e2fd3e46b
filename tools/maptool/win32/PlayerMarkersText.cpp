// The text of the player markers on Windows: drawn by the system's text functions (GDI) in the
// tool itself, in the system font as the editor's view draws it; nothing to load or end.
#include "tools/maptool/PlayerMarkers.h"

namespace maptool {

PlayerMarkers::~PlayerMarkers() = default;

bool PlayerMarkers::Load(std::string&) {
    draw_ = platform::TextDrawLinkedIn();
    return true;
}

}  // namespace maptool
