#include "convert/automatic_shared_colors.h"

#include "convert/cell_aware_conversion.h"
#include "model/canvas_region.h"
#include "model/sprite_strip_grid.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <tuple>

namespace {

constexpr float unreachable = std::numeric_limits<float>::max();

// How many of the cheaply ranked shared-colour sets are measured exactly.
constexpr int shortlistLength = 12;

quint16 bit(int color)
{
    return quint16(1u << color);
}

uchar chooseBackground(const std::vector<float>& points, const QSize& canvasSize,
    const ImageConversionSettings& settings, const MatchSpace& space)
{
    std::array<double, c64ColorCount> total {};
    UnitCosts distances;
    std::vector<float> scratch;
    for (const CanvasRegion& region : canvasRegions(settings.mode, canvasSize, settings.layout)) {
        if (region.isSpriteStrip())
            continue;
        const QRect& area = region.rect;
        for (int top = area.top(); top <= area.bottom(); top += 8) {
            for (int left = area.left(); left <= area.right(); left += 4) {
                gatherUnitCosts(points, canvasSize.width(), QRect(left, top, 4, 8) & area, space,
                    settings.dither != DitherMethod::None, 0, distances);
                const ErrorPerBackground best = bestColorsPerBackground(distances, scratch);
                for (int color = 0; color < c64ColorCount; ++color)
                    total[std::size_t(color)] += best.error[std::size_t(color)];
            }
        }
    }
    return uchar(std::min_element(total.begin(), total.end()) - total.begin());
}

// The units of every strip that shares one set of colours, with their distances.
struct StripUnits {
    std::vector<UnitCosts> units;
};

StripUnits stripUnits(const std::vector<float>& points, const QSize& canvasSize,
    const ImageConversionSettings& settings, const MatchSpace& space, const QList<SpriteStripSide>& sides)
{
    StripUnits result;
    for (const CanvasRegion& region : canvasRegions(settings.mode, canvasSize, settings.layout)) {
        if (!region.isSpriteStrip() || !sides.contains(region.side))
            continue;
        const SpriteStripGrid grid = spriteStripGrid(region, settings.mode, settings.layout);
        for (int row = 0; row < grid.rows; ++row) {
            for (int column = 0; column < grid.columns; ++column) {
                const QRect unit = grid.unitRect(column, row);
                if (unit.isEmpty())
                    continue;
                result.units.emplace_back();
                // Any colour may become a shared one, so every pair is weighed.
                gatherUnitCosts(points, canvasSize.width(), unit, space,
                    settings.dither != DitherMethod::None, 0xffff, result.units.back());
            }
        }
    }
    return result;
}

// The cost of the strip's units when they share `mask`, without their own colours: a
// cheap ranking of candidate sets.
float sharedOnlyError(const StripUnits& strips, quint16 mask, std::vector<float>& scratch)
{
    std::array<int, c64ColorCount> colors {};
    int count = 0;
    for (int color = 0; color < c64ColorCount; ++color) {
        if (mask & bit(color))
            colors[std::size_t(count++)] = color;
    }
    float total = 0.0f;
    for (const UnitCosts& unit : strips.units) {
        scratch.assign(std::size_t(unit.pixels), unreachable);
        for (int i = 0; i < count; ++i) {
            const int a = colors[std::size_t(i)];
            for (int j = i; j < count; ++j) {
                const float* cost = i == j ? unit.single(a) : unit.pair(a, colors[std::size_t(j)]);
                for (int p = 0; p < unit.pixels; ++p)
                    scratch[std::size_t(p)] = std::min(scratch[std::size_t(p)], cost[p]);
            }
        }
        for (int p = 0; p < unit.pixels; ++p)
            total += scratch[std::size_t(p)];
    }
    return total;
}

float sharedWithOwnError(const StripUnits& strips, quint16 mask, std::vector<float>& scratch)
{
    float total = 0.0f;
    for (const UnitCosts& unit : strips.units)
        total += bestFreeColors(unit, mask, 1, scratch).error;
    return total;
}

// The `count` colours outside `fixed` the strips should share: every set ranked by its
// error without the units' own colours, the best few then measured with them.
QList<uchar> chooseSharedColors(const StripUnits& strips, quint16 fixed, int count)
{
    struct Candidate {
        quint16 mask = 0;
        float error = 0.0f;
    };
    std::vector<Candidate> candidates;
    std::vector<float> scratch;
    for (int set = 1; set < (1 << c64ColorCount); ++set) {
        if ((set & fixed) || std::popcount(unsigned(set)) != count)
            continue;
        const quint16 mask = quint16(set) | fixed;
        candidates.push_back({mask, sharedOnlyError(strips, mask, scratch)});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
        [](const Candidate& p, const Candidate& q) { return p.error < q.error; });
    candidates.resize(std::min(candidates.size(), std::size_t(shortlistLength)));
    quint16 best = candidates.front().mask;
    float bestError = unreachable;
    for (const Candidate& candidate : candidates) {
        const float error = sharedWithOwnError(strips, candidate.mask, scratch);
        if (error < bestError) {
            bestError = error;
            best = candidate.mask;
        }
    }
    // The chosen colours, the most used first: that one becomes the strip's background, so
    // the fewest sprites hold anything else.
    std::array<int, c64ColorCount> uses {};
    for (const UnitCosts& unit : strips.units) {
        for (int p = 0; p < unit.pixels; ++p) {
            int nearest = -1;
            for (int color = 0; color < c64ColorCount; ++color) {
                if ((best & bit(color)) && (nearest < 0 || unit.single(color)[p] < unit.single(nearest)[p]))
                    nearest = color;
            }
            ++uses[std::size_t(nearest)];
        }
    }
    QList<uchar> chosen;
    for (int color = 0; color < c64ColorCount; ++color) {
        if ((best & bit(color)) && !(fixed & bit(color)))
            chosen << uchar(color);
    }
    std::stable_sort(chosen.begin(), chosen.end(), [&](uchar p, uchar q) { return uses[p] > uses[q]; });
    return chosen;
}

} // namespace

