// Drawing bands of the map picture.
#include "tools/maptool/MapRenderer.h"

#include <algorithm>

#include "editor/MapDocument.h"
#include "editor/MapPicture.h"

namespace maptool {
namespace {

using editor::Document;

constexpr std::int64_t kBandBytes = 16 << 20;

}  // namespace

PictureSize MapPictureSize() {
    const editor::FieldExtent extent = editor::FieldsInArray(Document);
    if (extent.columns == 0 || extent.rows == 0) return {};
    return {std::int64_t{extent.columns} * Document.FieldWidth,
            std::int64_t{extent.rows} * Document.FieldHeight};
}

PictureSize ScaledSize(PictureSize size, std::int64_t scale) {
    return {(size.width + scale - 1) / scale, (size.height + scale - 1) / scale};
}

std::int32_t BandRows(std::int64_t width, std::int32_t fieldHeight) {
    const std::int64_t fit =
        std::clamp<std::int64_t>(kBandBytes / (4 * std::max<std::int64_t>(width, 1)), 1, 4096);
    if (fit < fieldHeight) return static_cast<std::int32_t>(fit);
    return static_cast<std::int32_t>(fit / fieldHeight * fieldHeight);
}

BandRenderer::BandRenderer(const screen::PixelBuffer& tileSet, bool zmask)
    : tileSet_(tileSet), zmaskRow_(zmask ? 1 : 0), size_(MapPictureSize()) {}

void BandRenderer::Draw(std::int64_t top, std::int32_t rows, std::uint32_t* band) const {
    const screen::PixelView target{band, static_cast<std::int32_t>(size_.width), rows,
                                   static_cast<std::int32_t>(size_.width)};
    // The tile set is only read.
    const screen::PixelView set{const_cast<std::uint32_t*>(tileSet_.Data()), tileSet_.Width(),
                                tileSet_.Height(), tileSet_.Pitch()};
    editor::FillBackground(target);
    editor::DrawFieldsOneToOne(target, Document, set, zmaskRow_, 0, top);
}

}  // namespace maptool
