#pragma once

#include "model/palette.h"

#include <QtGlobal>

#include <array>
#include <vector>

// What each pixel of one cell or sprite unit costs when its cell shows a given colour or
// a given pair of colours. A colour costs its distance to the pixel. A pair costs, when
// the picture is dithered, the pixel's distance to the nearest mix of the two plus a
// share of the grain that mixing them leaves (mixes of far-apart colours are noisy even
// after the eye blends them); without a dither, a pair costs the nearer of its two
// colours. A set of colours then costs each pixel the least of its colours and pairs.
//
// Values are stored colour by colour and pair by pair, each over the pixels: the stride is
// the pixel count rounded up to a multiple of 8 and the padding holds zeros, so the sums
// below run in whole blocks the compiler can vectorise without changing them.
struct UnitCosts {
    static constexpr int pairCount = c64ColorCount * (c64ColorCount - 1) / 2;

    int pixels = 0;
    int stride = 0;
    // The colours worth weighing for this unit (bit c for colour c): the ones it must show
    // and those among the few nearest of some pixel. A colour no pixel comes close to
    // cannot serve the unit better than those, and leaving it out keeps the search small.
    // Pairs are filled only between candidates.
    quint16 candidates = 0xffff;
    std::vector<float> values;

    void reset(int pixelCount);
    float* single(int color) { return values.data() + std::size_t(color) * std::size_t(stride); }
    const float* single(int color) const { return values.data() + std::size_t(color) * std::size_t(stride); }
    float* pair(int a, int b) { return values.data() + pairOffset(a, b); }
    const float* pair(int a, int b) const { return values.data() + pairOffset(a, b); }

private:
    std::size_t pairOffset(int a, int b) const
    {
        const int low = std::min(a, b);
        const int high = std::max(a, b);
        const int index = low * c64ColorCount - low * (low + 1) / 2 + (high - low - 1);
        return std::size_t(c64ColorCount + index) * std::size_t(stride);
    }
};

// Colours a unit keeps beyond the ones it must show, and the unit's cost with them.
struct FreeColorChoice {
    std::array<uchar, 3> colors {};
    int count = 0;
    float error = 0.0f;
};

// The `freeCount` colours (1 to 3), none of them in `fixedMask` (bit c for colour c),
// that together with the fixed colours serve the unit best. Every set is weighed, though
// branches that a lower bound shows cannot win are skipped; on equal cost the set of
// lower indices wins. `scratch` avoids allocating per unit.
FreeColorChoice bestFreeColors(
    const UnitCosts& costs, quint16 fixedMask, int freeCount, std::vector<float>& scratch);

// The `keep` best such choices, best first, for a caller that weighs a few of them more
// closely than these costs can.
std::vector<FreeColorChoice> bestFreeColorSets(
    const UnitCosts& costs, quint16 fixedMask, int freeCount, int keep, std::vector<float>& scratch);

// For a multicolor cell and every possible background at once: the cell's cost with that
// background and its best three other colours. One pass over all four-colour sets of
// candidates gives every candidate background its answer, since the best set holding a
// background is among them; a background that is no candidate adds nothing the pixels
// want, so it is charged the best three candidates alone.
struct ErrorPerBackground {
    std::array<float, c64ColorCount> error {};
    std::array<std::array<uchar, 3>, c64ColorCount> free {};
};
ErrorPerBackground bestColorsPerBackground(const UnitCosts& costs, std::vector<float>& scratch);