ColorSlots automaticSharedColors(
    const std::vector<float>& points, const QSize& canvasSize, const ImageConversionSettings& settings)
{
    ColorSlots slots = settings.slots;
    const MatchSpace space(settings.distance, settings.paletteVariant);
    const bool multicolor = isMulticolor(settings.mode);
    if (multicolor && !canvasBitmapRect(settings.mode, canvasSize, settings.layout).isEmpty())
        slots[HistoryColorSlot::Background] = chooseBackground(points, canvasSize, settings, space);
    switch (settings.layout.layout) {
    case CanvasLayout::BitmapOnly:
        break;
    case CanvasLayout::SideBorders:
        // Hires side strips share only the border colour, which stays the artist's.
        if (multicolor) {
            const StripUnits strips = stripUnits(
                points, canvasSize, settings, space, {SpriteStripSide::Left, SpriteStripSide::Right});
            const QList<uchar> chosen
                = chooseSharedColors(strips, bit(slots[HistoryColorSlot::Background]), 2);
            if (chosen.size() == 2) {
                slots[HistoryColorSlot::SpriteMc0] = std::min(chosen[0], chosen[1]);
                slots[HistoryColorSlot::SpriteMc1] = std::max(chosen[0], chosen[1]);
            }
        }
        break;
    case CanvasLayout::TopBottomBorders:
        for (const auto& [side, background, mc0, mc1] :
            {std::tuple {SpriteStripSide::Top, HistoryColorSlot::TopBorderBackground,
                 HistoryColorSlot::TopBorderMc0, HistoryColorSlot::TopBorderMc1},
                std::tuple {SpriteStripSide::Bottom, HistoryColorSlot::BottomBorderBackground,
                    HistoryColorSlot::BottomBorderMc0, HistoryColorSlot::BottomBorderMc1}}) {
            const StripUnits strips = stripUnits(points, canvasSize, settings, space, {side});
            if (strips.units.empty())
                continue;
            const QList<uchar> chosen = chooseSharedColors(strips, 0, multicolor ? 3 : 1);
            if (chosen.isEmpty())
                continue;
            slots[background] = chosen[0];
            if (multicolor && chosen.size() == 3) {
                slots[mc0] = std::min(chosen[1], chosen[2]);
                slots[mc1] = std::max(chosen[1], chosen[2]);
            }
        }
        break;
    }
    return slots;
}
