#include "convert/cell_aware_conversion.h"

#include "convert/cell_color_trial.h"
#include "convert/dither_kernel.h"
#include "model/canvas_region.h"
#include "model/sprite_strip_grid.h"
#include "rules/clash_context.h"
#include "rules/sprite_colors.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace {

// How much of the grain of mixing two colours counts against them: dithered pixels blend
// in the eye, but not completely.
constexpr float grainShare = 0.1f;

// The colours one cell or unit may show.
struct ColorSet : CellColorSet {
    // Locked border pixels: fixed, and what they would pass on is not the picture's.
    bool locked = false;
};

quint16 maskOf(const SpriteSharedColors& shared)
{
    quint16 mask = 0;
    for (int i = 0; i < shared.count; ++i)
        mask |= quint16(1u << shared.colors[std::size_t(i)]);
    return mask;
}

ColorSet setOf(quint16 fixedMask, const FreeColorChoice& choice)
{
    quint16 mask = fixedMask;
    for (int i = 0; i < choice.count; ++i)
        mask |= quint16(1u << choice.colors[std::size_t(i)]);
    ColorSet set;
    for (int color = 0; color < c64ColorCount && set.count < 4; ++color) {
        if (mask & (1u << color))
            set.colors[std::size_t(set.count++)] = uchar(color);
    }
    return set;
}

// Which set every pixel belongs to; -1 leaves a pixel free to take any colour (a canvas
// where no region reaches).
struct PixelSets {
    std::vector<ColorSet> sets;
    std::vector<int> ofPixel;
    int width = 0;
    // Bitmap regions, whose cells choose their colours as the dither reaches them.
    std::vector<QRect> bitmaps;

    void assign(const QRect& rect, const ColorSet& set)
    {
        const int id = int(sets.size());
        sets.push_back(set);
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            auto row = ofPixel.begin() + std::ptrdiff_t(y) * width;
            // Locked pixels stay the border's whatever region they fall in.
            for (int x = rect.left(); x <= rect.right(); ++x) {
                int& pixelSet = row[x];
                if (pixelSet < 0 || !sets[std::size_t(pixelSet)].locked)
                    pixelSet = id;
            }
        }
    }
};

PixelSets chooseStripColors(const std::vector<float>& points, const QSize& canvasSize,
    const ImageConversionSettings& settings, const MatchSpace& space)
{
    PixelSets result;
    result.width = canvasSize.width();
    result.ofPixel.assign(std::size_t(canvasSize.width()) * std::size_t(canvasSize.height()), -1);
    ClashContext context;
    context.mode = settings.mode;
    context.slots = settings.slots;
    context.layout = settings.layout;
    const bool dithered = settings.dither != DitherMethod::None;
    UnitCosts distances;
    std::vector<float> scratch;
    for (const CanvasRegion& region : canvasRegions(settings.mode, canvasSize, settings.layout)) {
        if (region.isSpriteStrip()) {
            const SpriteSharedColors shared = spriteSharedColors(context, region);
            const quint16 fixed = maskOf(shared);
            const SpriteStripGrid grid = spriteStripGrid(region, settings.mode, settings.layout);
            for (int row = 0; row < grid.rows; ++row) {
                for (int column = 0; column < grid.columns; ++column) {
                    const QRect unit = grid.unitRect(column, row);
                    if (unit.isEmpty())
                        continue;
                    gatherUnitCosts(points, canvasSize.width(), unit, space, dithered, fixed, distances);
                    result.assign(unit, setOf(fixed, bestFreeColors(distances, fixed, 1, scratch)));
                }
            }
            continue;
        }
        result.bitmaps.push_back(region.rect);
    }
    ColorSet border;
    border.colors[0] = settings.slots[HistoryColorSlot::Border];
    border.count = 1;
    border.locked = true;
    for (const QRect& locked : canvasLockedBorderRects(settings.mode, canvasSize, settings.layout))
        result.assign(locked & QRect(QPoint(0, 0), canvasSize), border);
    return result;
}

