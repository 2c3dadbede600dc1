#include "convert/image_conversion.h"

#include "convert/automatic_shared_colors.h"
#include "convert/cell_aware_conversion.h"
#include "convert/dither_kernel.h"
#include "convert/image_adjustment.h"
#include "convert/image_sampling.h"
#include "convert/match_space.h"
#include "model/canvas_region.h"
#include "rules/clash_context.h"
#include "rules/clash_sweep.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// The three components of a pixel, as the conversion works on them.
constexpr int components = 3;

// The nearest of the 16 colours; scanning in index order and replacing only on a strictly
// smaller distance gives ties to the lower index. The perceptual distance carries the
// pixel into OKLab once rather than once per colour.
template <ColorDistanceMetric Metric>
int nearestColor(
    const std::array<QRgb, c64ColorCount>& colors, const MatchSpace& space, double r, double g, double b)
{
    if constexpr (Metric == ColorDistanceMetric::Perceptual) {
        const MatchSpace::Point point = space.point(r, g, b);
        int best = 0;
        float bestDistance = MatchSpace::distanceSq(point, space.color(0));
        for (int index = 1; index < c64ColorCount; ++index) {
            const float distance = MatchSpace::distanceSq(point, space.color(index));
            if (distance < bestDistance) {
                best = index;
                bestDistance = distance;
            }
        }
        return best;
    }
    int best = 0;
    double bestDistance = colorDistanceSq(Metric, r, g, b, colors[0]);
    for (int index = 1; index < c64ColorCount; ++index) {
        const double distance = colorDistanceSq(Metric, r, g, b, colors[std::size_t(index)]);
        if (distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return best;
}

// Rows top to bottom, each left to right. Only the row being matched and the one below
// receive diffused error, so two rows of work values are all the memory it needs; the
// row below is sampled before any error lands in it, so every sum forms in the same
// order as over a whole-canvas buffer.
template <ColorDistanceMetric Metric, DitherMethod Dither>
void matchColors(const QImage& source, bool pairs, const ComponentTables& curves,
    const std::array<QRgb, c64ColorCount>& colors, const MatchSpace& space, Colormap& out)
{
    const int width = out.width();
    const int height = out.height();
    std::vector<double> work(std::size_t(2 * components) * std::size_t(width));
    double* current = work.data();
    double* below = work.data() + std::size_t(components) * std::size_t(width);
    sampleRow(source, 0, pairs, curves, current, width);
    for (int y = 0; y < height; ++y) {
        const bool lastRow = y + 1 == height;
        if (!lastRow)
            sampleRow(source, y + 1, pairs, curves, below, width);
        uchar* row = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            double* pixel = current + components * x;
            double r = pixel[0];
            double g = pixel[1];
            double b = pixel[2];
            ditherInput<Dither == DitherMethod::Ordered>(r, g, b, x, y);
            const int index = nearestColor<Metric>(colors, space, r, g, b);
            if constexpr (Dither == DitherMethod::ErrorDiffusion) {
                const QRgb chosen = colors[std::size_t(index)];
                const double error[components] = {r - qRed(chosen), g - qGreen(chosen), b - qBlue(chosen)};
                const bool hasRight = x + 1 < width;
                for (int c = 0; c < components; ++c) {
                    if (hasRight)
                        pixel[components + c] += error[c] * diffuseRight;
                    if (lastRow)
                        continue;
                    double* under = below + components * x + c;
                    if (x > 0)
                        under[-components] += error[c] * diffuseBelowLeft;
                    under[0] += error[c] * diffuseBelow;
                    if (hasRight)
                        under[components] += error[c] * diffuseBelowRight;
                }
            }
            row[x] = uchar(index);
        }
        std::swap(current, below);
    }
}

template <ColorDistanceMetric Metric>
void matchColorsDithered(const QImage& source, bool pairs, const ComponentTables& curves,
    const std::array<QRgb, c64ColorCount>& colors, const MatchSpace& space, DitherMethod dither,
    Colormap& out)
{
    switch (dither) {
    case DitherMethod::ErrorDiffusion:
        matchColors<Metric, DitherMethod::ErrorDiffusion>(source, pairs, curves, colors, space, out);
        return;
    case DitherMethod::Ordered:
        matchColors<Metric, DitherMethod::Ordered>(source, pairs, curves, colors, space, out);
        return;
    case DitherMethod::None:
        break;
    }
    matchColors<Metric, DitherMethod::None>(source, pairs, curves, colors, space, out);
}

bool fitsCanvas(const QImage& displayImage, const QSize& canvasSize, CanvasMode mode)
{
    return !displayImage.isNull() && !canvasSize.isEmpty()
        && displayImage.size() == imageConversionRequiredSize(mode, canvasSize);
}

Colormap matchNearestColors(const QImage& source, const QSize& canvasSize, const ImageAdjustment& adjustment,
    const ImageConversionSettings& settings)
{
    const Palette palette(settings.paletteVariant);
    std::array<QRgb, c64ColorCount> colors {};
    for (int index = 0; index < c64ColorCount; ++index)
        colors[std::size_t(index)] = palette.colorAt(uchar(index));
    const MatchSpace space(settings.distance, settings.paletteVariant);
    const ComponentTables curves(adjustment);
    const bool pairs = isMulticolor(settings.mode);
    Colormap out(canvasSize.width(), canvasSize.height());
    switch (settings.distance) {
    case ColorDistanceMetric::Weighted:
        matchColorsDithered<ColorDistanceMetric::Weighted>(
            source, pairs, curves, colors, space, settings.dither, out);
        break;
    case ColorDistanceMetric::Perceptual:
        matchColorsDithered<ColorDistanceMetric::Perceptual>(
            source, pairs, curves, colors, space, settings.dither, out);
        break;
    case ColorDistanceMetric::Euclidean:
        matchColorsDithered<ColorDistanceMetric::Euclidean>(
            source, pairs, curves, colors, space, settings.dither, out);
        break;
    }
    return out;
}

} // namespace

