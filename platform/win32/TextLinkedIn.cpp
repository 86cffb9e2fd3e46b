// The text drawing linked into a Windows program, behind the text module's interface: the map
// tool draws its players' numbers with it, in the system font as the editor's view does.
#include "platform/Text.h"
#include "platform/TextModule.h"

namespace platform {
namespace {

std::int32_t DrawSystemFont(std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                            std::int32_t pitch, std::int32_t x, std::int32_t y,
                            const char* cp1252Text, std::uint32_t rgb) {
    const TextTarget target{pixels, width, height, pitch};
    return TextDraw(target, TextSystemFont(), x, y, cp1252Text, rgb, false, 0);
}

}  // namespace

TextModuleDrawFn TextDrawLinkedIn() { return &DrawSystemFont; }

}  // namespace platform
