// The player markers of `maptool render --players`, drawn by the map picture's code as the
// editor's view draws them on a freshly loaded map (player 1 is the current one, in red), with
// the number in the system font. Where the system's text drawing lives in a module of its own
// (Linux: the text module, loaded only here so that the tool itself never loads a toolkit),
// Load and the destructor load and end it (PlayerMarkersModule.cpp); a build that draws text
// without a module gives those two in a file of its own.
#pragma once

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

    // Makes the text drawing ready: loads the text module from beside the tool (or its
    // installed place). False, with the reason in `error`, when it cannot be loaded.
    bool Load(std::string& error);

    // Draws the markers of editor::Document that reach rows top .. top + rows - 1 of the
    // picture at 1:scale into that band (`width` pixels a row).
    void Draw(std::int64_t top, std::int32_t rows, std::uint32_t* band, std::int64_t width,
              std::int64_t scale) const;

private:
    TextModuleDrawFn draw_ = nullptr;  // draws a number; none when Load failed
    TextModuleEndFn end_ = nullptr;    // ends the text drawing
};

}  // namespace maptool