// How many of the cost model's best sets each bitmap cell tries by dithering. Beyond six
// the pictures hardly change. Without a dither the cost model is exact: every pixel simply
// takes its nearest colour of the set, and trying sets for how they blur would only trade
// pixels the artist sees for a mean nobody blends.
constexpr int triedSets = 6;
// A set the cost model rates more than twice as costly as its best hardly ever wins the
// trial, and skipping it halves the time the trials take.
constexpr float triedCostRatio = 2.0f;

// Chooses the colours of the bitmap cells in the row of cells starting at `top`, left to
// right, from the work values as the dither has left them above, and writes each cell's
// trial into `out` for the cells after it to see; the dither then overwrites them.
void chooseCellRow(const std::vector<double>& work, const std::vector<float>& points, const QRect& area,
    int top, const ImageConversionSettings& settings, const MatchSpace& space, PixelSets& sets, Colormap& out)
{
    const bool multicolor = isMulticolor(settings.mode);
    const int cellWidth = multicolor ? 4 : 8;
    const quint16 fixed
        = multicolor ? quint16(1u << settings.slots[HistoryColorSlot::Background]) : quint16(0);
    const int freeCount = multicolor ? 3 : 2;
    const CellTrialCanvas canvas {work, points, out, space, settings.dither, multicolor, area.left()};
    const int tried = settings.dither == DitherMethod::None ? 1 : triedSets;
    UnitCosts distances;
    std::vector<float> scratch;
    std::vector<CellColorSet> candidates;
    CellCarry carry;
    for (int left = area.left(); left <= area.right(); left += cellWidth) {
        const QRect cell = QRect(left, top, cellWidth, 8) & area;
        gatherUnitCosts(
            points, out.width(), cell, space, settings.dither != DitherMethod::None, fixed, distances);
        candidates.clear();
        const std::vector<FreeColorChoice> ranked
            = bestFreeColorSets(distances, fixed, freeCount, tried, scratch);
        for (const FreeColorChoice& choice : ranked) {
            if (choice.error > ranked.front().error * triedCostRatio)
                break;
            candidates.push_back(setOf(fixed, choice));
        }
        const CellTrialResult trial = tryCellColorSets(canvas, cell, carry, candidates);
        sets.assign(cell, ColorSet {candidates[std::size_t(trial.chosen)], false});
        for (int i = 0; i < cell.height(); ++i)
            std::copy_n(trial.pixels.begin() + i * 8, cell.width(), out.scanLine(top + i) + left);
        carry = trial.carry;
    }
}

