// The map's picture enlarged and reduced.
//
// Reduced to 1:k (k = 2^n), the pixel grid lies on multiples of k in map pixels and the fields'
// edges on multiples of the field size, so inside a field every edge of the grid falls on a
// multiple of g = gcd(k, field width) (h alike for the height). For every tile the table holds
// the channel sums of its picture over [0, x) x [0, y) for x and y on those multiples: the sum
// over any piece of a field that a pixel covers is then four lookups, and a pixel is the sum of
// its pieces, rounded once. Sums are kept modulo 2^32: a piece lies within one pixel, whose sum
// (at most 255 * 4096 * 4096) fits, so the differences come out exact. Only the part of a field
// where the tile set can show pixels is tabled (the "box": at most the tile set's width and the
// field's picture rows); the rest of a field is grey and counted by area. A table is made again
// when the tile set, the field size, the Z-mask row or the scale changes.
//
// The pyramid's lowest level is that sum for every block of the map at the lowest scale where a
// block spans two fields each way; each level above sums four blocks of the one below (blocks
// beyond the map count as grey). A pass draws one lookup per pixel from it.
#include "editor/MapReduction.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "editor/FieldChanges.h"
#include "editor/MapPicture.h"

namespace editor {
namespace reduction {
namespace {

std::int32_t Wrap32(std::int64_t v) { return static_cast<std::int32_t>(v); }

std::int64_t Position(const Cuts& c, std::int32_t i) {
    return std::min<std::int64_t>(i * c.step, c.box);
}
// The node of a position inside the field that is a multiple of `step` or beyond the box.
std::int32_t Node(const Cuts& c, std::int64_t x) {
    return x >= c.box ? c.nodes - 1 : static_cast<std::int32_t>(x / c.step);
}
std::int64_t InBox(const Cuts& c, std::int64_t x) { return std::min(x, c.box); }

Cuts MakeCuts(std::int64_t fieldSize, std::int64_t k, std::int64_t box) {
    Cuts cuts;
    cuts.step = std::gcd(fieldSize, k);
    cuts.box = box;
    cuts.nodes = static_cast<std::int32_t>((box + cuts.step - 1) / cuts.step + 1);
    return cuts;
}

// The map's length in pixels along an axis.
std::int64_t MapLength(std::int32_t count, std::int32_t size) { return std::int64_t{count} * size; }

// Where a field's tile picture starts in the tile set, as the 1:1 drawing cuts it, or -1 when
// it shows nothing.
std::int64_t SourceLeft(std::int32_t value, std::int32_t fieldWidth, const screen::PixelView& set) {
    const std::int64_t left = Wrap32(std::int64_t{value} * fieldWidth);
    return left >= 0 && left < set.width ? left : -1;
}

TableKey KeyOf(const PictureSource& source, std::int32_t shift) {
    return {source.tileSetVersion,
            source.tileSet.pixels,
            source.tileSet.width,
            source.tileSet.height,
            source.document->FieldWidth,
            source.document->FieldHeight,
            source.zmaskRow,
            shift};
}

void MakeTables(Tables& t, const TableKey& key, const screen::PixelView& set) {
    t.key = key;
    t.made = true;
    t.blockPixels.clear();
    t.blockPixels.shrink_to_fit();
    const std::int64_t fw = key.fieldWidth;
    const std::int64_t fh = key.fieldHeight;
    const std::int64_t k = std::int64_t{1} << key.shift;
    t.sourceTop = Wrap32(std::int64_t{key.row} * fh);
    const std::int64_t pictureRows =
        t.sourceTop >= 0 && t.sourceTop < set.height ? std::min(fh, set.height - t.sourceTop) : 0;
    t.tiles = set.pixels == nullptr ? 0 : TileCountRoundedUp(set.width, fw);
    t.x = MakeCuts(fw, k, std::min<std::int64_t>(fw, set.width));
    t.y = MakeCuts(fh, k, pictureRows);
    const std::size_t perSlot = static_cast<std::size_t>(t.x.nodes) * t.y.nodes;
    t.sums.assign(perSlot * (static_cast<std::size_t>(t.tiles) + 1), Sum3{});
    t.sums.shrink_to_fit();  // only the current scale's table is kept
    t.totals.assign(static_cast<std::size_t>(t.tiles) + 1, Lanes{});
    t.totals.shrink_to_fit();
    std::vector<Sum3> columnSums(static_cast<std::size_t>(t.x.nodes));
    for (std::int32_t slot = 0; slot <= t.tiles; ++slot) {
        const std::int64_t left = slot * fw;
        const std::int64_t width = slot < t.tiles ? std::min(fw, set.width - left) : 0;
        Sum3* out = &t.sums[perSlot * static_cast<std::size_t>(slot)];
        std::fill(columnSums.begin(), columnSums.end(), Sum3{});
        std::int32_t j = 1;
        for (std::int64_t y = 0; y < t.y.box; ++y) {
            const std::uint32_t* source =
                width > 0 ? set.Row(static_cast<std::int32_t>(t.sourceTop + y)) + left : nullptr;
            Sum3 run;
            std::int32_t i = 1;
            for (std::int64_t x = 0; x < t.x.box; ++x) {
                run.Add(x < width ? source[x] : kBackgroundPixel);
                if (x + 1 == Position(t.x, i)) columnSums[static_cast<std::size_t>(i++)] += run;
            }
            if (y + 1 == Position(t.y, j)) {
                for (std::int32_t n = 0; n < t.x.nodes; ++n) {
                    out[static_cast<std::size_t>(n) * t.y.nodes + j] =
                        columnSums[static_cast<std::size_t>(n)];
                }
                ++j;
            }
        }
        t.totals[static_cast<std::size_t>(slot)] = Lanes::Of(out[perSlot - 1]);
    }
}

// The slot of a value that is no tile index: values whose product wraps into the tile set
// show the tile they land on; one that lands between two tiles (only from a damaged file) is
// drawn grey here. Kept out of line, away from the loops over every field.
[[gnu::noinline, gnu::cold]] std::size_t OtherSlot(std::int32_t value, std::uint32_t tiles,
                                                   std::int32_t fieldWidth,
                                                   const screen::PixelView& set) {
    const std::int64_t left = SourceLeft(value, fieldWidth, set);
    if (left >= 0 && left % fieldWidth == 0) return static_cast<std::size_t>(left / fieldWidth);
    return tiles;
}

// The table slot of a field's value: its tile, or the grey slot.
struct Slots {
    std::uint32_t tiles;
    std::int32_t fieldWidth;
    const screen::PixelView& set;

