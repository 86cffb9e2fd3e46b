// The map as the editor's view shows it from scroll (0, 0), without the view's decorations,
// drawn by the map picture's code (editor/MapPicture.h): the grey background, every field as its
// tile (or Z-mask) picture, and optionally the player markers. The 1:1 picture is made in bands
// of rows, so memory stays bounded whatever its size; a scale is the box filter of the 1:1
// picture (editor/MapReduction.h), with the markers drawn on the scaled picture as the view
// draws them at that scale.
#pragma once

#include <cstdint>

#include "screen/PixelBuffer.h"

namespace maptool {

// The 1:1 picture of the document: all fields. Both 0 when a bound is negative.
struct PictureSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};
PictureSize MapPictureSize();

// Size of the picture at 1:scale: every started block of scale x scale pixels is one pixel.
PictureSize ScaledSize(PictureSize size, std::int64_t scale);

// Draws bands of the 1:1 picture of editor::Document: fields and grey.
class BandRenderer {
public:
    BandRenderer(const screen::PixelBuffer& tileSet, bool zmask);

    // Rows top .. top + rows - 1 into `band` (picture width x rows display pixels).
    void Draw(std::int64_t top, std::int32_t rows, std::uint32_t* band) const;

private:
    const screen::PixelBuffer& tileSet_;
    std::int32_t zmaskRow_;
    PictureSize size_;
};

// Picture rows per band for a picture `width` pixels wide: about 16 MB, whole field rows
// where they fit.
std::int32_t BandRows(std::int64_t width, std::int32_t fieldHeight);

}  // namespace maptool
