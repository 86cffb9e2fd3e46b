// The 8-bit arithmetic of premultiplied ARGB pixels (0xAARRGGBB, colours already multiplied by
// their alpha) in which the import draws tiles as Tiled's painter draws them: products divided
// by 255 with its rounding, source-over blending, a constant opacity, and a tint colour.
#pragma once

#include <cmath>
#include <cstdint>

namespace maptool {

// x / 255, rounded as the painter rounds, for x up to 255 * 255 * 2.
inline std::uint32_t Div255(std::uint32_t x) { return (x + (x >> 8) + 0x80) >> 8; }

// Each of the four channels of `p` times a / 255.
inline std::uint32_t ChannelsTimes(std::uint32_t p, std::uint32_t a) {
    return Div255((p >> 24) * a) << 24 | Div255((p >> 16 & 0xFF) * a) << 16 |
           Div255((p >> 8 & 0xFF) * a) << 8 | Div255((p & 0xFF) * a);
}

// The colour 0xAARRGGBB (not premultiplied) premultiplied.
inline std::uint32_t Premultiplied(std::uint32_t argb) {
    const std::uint32_t a = argb >> 24;
    if (a == 255) return argb;
    return (ChannelsTimes(argb, a) & 0x00FFFFFFu) | a << 24;
}

// `source` drawn over `target`.
inline std::uint32_t SourceOver(std::uint32_t source, std::uint32_t target) {
    const std::uint32_t a = source >> 24;
    if (a == 255) return source;
    if (a == 0 && source == 0) return target;
    return source + ChannelsTimes(target, 255 - a);
}

// An opaque source pixel drawn over `target` with the constant alpha `a` (0..255): the two
// mixed in one step, each channel (s * a + t * (255 - a)) / 255, as the painter mixes opaque
// pixels at an opacity.
inline std::uint32_t Interpolated(std::uint32_t source, std::uint32_t a, std::uint32_t target) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 24; shift += 8) {
        out |= Div255((source >> shift & 0xFF) * a + (target >> shift & 0xFF) * (255 - a))
               << shift;
    }
    return out;
}

// The constant alpha (0..255) an opacity of 0..1 draws with: the painter keeps it in 1/256
// steps and scales that to 255.
inline std::uint32_t OpacityAlpha(double opacity) {
    const double clamped = opacity < 0 ? 0 : opacity > 1 ? 1 : opacity;
    const auto steps = static_cast<std::uint32_t>(std::lround(clamped * 256));
    return steps * 255 >> 8;
}

// A pixel tinted with the colour `tint` (0xAARRGGBB, not premultiplied): its colour multiplied
// with the tint's, its own alpha kept, then masked with the tint's alpha.
inline std::uint32_t Tinted(std::uint32_t p, std::uint32_t tint) {
    const std::uint32_t a = p >> 24;
    std::uint32_t out = a << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t t = tint >> shift & 0xFF;
        const std::uint32_t c = p >> shift & 0xFF;
        // Multiplied with the opaque tint colour, then masked with the pixel's alpha.
        const std::uint32_t multiplied = Div255(t * c + t * (255 - a));
        out |= Div255(multiplied * a) << shift;
    }
    // The tint's alpha masks the result as the original's alpha did.
    const std::uint32_t tintAlpha = tint >> 24;
    return tintAlpha == 255 ? out : ChannelsTimes(out, tintAlpha);
}

}  // namespace maptool