    std::size_t Of(std::int32_t value) const {
        return static_cast<std::uint32_t>(value) < tiles ? static_cast<std::uint32_t>(value)
                                                         : OtherSlot(value, tiles, fieldWidth, set);
    }
};

// The pieces of each target pixel along an axis from map pixel `base` on, and how much of each
// lies in boxes.
void CutAxis(std::int64_t base, std::int64_t k, std::int64_t fieldSize, std::int64_t mapLength,
             std::int32_t length, const Cuts& cuts, std::vector<Segment>& segments,
             std::vector<std::int64_t>& inBox) {
    segments.clear();
    inBox.assign(static_cast<std::size_t>(length), 0);
    for (std::int32_t v = 0; v < length; ++v) {
        const std::int64_t low = std::max<std::int64_t>(base + v * k, 0);
        const std::int64_t high = std::min(base + (v + 1) * k, mapLength);
        for (std::int64_t f = low / fieldSize; low < high && f * fieldSize < high; ++f) {
            const std::int64_t a = std::max(low, f * fieldSize) - f * fieldSize;
            const std::int64_t b = std::min(high, (f + 1) * fieldSize) - f * fieldSize;
            segments.push_back({v, static_cast<std::int32_t>(f), Node(cuts, a), Node(cuts, b)});
            inBox[static_cast<std::size_t>(v)] += InBox(cuts, b) - InBox(cuts, a);
        }
    }
}

// Splits the pieces of the target's rows into runs of whole field rows and the cut pieces.
void SortRows(Tables& t) {
    const std::int32_t lastNode = t.y.nodes - 1;
    t.wholeRows.clear();
    t.partRows.clear();
    for (const Segment& piece : t.rows) {
        if (piece.from != 0 || piece.to != lastNode) {
            t.partRows.push_back(piece);
        } else if (!t.wholeRows.empty() && t.wholeRows.back().view == piece.view) {
            t.wholeRows.back().last = piece.field + 1;
        } else {
            t.wholeRows.push_back({piece.view, piece.field, piece.field + 1});
        }
    }
}

// Adds to each target row what one field column that a target column covers (segment) shows in
// it: for a column cut by the grid every piece, otherwise only the cut field rows.
[[gnu::always_inline]] inline void AddPieces(const Tables& t, const MapDocument& document,
                                             const Segment& segment, const Slots& slots,
                                             Lanes* accumulated) {
    const std::int32_t* column = &document.Fields(segment.field, 0);
    const std::size_t ny = static_cast<std::size_t>(t.y.nodes);
    const std::size_t perSlot = static_cast<std::size_t>(t.x.nodes) * ny;
    const std::size_t i1 = static_cast<std::size_t>(segment.from) * ny;
    const std::size_t i2 = static_cast<std::size_t>(segment.to) * ny;
    // Held in locals: the writes to `accumulated` cannot change them.
    const Sum3* const allSums = t.sums.data();
    // The piece of a field's tile between x nodes i1, i2 and y nodes j1, j2: four corners.
    const auto piece = [&](std::int32_t field, std::size_t j1, std::size_t j2) {
        const Sum3* sums = allSums + perSlot * slots.Of(column[field]);
        return Lanes::Of(sums[i2 + j2] - sums[i1 + j2] - sums[i2 + j1] + sums[i1 + j1]);
    };
    if (segment.from != 0 || segment.to != t.x.nodes - 1) {
        const WholeRun* const runsEnd = t.wholeRows.data() + t.wholeRows.size();
        for (const WholeRun* run = t.wholeRows.data(); run != runsEnd; ++run) {
            Lanes sum;
            for (std::int32_t f = run->first; f < run->last; ++f) sum += piece(f, 0, ny - 1);
            accumulated[run->view] += sum;
        }
    }
    const Segment* const rowsEnd = t.partRows.data() + t.partRows.size();
    for (const Segment* row = t.partRows.data(); row != rowsEnd; ++row) {
        accumulated[row->view] += piece(row->field, static_cast<std::size_t>(row->from),
                                        static_cast<std::size_t>(row->to));
    }
}

// Adds the whole fields of whole field rows and columns, the common case far out: one total
// each, two field columns at a time.
void AddWholeFields(const Tables& t, const Slots& slots, Lanes* accumulated) {
    const Lanes* totals = t.totals.data();
    const std::vector<const std::int32_t*>& whole = t.wholeColumns;
    for (std::size_t c = 0; c < whole.size(); c += 2) {
        const std::int32_t* a = whole[c];
        const std::int32_t* b = c + 1 < whole.size() ? whole[c + 1] : nullptr;
        for (const WholeRun& run : t.wholeRows) {
            Lanes sum{};
            if (b != nullptr) {
                for (std::int32_t f = run.first; f < run.last; ++f) {
                    sum += totals[slots.Of(a[f])] + totals[slots.Of(b[f])];
                }
            } else {
                for (std::int32_t f = run.first; f < run.last; ++f) sum += totals[slots.Of(a[f])];
            }
            accumulated[run.view] += sum;
        }
    }
}

// The sums of the blocks (blockX + v, blockY + w), v < width, w < height, grey beyond the
// pictures included, plus `bias` in each lane, handed to sink(v, w, sum) column by column.
template <typename Sink>
void ReduceSums(Tables& t, const PictureSource& source, std::int64_t blockX, std::int64_t blockY,
                std::int32_t width, std::int32_t height, std::uint32_t bias, Sink sink) {
    const MapDocument& document = *source.document;
    const std::int64_t k = std::int64_t{1} << t.key.shift;
    const FieldExtent extent =
        document.Fields.IsNull() ? FieldExtent{0, 0} : FieldsInArray(document);
    CutAxis(blockX * k, k, document.FieldWidth, MapLength(extent.columns, document.FieldWidth),
            width, t.x, t.columns, t.inBoxX);
    CutAxis(blockY * k, k, document.FieldHeight, MapLength(extent.rows, document.FieldHeight),
            height, t.y, t.rows, t.inBoxY);
    SortRows(t);
    const std::uint64_t area = std::uint64_t{1} << (2 * t.key.shift);
    t.accumulated.assign(static_cast<std::size_t>(height), Lanes{});
    t.rowBase.resize(static_cast<std::size_t>(height));
    Lanes* accumulated = t.accumulated.data();
    const Slots slots{static_cast<std::uint32_t>(t.tiles), document.FieldWidth, source.tileSet};

    auto segment = t.columns.begin();
    for (std::int32_t v = 0; v < width; ++v) {
        t.wholeColumns.clear();
        for (; segment != t.columns.end() && segment->view == v; ++segment) {
            if (segment->from == 0 && segment->to == t.x.nodes - 1) {
                t.wholeColumns.push_back(&document.Fields(segment->field, 0));
            }
            AddPieces(t, document, *segment, slots, accumulated);
        }
        AddWholeFields(t, slots, accumulated);
        // What lies beyond the pictures is grey.
        const std::int64_t inBoxX = t.inBoxX[static_cast<std::size_t>(v)];
        if (v == 0 || inBoxX != t.inBoxX[static_cast<std::size_t>(v) - 1]) {
            for (std::int32_t w = 0; w < height; ++w) {
                const auto inBox = static_cast<std::uint64_t>(inBoxX * t.inBoxY[w]);
                t.rowBase[w] = Lanes::All(
                    static_cast<std::uint32_t>((area - inBox) * kBackgroundChannel + bias));
            }
        }
        for (std::int32_t w = 0; w < height; ++w) {
            sink(v, w, accumulated[w] + t.rowBase[w]);
            accumulated[w] = Lanes{};  // ready for the next column
        }
    }
}

// The block pixels of every tile slot stay below this many (a large field at 1:2 over a wide
// tile set would need more); past it the pass reduces as ReduceSums does.
constexpr std::size_t kMostBlockPixels = std::size_t{1} << 22;

// Fills t.blockPixels where every block lies in one field: each pixel is the one ReduceSums
// gives a block that lies in a field of that slot. False where blocks cross fields, or where
// the pixels would be too many.
bool MakeBlockPixels(Tables& t) {
    const std::int64_t k = std::int64_t{1} << t.key.shift;
    const std::int64_t fw = t.key.fieldWidth, fh = t.key.fieldHeight;
    if (fw % k != 0 || fh % k != 0) return false;
    const std::int64_t across = fw / k, down = fh / k;
    const std::size_t perSlot = static_cast<std::size_t>(across * down);
    const std::size_t slots = static_cast<std::size_t>(t.tiles) + 1;
    if (perSlot > kMostBlockPixels / slots) return false;
    if (!t.blockPixels.empty()) return true;
    t.blockPixels.resize(perSlot * slots);
    const std::int32_t s = 2 * t.key.shift;
    const std::uint64_t area = std::uint64_t{1} << s;
    const std::uint32_t half = std::uint32_t{1} << (s - 1);
    const std::size_t ny = static_cast<std::size_t>(t.y.nodes);
    const std::size_t nodesPerSlot = static_cast<std::size_t>(t.x.nodes) * ny;
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const Sum3* sums = &t.sums[nodesPerSlot * slot];
        std::uint32_t* out = &t.blockPixels[perSlot * slot];
        for (std::int64_t by = 0; by < down; ++by) {
            const std::int64_t y1 = by * k, y2 = y1 + k;
            const auto j1 = static_cast<std::size_t>(Node(t.y, y1));
            const auto j2 = static_cast<std::size_t>(Node(t.y, y2));
            for (std::int64_t bx = 0; bx < across; ++bx) {
                const std::int64_t x1 = bx * k, x2 = x1 + k;
                const std::size_t i1 = static_cast<std::size_t>(Node(t.x, x1)) * ny;
                const std::size_t i2 = static_cast<std::size_t>(Node(t.x, x2)) * ny;
                const auto inBox = static_cast<std::uint64_t>((InBox(t.x, x2) - InBox(t.x, x1)) *
                                                              (InBox(t.y, y2) - InBox(t.y, y1)));
                const Lanes sum =
                    Lanes::Of(sums[i2 + j2] - sums[i1 + j2] - sums[i2 + j1] + sums[i1 + j1]) +
                    Lanes::All(static_cast<std::uint32_t>((area - inBox) * kBackgroundChannel +
                                                          half));
                out[by * across + bx] = (sum >> s).ToPixel();
            }
        }
    }
    return true;
}

// The pass where every block lies in one field: each field's blocks copied from its slot's
// block pixels, grey beyond the map. False where MakeBlockPixels gives none.
bool DrawWholeBlocks(Tables& t, const PictureSource& source, std::int64_t blockX,
                     std::int64_t blockY, const screen::PixelView& target) {
    if (!MakeBlockPixels(t)) return false;
    const MapDocument& document = *source.document;
    const std::int64_t k = std::int64_t{1} << t.key.shift;
    const std::int64_t across = document.FieldWidth / k, down = document.FieldHeight / k;
    const FieldExtent extent =
        document.Fields.IsNull() ? FieldExtent{0, 0} : FieldsInArray(document);
    const std::int64_t mapColumns = extent.columns * across, mapRows = extent.rows * down;
    const Slots slots{static_cast<std::uint32_t>(t.tiles), document.FieldWidth, source.tileSet};
    const std::size_t perSlot = static_cast<std::size_t>(across * down);
    const std::int64_t firstV = std::clamp<std::int64_t>(-blockX, 0, target.width);
    const std::int64_t endV = std::clamp<std::int64_t>(mapColumns - blockX, firstV, target.width);
    for (std::int32_t w = 0; w < target.height; ++w) {
        std::uint32_t* out = target.Row(w);
        const std::int64_t row = blockY + w;
        if (row < 0 || row >= mapRows || endV == firstV) {
            std::fill_n(out, target.width, kBackgroundPixel);
            continue;
        }
        std::fill(out, out + firstV, kBackgroundPixel);
        std::fill(out + endV, out + target.width, kBackgroundPixel);
        const std::int64_t fieldY = row / down;
        const std::size_t rowInField = static_cast<std::size_t>((row % down) * across);
        std::int64_t v = firstV;
        std::int64_t fieldX = (blockX + v) / across;
        std::int64_t column = (blockX + v) % across;
        while (v < endV) {
            const std::uint32_t* pixels =
                &t.blockPixels[perSlot * slots.Of(document.Fields(fieldX, fieldY)) + rowInField];
            const std::int64_t n = std::min(across - column, endV - v);
            std::copy_n(pixels + column, n, out + v);
            v += n;
            ++fieldX;
            column = 0;
        }
    }
    return true;
}

// The block sums of the pyramid's lowest level for blocks (x, y) of `blocks`.
void ReduceBlocks(Pyramid& p, const PictureSource& source,
                  const std::vector<std::int64_t>& blocks) {
    Level& level = p.levels.front();
    for (const std::int64_t b : blocks) {
        const std::int64_t x = b % level.columns;
        const std::int64_t y = b / level.columns;
        ReduceSums(p.tables, source, x, y, 1, 1, 0,
                   [&](std::int32_t, std::int32_t, const Lanes& sum) {
                       level.sums[static_cast<std::size_t>(b)] = sum.ToSum3();
                   });
    }
}

// The pixel of block b of level i from its sum: BoxMean over k x k pixels, k * k a power of two.
void MakePixel(Pyramid& p, std::size_t i, std::int64_t b) {
    const std::int32_t s = 2 * (p.key.shift + static_cast<std::int32_t>(i));
    const std::uint32_t half = std::uint32_t{1} << (s - 1);
    Level& level = p.levels[i];
    const Sum3& sum = level.sums[static_cast<std::size_t>(b)];
    level.pixels[static_cast<std::size_t>(b)] =
        ((sum.c0 + half) >> s) | ((sum.c1 + half) >> s) << 8 | ((sum.c2 + half) >> s) << 16;
}

// Block b of level i + 1 from its four blocks in level i.
void SumParent(Pyramid& p, std::size_t i, std::int64_t b) {
    const Level& below = p.levels[i];
    Level& level = p.levels[i + 1];
    const std::int64_t x = b % level.columns;
    const std::int64_t y = b / level.columns;
    const std::int32_t childShift = p.key.shift + static_cast<std::int32_t>(i);
    const auto grey =
        static_cast<std::uint32_t>((std::uint64_t{1} << (2 * childShift)) * kBackgroundChannel);
    Sum3 sum;
    for (std::int64_t cy = 2 * y; cy < 2 * y + 2; ++cy) {
        for (std::int64_t cx = 2 * x; cx < 2 * x + 2; ++cx) {
            sum += cx < below.columns && cy < below.rows
                       ? below.sums[static_cast<std::size_t>(cy * below.columns + cx)]
                       : Sum3{grey, grey, grey};
        }
    }
    level.sums[static_cast<std::size_t>(b)] = sum;
}

// Every level above the lowest from the one below, and every level's pixels.
void SumLevelsAbove(Pyramid& p) {
    for (std::size_t i = 0; i < p.levels.size(); ++i) {
        const Level& level = p.levels[i];
        for (std::int64_t b = 0; b < level.columns * level.rows; ++b) {
            if (i > 0) SumParent(p, i - 1, b);
            MakePixel(p, i, b);
        }
    }
}

// The lowest scale at which a block spans two fields or more each way; past the most reduced
// scale when there is none.
std::int32_t LowestPyramidShift(const MapDocument& document) {
    const std::int64_t span = 2 * std::int64_t{std::max(document.FieldWidth, document.FieldHeight)};
    std::int32_t shift = 1;
    while (shift <= kMostReducedShift && (std::int64_t{1} << shift) < span) ++shift;
    return shift;
}

void MakePyramid(Pyramid& p, const PictureSource& source, const TableKey& key, FieldExtent extent) {
    const MapDocument& document = *source.document;
    p.made = true;
    p.key = key;
    p.extent = extent;
    p.fields = std::as_const(document.Fields).Data();
    if (!(p.tables.made && p.tables.key == key)) MakeTables(p.tables, key, source.tileSet);
    p.levels.clear();
    std::int64_t columns =
        (MapLength(extent.columns, key.fieldWidth) + (std::int64_t{1} << key.shift) - 1) >>
        key.shift;
    std::int64_t rows =
        (MapLength(extent.rows, key.fieldHeight) + (std::int64_t{1} << key.shift) - 1) >> key.shift;
    for (std::int32_t shift = key.shift; shift <= kMostReducedShift; ++shift) {
        Level level;
        level.columns = columns;
        level.rows = rows;
        level.sums.resize(static_cast<std::size_t>(columns * rows));
        level.pixels.resize(static_cast<std::size_t>(columns * rows));
        p.levels.push_back(std::move(level));
        columns = (columns + 1) / 2;
        rows = (rows + 1) / 2;
    }
    Level& lowest = p.levels.front();
    ReduceSums(p.tables, source, 0, 0, static_cast<std::int32_t>(lowest.columns),
               static_cast<std::int32_t>(lowest.rows), 0,
               [&](std::int32_t v, std::int32_t w, const Lanes& sum) {
                   lowest.sums[static_cast<std::size_t>(w * lowest.columns + v)] = sum.ToSum3();
               });
    SumLevelsAbove(p);
}

// Makes again the blocks that the changed fields lie in, and the blocks above them.
void UpdatePyramid(Pyramid& p, const PictureSource& source,
                   const std::vector<std::int32_t>& changed) {
    const std::int64_t fw = p.key.fieldWidth, fh = p.key.fieldHeight;
    const std::int32_t shift = p.key.shift;
    const Level& lowest = p.levels.front();
    p.dirty.clear();
    for (const std::int32_t position : changed) {
        const std::int64_t x = position / kFieldsSize, y = position % kFieldsSize;
        if (x >= p.extent.columns || y >= p.extent.rows) continue;
        for (std::int64_t by = (y * fh) >> shift; by <= ((y + 1) * fh - 1) >> shift; ++by) {
            for (std::int64_t bx = (x * fw) >> shift; bx <= ((x + 1) * fw - 1) >> shift; ++bx) {
                p.dirty.push_back(by * lowest.columns + bx);
            }
        }
    }
    std::sort(p.dirty.begin(), p.dirty.end());
    p.dirty.erase(std::unique(p.dirty.begin(), p.dirty.end()), p.dirty.end());
    ReduceBlocks(p, source, p.dirty);
    for (const std::int64_t b : p.dirty) MakePixel(p, 0, b);
    for (std::size_t i = 0; i + 1 < p.levels.size(); ++i) {
        const std::int64_t columns = p.levels[i].columns;
        const std::int64_t parentColumns = p.levels[i + 1].columns;
        p.parents.clear();
        for (const std::int64_t b : p.dirty) {
            p.parents.push_back((b / columns) / 2 * parentColumns + (b % columns) / 2);
        }
        std::sort(p.parents.begin(), p.parents.end());
        p.parents.erase(std::unique(p.parents.begin(), p.parents.end()), p.parents.end());
        for (const std::int64_t b : p.parents) {
            SumParent(p, i, b);
            MakePixel(p, i + 1, b);
        }
        std::swap(p.dirty, p.parents);
    }
}

void DrawFromLevel(const Level& level, std::int64_t blockX, std::int64_t blockY,
                   const screen::PixelView& target) {
    const std::int64_t firstV = std::clamp<std::int64_t>(-blockX, 0, target.width);
    const std::int64_t endV =
        std::clamp<std::int64_t>(level.columns - blockX, firstV, target.width);
    for (std::int32_t w = 0; w < target.height; ++w) {
        std::uint32_t* out = target.Row(w);
        const std::int64_t by = blockY + w;
        if (by < 0 || by >= level.rows || endV == firstV) {
            std::fill_n(out, target.width, kBackgroundPixel);
            continue;
        }
        std::fill(out, out + firstV, kBackgroundPixel);
        const std::uint32_t* pixels = &level.pixels[static_cast<std::size_t>(by * level.columns)];
        std::copy(pixels + blockX + firstV, pixels + blockX + endV, out + firstV);
        std::fill(out + endV, out + target.width, kBackgroundPixel);
    }
}

}  // namespace

std::size_t Tables::Bytes() const {
    return sums.capacity() * sizeof(Sum3) +
           (totals.capacity() + accumulated.capacity() + rowBase.capacity()) * sizeof(Lanes) +
           (columns.capacity() + rows.capacity() + partRows.capacity()) * sizeof(Segment) +
           wholeRows.capacity() * sizeof(WholeRun) +
           (inBoxX.capacity() + inBoxY.capacity()) * sizeof(std::int64_t) +
           wholeColumns.capacity() * sizeof(const std::int32_t*) +
           blockPixels.capacity() * sizeof(std::uint32_t);
}

std::size_t Pyramid::Bytes() const {
    std::size_t bytes =
        tables.Bytes() + (dirty.capacity() + parents.capacity()) * sizeof(std::int64_t);
    for (const Level& level : levels) {
        bytes +=
            level.sums.capacity() * sizeof(Sum3) + level.pixels.capacity() * sizeof(std::uint32_t);
    }
    return bytes;
}

}  // namespace reduction

