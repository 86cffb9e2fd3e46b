// Drawing bands of the map picture and scaling them.
#include "tools/maptool/MapRenderer.h"

#include <algorithm>

#include "editor/MapDocument.h"
#include "editor/MapPicture.h"
#include "screen/SpriteRules.h"
#include "tools/maptool/PlayerMarkers.h"

namespace maptool {
namespace {

using editor::Document;

constexpr std::int64_t kBandBytes = 16 << 20;

// The view's background colour as a display pixel (grey: the same in either byte order).
constexpr std::uint32_t kBackgroundPixel = static_cast<std::uint32_t>(editor::kViewBackground);

std::int64_t Columns() {
    return std::min<std::int64_t>(Document.LastFieldX, editor::kFieldsSize - 1) + 1;
}
std::int64_t Rows() {
    return std::min<std::int64_t>(Document.LastFieldY, editor::kFieldsSize - 1) + 1;
}

}  // namespace

PictureSize MapPictureSize() {
    if (Document.LastFieldX < 0 || Document.LastFieldY < 0) return {};
    return {Columns() * Document.FieldWidth, Rows() * Document.FieldHeight};
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

BandRenderer::BandRenderer(const screen::PixelBuffer& tileSet, bool zmask, PlayerMarkers* markers)
    : tileSet_(tileSet), zmaskRow_(zmask ? 1 : 0), markers_(markers), size_(MapPictureSize()) {}

void BandRenderer::Draw(std::int64_t top, std::int32_t rows, std::uint32_t* band) const {
    std::fill(band, band + size_.width * rows, kBackgroundPixel);
    const std::int64_t fw = Document.FieldWidth, fh = Document.FieldHeight;
    const std::int64_t firstRow = top / fh;
    const std::int64_t lastRow = std::min(Rows() - 1, (top + rows - 1) / fh);
    for (std::int64_t y = firstRow; y <= lastRow; ++y) {
        for (std::int64_t x = 0; x < Columns(); ++x) {
            const editor::TileOrigin origin = editor::TileClipOrigin(
                Document.Fields(x, y), zmaskRow_, Document.FieldWidth, Document.FieldHeight);
            const screen::SpriteClipRect clip =
                screen::ClipRectangle(origin.x, origin.y, Document.FieldWidth, Document.FieldHeight,
                                      tileSet_.Width(), tileSet_.Height());
            const auto blit = screen::DisplayBlit(clip, x * fw, y * fh - top, size_.width, rows,
                                                  tileSet_.Width(), tileSet_.Height());
            if (blit) screen::CopyBlit(*blit, tileSet_, band, size_.width);
        }
    }
    if (markers_ != nullptr) markers_->Draw(top, rows, band, size_.width);
}

BoxFilter::BoxFilter(PictureSize input, std::int64_t scale)
    : input_(input), output_(ScaledSize(input, scale)), scale_(scale) {
    if (scale_ > 1) {
        sums_.assign(static_cast<std::size_t>(output_.width) * 3, 0);
        row_.resize(static_cast<std::size_t>(output_.width));
    }
}

bool BoxFilter::Add(const std::uint32_t* row) {
    const std::int64_t y = rowsAdded_++;
    if (scale_ == 1) {
        out_ = row;
        return true;
    }
    for (std::int64_t o = 0; o < output_.width; ++o) {
        std::uint64_t b = 0, g = 0, r = 0;
        const std::int64_t end = std::min(input_.width, (o + 1) * scale_);
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
    if ((y + 1) % scale_ != 0 && y + 1 != input_.height) return false;
    const std::uint64_t blockRows = static_cast<std::uint64_t>(y % scale_ + 1);
    for (std::int64_t o = 0; o < output_.width; ++o) {
        const std::uint64_t columns =
            static_cast<std::uint64_t>(std::min(input_.width, (o + 1) * scale_) - o * scale_);
        const std::uint64_t count = columns * blockRows;
        std::uint64_t* sum = &sums_[static_cast<std::size_t>(o) * 3];
        const auto mean = [&](int c) { return (sum[c] + count / 2) / count; };
        row_[static_cast<std::size_t>(o)] =
            static_cast<std::uint32_t>(mean(0) | mean(1) << 8 | mean(2) << 16);
        sum[0] = sum[1] = sum[2] = 0;
    }
    out_ = row_.data();
    return true;
}

}  // namespace maptool
