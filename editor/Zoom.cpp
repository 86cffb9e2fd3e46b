// Drawing the map view's fields enlarged and reduced.
//
// Reduced to 1:k (k = 2^n), the view's pixel grid lies on multiples of k in map pixels and the
// fields' edges on multiples of the field size, so inside a field every edge of the grid falls
// on a multiple of g = gcd(k, field width) (h alike for the height). For every tile the table
// holds the channel sums of its picture over [0, x) x [0, y) for x and y on those multiples:
// the sum over any piece of a field that a view pixel covers is then four lookups, and a view
// pixel is the sum of its pieces, rounded once. Sums are kept modulo 2^32: a piece lies within
// one view pixel, whose sum (at most 255 * 4096 * 4096) fits, so the differences come out
// exact. Only the part of a field where the tile set can show pixels is tabled (the "box":
// at most the tile set's width and the field's picture rows); the rest of a field is grey and
// counted by area. The table is made again when the tile set, the field size, the Z-mask row or
// the scale changes; scrolling and painting never touch it.
#include "editor/Zoom.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <utility>
#include <vector>

#include "editor/EditorState.h"
#include "editor/MapDocument.h"
#include "editor/TileSet.h"
#include "editor/ViewScale.h"
#include "gui/Gadget.h"
#include "screen/Screen.h"
#include "screen/Sprite.h"

namespace editor {
namespace {

constexpr std::uint32_t kGreyChannel = 100;
constexpr std::uint32_t kGreyPixel = 0x646464;

// Channel sums in the pixel's byte order, modulo 2^32.
struct Sum3 {
    std::uint32_t c0 = 0, c1 = 0, c2 = 0;

    void Add(std::uint32_t pixel) {
        c0 += pixel & 0xFF;
        c1 += (pixel >> 8) & 0xFF;
        c2 += (pixel >> 16) & 0xFF;
    }
    Sum3& operator+=(const Sum3& o) {
        c0 += o.c0;
        c1 += o.c1;
        c2 += o.c2;
        return *this;
    }
    friend Sum3 operator+(Sum3 a, const Sum3& b) { return a += b; }
    friend Sum3 operator-(Sum3 a, const Sum3& b) { return {a.c0 - b.c0, a.c1 - b.c1, a.c2 - b.c2}; }
};

// The same sums in one vector register (the fourth lane unused), for the adds of the hot loops.
using Lanes = std::uint32_t __attribute__((vector_size(16)));

Lanes ToLanes(const Sum3& s) { return Lanes{s.c0, s.c1, s.c2, 0}; }

// Lanes of values up to 255 as one pixel: lane 0 the lowest byte.
std::uint32_t ToPixel(Lanes lanes) {
    using Halves = std::uint64_t __attribute__((vector_size(16)));
    const auto halves = std::bit_cast<Halves>(lanes);
    return static_cast<std::uint32_t>(halves[0] | (halves[0] >> 24) | (halves[1] << 16));
}

// What the table was made from.
struct TableKey {
    std::uint32_t tileSet = 0;
    const std::uint32_t* pixels = nullptr;
    std::int32_t spriteWidth = 0, spriteHeight = 0;
    std::int32_t fieldWidth = 0, fieldHeight = 0;
    std::int32_t row = 0;  // 0 the pictures, 1 the Z-masks
    std::int32_t level = 0;
    bool operator==(const TableKey&) const = default;
};

// Where a field's pictures are cut along one axis: at multiples of `step` up to `box`, and at
// `box`.
struct Cuts {
    std::int64_t step = 1;
    std::int64_t box = 0;
    std::int32_t nodes = 1;  // positions 0, step, 2 step, ..., box