using namespace reduction;

void MapReducer::Draw(const PictureSource& source, std::int32_t shift, std::int64_t blockX,
                      std::int64_t blockY, const screen::PixelView& target) {
    if (target.pixels == nullptr) return;
    const MapDocument& document = *source.document;
    if (document.FieldWidth < 1 || document.FieldHeight < 1) {
        FillBackground(target);
        return;
    }
    const std::int32_t lowest = LowestPyramidShift(document);
    if (shift >= lowest) {
        const TableKey key = KeyOf(source, lowest);
        const FieldExtent extent =
            document.Fields.IsNull() ? FieldExtent{0, 0} : FieldsInArray(document);
        FieldChanges changes = TakeFieldChanges();
        const bool same = pyramid_.made && pyramid_.key == key &&
                          pyramid_.extent.columns == extent.columns &&
                          pyramid_.extent.rows == extent.rows &&
                          pyramid_.fields == std::as_const(document.Fields).Data();
        if (!same || changes.all) {
            MakePyramid(pyramid_, source, key, extent);
        } else if (!changes.positions.empty()) {
            UpdatePyramid(pyramid_, source, changes.positions);
        }
        DrawFromLevel(pyramid_.levels[static_cast<std::size_t>(shift - lowest)], blockX, blockY,
                      target);
        return;
    }
    DrawFromTables(source, shift, blockX, blockY, target);
}

