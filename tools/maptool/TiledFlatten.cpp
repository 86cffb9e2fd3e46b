// Drawing a Tiled map's layers into one tile per distinct stack of cells.
#include "tools/maptool/TiledFlatten.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "screen/ImageHeader.h"
#include "screen/PixelBuffer.h"
#include "tools/maptool/TiledPixels.h"

namespace maptool {
namespace {

std::string Text(std::int64_t n) { return std::to_string(n); }

// A number as a person writes it: 3, -16, 2.5.
std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A tile layer as it is drawn: where its cells land and how they look.
struct Drawn {
    const TiledLayer* layer = nullptr;
    std::int64_t shiftX = 0;  // fields its cells move by
    std::int64_t shiftY = 0;
    std::uint32_t alpha = 255;       // constant alpha of its opacity
    std::uint32_t tint = 0xFFFFFFFF;  // 0xAARRGGBB; white is none

    std::uint32_t Cell(std::int64_t x, std::int64_t y) const {
        const std::int64_t lx = x - layer->x - shiftX, ly = y - layer->y - shiftY;
        if (lx < 0 || ly < 0 || lx >= layer->width || ly >= layer->height) return 0;
        return layer->cells[static_cast<std::size_t>(ly * layer->width + lx)];
    }
};

// The colours multiplied channel by channel, as a group's tint passes on to its layers.
std::uint32_t MultiplyColors(std::uint32_t a, std::uint32_t b) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 24; shift += 8) {
        const double product = (a >> shift & 0xFF) / 255.0 * ((b >> shift & 0xFF) / 255.0);
        out |= static_cast<std::uint32_t>(std::lround(product * 255)) << shift;
    }
    return out;
}

// How a layer is drawn, with what its groups pass on; false, with reasons, when it cannot be.
bool Looks(const TiledMap& map, const TiledLayer& layer, Drawn& drawn, ImportReasons& reasons) {
    double opacity = 1, offsetX = 0, offsetY = 0, parallaxX = 1, parallaxY = 1;
    bool ok = true;
    for (const TiledLayer* l = &layer; l != nullptr;
         l = l->parent >= 0 ? &map.layers[static_cast<std::size_t>(l->parent)] : nullptr) {
        opacity *= l->opacity;
        parallaxX *= l->parallaxX;
        parallaxY *= l->parallaxY;
        offsetX += l->offsetX;
        offsetY += l->offsetY;
        if (l->tint.empty()) continue;
        std::uint32_t tint = 0;
        if (!ParseTiledColor(l->tint, tint)) {
            reasons.Add("Ebene hat eine Tönung, die keine Farbe ist",
                        "Ebenen haben Tönungen, die keine Farben sind", "\"" + l->name + "\"");
            ok = false;
        }
        drawn.tint = MultiplyColors(drawn.tint, tint);
    }
    drawn.layer = &layer;
    drawn.alpha = OpacityAlpha(opacity);
    // A parallax factor moves the layer by an amount that depends on where the view is.
    if (parallaxX != 1 || parallaxY != 1) {
        reasons.Add("Ebene hat eine Parallaxe, die sie mit der Ansicht verschiebt",
                    "Ebenen haben eine Parallaxe, die sie mit der Ansicht verschiebt",
                    "\"" + layer.name + "\" (" + Decimal(parallaxX) + ", " + Decimal(parallaxY) +
                        ")");
        ok = false;
    }
    const double fieldsX = offsetX / map.tileWidth, fieldsY = offsetY / map.tileHeight;
    if (fieldsX != std::floor(fieldsX) || fieldsY != std::floor(fieldsY) ||
        std::fabs(fieldsX) > 1e6 || std::fabs(fieldsY) > 1e6) {
        reasons.Add("Ebene ist um Teile eines Feldes verschoben",
                    "Ebenen sind um Teile eines Feldes verschoben",
                    "\"" + layer.name + "\" um (" + Decimal(offsetX) + ", " +
                        Decimal(offsetY) + ") Pixel");
        return false;
    }
    drawn.shiftX = static_cast<std::int64_t>(fieldsX);
    drawn.shiftY = static_cast<std::int64_t>(fieldsY);
    return ok;
}