    std::int64_t Position(std::int32_t i) const { return std::min<std::int64_t>(i * step, box); }
    // The node of a position inside the field that is a multiple of `step` or beyond the box.
    std::int32_t Node(std::int64_t x) const {
        return x >= box ? nodes - 1 : static_cast<std::int32_t>(x / step);
    }
    std::int64_t InBox(std::int64_t x) const { return std::min(x, box); }
};

Cuts MakeCuts(std::int64_t fieldSize, std::int64_t k, std::int64_t box) {
    Cuts cuts;
    cuts.step = std::gcd(fieldSize, k);
    cuts.box = box;
    cuts.nodes = static_cast<std::int32_t>((box + cuts.step - 1) / cuts.step + 1);
    return cuts;
}

// A piece of a view pixel's column (or row) that lies in one field column (row).
struct Segment {
    std::int32_t view;   // view column or row
    std::int32_t field;  // field column or row
    std::int32_t from;   // nodes of the piece's ends inside the field
    std::int32_t to;
};

// Field rows first .. last - 1 that lie wholly in view row `view` (as far as pictures reach).
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
    std::vector<std::int64_t> inBoxX, inBoxY;  // per view pixel: its extent inside boxes
    std::vector<Lanes> accumulated;
    std::vector<const std::int32_t*> wholeColumns;
    std::vector<Lanes> rowBase;  // per view row: grey and rounding of a view column in boxes
};

Tables gTables;

std::int64_t MapLength(std::int32_t lastField, std::int32_t size, bool hasFields) {
    return !hasFields || lastField < 0
               ? 0
               : (std::int64_t{std::min(lastField, kFieldsSize - 1)} + 1) * size;
}

// Where a field's tile picture starts in the tile set, as the 1:1 drawing cuts it, or -1 when
// it shows nothing.
std::int64_t SourceLeft(std::int32_t value, const screen::PixelView& set) {
    const std::int64_t left = Wrap(std::int64_t{value} * Document.FieldWidth);
    return left >= 0 && left < set.width ? left : -1;
}

void MakeTables(const TableKey& key, const screen::PixelView& set) {
    Tables& t = gTables;
    t.key = key;
    t.made = true;
    const std::int64_t fw = key.fieldWidth;
    const std::int64_t fh = key.fieldHeight;
    const std::int64_t k = Reduction();
    t.sourceTop = Wrap(std::int64_t{key.row} * fh);
    const std::int64_t pictureRows =
        t.sourceTop >= 0 && t.sourceTop < set.height ? std::min(fh, set.height - t.sourceTop) : 0;
    t.tiles = set.pixels == nullptr ? 0 : static_cast<std::int32_t>((set.width + fw - 1) / fw);
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
                run.Add(x < width ? source[x] : kGreyPixel);
                if (x + 1 == t.x.Position(i)) columnSums[static_cast<std::size_t>(i++)] += run;
            }
            if (y + 1 == t.y.Position(j)) {
                for (std::int32_t n = 0; n < t.x.nodes; ++n) {
                    out[static_cast<std::size_t>(n) * t.y.nodes + j] =
                        columnSums[static_cast<std::size_t>(n)];
                }
                ++j;
            }
        }
        t.totals[static_cast<std::size_t>(slot)] = ToLanes(out[perSlot - 1]);
    }
}

// The slot of a value that is no tile index: values whose product wraps into the tile set
// show the tile they land on; one that lands between two tiles (only from a damaged file) is
// drawn grey here. Kept out of line, away from the loops over every field.
[[gnu::noinline, gnu::cold]] std::size_t OtherSlot(std::int32_t value, std::uint32_t tiles,
                                                   const screen::PixelView& set) {
    const std::int64_t left = SourceLeft(value, set);
    if (left >= 0 && left % Document.FieldWidth == 0) {
        return static_cast<std::size_t>(left / Document.FieldWidth);
    }
    return tiles;
}

// The table slot of a field's value: its tile, or the grey slot.
struct Slots {
    std::uint32_t tiles;
    const screen::PixelView& set;

    std::size_t Of(std::int32_t value) const {
        return static_cast<std::uint32_t>(value) < tiles ? static_cast<std::uint32_t>(value)
                                                         : OtherSlot(value, tiles, set);
    }
};

