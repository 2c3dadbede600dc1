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

float sum(const float* a, int stride)
{
    std::array<float, block> lanes {};
    for (int p = 0; p < stride; p += block) {
        for (int lane = 0; lane < block; ++lane)
            lanes[std::size_t(lane)] += a[p + lane];
    }
    return ((lanes[0] + lanes[1]) + (lanes[2] + lanes[3])) + ((lanes[4] + lanes[5]) + (lanes[6] + lanes[7]));
}

// out = min(a, b) pixel by pixel; out may be a.
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

// The set in `sofar` (a per-pixel cost) with `color` added: its own cost and its pairs
// with every colour of `members`.
void addColor(const UnitCosts& costs, const float* sofar, int color, const std::array<int, 4>& members,
    int memberCount, float* out)
{
    storeMin(sofar, costs.single(color), out, costs.stride);
    for (int i = 0; i < memberCount; ++i)
        storeMin(out, costs.pair(color, members[std::size_t(i)]), out, costs.stride);
}

// Per pixel, the least a colour costs with any partner at all, and from that the least
// any colour from a position of `order` on costs: no set that only adds those colours can
// cost a pixel less.
void leastFrom(const UnitCosts& costs, const int* order, int count, float* out)
{
    const int stride = costs.stride;
    std::fill_n(out + std::size_t(count) * std::size_t(stride), stride, unreachable);
    std::vector<float> least(static_cast<std::size_t>(stride));
    for (int position = count - 1; position >= 0; --position) {
        const int color = order[position];
        std::copy_n(costs.single(color), stride, least.begin());
        for (int partner = 0; partner < c64ColorCount; ++partner) {
            if (partner != color && (costs.candidates & (1u << partner)))
                storeMin(least.data(), costs.pair(color, partner), least.data(), stride);
        }
        storeMin(out + std::size_t(position + 1) * std::size_t(stride), least.data(),
            out + std::size_t(position) * std::size_t(stride), stride);
    }
}

} // namespace

void UnitCosts::reset(int pixelCount)
{
    pixels = pixelCount;
    stride = (pixelCount + block - 1) / block * block;
    values.assign(std::size_t(stride) * std::size_t(c64ColorCount + pairCount), 0.0f);
}

std::vector<FreeColorChoice> bestFreeColorSets(
    const UnitCosts& costs, quint16 fixedMask, int freeCount, int keep, std::vector<float>& scratch)
{
    keep = std::max(1, keep);
    const int stride = costs.stride;
    std::array<int, c64ColorCount> candidates {};
    int candidateCount = 0;
    std::array<int, 4> members {};
    int fixedCount = 0;
    for (int color = 0; color < c64ColorCount; ++color) {
        if (fixedMask & (1u << color)) {
            if (fixedCount < 3)
                members[std::size_t(fixedCount++)] = color;
        } else if (costs.candidates & (1u << color)) {
            candidates[std::size_t(candidateCount++)] = color;
        }
    }
    // Too few candidates: the rest of the colours make up the count.
    for (int color = 0; color < c64ColorCount && candidateCount < freeCount; ++color) {
        if (!(fixedMask & (1u << color)) && !(costs.candidates & (1u << color)))
            candidates[std::size_t(candidateCount++)] = color;
    }
    std::sort(candidates.begin(), candidates.begin() + candidateCount);
    freeCount = std::clamp(freeCount, 1, std::min(3, candidateCount));
    // The fixed set, with one and with two colours added, then the bounds.
    scratch.assign(std::size_t(stride) * std::size_t(3 + candidateCount + 1), unreachable);
    float* base = scratch.data();
    float* withFirst = base + stride;
    float* withSecond = withFirst + stride;
    float* bounds = withSecond + stride;
    const auto leastFromPosition
        = [&](int position) { return bounds + std::size_t(position) * std::size_t(stride); };
    for (int i = 0; i < fixedCount; ++i)
        addColor(costs, base, members[std::size_t(i)], members, i, base);
    if (freeCount > 1)
        leastFrom(costs, candidates.data(), candidateCount, bounds);

    std::vector<FreeColorChoice> best;
    best.reserve(std::size_t(keep) + 1);
    // Beaten only by a set that beats the worst of those kept so far.
    const auto threshold = [&] { return int(best.size()) < keep ? unreachable : best.back().error; };
    // Sets are visited in ascending index order and go in after every set of equal cost,
    // so ties keep the lower indices first.
    const auto offer = [&](float error, int a, int b, int c) {
        if (error >= threshold())
            return;
        FreeColorChoice choice;
        choice.colors = {uchar(a), uchar(b), uchar(c)};
        choice.count = freeCount;
        choice.error = error;
        const auto at = std::upper_bound(best.begin(), best.end(), error,
            [](float value, const FreeColorChoice& kept) { return value < kept.error; });
        best.insert(at, choice);
        if (int(best.size()) > keep)
            best.pop_back();
    };
    const auto hopeless = [&](const float* sofar, int position) {
        return sumOfMin(sofar, leastFromPosition(position), stride) >= threshold();
    };
    std::vector<float> last(static_cast<std::size_t>(stride));
    for (int i = 0; i < candidateCount; ++i) {
        const int a = candidates[std::size_t(i)];
        addColor(costs, base, a, members, fixedCount, withFirst);
        if (freeCount == 1) {
            offer(sum(withFirst, stride), a, 0, 0);
            continue;
        }
        if (hopeless(withFirst, i + 1))
            continue;
        members[std::size_t(fixedCount)] = a;
        for (int j = i + 1; j < candidateCount; ++j) {
            const int b = candidates[std::size_t(j)];
            addColor(costs, withFirst, b, members, fixedCount + 1, withSecond);
            if (freeCount == 2) {
                offer(sum(withSecond, stride), a, b, 0);
                continue;
            }
            if (hopeless(withSecond, j + 1))
                continue;
            members[std::size_t(fixedCount + 1)] = b;
            for (int k = j + 1; k < candidateCount; ++k) {
                const int c = candidates[std::size_t(k)];
                addColor(costs, withSecond, c, members, fixedCount + 2, last.data());
                offer(sum(last.data(), stride), a, b, c);
            }
        }
    }
    if (best.empty()) {
        FreeColorChoice none;
        none.count = freeCount;
        none.error = unreachable;
        best.push_back(none);
    }
    return best;
}