// A cell's tile, checked: false, with reasons naming field (x, y), for one that cannot be drawn.
bool CheckCell(const TileFinder& tiles, std::uint32_t cell, std::int64_t x, std::int64_t y,
               TilePlace& place, ImportReasons& reasons) {
    if ((cell & kRotateHexagonal) != 0) {
        reasons.AddField("Feld zeigt eine um 120 Grad gedrehte Kachel (nur für Sechseck-Karten)",
                         "Felder zeigen um 120 Grad gedrehte Kacheln (nur für Sechseck-Karten)",
                         x, y);
        return false;
    }
    switch (tiles.Find(cell & ~kTiledFlipBits, place)) {
        case TileLookup::Found:
            return true;
        case TileLookup::NoTileset:
            reasons.AddField("Feld zeigt eine Kachel, die zu keinem Kachelsatz gehört",
                             "Felder zeigen Kacheln, die zu keinem Kachelsatz gehören", x, y);
            return false;
        case TileLookup::NoTile:
            reasons.AddField("Feld zeigt eine Kachel, die ihr Kachelsatz nicht hat",
                             "Felder zeigen Kacheln, die ihr Kachelsatz nicht hat", x, y);
            return false;
    }
    return false;
}

// The size a cell's tile is drawn in: turned along the diagonal, its sides swap.
std::int32_t DrawnWidth(const TilePlace& p, std::uint32_t cell) {
    return (cell & kFlipDiagonal) != 0 ? p.height : p.width;
}
std::int32_t DrawnHeight(const TilePlace& p, std::uint32_t cell) {
    return (cell & kFlipDiagonal) != 0 ? p.width : p.height;
}

// Draws a cell's tile as Tiled draws it into the field picture `tile` (the map's tile size),
// the cell's bottom-left corner at (left, bottom) of the field, shifted by the tileset's
// offset, cut at the field's edges: flipped along the diagonal first (the tile's sides swap),
// then horizontally and vertically; tinted; with the layer's opacity.
void DrawCell(const TiledMap& map, const TileFinder& tiles, const Drawn& drawn,
              std::uint32_t cell, std::int64_t left, std::int64_t bottom,
              std::vector<std::uint32_t>& tile) {
    if (cell == 0) return;
    TilePlace place;
    if (tiles.Find(cell & ~kTiledFlipBits, place) != TileLookup::Found) return;
    const std::int32_t w = DrawnWidth(place, cell), h = DrawnHeight(place, cell);
    const std::int64_t x0 = left + place.offsetX, y0 = bottom + place.offsetY - h;
    const bool flipX = (cell & kFlipHorizontal) != 0, flipY = (cell & kFlipVertical) != 0,
               diagonal = (cell & kFlipDiagonal) != 0;
    for (std::int32_t y = 0; y < h; ++y) {
        const std::int64_t ty = y0 + y;
        if (ty < 0 || ty >= map.tileHeight) continue;
        for (std::int32_t x = 0; x < w; ++x) {
            const std::int64_t tx = x0 + x;
            if (tx < 0 || tx >= map.tileWidth) continue;
            std::int32_t sx = flipX ? w - 1 - x : x, sy = flipY ? h - 1 - y : y;
            if (diagonal) std::swap(sx, sy);
            std::uint32_t p = place.picture->At(place.x + sx, place.y + sy);
            std::uint32_t& target = tile[static_cast<std::size_t>(ty * map.tileWidth + tx)];
            if (drawn.tint != 0xFFFFFFFFu) p = Tinted(p, drawn.tint);
            // At an opacity, an opaque pixel is mixed with what lies below in one step, as
            // Tiled's painter does; others are blended premultiplied.
            if (drawn.alpha != 255 && p >> 24 == 255) {
                target = Interpolated(p, drawn.alpha, target);
                continue;
            }
            if (drawn.alpha != 255) p = ChannelsTimes(p, drawn.alpha);
            target = SourceOver(p, target);
        }
    }
}

// The cells around a field whose tiles may reach into it, as offsets from the field: a tile
// larger than a field, or moved by its tileset's offset, reaches into its neighbours.
struct Reach {
    std::int64_t left = 0, right = 0, up = 0, down = 0;  // in fields, left and up negative

    // The cells, or -1 when more than `most` (however far the tiles reach).
    std::int64_t Cells(std::int64_t most) const {
        const std::int64_t across = right - left + 1, along = down - up + 1;
        return across > most || along > most || across * along > most ? -1 : across * along;
    }
};

// Floor and ceiling of a / b for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

}  // namespace

bool IsZMaskLayerName(std::string_view name) {
    const std::string_view want = kZMaskLayerName;
    if (name.size() != want.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (lower(name[i]) != lower(want[i])) return false;
    }
    return true;
}

std::int64_t MostTiles(std::int32_t tileWidth, std::int32_t tileHeight) {
    return std::min<std::int64_t>(
        screen::kMaxSide / tileWidth,
        screen::kMaxImagePixels / (std::int64_t{tileWidth} * 2 * tileHeight));
}