// The pieces of each view pixel along an axis, and how much of each view pixel lies in boxes.
void CutAxis(std::int32_t scroll, std::int64_t fieldSize, std::int64_t mapLength,
             std::int32_t viewLength, const Cuts& cuts, std::vector<Segment>& segments,
             std::vector<std::int64_t>& inBox) {
    const std::int64_t k = Reduction();
    const std::int64_t base = MapFromView(0, scroll);
    segments.clear();
    inBox.assign(static_cast<std::size_t>(viewLength), 0);
    for (std::int32_t v = 0; v < viewLength; ++v) {
        const std::int64_t low = std::max<std::int64_t>(base + v * k, 0);
        const std::int64_t high = std::min(base + (v + 1) * k, mapLength);
        for (std::int64_t f = low / fieldSize; low < high && f * fieldSize < high; ++f) {
            const std::int64_t a = std::max(low, f * fieldSize) - f * fieldSize;
            const std::int64_t b = std::min(high, (f + 1) * fieldSize) - f * fieldSize;
            segments.push_back({v, static_cast<std::int32_t>(f), cuts.Node(a), cuts.Node(b)});
            inBox[static_cast<std::size_t>(v)] += cuts.InBox(b) - cuts.InBox(a);
        }
    }
}

// Splits the pieces of the view's rows into runs of whole field rows and the cut pieces.
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

