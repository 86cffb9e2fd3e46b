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
#include <numeric>
#include <vector>

#include "editor/EditorState.h"
#include "editor/MapDocument.h"
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

struct Tables {
    TableKey key;
    bool made = false;
    std::int32_t tiles = 0;  // tile slots 0 .. tiles - 1; slot `tiles` is the grey field
    std::int64_t sourceTop = 0;
    Cuts x, y;
    std::vector<Sum3> sums;    // per slot: x nodes by y nodes
    std::vector<Sum3> totals;  // per slot: the whole box
    // Scratch of a pass, kept to spare the allocations.
    std::vector<Segment> columns, rows;
    std::vector<std::int64_t> inBoxX, inBoxY;  // per view pixel: its extent inside boxes
    std::vector<Sum3> accumulated;
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
    t.totals.assign(static_cast<std::size_t>(t.tiles) + 1, Sum3{});
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
        t.totals[static_cast<std::size_t>(slot)] = out[perSlot - 1];
    }
}

// The table slot of a field's value: its tile, or the grey slot.
std::int32_t Slot(std::int32_t value, const screen::PixelView& set) {
    if (static_cast<std::uint32_t>(value) < static_cast<std::uint32_t>(gTables.tiles)) {
        return value;
    }
    // Values whose product wraps into the tile set show the tile they land on; one that lands
    // between two tiles (only from a damaged file) is drawn grey here.
    const std::int64_t left = SourceLeft(value, set);
    if (left >= 0 && left % Document.FieldWidth == 0) {
        return static_cast<std::int32_t>(left / Document.FieldWidth);
    }
    return gTables.tiles;
}

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

void DrawReduced(const screen::PixelView& view, const screen::PixelView& set) {
    Tables& t = gTables;
    const std::int64_t fw = Document.FieldWidth;
    const std::int64_t fh = Document.FieldHeight;
    const bool hasFields = !Document.Fields.IsNull();
    CutAxis(View.ScrollX, fw, MapLength(Document.LastFieldX, Document.FieldWidth, hasFields),
            view.width, t.x, t.columns, t.inBoxX);
    CutAxis(View.ScrollY, fh, MapLength(Document.LastFieldY, Document.FieldHeight, hasFields),
            view.height, t.y, t.rows, t.inBoxY);
    const std::int32_t level = -View.ZoomLevel;
    const std::uint64_t area = std::uint64_t{1} << (2 * level);
    const std::uint32_t half = static_cast<std::uint32_t>(area / 2);
    const std::size_t ny = static_cast<std::size_t>(t.y.nodes);
    const std::size_t perSlot = static_cast<std::size_t>(t.x.nodes) * ny;
    const std::int32_t lastNodeX = t.x.nodes - 1;
    const std::int32_t lastNodeY = t.y.nodes - 1;
    t.accumulated.resize(static_cast<std::size_t>(view.height));

    auto segment = t.columns.begin();
    for (std::int32_t v = 0; v < view.width; ++v) {
        std::fill(t.accumulated.begin(), t.accumulated.end(), Sum3{});
        for (; segment != t.columns.end() && segment->view == v; ++segment) {
            const std::int32_t* column = &Document.Fields(segment->field, 0);
            const std::size_t i1 = static_cast<std::size_t>(segment->from) * ny;
            const std::size_t i2 = static_cast<std::size_t>(segment->to) * ny;
            const bool wholeWidth = segment->from == 0 && segment->to == lastNodeX;
            for (const Segment& piece : t.rows) {
                const std::int32_t slot = Slot(column[piece.field], set);
                Sum3& into = t.accumulated[static_cast<std::size_t>(piece.view)];
                if (wholeWidth && piece.from == 0 && piece.to == lastNodeY) {
                    into += t.totals[static_cast<std::size_t>(slot)];
                    continue;
                }
                const Sum3* sums = &t.sums[perSlot * static_cast<std::size_t>(slot)];
                const std::size_t j1 = static_cast<std::size_t>(piece.from);
                const std::size_t j2 = static_cast<std::size_t>(piece.to);
                into += sums[i2 + j2] - sums[i1 + j2] - sums[i2 + j1] + sums[i1 + j1];
            }
        }
        const std::uint64_t inBoxX =
            static_cast<std::uint64_t>(t.inBoxX[static_cast<std::size_t>(v)]);
        for (std::int32_t w = 0; w < view.height; ++w) {
            const std::uint64_t inBox =
                inBoxX * static_cast<std::uint64_t>(t.inBoxY[static_cast<std::size_t>(w)]);
            const auto grey = static_cast<std::uint32_t>((area - inBox) * kGreyChannel);
            const Sum3 sum = t.accumulated[static_cast<std::size_t>(w)] + Sum3{grey, grey, grey};
            view.Row(w)[v] = ((sum.c0 + half) >> (2 * level)) |
                             (((sum.c1 + half) >> (2 * level)) << 8) |
                             (((sum.c2 + half) >> (2 * level)) << 16);
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
    if (view.pixels == nullptr || Document.FieldWidth < 1 || Document.FieldHeight < 1) return;
    const screen::PixelView set = screen::SpritePixels(kTileSet);
    if (View.ZoomLevel > 0) {
        DrawEnlarged(view, set);
        return;
    }
    const TableKey key{Handles.TileSetVersion,
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
    return (t.sums.capacity() + t.totals.capacity() + t.accumulated.capacity()) * sizeof(Sum3) +
           (t.columns.capacity() + t.rows.capacity()) * sizeof(Segment) +
           (t.inBoxX.capacity() + t.inBoxY.capacity()) * sizeof(std::int64_t);
}

}  // namespace editor
