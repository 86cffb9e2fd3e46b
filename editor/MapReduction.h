// The map's picture at the scales other than 1:1, and the one box filter.
//
// The box filter's rule: an output pixel's channel is the mean of the input pixels that its block
// covers inside the picture, rounded half up (BoxMean). The view's picture is the map on grey
// without end, so its blocks are always whole (k x k, grey beyond the map); the picture that
// `maptool render` writes is the map alone, so blocks at its right and bottom edges hold fewer
// pixels. Both pictures are the same inside the map.
//
// MapReducer draws the view's picture reduced to 1:k (k = 2^n) exactly, at a cost that does not
// grow with the pixels it covers. For the scale drawn it keeps, for every tile, the channel sums
// of its picture over the rectangles that the k-grid and the field edges cut it into (see
// MapReduction.cpp); a pixel is then the sum of a few table lookups. Where a pixel covers two
// fields or more along each axis it keeps instead reduced pictures of the whole map (a pyramid of
// block sums, each level half the one below) and draws from them at the cost of a 1:1 pass; a
// changed field (FieldChanges.h) makes only the blocks it lies in, and their parents, again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/ChannelSums.h"
#include "editor/MapDocument.h"
#include "screen/PixelView.h"

namespace editor {

// The most a picture is reduced: 1:4096, where the sums of one pixel (4096 x 4096 pixels of up
// to 255) still fit 32 bits.
inline constexpr std::int32_t kMostReducedShift = 12;

// The box filter's mean of one channel: `count` pixels that sum to `sum`, rounded half up.
inline std::uint32_t BoxMean(std::uint64_t sum, std::uint64_t count) {
    return static_cast<std::uint32_t>((sum + count / 2) / count);
}

// What a map's picture is made of.
struct PictureSource {
    const MapDocument* document = nullptr;
    screen::PixelView tileSet;
    std::uint32_t tileSetVersion = 0;  // changes whenever the tile set's pixels do
    std::int32_t zmaskRow = 0;         // 0 the pictures, 1 the Z-masks
};

// Target pixel (v, w) shows map pixel (left + floor(v / m), top + floor(w / m)), m = 2^shift:
// every pixel of the target, grey where no tile lies.
void DrawEnlarged(const PictureSource& source, std::int32_t shift, std::int64_t left,
                  std::int64_t top, const screen::PixelView& target);

namespace reduction {

// What a table was made from.
struct TableKey {
    std::uint32_t tileSet = 0;
    const std::uint32_t* pixels = nullptr;
    std::int32_t spriteWidth = 0, spriteHeight = 0;
    std::int32_t fieldWidth = 0, fieldHeight = 0;
    std::int32_t row = 0;
    std::int32_t shift = 0;
    bool operator==(const TableKey&) const = default;
};

// Where a field's pictures are cut along one axis: at multiples of `step` up to `box`, and at
// `box`.
struct Cuts {
    std::int64_t step = 1;
    std::int64_t box = 0;
    std::int32_t nodes = 1;  // positions 0, step, 2 step, ..., box
};

// A piece of a pixel's column (or row) that lies in one field column (row).
struct Segment {
    std::int32_t view;   // target column or row
    std::int32_t field;  // field column or row
    std::int32_t from;   // nodes of the piece's ends inside the field
    std::int32_t to;
};

// Field rows first .. last - 1 that lie wholly in target row `view`.
struct WholeRun {
    std::int32_t view;
    std::int32_t first;
    std::int32_t last;
};

struct Tables {
    TableKey key;
    bool made = false;
    std::int32_t tiles = 0;  // tile slots 0 .. tiles - 1; slot `tiles` is the grey field
    std::int64_t sourceTop = 0;
    Cuts x, y;
    std::vector<Sum3> sums;     // per slot: x nodes by y nodes
    std::vector<Lanes> totals;  // per slot: the whole box
    // Scratch of a pass, kept to spare the allocations.
    std::vector<Segment> columns, rows, partRows;
    std::vector<WholeRun> wholeRows;
    std::vector<std::int64_t> inBoxX, inBoxY;
    std::vector<Lanes> accumulated;
    std::vector<const std::int32_t*> wholeColumns;
    std::vector<Lanes> rowBase;
    // Where the scale divides the field's width and height, each block lies in one field: the
    // pixel of every block of every tile slot, blocks across by blocks down, row by row; made
    // on the first pass that uses it.
    std::vector<std::uint32_t> blockPixels;

    std::size_t Bytes() const;
};

// One level of reduced pictures: the sums of blocks of k x k map pixels, row by row, and the
// pixels they give.
struct Level {
    std::int64_t columns = 0, rows = 0;
    std::vector<Sum3> sums;
    std::vector<std::uint32_t> pixels;
};

struct Pyramid {
    bool made = false;
    TableKey key;  // shift: the lowest level's
    FieldExtent extent{0, 0};
    const std::int32_t* fields = nullptr;
    Tables tables;              // of the lowest level's scale
    std::vector<Level> levels;  // shifts key.shift .. kMostReducedShift
    std::vector<std::int64_t> dirty, parents;

    std::size_t Bytes() const;
};

}  // namespace reduction

class MapReducer {
public:
    // Target pixel (v, w) shows the block of k x k map pixels from ((blockX + v) k,
    // (blockY + w) k), k = 2^shift (1 .. kMostReducedShift): every pixel, grey beyond the map.
    // The kept pictures follow the fields' changes, so only one reducer may draw from them.
    void Draw(const PictureSource& source, std::int32_t shift, std::int64_t blockX,
              std::int64_t blockY, const screen::PixelView& target);
    // The same picture from the tables alone, at a cost that grows with the fields the target
    // covers and takes no field changes: for a picture that keeps its own pixels and draws again
    // only the blocks whose fields changed (the overview).
    void DrawFromTables(const PictureSource& source, std::int32_t shift, std::int64_t blockX,
                        std::int64_t blockY, const screen::PixelView& target);

    // Bytes kept for the tables of the last scale drawn without the pyramid, and for the
    // pyramid.
    std::size_t TableBytes() const { return tables_.Bytes(); }
    std::size_t PyramidBytes() const { return pyramid_.Bytes(); }

private:
    reduction::Tables tables_;
    reduction::Pyramid pyramid_;
};

// The box filter over a picture that comes row by row: gives each row of the picture at
// 1:scale once its block of rows is complete (blocks at the right and bottom edges may be
// smaller).
class BoxFilter {
public:
    BoxFilter(std::int64_t width, std::int64_t height, std::int64_t scale);

    // Adds the next input row; true when that completed an output row, which Row() holds.
    bool Add(const std::uint32_t* row);
    const std::uint32_t* Row() const { return out_; }

private:
    std::int64_t width_, height_, outWidth_;
    std::int64_t scale_;
    std::int64_t rowsAdded_ = 0;
    std::vector<std::uint64_t> sums_;  // B, G, R per output pixel
    std::vector<std::uint32_t> row_;
    const std::uint32_t* out_ = nullptr;
};

}  // namespace editor