void MapReducer::DrawFromTables(const PictureSource& source, std::int32_t shift,
                                std::int64_t blockX, std::int64_t blockY,
                                const screen::PixelView& target) {
    if (target.pixels == nullptr) return;
    if (source.document->FieldWidth < 1 || source.document->FieldHeight < 1) {
        FillBackground(target);
        return;
    }
    const TableKey key = KeyOf(source, shift);
    if (!tables_.made || !(tables_.key == key)) MakeTables(tables_, key, source.tileSet);
    if (DrawWholeBlocks(tables_, source, blockX, blockY, target)) return;
    // BoxMean over the k x k pixels of a block, k * k a power of two: half of it added, shifted.
    const std::uint32_t half = std::uint32_t{1} << (2 * shift - 1);
    // By value: the pixel stores cannot change them.
    std::uint32_t* const pixels = target.pixels;
    const std::ptrdiff_t pitch = target.pitch;
    const std::int32_t s = 2 * shift;
    ReduceSums(tables_, source, blockX, blockY, target.width, target.height, half,
               [pixels, pitch, s](std::int32_t v, std::int32_t w, const Lanes& sum) {
                   pixels[w * pitch + v] = (sum >> s).ToPixel();
               });
}

void DrawEnlarged(const PictureSource& source, std::int32_t shift, std::int64_t left,
                  std::int64_t top, const screen::PixelView& target) {
    if (target.pixels == nullptr) return;
    const MapDocument& document = *source.document;
    const screen::PixelView& set = source.tileSet;
    const std::int64_t fw = document.FieldWidth;
    const std::int64_t fh = document.FieldHeight;
    if (fw < 1 || fh < 1) {
        FillBackground(target);
        return;
    }
    const FieldExtent extent =
        document.Fields.IsNull() ? FieldExtent{0, 0} : FieldsInArray(document);
    const std::int64_t mapWidth = MapLength(extent.columns, document.FieldWidth);
    const std::int64_t mapHeight = MapLength(extent.rows, document.FieldHeight);
    const std::int64_t sourceTop = Wrap32(std::int64_t{source.zmaskRow} * fh);
    const std::int64_t pictureRows =
        set.pixels != nullptr && sourceTop >= 0 && sourceTop < set.height
            ? std::min(fh, set.height - sourceTop)
            : 0;
    const std::int64_t m = std::int64_t{1} << shift;
    for (std::int32_t w = 0; w < target.height; w += static_cast<std::int32_t>(m)) {
        std::uint32_t* out = target.Row(w);
        const std::int64_t my = top + FloorDiv(w, m);
        const std::int64_t fy = my >= 0 && my < mapHeight ? my / fh : -1;
        const std::int64_t ly = my - fy * fh;
        for (std::int32_t v = 0; v < target.width; ++v) {
            const std::int64_t mx = left + FloorDiv(v, m);
            std::uint32_t pixel = kBackgroundPixel;
            if (fy >= 0 && mx >= 0 && mx < mapWidth && ly < pictureRows) {
                const std::int64_t sourceLeft =
                    SourceLeft(document.Fields(mx / fw, fy), document.FieldWidth, set);
                const std::int64_t lx = mx % fw;
                if (sourceLeft >= 0 && lx < set.width - sourceLeft) {
                    pixel = set.Row(static_cast<std::int32_t>(sourceTop + ly))[sourceLeft + lx];
                }
            }
            out[v] = pixel;
        }
        for (std::int64_t r = 1; r < m && w + r < target.height; ++r) {
            std::copy_n(out, target.width, target.Row(static_cast<std::int32_t>(w + r)));
        }
    }
}