FreeColorChoice bestFreeColors(
    const UnitCosts& costs, quint16 fixedMask, int freeCount, std::vector<float>& scratch)
{
    return bestFreeColorSets(costs, fixedMask, freeCount, 1, scratch).front();
}

ErrorPerBackground bestColorsPerBackground(const UnitCosts& costs, std::vector<float>& scratch)
{
    const int stride = costs.stride;
    scratch.assign(std::size_t(stride) * (4 + c64ColorCount + 1), unreachable);
    float* withFirst = scratch.data();
    float* withSecond = withFirst + stride;
    float* withThird = withSecond + stride;
    float* withFourth = withThird + stride;
    float* bounds = withFourth + stride;
    std::array<int, c64ColorCount> order {};
    int count = 0;
    for (int color = 0; color < c64ColorCount; ++color) {
        if (costs.candidates & (1u << color))
            order[std::size_t(count++)] = color;
    }
    leastFrom(costs, order.data(), count, bounds);
    const auto leastFromPosition
        = [&](int position) { return bounds + std::size_t(position) * std::size_t(stride); };
    std::vector<float> start(std::size_t(stride), unreachable);
    ErrorPerBackground result;
    result.error.fill(unreachable);
    std::array<float, c64ColorCount>& error = result.error;
    std::array<int, 4> members {};
    // The four-colour sets in ascending order; each set's cost is offered to each of its
    // colours as background, with the other three as its free colours.
    float bestTriple = unreachable;
    std::array<uchar, 3> bestTripleColors {};
    for (int i = 0; i < count; ++i) {
        const int a = order[std::size_t(i)];
        addColor(costs, start.data(), a, members, 0, withFirst);
        members[0] = a;
        for (int j = i + 1; j < count; ++j) {
            const int b = order[std::size_t(j)];
            addColor(costs, withFirst, b, members, 1, withSecond);
            members[1] = b;
            for (int k = j + 1; k < count; ++k) {
                const int c = order[std::size_t(k)];
                addColor(costs, withSecond, c, members, 2, withThird);
                const float tripleCost = sum(withThird, stride);
                if (tripleCost < bestTriple) {
                    bestTriple = tripleCost;
                    bestTripleColors = {uchar(a), uchar(b), uchar(c)};
                }
                if (k + 1 == count)
                    continue;
                // Only a set that beats what one of its colours has so far matters; no set
                // completing a, b, c costs less than each pixel's least among the rest.
                float worst = std::max({error[std::size_t(a)], error[std::size_t(b)], error[std::size_t(c)]});
                for (int l = k + 1; l < count; ++l)
                    worst = std::max(worst, error[std::size_t(order[std::size_t(l)])]);
                if (sumOfMin(withThird, leastFromPosition(k + 1), stride) >= worst)
                    continue;
                members[2] = c;
                for (int l = k + 1; l < count; ++l) {
                    const int d = order[std::size_t(l)];
                    addColor(costs, withThird, d, members, 3, withFourth);
                    const float e = sum(withFourth, stride);
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
    for (int color = 0; color < c64ColorCount; ++color) {
        if (!(costs.candidates & (1u << color)) || error[std::size_t(color)] == unreachable) {
            error[std::size_t(color)] = bestTriple;
            result.free[std::size_t(color)] = bestTripleColors;
        }
    }
    return result;
}
