// The map as the editor's view shows it at 1:1 from scroll (0, 0), without the view's
// decorations: the grey background, every field as its tile (or Z-mask) picture cut by the
// sprite rules, and optionally the player markers. The picture is made in bands of rows, so
// memory stays bounded whatever its size; scales are the box filter of the 1:1 picture.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "screen/PixelBuffer.h"

namespace maptool {

class PlayerMarkers;

// The 1:1 picture of the document: all fields. Both 0 when a bound is negative.
struct PictureSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};
PictureSize MapPictureSize();

// Size of the picture at 1:scale: every started block of scale x scale pixels is one pixel.
PictureSize ScaledSize(PictureSize size, std::int64_t scale);

// Draws bands of the 1:1 picture of editor::Document.
class BandRenderer {
public:
    // `markers` may be null: no player markers.
    BandRenderer(const screen::PixelBuffer& tileSet, bool zmask, PlayerMarkers* markers);

    // Rows top .. top + rows - 1 into `band` (picture width x rows display pixels).
    void Draw(std::int64_t top, std::int32_t rows, std::uint32_t* band) const;

private:
    const screen::PixelBuffer& tileSet_;
    std::int32_t zmaskRow_;
    PlayerMarkers* markers_;
    PictureSize size_;
};

// The box filter: takes the rows of a picture one by one and gives each row of the picture
// at 1:scale once its block of rows is complete. Each channel of an output pixel is the mean
// of its block's pixels (blocks at the right and bottom edges may be smaller), rounded half up.
class BoxFilter {
public:
    BoxFilter(PictureSize input, std::int64_t scale);

    // Adds the next input row; true when that completed an output row, which Row() holds.
    bool Add(const std::uint32_t* row);
    const std::uint32_t* Row() const { return out_; }

private:
    PictureSize input_;
    PictureSize output_;
    std::int64_t scale_;
    std::int64_t rowsAdded_ = 0;
    std::vector<std::uint64_t> sums_;  // B, G, R per output pixel
    std::vector<std::uint32_t> row_;
    const std::uint32_t* out_ = nullptr;
};

// Picture rows per band for a picture `width` pixels wide: about 16 MB, whole field rows
// where they fit.
std::int32_t BandRows(std::int64_t width, std::int32_t fieldHeight);

}  // namespace maptool
