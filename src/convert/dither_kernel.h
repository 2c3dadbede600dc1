#pragma once

#include <algorithm>
#include <array>

// The numbers both conversion methods dither with, so they dither alike.

// The 4 x 4 Bayer matrix, rows by y mod 4 and columns by x mod 4.
inline constexpr std::array<int, 16> bayer4 {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

// A matrix entry as an offset from -30 to +30, added to all three components.
constexpr double orderedOffset(int entry)
{
    return ((entry + 0.5) * 0.0625 - 0.5) * 64.0;
}

constexpr double orderedOffsetAt(int x, int y)
{
    return orderedOffset(bayer4[std::size_t((y & 3) * 4 + (x & 3))]);
}

// A pixel as it is matched: with the ordered dither's offset where that dither runs, then
// clamped to the colour range, so no error ever reaches past it.
template <bool Ordered, typename T>
inline void ditherInput(T& r, T& g, T& b, int x, int y)
{
    if constexpr (Ordered) {
        const T offset = T(orderedOffsetAt(x, y));
        r += offset;
        g += offset;
        b += offset;
    }
    r = std::clamp(r, T(0), T(255));
    g = std::clamp(g, T(0), T(255));
    b = std::clamp(b, T(0), T(255));
}

// Floyd-Steinberg's weights halved: right, below-left, below, below-right.
inline constexpr double diffuseRight = 7.0 / 32.0;
inline constexpr double diffuseBelowLeft = 3.0 / 32.0;
inline constexpr double diffuseBelow = 5.0 / 32.0;
inline constexpr double diffuseBelowRight = 1.0 / 32.0;
