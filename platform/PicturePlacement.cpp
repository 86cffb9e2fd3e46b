// Where a picture lies in a client area: the same on every backend.
#include <algorithm>

#include "platform/Surface.h"

namespace platform {

namespace {

std::int32_t ClampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

PictureRect PlacePicture(const PicturePlacement& placement, std::int32_t clientWidth,
                         std::int32_t clientHeight) {
    PictureRect r;
    r.left = placement.x;
    r.top = placement.y;
    if (placement.stretch) {
        r.right = ClampToInt32(static_cast<std::int64_t>(clientWidth) - placement.rightMargin);
        r.bottom = ClampToInt32(static_cast<std::int64_t>(clientHeight) - placement.bottomMargin);
    } else {
        r.right = ClampToInt32(static_cast<std::int64_t>(placement.x) + placement.width);
        r.bottom = ClampToInt32(static_cast<std::int64_t>(placement.y) + placement.height);
    }
    return r;
}

}  // namespace platform