QSize imageConversionRequiredSize(CanvasMode mode, const QSize& canvasSize)
{
    return isMulticolor(mode) ? QSize(canvasSize.width() * 2, canvasSize.height()) : canvasSize;
}

namespace {

// What the method makes of the picture before the locked border and the sweep.
ImageConversionResult convertUnswept(const QImage& displayImage, const QSize& canvasSize,
    const ImageAdjustment& adjustment, const ImageConversionSettings& requested)
{
    const QImage source = displayImage.convertToFormat(QImage::Format_RGB32);
    ImageConversionSettings settings = requested;
    const bool cellAware = settings.method == ConversionMethod::CellAware;
    if (!cellAware && !settings.automaticBackground)
        return {matchNearestColors(source, canvasSize, adjustment, settings), settings.slots};
    const std::vector<double> work = sampleImage(source, isMulticolor(settings.mode),
        ComponentTables(adjustment), canvasSize.width(), canvasSize.height());
    const MatchSpace space(settings.distance, settings.paletteVariant);
    const std::vector<float> points = matchSpacePoints(work, space);
    if (settings.automaticBackground)
        settings.slots = automaticSharedColors(points, canvasSize, settings);
    if (cellAware)
        return {convertCellAware(work, points, canvasSize, settings, space), settings.slots};
    return {matchNearestColors(source, canvasSize, adjustment, settings), settings.slots};
}

} // namespace

Colormap convertImageUnswept(const QImage& displayImage, const QSize& canvasSize,
    const ImageAdjustment& adjustment, const ImageConversionSettings& settings)
{
    if (!fitsCanvas(displayImage, canvasSize, settings.mode))
        return {};
    return convertUnswept(displayImage, canvasSize, adjustment, settings).colormap;
}

ImageConversionResult convertImageWithColors(const QImage& displayImage, const QSize& canvasSize,
    const ImageAdjustment& adjustment, const ImageConversionSettings& settings)
{
    if (!fitsCanvas(displayImage, canvasSize, settings.mode))
        return {{}, settings.slots};
    ImageConversionResult result = convertUnswept(displayImage, canvasSize, adjustment, settings);
    Colormap& out = result.colormap;
    for (const QRect& locked : canvasLockedBorderRects(settings.mode, canvasSize, settings.layout))
        out.fillRect(locked, result.slots[HistoryColorSlot::Border]);
    ClashContext context;
    context.mode = settings.mode;
    context.paintIndex = 0;
    context.slots = result.slots;
    context.singlePixel = false;
    context.layout = settings.layout;
    context.hiresClashResolution = HiresClashResolution::ReplaceOverwritten;
    context.paletteVariant = settings.paletteVariant;
    // The cell-aware method is legal by construction, so the sweep finds nothing there.
    resolveExistingClashes(context, out, out.rect(), SweepClashStrategy::KeepMostUsed);
    return result;
}

Colormap convertImage(const QImage& displayImage, const QSize& canvasSize, const ImageAdjustment& adjustment,
    const ImageConversionSettings& settings)
{
    return convertImageWithColors(displayImage, canvasSize, adjustment, settings).colormap;
}
