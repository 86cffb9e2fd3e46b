// The text of the player markers on Windows: drawn by the system's text functions (GDI) in the
// tool itself, in the system font as the editor's view draws it; nothing to load or end.
#include "platform/Text.h"
#include "tools/maptool/PlayerMarkers.h"

namespace maptool {
namespace {

std::int32_t DrawNumber(std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                        std::int32_t pitch, std::int32_t x, std::int32_t y, const char* cp1252Text,
                        std::uint32_t rgb) {
    const platform::TextTarget target{pixels, width, height, pitch};
    return platform::TextDraw(target, platform::TextSystemFont(), x, y, cp1252Text, rgb, false, 0);
}

}  // namespace

PlayerMarkers::~PlayerMarkers() = default;

bool PlayerMarkers::Load(std::string&) {
    draw_ = &DrawNumber;
    return true;
}

}  // namespace maptool
