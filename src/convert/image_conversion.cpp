#include "convert/image_conversion.h"

#include "convert/image_adjustment.h"
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

// The 4 x 4 Bayer matrix, rows by y mod 4 and columns by x mod 4.
constexpr std::array<int, 16> bayer4 {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

// A matrix entry as an offset from -30 to +30, added to all three components.
constexpr double orderedOffset(int entry)
{
    return ((entry + 0.5) * 0.0625 - 0.5) * 64.0;
}

// Floyd-Steinberg's weights halved: right, below-left, below, below-right.
constexpr double diffuseRight = 7.0 / 32.0;
constexpr double diffuseBelowLeft = 3.0 / 32.0;
constexpr double diffuseBelow = 5.0 / 32.0;
constexpr double diffuseBelowRight = 1.0 / 32.0;

// The curves folded into one table per component, so a pixel costs three lookups.
struct ComponentTables {
    std::array<AdjustmentLookup, components> tables {};

    explicit ComponentTables(const ImageAdjustment& adjustment)
    {
        constexpr std::array<AdjustmentChannel, components> channels {
            AdjustmentChannel::Red, AdjustmentChannel::Green, AdjustmentChannel::Blue};
        for (std::size_t c = 0; c < components; ++c) {
            for (int v = 0; v < 256; ++v)
                tables[c][std::size_t(v)] = adjustment.adjustComponent(channels[c], uchar(v));
        }
    }
};

// One canvas row of the source in work values: the display pixel, or in multicolor the
// integer mean of the pair that makes one wide pixel, through the curves.
void sampleRow(const QImage& source, int y, bool pairs, const ComponentTables& curves, double* out, int width)
{
    const QRgb* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    const AdjustmentLookup& red = curves.tables[0];
    const AdjustmentLookup& green = curves.tables[1];
    const AdjustmentLookup& blue = curves.tables[2];
    for (int x = 0; x < width; ++x) {
        int r, g, b;
        if (pairs) {
            const QRgb left = row[2 * x];
            const QRgb right = row[2 * x + 1];
            r = (qRed(left) + qRed(right)) / 2;
            g = (qGreen(left) + qGreen(right)) / 2;
            b = (qBlue(left) + qBlue(right)) / 2;
        } else {
            r = qRed(row[x]);
            g = qGreen(row[x]);
            b = qBlue(row[x]);
        }
        out[components * x] = red[std::size_t(r)];
        out[components * x + 1] = green[std::size_t(g)];
        out[components * x + 2] = blue[std::size_t(b)];
    }
}

// The nearest of the 16 colours; scanning in index order and replacing only on a strictly
// smaller distance gives ties to the lower index.
template <ColorDistanceMetric Metric>
int nearestColor(const std::array<QRgb, c64ColorCount>& colors, double r, double g, double b)
{
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
    const std::array<QRgb, c64ColorCount>& colors, Colormap& out)
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
            if constexpr (Dither == DitherMethod::Ordered) {
                const double offset = orderedOffset(bayer4[std::size_t((y & 3) * 4 + (x & 3))]);
                r += offset;
                g += offset;
                b += offset;
            }
            r = std::clamp(r, 0.0, 255.0);
            g = std::clamp(g, 0.0, 255.0);
            b = std::clamp(b, 0.0, 255.0);
            const int index = nearestColor<Metric>(colors, r, g, b);
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
    const std::array<QRgb, c64ColorCount>& colors, DitherMethod dither, Colormap& out)
{
    switch (dither) {
    case DitherMethod::ErrorDiffusion:
        matchColors<Metric, DitherMethod::ErrorDiffusion>(source, pairs, curves, colors, out);
        return;
    case DitherMethod::Ordered:
        matchColors<Metric, DitherMethod::Ordered>(source, pairs, curves, colors, out);
        return;
    case DitherMethod::None:
        break;
    }
    matchColors<Metric, DitherMethod::None>(source, pairs, curves, colors, out);
}

} // namespace

QSize imageConversionRequiredSize(CanvasMode mode, const QSize& canvasSize)
{
    return isMulticolor(mode) ? QSize(canvasSize.width() * 2, canvasSize.height()) : canvasSize;
}

Colormap convertImageUnswept(const QImage& displayImage, const QSize& canvasSize,
    const ImageAdjustment& adjustment, const ImageConversionSettings& settings)
{
    if (displayImage.isNull() || canvasSize.isEmpty()
        || displayImage.size() != imageConversionRequiredSize(settings.mode, canvasSize))
        return {};
    const QImage source = displayImage.convertToFormat(QImage::Format_RGB32);
    const Palette palette(settings.paletteVariant);
    std::array<QRgb, c64ColorCount> colors {};
    for (int index = 0; index < c64ColorCount; ++index)
        colors[std::size_t(index)] = palette.colorAt(uchar(index));
    const ComponentTables curves(adjustment);
    const bool pairs = isMulticolor(settings.mode);
    Colormap out(canvasSize.width(), canvasSize.height());
    if (settings.distance == ColorDistanceMetric::Weighted)
        matchColorsDithered<ColorDistanceMetric::Weighted>(
            source, pairs, curves, colors, settings.dither, out);
    else
        matchColorsDithered<ColorDistanceMetric::Euclidean>(
            source, pairs, curves, colors, settings.dither, out);
    return out;
}

Colormap convertImage(const QImage& displayImage, const QSize& canvasSize, const ImageAdjustment& adjustment,
    const ImageConversionSettings& settings)
{
    Colormap out = convertImageUnswept(displayImage, canvasSize, adjustment, settings);
    if (out.isEmpty())
        return out;
    for (const QRect& locked : canvasLockedBorderRects(settings.mode, canvasSize, settings.layout))
        out.fillRect(locked, settings.slots[HistoryColorSlot::Border]);
    ClashContext context;
    context.mode = settings.mode;
    context.paintIndex = 0;
    context.slots = settings.slots;
    context.singlePixel = false;
    context.layout = settings.layout;
    context.hiresClashResolution = HiresClashResolution::ReplaceOverwritten;
    context.paletteVariant = settings.paletteVariant;
    resolveExistingClashes(context, out, out.rect(), SweepClashStrategy::KeepMostUsed);
    return out;
}