bool FlattenTiledMap(const TiledMap& map, const std::vector<TilesetPictures>& pictures,
                     FlatMap& flat, ImportReasons& reasons) {
    if (map.tileWidth < 1 || map.tileHeight < 1) {
        reasons.Add("die Kacheln der Karte sind " + Text(map.tileWidth) + " x " +
                    Text(map.tileHeight) + " Pixel groß");
        return false;
    }
    // The fields: a finite map's, or the rectangle around an infinite map's chunks.
    std::int64_t left = 0, top = 0, right = map.width, bottom = map.height;
    if (map.infinite) {
        left = top = INT64_MAX;
        right = bottom = INT64_MIN;
        for (const TiledLayer& l : map.layers) {
            if (l.kind != TiledLayerKind::Tile || l.cells.empty()) continue;
            left = std::min<std::int64_t>(left, l.x);
            top = std::min<std::int64_t>(top, l.y);
            right = std::max<std::int64_t>(right, std::int64_t{l.x} + l.width);
            bottom = std::max<std::int64_t>(bottom, std::int64_t{l.y} + l.height);
        }
        if (left > right) {
            reasons.Add("die unendliche Karte hat keine Kacheln");
            return false;
        }
    }
    if (right - left < 1 || bottom - top < 1 || right - left > 1000 || bottom - top > 1000) {
        reasons.Add("die Karte ist " + Text(right - left) + " x " + Text(bottom - top) +
                    " Felder groß; eine Karte hat 1 bis 1000 x 1000 Felder");
        return false;
    }
    std::uint32_t empty = kEmptyFieldGrey;
    if (!map.backgroundColor.empty()) {
        std::uint32_t color = 0;
        if (ParseTiledColor(map.backgroundColor, color)) {
            empty = SourceOver(Premultiplied(color), kEmptyFieldGrey);
        } else {
            reasons.Add("die Hintergrundfarbe \"" + map.backgroundColor + "\" ist keine Farbe");
        }
    }

    // The layers drawn, bottom to top, and the layer of Z-masks.
    std::vector<Drawn> layers;
    Drawn zMask;
    for (const TiledLayer& layer : map.layers) {
        if (layer.kind != TiledLayerKind::Tile) continue;
        // The layer of Z-masks is taken shown or hidden; other hidden layers are not drawn.
        const bool isZMask = IsZMaskLayerName(layer.name) && zMask.layer == nullptr;
        if (!isZMask && !ShownInTiled(map, layer)) continue;
        Drawn drawn;
        if (!Looks(map, layer, drawn, reasons)) continue;
        if (isZMask) {
            zMask = drawn;
        } else {
            layers.push_back(drawn);
        }
    }
    const std::size_t layerCount = layers.size() + 1;  // the Z-mask layer last

    const std::int32_t width = static_cast<std::int32_t>(right - left);
    const std::int32_t height = static_cast<std::int32_t>(bottom - top);
    const std::int32_t w = map.tileWidth, h = map.tileHeight;
    const std::int64_t most = MostTiles(w, h);
    flat.width = width;
    flat.height = height;
    flat.originX = static_cast<std::int32_t>(left);
    flat.originY = static_cast<std::int32_t>(top);

    // Every cell checked once (its reasons counted wherever it lies), and the farthest any
    // tile reaches from its cell's bottom-left corner: [x0, x1) x [y0, y1) in pixels.
    const TileFinder finder(map, pictures);
    std::unordered_map<std::uint32_t, bool> checked;  // cell: whether it can be drawn
    std::int64_t x0 = 0, x1 = w, y0 = -h, y1 = 0;
    for (std::size_t i = 0; i < layerCount; ++i) {
        const Drawn& drawn = i < layers.size() ? layers[i] : zMask;
        if (drawn.layer == nullptr) continue;
        const TiledLayer& l = *drawn.layer;
        for (std::int64_t ly = 0; ly < l.height; ++ly) {
            for (std::int64_t lx = 0; lx < l.width; ++lx) {
                const std::uint32_t cell = l.cells[static_cast<std::size_t>(ly * l.width + lx)];
                if (cell == 0) continue;
                const auto [at, added] = checked.emplace(cell, true);
                if (!added && at->second) continue;
                TilePlace place;
                const std::int64_t x = lx + l.x + drawn.shiftX - left;
                const std::int64_t y = ly + l.y + drawn.shiftY - top;
                at->second = CheckCell(finder, cell, x, y, place, reasons);
                if (!at->second) continue;
                x0 = std::min<std::int64_t>(x0, place.offsetX);
                x1 = std::max<std::int64_t>(x1, place.offsetX + DrawnWidth(place, cell));
                y0 = std::min<std::int64_t>(y0, place.offsetY - DrawnHeight(place, cell));
                y1 = std::max<std::int64_t>(y1, place.offsetY);
            }
        }
    }
    // Cells dx to the right and dy below a field reach into it where their tiles overlap it.
    Reach reach;
    reach.left = FloorDiv(-x1, w) + 1;
    reach.right = CeilDiv(w - x0, w) - 1;
    reach.up = FloorDiv(-(h + y1), h) + 1;
    reach.down = CeilDiv(-y0, h) - 1;
    constexpr std::int64_t kMostReach = 64;
    if (reach.Cells(kMostReach) < 0) {
        reasons.Add("Kacheln reichen über mehr als " + Text(kMostReach) +
                    " Felder um ihr eigenes; so weit liest maptool nicht");
    }
    if (!reasons.Empty()) return false;

    // Each field's stack of cells (per layer, the cells that reach into it, in the order Tiled
    // draws them: row by row, left to right), and the tile of each distinct stack.
    const auto perLayer = static_cast<std::size_t>(reach.Cells(kMostReach));
    flat.fields.assign(static_cast<std::size_t>(width) * height, 0);
    std::unordered_map<std::string, std::int32_t> tiles;
    std::vector<const std::string*> stacks;
    std::string stack(4 * layerCount * perLayer, '\0');
    bool tooMany = false;  // more distinct stacks than a tile set holds: no more are kept
    for (std::int32_t y = 0; y < height && !tooMany; ++y) {
        for (std::int32_t x = 0; x < width && !tooMany; ++x) {
            std::size_t at = 0;
            for (std::size_t i = 0; i < layerCount; ++i) {
                const Drawn& drawn = i < layers.size() ? layers[i] : zMask;
                for (std::int64_t dy = reach.up; dy <= reach.down; ++dy) {
                    for (std::int64_t dx = reach.left; dx <= reach.right; ++dx, at += 4) {
                        const std::uint32_t cell =
                            drawn.layer != nullptr ? drawn.Cell(left + x + dx, top + y + dy) : 0;
                        std::memcpy(&stack[at], &cell, 4);
                    }
                }
            }
            auto found = tiles.find(stack);
            if (found == tiles.end()) {
                if (static_cast<std::int64_t>(tiles.size()) == most) {
                    tooMany = true;
                    break;
                }
                found = tiles.emplace(stack, static_cast<std::int32_t>(tiles.size())).first;
                stacks.push_back(&found->first);
            }
            flat.fields[static_cast<std::size_t>(y) * width + x] = found->second;
        }
    }
    if (tooMany) {
        reasons.Add("mehr als " + Text(most) +
                    " verschiedene Felder; ein Kachelsatz mit Kacheln von " + Text(w) + " x " +
                    Text(h) + " Pixeln hält höchstens " + Text(most));
        return false;
    }

    // The tiles, drawn into row 0 and their Z-masks into row 1.
    flat.tileCount = static_cast<std::int32_t>(stacks.size());
    flat.tileSetWidth = flat.tileCount * w;
    flat.tileSetHeight = 2 * h;
    flat.tileSet.assign(static_cast<std::size_t>(flat.tileSetWidth) * flat.tileSetHeight, 0);
    flat.zMaskLayer = zMask.layer != nullptr ? zMask.layer->name : "";
    std::vector<std::uint32_t> tile(static_cast<std::size_t>(w) * h);
    for (std::int32_t t = 0; t < flat.tileCount; ++t) {
        const std::string& cells = *stacks[static_cast<std::size_t>(t)];
        for (std::int32_t row = 0; row < 2; ++row) {
            std::fill(tile.begin(), tile.end(), row == 0 ? empty : 0xFF000000u);
            std::size_t at = (row == 0 ? 0 : layers.size()) * perLayer * 4;
            for (std::size_t i = row == 0 ? 0 : layers.size();
                 i < (row == 0 ? layers.size() : layerCount); ++i) {
                for (std::int64_t dy = reach.up; dy <= reach.down; ++dy) {
                    for (std::int64_t dx = reach.left; dx <= reach.right; ++dx, at += 4) {
                        std::uint32_t cell = 0;
                        std::memcpy(&cell, &cells[at], 4);
                        DrawCell(map, finder, i < layers.size() ? layers[i] : zMask, cell, dx * w,
                                 (dy + 1) * h, tile);
                    }
                }
            }
            for (std::int32_t y = 0; y < h; ++y) {
                std::uint32_t* out = flat.tileSet.data() +
                                     static_cast<std::size_t>(row * h + y) * flat.tileSetWidth +
                                     static_cast<std::size_t>(t) * w;
                for (std::int32_t x = 0; x < w; ++x) {
                    out[x] = tile[static_cast<std::size_t>(y) * w + x] & 0x00FFFFFFu;
                }
            }
        }
    }
    return true;
}

}  // namespace maptool