template <DitherMethod Dither>
void ditherWithinSets(std::vector<double> work, const std::vector<float>& points,
    const ImageConversionSettings& settings, PixelSets& sets, const MatchSpace& space, Colormap& out)
{
    const int width = out.width();
    const int height = out.height();
    for (int y = 0; y < height; ++y) {
        for (const QRect& area : sets.bitmaps) {
            if (y >= area.top() && y <= area.bottom() && (y - area.top()) % 8 == 0)
                chooseCellRow(work, points, area, y, settings, space, sets, out);
        }
        uchar* row = out.scanLine(y);
        double* current = work.data() + std::size_t(y) * std::size_t(width) * 3;
        double* below = y + 1 < height ? current + std::size_t(width) * 3 : nullptr;
        for (int x = 0; x < width; ++x) {
            const int id = sets.ofPixel[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            double* pixel = current + 3 * x;
            double r = pixel[0];
            double g = pixel[1];
            double b = pixel[2];
            ditherInput<Dither == DitherMethod::Ordered>(r, g, b, x, y);
            const MatchSpace::Point point = space.point(r, g, b);
            int index = 0;
            bool locked = false;
            if (id < 0) {
                float best = std::numeric_limits<float>::max();
                for (int color = 0; color < c64ColorCount; ++color) {
                    const float distance = MatchSpace::distanceSq(point, space.color(color));
                    if (distance < best) {
                        best = distance;
                        index = color;
                    }
                }
            } else {
                const ColorSet& set = sets.sets[std::size_t(id)];
                locked = set.locked;
                index = set.colors[0];
                float best = MatchSpace::distanceSq(point, space.color(index));
                for (int i = 1; i < set.count; ++i) {
                    const int color = set.colors[std::size_t(i)];
                    const float distance = MatchSpace::distanceSq(point, space.color(color));
                    if (distance < best) {
                        best = distance;
                        index = color;
                    }
                }
            }
            row[x] = uchar(index);
            if constexpr (Dither == DitherMethod::ErrorDiffusion) {
                if (locked)
                    continue;
                const QRgb chosen = space.rgb(index);
                const double error[3] = {r - qRed(chosen), g - qGreen(chosen), b - qBlue(chosen)};
                const bool hasRight = x + 1 < width;
                for (int c = 0; c < 3; ++c) {
                    if (hasRight)
                        pixel[3 + c] += error[c] * diffuseRight;
                    if (!below)
                        continue;
                    double* under = below + 3 * x + c;
                    if (x > 0)
                        under[-3] += error[c] * diffuseBelowLeft;
                    under[0] += error[c] * diffuseBelow;
                    if (hasRight)
                        under[3] += error[c] * diffuseBelowRight;
                }
            }
        }
    }
}

// The colours among the four nearest of some pixel, and at least the five nearest over
// the whole unit, so every search has enough to choose from.
quint16 nearestColors(const UnitCosts& costs)
{
    constexpr int nearestPerPixel = 4;
    constexpr int leastCandidates = 5;
    quint16 mask = 0;
    std::array<float, c64ColorCount> total {};
    for (int p = 0; p < costs.pixels; ++p) {
        // The four smallest by insertion into a short sorted list.
        std::array<float, nearestPerPixel> cost;
        std::array<int, nearestPerPixel> color;
        cost.fill(std::numeric_limits<float>::max());
        color.fill(0);
        for (int c = 0; c < c64ColorCount; ++c) {
            const float value = costs.single(c)[p];
            total[std::size_t(c)] += value;
            if (value >= cost[nearestPerPixel - 1])
                continue;
            int at = nearestPerPixel - 1;
            while (at > 0 && value < cost[std::size_t(at - 1)]) {
                cost[std::size_t(at)] = cost[std::size_t(at - 1)];
                color[std::size_t(at)] = color[std::size_t(at - 1)];
                --at;
            }
            cost[std::size_t(at)] = value;
            color[std::size_t(at)] = c;
        }
        for (int i = 0; i < nearestPerPixel; ++i)
            mask |= quint16(1u << color[std::size_t(i)]);
    }
    while (std::popcount(unsigned(mask)) < leastCandidates) {
        int best = -1;
        for (int color = 0; color < c64ColorCount; ++color) {
            if (!(mask & (1u << color)) && (best < 0 || total[std::size_t(color)] < total[std::size_t(best)]))
                best = color;
        }
        mask |= quint16(1u << best);
    }
    return mask;
}

} // namespace

std::vector<float> matchSpacePoints(const std::vector<double>& work, const MatchSpace& space)
{
    std::vector<float> points(work.size());
    for (std::size_t i = 0; i + 2 < work.size(); i += 3) {
        const MatchSpace::Point point = space.point(work[i], work[i + 1], work[i + 2]);
        std::copy(point.begin(), point.end(), points.begin() + std::ptrdiff_t(i));
    }
    return points;
}