// Adds to each view row what one field column that a view column covers (segment) shows in
// it: for a column cut by the view's grid every piece, otherwise only the cut field rows.
void AddPieces(const Tables& t, const Segment& segment, const Slots& slots, Lanes* accumulated) {
    const std::int32_t* column = &std::as_const(Document.Fields)(segment.field, 0);
    const std::size_t ny = static_cast<std::size_t>(t.y.nodes);
    const std::size_t perSlot = static_cast<std::size_t>(t.x.nodes) * ny;
    const std::size_t i1 = static_cast<std::size_t>(segment.from) * ny;
    const std::size_t i2 = static_cast<std::size_t>(segment.to) * ny;
    // The piece of a field's tile between x nodes i1, i2 and y nodes j1, j2: four corners.
    const auto piece = [&](std::int32_t field, std::size_t j1, std::size_t j2) {
        const Sum3* sums = &t.sums[perSlot * slots.Of(column[field])];
        return ToLanes(sums[i2 + j2] - sums[i1 + j2] - sums[i2 + j1] + sums[i1 + j1]);
    };
    if (segment.from != 0 || segment.to != t.x.nodes - 1) {
        for (const WholeRun& run : t.wholeRows) {
            for (std::int32_t f = run.first; f < run.last; ++f) {
                accumulated[run.view] += piece(f, 0, ny - 1);
            }
        }
    }
    for (const Segment& row : t.partRows) {
        accumulated[row.view] +=
            piece(row.field, static_cast<std::size_t>(row.from), static_cast<std::size_t>(row.to));
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

void DrawReduced(const screen::PixelView& view, const screen::PixelView& set) {
    Tables& t = gTables;
    const bool hasFields = !Document.Fields.IsNull();
    CutAxis(View.ScrollX, Document.FieldWidth,
            MapLength(Document.LastFieldX, Document.FieldWidth, hasFields), view.width, t.x,
            t.columns, t.inBoxX);
    CutAxis(View.ScrollY, Document.FieldHeight,
            MapLength(Document.LastFieldY, Document.FieldHeight, hasFields), view.height, t.y,
            t.rows, t.inBoxY);
    SortRows(t);
    const std::int32_t shift = -2 * View.ZoomLevel;  // dividing by the area k x k
    const std::uint64_t area = std::uint64_t{1} << shift;
    t.accumulated.assign(static_cast<std::size_t>(view.height), Lanes{});
    t.rowBase.resize(static_cast<std::size_t>(view.height));
    Lanes* accumulated = t.accumulated.data();
    const Slots slots{static_cast<std::uint32_t>(t.tiles), set};

    auto segment = t.columns.begin();
    for (std::int32_t v = 0; v < view.width; ++v) {
        t.wholeColumns.clear();
        for (; segment != t.columns.end() && segment->view == v; ++segment) {
            if (segment->from == 0 && segment->to == t.x.nodes - 1) {
                t.wholeColumns.push_back(&std::as_const(Document.Fields)(segment->field, 0));
            }
            AddPieces(t, *segment, slots, accumulated);
        }
        AddWholeFields(t, slots, accumulated);
        // What lies beyond the pictures is grey; half the area rounds.
        const std::int64_t inBoxX = t.inBoxX[static_cast<std::size_t>(v)];
        if (v == 0 || inBoxX != t.inBoxX[static_cast<std::size_t>(v) - 1]) {
            for (std::int32_t w = 0; w < view.height; ++w) {
                const auto inBox = static_cast<std::uint64_t>(inBoxX * t.inBoxY[w]);
                t.rowBase[w] =
                    Lanes{} + static_cast<std::uint32_t>((area - inBox) * kGreyChannel + area / 2);
            }
        }
        for (std::int32_t w = 0; w < view.height; ++w) {
            view.Row(w)[v] = ToPixel((accumulated[w] + t.rowBase[w]) >> shift);
            accumulated[w] = Lanes{};  // ready for the next view column
        }
    }
}

void DrawEnlarged(const screen::PixelView& view, const screen::PixelView& set) {
    const std::int64_t fw = Document.FieldWidth;
    const std::int64_t fh = Document.FieldHeight;
    const bool hasFields = !Document.Fields.IsNull();
    const std::int64_t mapWidth = MapLength(Document.LastFieldX, Document.FieldWidth, hasFields);
    const std::int64_t mapHeight = MapLength(Document.LastFieldY, Document.FieldHeight, hasFields);
    const std::int64_t top = Wrap(std::int64_t{gui::GadgetGetState(kZMaskBox)} * fh);
    const std::int64_t pictureRows =
        set.pixels != nullptr && top >= 0 && top < set.height ? std::min(fh, set.height - top) : 0;
    const std::int64_t m = Enlargement();
    for (std::int32_t w = 0; w < view.height; w += static_cast<std::int32_t>(m)) {
        std::uint32_t* out = view.Row(w);
        const std::int64_t my = MapFromView(w, View.ScrollY);
        const std::int64_t fy = my >= 0 && my < mapHeight ? my / fh : -1;
        const std::int64_t ly = my - fy * fh;
        for (std::int32_t v = 0; v < view.width; ++v) {
            const std::int64_t mx = MapFromView(v, View.ScrollX);
            std::uint32_t pixel = kGreyPixel;
            if (fy >= 0 && mx >= 0 && mx < mapWidth && ly < pictureRows) {
                const std::int64_t left = SourceLeft(Document.Fields(mx / fw, fy), set);
                const std::int64_t lx = mx % fw;
                if (left >= 0 && lx < set.width - left) {
                    pixel = set.Row(static_cast<std::int32_t>(top + ly))[left + lx];
                }
            }
            out[v] = pixel;
        }
        for (std::int64_t r = 1; r < m && w + r < view.height; ++r) {
            std::copy_n(out, view.width, view.Row(static_cast<std::int32_t>(w + r)));
        }
    }
}

}  // namespace

void DrawZoomedFields() {
    const screen::PixelView view = screen::ScreenPixels();
    if (view.pixels == nullptr) return;
    if (Document.FieldWidth < 1 || Document.FieldHeight < 1) {
        screen::ScreenClear(static_cast<std::int32_t>(kGreyPixel));
        return;
    }
    const screen::PixelView set = screen::SpritePixels(kTileSet);
    if (View.ZoomLevel > 0) {
        DrawEnlarged(view, set);
        return;
    }
    const TableKey key{TileSets.Version,
                       set.pixels,
                       set.width,
                       set.height,
                       Document.FieldWidth,
                       Document.FieldHeight,
                       gui::GadgetGetState(kZMaskBox),
                       View.ZoomLevel};
    if (!gTables.made || !(gTables.key == key)) MakeTables(key, set);
    DrawReduced(view, set);
}

std::size_t ZoomTableBytes() {
    const Tables& t = gTables;
    return t.sums.capacity() * sizeof(Sum3) +
           (t.totals.capacity() + t.accumulated.capacity()) * sizeof(Lanes) +
           (t.columns.capacity() + t.rows.capacity()) * sizeof(Segment) +
           (t.inBoxX.capacity() + t.inBoxY.capacity()) * sizeof(std::int64_t);
}

}  // namespace editor
