// The player markers of `maptool render --players`, drawn by the map picture's code as the
// editor's view draws them on a freshly loaded map (player 1 is the current one, in red), with
// the number in the system font by the text module, which is loaded only here so that the tool
// itself never loads Qt Gui.
#pragma once

#include <QLibrary>
#include <cstdint>
#include <string>

#include "platform/TextModule.h"

namespace maptool {

class PlayerMarkers {
public:
    PlayerMarkers() = default;
    ~PlayerMarkers();
    PlayerMarkers(const PlayerMarkers&) = delete;
    PlayerMarkers& operator=(const PlayerMarkers&) = delete;

    // Loads the text module from beside the tool (or its installed place). False, with the
    // reason in `error`, when it cannot be loaded.
    bool Load(std::string& error);

    // Draws the markers of editor::Document that reach rows top .. top + rows - 1 of the
    // picture at 1:scale into that band (`width` pixels a row).
    void Draw(std::int64_t top, std::int32_t rows, std::uint32_t* band, std::int64_t width,
              std::int64_t scale) const;

private:
    QLibrary module_;
    TextModuleDrawFn draw_ = nullptr;
    TextModuleEndFn end_ = nullptr;
};

}  // namespace maptool
