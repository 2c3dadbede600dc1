#include "convert/match_space.h"

#include <cmath>

namespace {

// The square roots of the Rec. 601 luma weights: squared, they give the weighted distance.
const float weightRed = float(std::sqrt(0.299));
const float weightGreen = float(std::sqrt(0.587));
const float weightBlue = float(std::sqrt(0.114));

} // namespace

MatchSpace::MatchSpace(ColorDistanceMetric metric, PaletteVariant variant)
    : m_metric(metric)
{
    const Palette palette(variant);
    for (int index = 0; index < c64ColorCount; ++index) {
        const QRgb rgb = palette.colorAt(uchar(index));
        m_rgb[std::size_t(index)] = rgb;
        m_colors[std::size_t(index)] = point(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
}

MatchSpace::Point MatchSpace::point(double r, double g, double b) const
{
    switch (m_metric) {
    case ColorDistanceMetric::Perceptual: {
        const OkLab lab = okLabFromRgb(r, g, b);
        return {float(lab.L), float(lab.a), float(lab.b)};
    }
    case ColorDistanceMetric::Weighted:
        return {float(r) * weightRed, float(g) * weightGreen, float(b) * weightBlue};
    case ColorDistanceMetric::Euclidean:
        break;
    }
    return {float(r), float(g), float(b)};
}
