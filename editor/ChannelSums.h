// Channel sums of 32-bit pixels (B, G, R, 0): three channels kept apart, added modulo 2^32.
// Sum3 is the compact form kept in tables; Lanes the form of the hot loops, four lanes (the last
// unused) added lane by lane in plain loops that the compiler turns into vector adds, with no
// compiler's own vector extensions, so every compiler builds it alike.
#pragma once

#include <cstdint>

namespace editor {

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

struct alignas(16) Lanes {
    std::uint32_t lane[4] = {0, 0, 0, 0};

    static Lanes All(std::uint32_t v) { return Lanes{{v, v, v, v}}; }
    static Lanes Of(const Sum3& s) { return Lanes{{s.c0, s.c1, s.c2, 0}}; }

    Lanes& operator+=(const Lanes& o) {
        for (int i = 0; i < 4; ++i) lane[i] += o.lane[i];
        return *this;
    }
    friend Lanes operator+(Lanes a, const Lanes& b) { return a += b; }
    friend Lanes operator-(Lanes a, const Lanes& b) {
        for (int i = 0; i < 4; ++i) a.lane[i] -= b.lane[i];
        return a;
    }
    friend Lanes operator>>(Lanes a, int shift) {
        for (int i = 0; i < 4; ++i) a.lane[i] >>= shift;
        return a;
    }
    Sum3 ToSum3() const { return {lane[0], lane[1], lane[2]}; }
    // Lanes of values up to 255 as one pixel: lane 0 the lowest byte.
    std::uint32_t ToPixel() const { return lane[0] | lane[1] << 8 | lane[2] << 16; }
};

}  // namespace editor
