// Channel sums of 32-bit pixels (B, G, R, 0): three channels kept apart, added modulo 2^32.
// Sum3 is the compact form kept in tables; Lanes the form of the hot loops, four lanes (the last
// unused) added lane by lane. The compilers' own vector types stay inside Lanes: no other code
// sees them, and a compiler without them builds the same sums from plain loops.
#pragma once

#include <bit>
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

// Four 32-bit lanes. Where the compiler has vector types (GCC and Clang, also as MinGW) they
// hold the lanes, so that every operation is one vector instruction; elsewhere a plain array.
#if defined(__GNUC__)
using LaneVector = std::uint32_t __attribute__((vector_size(16)));
#else
struct LaneVector {
    std::uint32_t lane[4];
    std::uint32_t& operator[](int i) { return lane[i]; }
    std::uint32_t operator[](int i) const { return lane[i]; }
};
#endif

struct Lanes {
    LaneVector v{};

    static Lanes All(std::uint32_t x) { return Lanes{LaneVector{x, x, x, x}}; }
    static Lanes Of(const Sum3& s) { return Lanes{LaneVector{s.c0, s.c1, s.c2, 0}}; }

    Lanes& operator+=(const Lanes& o) {
#if defined(__GNUC__)
        v += o.v;
#else
        for (int i = 0; i < 4; ++i) v[i] += o.v[i];
#endif
        return *this;
    }
    friend Lanes operator+(Lanes a, const Lanes& b) { return a += b; }
    friend Lanes operator-(Lanes a, const Lanes& b) {
#if defined(__GNUC__)
        a.v -= b.v;
#else
        for (int i = 0; i < 4; ++i) a.v[i] -= b.v[i];
#endif
        return a;
    }
    friend Lanes operator>>(Lanes a, int shift) {
#if defined(__GNUC__)
        a.v >>= shift;
#else
        for (int i = 0; i < 4; ++i) a.v[i] >>= shift;
#endif
        return a;
    }
    Sum3 ToSum3() const { return {v[0], v[1], v[2]}; }
    // Lanes of values up to 255 as one pixel: lane 0 the lowest byte.
    std::uint32_t ToPixel() const {
#if defined(__GNUC__)
        // Two 64-bit halves: lanes 0 and 1 meet in the low one with one shift.
        using Halves = std::uint64_t __attribute__((vector_size(16)));
        const auto halves = std::bit_cast<Halves>(v);
        return static_cast<std::uint32_t>(halves[0] | (halves[0] >> 24) | (halves[1] << 16));
#else
        return v[0] | v[1] << 8 | v[2] << 16;
#endif
    }
};

}  // namespace editor
