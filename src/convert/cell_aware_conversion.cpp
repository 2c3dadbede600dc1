#include "convert/cell_aware_conversion.h"

#include "convert/dither_kernel.h"
#include "model/canvas_region.h"
#include "model/sprite_strip_grid.h"
#include "rules/clash_context.h"
#include "rules/sprite_colors.h"

#include <algorithm>
#include <limits>

namespace {

// The colours one cell or unit may show.
struct ColorSet {
    std::array<uchar, 4> colors {};
    int count = 0;
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

    void assign(const QRect& rect, const ColorSet& set)
    {
        const int id = int(sets.size());
        sets.push_back(set);
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            std::fill_n(ofPixel.begin() + std::ptrdiff_t(y) * width + rect.left(), rect.width(), id);
    }
};

PixelSets chooseCellColors(const std::vector<float>& points, const QSize& canvasSize,
    const ImageConversionSettings& settings, const MatchSpace& space)
{
    PixelSets result;
    result.width = canvasSize.width();
    result.ofPixel.assign(std::size_t(canvasSize.width()) * std::size_t(canvasSize.height()), -1);
    ClashContext context;
    context.mode = settings.mode;
    context.slots = settings.slots;
    context.layout = settings.layout;
    const bool multicolor = isMulticolor(settings.mode);
    const int cellWidth = multicolor ? 4 : 8;
    const quint16 bitmapFixed
        = multicolor ? quint16(1u << settings.slots[HistoryColorSlot::Background]) : quint16(0);
    const int bitmapFree = multicolor ? 3 : 2;
    UnitDistances distances;
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
                    gatherUnitDistances(points, canvasSize.width(), unit, space, distances);
                    result.assign(unit, setOf(fixed, bestFreeColors(distances, fixed, 1, scratch)));
                }
            }
            continue;
        }
        const QRect& area = region.rect;
        for (int top = area.top(); top <= area.bottom(); top += 8) {
            for (int left = area.left(); left <= area.right(); left += cellWidth) {
                const QRect cell = QRect(left, top, cellWidth, 8) & area;
                gatherUnitDistances(points, canvasSize.width(), cell, space, distances);
                result.assign(
                    cell, setOf(bitmapFixed, bestFreeColors(distances, bitmapFixed, bitmapFree, scratch)));
            }
        }
    }
    ColorSet border;
    border.colors[0] = settings.slots[HistoryColorSlot::Border];
    border.count = 1;
    border.locked = true;
    for (const QRect& locked : canvasLockedBorderRects(settings.mode, canvasSize, settings.layout))
        result.assign(locked & QRect(QPoint(0, 0), canvasSize), border);
    return result;
}

template <DitherMethod Dither>
void ditherWithinSets(std::vector<double> work, const PixelSets& sets, const MatchSpace& space, Colormap& out)
{
    const int width = out.width();
    const int height = out.height();
    for (int y = 0; y < height; ++y) {
        uchar* row = out.scanLine(y);
        double* current = work.data() + std::size_t(y) * std::size_t(width) * 3;
        double* below = y + 1 < height ? current + std::size_t(width) * 3 : nullptr;
        for (int x = 0; x < width; ++x) {
            const int id = sets.ofPixel[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            double* pixel = current + 3 * x;
            double r = pixel[0];
            double g = pixel[1];
            double b = pixel[2];
            if constexpr (Dither == DitherMethod::Ordered) {
                const double offset = orderedOffsetAt(x, y);
                r += offset;
                g += offset;
                b += offset;
            }
            r = std::clamp(r, 0.0, 255.0);
            g = std::clamp(g, 0.0, 255.0);
            b = std::clamp(b, 0.0, 255.0);
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

void gatherUnitDistances(const std::vector<float>& points, int canvasWidth, const QRect& unit,
    const MatchSpace& space, UnitDistances& out)
{
    out.reset(unit.width() * unit.height());
    int p = 0;
    for (int y = unit.top(); y <= unit.bottom(); ++y) {
        for (int x = unit.left(); x <= unit.right(); ++x, ++p) {
            const float* at
                = points.data() + (std::size_t(y) * std::size_t(canvasWidth) + std::size_t(x)) * 3;
            const MatchSpace::Point point {at[0], at[1], at[2]};
            for (int color = 0; color < c64ColorCount; ++color)
                out.of(color)[p] = MatchSpace::distanceSq(point, space.color(color));
        }
    }
}

Colormap convertCellAware(const std::vector<double>& work, const std::vector<float>& points,
    const QSize& canvasSize, const ImageConversionSettings& settings, const MatchSpace& space)
{
    const PixelSets sets = chooseCellColors(points, canvasSize, settings, space);
    Colormap out(canvasSize.width(), canvasSize.height());
    switch (settings.dither) {
    case DitherMethod::ErrorDiffusion:
        ditherWithinSets<DitherMethod::ErrorDiffusion>(work, sets, space, out);
        break;
    case DitherMethod::Ordered:
        ditherWithinSets<DitherMethod::Ordered>(work, sets, space, out);
        break;
    case DitherMethod::None:
        ditherWithinSets<DitherMethod::None>(work, sets, space, out);
        break;
    }
    return out;
}
