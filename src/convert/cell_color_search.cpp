#include "convert/cell_color_search.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int block = 8;
constexpr float unreachable = std::numeric_limits<float>::max();

// Eight running sums, one per lane of a block: a fixed order of additions the compiler can
// keep in vector registers, so the result does not depend on how it vectorises.
float sumOfMin(const float* a, const float* b, int stride)
{
    std::array<float, block> lanes {};
    for (int p = 0; p < stride; p += block) {
        for (int lane = 0; lane < block; ++lane) {
            const float x = a[p + lane];
            const float y = b[p + lane];
            lanes[std::size_t(lane)] += y < x ? y : x;
        }
    }
    return ((lanes[0] + lanes[1]) + (lanes[2] + lanes[3])) + ((lanes[4] + lanes[5]) + (lanes[6] + lanes[7]));
}

void storeMin(const float* a, const float* b, float* out, int stride)
{
    for (int p = 0; p < stride; p += block) {
        std::array<float, block> lanes;
        for (int lane = 0; lane < block; ++lane) {
            const float x = a[p + lane];
            const float y = b[p + lane];
            lanes[std::size_t(lane)] = y < x ? y : x;
        }
        std::copy(lanes.begin(), lanes.end(), out + p);
    }
}

} // namespace

void UnitDistances::reset(int pixelCount)
{
    pixels = pixelCount;
    stride = (pixelCount + block - 1) / block * block;
    values.assign(std::size_t(stride) * c64ColorCount, 0.0f);
}

FreeColorChoice bestFreeColors(
    const UnitDistances& distances, quint16 fixedMask, int freeCount, std::vector<float>& scratch)
{
    const int stride = distances.stride;
    std::array<int, c64ColorCount> candidates {};
    int candidateCount = 0;
    for (int color = 0; color < c64ColorCount; ++color) {
        if (!(fixedMask & (1u << color)))
            candidates[std::size_t(candidateCount++)] = color;
    }
    freeCount = std::clamp(freeCount, 1, std::min(3, candidateCount));
    // base, the set so far with one and with two colours, then for every position in the
    // candidate list the nearest of the candidates from there on.
    scratch.assign(std::size_t(stride) * std::size_t(3 + candidateCount + 1), unreachable);
    float* base = scratch.data();
    float* withFirst = base + stride;
    float* withSecond = withFirst + stride;
    const auto nearestFrom
        = [&](int position) { return withSecond + std::size_t(stride) * std::size_t(1 + position); };
    // Padding pixels are zero in every colour, so they add nothing once a colour is in.
    for (int color = 0; color < c64ColorCount; ++color) {
        if (fixedMask & (1u << color))
            storeMin(base, distances.of(color), base, stride);
    }
    for (int position = candidateCount - 1; position >= 0; --position)
        storeMin(nearestFrom(position + 1), distances.of(candidates[std::size_t(position)]),
            nearestFrom(position), stride);

    FreeColorChoice best;
    best.count = freeCount;
    best.error = unreachable;
    // Sets are visited in ascending index order and replaced only by a strictly smaller
    // error, so ties keep the lower indices.
    const auto offer = [&](float error, int a, int b, int c) {
        if (error < best.error) {
            best.error = error;
            best.colors = {uchar(a), uchar(b), uchar(c)};
        }
    };
    // No set that adds colours from a position on can beat the sum of each pixel's
    // nearest among them: once that bound is no better than the best so far, the whole
    // branch is skipped.
    const auto hopeless = [&](const float* sofar, int position) {
        return sumOfMin(sofar, nearestFrom(position), stride) >= best.error;
    };
    for (int i = 0; i < candidateCount; ++i) {
        const int a = candidates[std::size_t(i)];
        if (freeCount == 1) {
            offer(sumOfMin(base, distances.of(a), stride), a, 0, 0);
            continue;
        }
        storeMin(base, distances.of(a), withFirst, stride);
        if (hopeless(withFirst, i + 1))
            continue;
        for (int j = i + 1; j < candidateCount; ++j) {
            const int b = candidates[std::size_t(j)];
            if (freeCount == 2) {
                offer(sumOfMin(withFirst, distances.of(b), stride), a, b, 0);
                continue;
            }
            storeMin(withFirst, distances.of(b), withSecond, stride);
            if (hopeless(withSecond, j + 1))
                continue;
            for (int k = j + 1; k < candidateCount; ++k) {
                const int c = candidates[std::size_t(k)];
                offer(sumOfMin(withSecond, distances.of(c), stride), a, b, c);
            }
        }
    }
    return best;
}

ErrorPerBackground bestColorsPerBackground(const UnitDistances& distances, std::vector<float>& scratch)
{
    const int stride = distances.stride;
    scratch.assign(std::size_t(stride) * (2 + c64ColorCount + 1), unreachable);
    float* withFirst = scratch.data();
    float* withSecond = withFirst + stride;
    const auto nearestFrom
        = [&](int color) { return withSecond + std::size_t(stride) * std::size_t(1 + color); };
    for (int color = c64ColorCount - 1; color >= 0; --color)
        storeMin(nearestFrom(color + 1), distances.of(color), nearestFrom(color), stride);
    ErrorPerBackground result;
    result.error.fill(unreachable);
    std::array<float, c64ColorCount>& error = result.error;
    // The four-colour sets in ascending order; each set's error is offered to each of its
    // colours as background, with the other three as its free colours.
    for (int a = 0; a < c64ColorCount; ++a) {
        for (int b = a + 1; b < c64ColorCount; ++b) {
            storeMin(distances.of(a), distances.of(b), withFirst, stride);
            for (int c = b + 1; c < c64ColorCount; ++c) {
                // Only a set that beats what one of its colours has so far matters; no set
                // completing a, b, c beats the bound of each pixel's nearest of the rest.
                float worst = std::max({error[std::size_t(a)], error[std::size_t(b)], error[std::size_t(c)]});
                for (int d = c + 1; d < c64ColorCount; ++d)
                    worst = std::max(worst, error[std::size_t(d)]);
                storeMin(withFirst, distances.of(c), withSecond, stride);
                if (c + 1 == c64ColorCount || sumOfMin(withSecond, nearestFrom(c + 1), stride) >= worst)
                    continue;
                for (int d = c + 1; d < c64ColorCount; ++d) {
                    const float e = sumOfMin(withSecond, distances.of(d), stride);
                    const auto offer = [&](int background, int x, int y, int z) {
                        if (e < error[std::size_t(background)]) {
                            error[std::size_t(background)] = e;
                            result.free[std::size_t(background)] = {uchar(x), uchar(y), uchar(z)};
                        }
                    };
                    offer(a, b, c, d);
                    offer(b, a, c, d);
                    offer(c, a, b, d);
                    offer(d, a, b, c);
                }
            }
        }
    }
    return result;
}
