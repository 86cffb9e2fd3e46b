// Player markers in bands of the map picture.
#include "tools/maptool/PlayerMarkers.h"

#include <string>
#include <string_view>

#include "editor/MapDocument.h"
#include "editor/MapPicture.h"

namespace maptool {

using editor::Document;

void PlayerMarkers::Draw(std::int64_t top, std::int32_t rows, std::uint32_t* band,
                         std::int64_t width, std::int64_t scale) const {
    const screen::PixelView target{band, static_cast<std::int32_t>(width), rows,
                                   static_cast<std::int32_t>(width)};
    // Scroll (0, 0): a marker's centre is the pixel that shows the player's map pixel.
    const auto place = [scale](std::int64_t m) {
        return static_cast<std::int32_t>(editor::FloorDiv(m, scale));
    };
    const editor::MarkerPlacement placement{place, place, 1};
    editor::MarkerText text;
    if (draw_ != nullptr) {
        text = [&](std::int32_t x, std::int32_t y, std::string_view number, std::int32_t colour) {
            const std::string terminated(number);
            draw_(band, static_cast<std::int32_t>(width), rows, static_cast<std::int32_t>(width), x,
                  y, terminated.c_str(), editor::DisplayPixel(colour));
        };
    }
    editor::DrawPlayerMarkers(target, top, Document, placement, text);
}

}  // namespace maptool
