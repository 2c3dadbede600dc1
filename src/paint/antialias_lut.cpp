#include "paint/antialias_lut.h"

#include <array>
#include <limits>

namespace {

struct ChannelColor {
    double r = 0;
    double g = 0;
    double b = 0;
};

uchar nearestPaletteIndex(
    const std::array<QRgb, c64ColorCount>& colors, ColorDistanceMetric metric, const ChannelColor& mix)
{
    uchar best = 0;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int i = 0; i < c64ColorCount; ++i) {
        const double distance = colorDistanceSq(metric, mix.r, mix.g, mix.b, colors[std::size_t(i)]);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = uchar(i);
        }
    }
    return best;
}

void fillBlendedRow(uchar* row, const std::array<QRgb, c64ColorCount>& colors, ColorDistanceMetric metric,
    uchar paint, uchar underlying)
{
    const QRgb p = colors[paint];
    const QRgb u = colors[underlying];
    row[0] = underlying;
    row[255] = paint;
    if (paint == underlying) {
        // Painting a colour over itself must leave the index alone whatever the coverage.
        std::fill(row + 1, row + 255, paint);
        return;
    }
    for (int k = 1; k < 255; ++k) {
        const double t = k / 255.0;
        const ChannelColor mix {qRed(u) + (qRed(p) - qRed(u)) * t, qGreen(u) + (qGreen(p) - qGreen(u)) * t,
            qBlue(u) + (qBlue(p) - qBlue(u)) * t};
        row[k] = nearestPaletteIndex(colors, metric, mix);
    }
}

void fillHardRow(uchar* row, uchar paint, uchar underlying)
{
    std::fill(row, row + 128, underlying);
    std::fill(row + 128, row + 256, paint);
}

} // namespace

AntialiasLut::AntialiasLut()
    : m_table(entryCount, 0)
{
}

bool AntialiasLut::ensure(
    PaletteVariant variant, ColorDistanceMetric metric, const QList<AntialiasBlendOverride>& overrides)
{
    if (m_valid && m_variant == variant && m_metric == metric && m_overrides == overrides)
        return false;

    const Palette palette(variant);
    std::array<QRgb, c64ColorCount> colors {};
    for (int i = 0; i < c64ColorCount; ++i)
        colors[std::size_t(i)] = palette.colorAt(uchar(i));

    for (int paint = 0; paint < c64ColorCount; ++paint) {
        for (int underlying = 0; underlying < c64ColorCount; ++underlying) {
            uchar* row
                = m_table.data() + (std::size_t(paint) * c64ColorCount + std::size_t(underlying)) * 256;
            const AntialiasBlendOverride pair {uchar(paint), uchar(underlying)};
            if (overrides.contains(pair))
                fillHardRow(row, uchar(paint), uchar(underlying));
            else
                fillBlendedRow(row, colors, metric, uchar(paint), uchar(underlying));
        }
    }

    m_variant = variant;
    m_metric = metric;
    m_overrides = overrides;
    m_valid = true;
    return true;
}