void gatherUnitCosts(const std::vector<float>& points, int canvasWidth, const QRect& unit,
    const MatchSpace& space, bool dithered, quint16 keep, UnitCosts& out)
{
    out.reset(unit.width() * unit.height());
    const int stride = out.stride;
    // The pixels component by component, padded like the costs, so every loop below runs
    // in whole blocks of 8 that the compiler turns into vector instructions.
    std::vector<float> components(std::size_t(stride) * 3, 0.0f);
    float* c0 = components.data();
    float* c1 = c0 + stride;
    float* c2 = c1 + stride;
    int p = 0;
    for (int y = unit.top(); y <= unit.bottom(); ++y) {
        const float* at
            = points.data() + (std::size_t(y) * std::size_t(canvasWidth) + std::size_t(unit.left())) * 3;
        for (int x = unit.left(); x <= unit.right(); ++x, ++p, at += 3) {
            c0[p] = at[0];
            c1[p] = at[1];
            c2[p] = at[2];
        }
    }
    for (int color = 0; color < c64ColorCount; ++color) {
        const MatchSpace::Point& target = space.color(color);
        float* cost = out.single(color);
        for (int i = 0; i < out.pixels; ++i) {
            const float d0 = c0[i] - target[0];
            const float d1 = c1[i] - target[1];
            const float d2 = c2[i] - target[2];
            cost[i] = d0 * d0 + d1 * d1 + d2 * d2;
        }
    }
    out.candidates = keep | nearestColors(out);
    for (int a = 0; a < c64ColorCount; ++a) {
        if (!(out.candidates & (1u << a)))
            continue;
        const float* costA = out.single(a);
        const MatchSpace::Point& colorA = space.color(a);
        for (int b = a + 1; b < c64ColorCount; ++b) {
            if (!(out.candidates & (1u << b)))
                continue;
            const float* costB = out.single(b);
            float* pair = out.pair(a, b);
            const MatchSpace::Point& colorB = space.color(b);
            const float v0 = colorB[0] - colorA[0];
            const float v1 = colorB[1] - colorA[1];
            const float v2 = colorB[2] - colorA[2];
            const float length = v0 * v0 + v1 * v1 + v2 * v2;
            if (!dithered || length <= 0.0f) {
                for (int i = 0; i < stride; ++i)
                    pair[i] = costB[i] < costA[i] ? costB[i] : costA[i];
                continue;
            }
            // The pixel projected onto the line from a to b gives the mix t of b it looks
            // like; its cost is the distance to that mix plus the grain of mixing,
            // t (1 - t) |b - a|^2, weighted by how much of it survives the eye's blending.
            const float inverse = 1.0f / length;
            const float offset = colorA[0] * v0 + colorA[1] * v1 + colorA[2] * v2;
            const float grain = grainShare * length;
            for (int i = 0; i < stride; i += 8) {
                for (int lane = i; lane < i + 8; ++lane) {
                    const float along = c0[lane] * v0 + c1[lane] * v1 + c2[lane] * v2 - offset;
                    const float scaled = along * inverse;
                    const float t = scaled < 0.0f ? 0.0f : (scaled > 1.0f ? 1.0f : scaled);
                    // |pixel - a|^2 - 2 t (pixel - a).v + t^2 |v|^2: the squared distance to the mix.
                    const float mix = costA[lane] + t * (t * length - 2.0f * along);
                    const float cost = (mix > 0.0f ? mix : 0.0f) + grain * t * (1.0f - t);
                    const float nearer = costB[lane] < costA[lane] ? costB[lane] : costA[lane];
                    pair[lane] = cost < nearer ? cost : nearer;
                }
            }
        }
    }
}

Colormap convertCellAware(const std::vector<double>& work, const std::vector<float>& points,
    const QSize& canvasSize, const ImageConversionSettings& settings, const MatchSpace& space)
{
    PixelSets sets = chooseStripColors(points, canvasSize, settings, space);
    Colormap out(canvasSize.width(), canvasSize.height());
    switch (settings.dither) {
    case DitherMethod::ErrorDiffusion:
        ditherWithinSets<DitherMethod::ErrorDiffusion>(work, points, settings, sets, space, out);
        break;
    case DitherMethod::Ordered:
        ditherWithinSets<DitherMethod::Ordered>(work, points, settings, sets, space, out);
        break;
    case DitherMethod::None:
        ditherWithinSets<DitherMethod::None>(work, points, settings, sets, space, out);
        break;
    }
    return out;
}
