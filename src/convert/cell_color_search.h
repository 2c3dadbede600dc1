#pragma once

#include "model/palette.h"

#include <QtGlobal>

#include <array>
#include <vector>

// How far each pixel of one cell or sprite unit lies from each of the 16 colours, colour
// by colour: the distances to colour c are values[c * stride, c * stride + pixels). The
// stride is the pixel count rounded up to a multiple of 8 and the padding holds zeros, so
// the sums below run in whole blocks the compiler can vectorise without changing them.
struct UnitDistances {
    int pixels = 0;
    int stride = 0;
    std::vector<float> values;

    void reset(int pixelCount);
    float* of(int color) { return values.data() + std::size_t(color) * std::size_t(stride); }
    const float* of(int color) const { return values.data() + std::size_t(color) * std::size_t(stride); }
};

// Colours a unit keeps beyond the ones it must show, and the unit's error with them: the
// sum over its pixels of the distance to the nearest colour it may show.
struct FreeColorChoice {
    std::array<uchar, 3> colors {};
    int count = 0;
    float error = 0.0f;
};

// The `freeCount` colours (1 to 3), none of them in `fixedMask` (bit c for colour c),
// that together with the fixed colours serve the unit best. Every set is tried; on equal
// error the set of lower indices wins. `scratch` avoids allocating per unit.
FreeColorChoice bestFreeColors(
    const UnitDistances& distances, quint16 fixedMask, int freeCount, std::vector<float>& scratch);

// For a multicolor cell and every possible background at once: the cell's error with that
// background and its best three other colours. One pass over all four-colour sets gives
// every background its answer, since the best set holding a background is among them.
struct ErrorPerBackground {
    std::array<float, c64ColorCount> error {};
    std::array<std::array<uchar, 3>, c64ColorCount> free {};
};
ErrorPerBackground bestColorsPerBackground(const UnitDistances& distances, std::vector<float>& scratch);