BoxFilter::BoxFilter(std::int64_t width, std::int64_t height, std::int64_t scale)
    : width_(width), height_(height), outWidth_((width + scale - 1) / scale), scale_(scale) {
    if (scale_ > 1) {
        sums_.assign(static_cast<std::size_t>(outWidth_) * 3, 0);
        row_.resize(static_cast<std::size_t>(outWidth_));
    }
}

bool BoxFilter::Add(const std::uint32_t* row) {
    const std::int64_t y = rowsAdded_++;
    if (scale_ == 1) {
        out_ = row;
        return true;
    }
    for (std::int64_t o = 0; o < outWidth_; ++o) {
        std::uint64_t b = 0, g = 0, r = 0;
        const std::int64_t end = std::min(width_, (o + 1) * scale_);
        for (std::int64_t x = o * scale_; x < end; ++x) {
            const std::uint32_t p = row[x];
            b += p & 0xFF;
            g += (p >> 8) & 0xFF;
            r += (p >> 16) & 0xFF;
        }
        std::uint64_t* sum = &sums_[static_cast<std::size_t>(o) * 3];
        sum[0] += b;
        sum[1] += g;
        sum[2] += r;
    }
    if ((y + 1) % scale_ != 0 && y + 1 != height_) return false;
    // The block's pixels inside the picture.
    const std::uint64_t blockRows = static_cast<std::uint64_t>(y % scale_ + 1);
    for (std::int64_t o = 0; o < outWidth_; ++o) {
        const std::uint64_t columns =
            static_cast<std::uint64_t>(std::min(width_, (o + 1) * scale_) - o * scale_);
        const std::uint64_t count = columns * blockRows;
        std::uint64_t* sum = &sums_[static_cast<std::size_t>(o) * 3];
        row_[static_cast<std::size_t>(o)] =
            BoxMean(sum[0], count) | BoxMean(sum[1], count) << 8 | BoxMean(sum[2], count) << 16;
        sum[0] = sum[1] = sum[2] = 0;
    }
    out_ = row_.data();
    return true;
}

}  // namespace editor
