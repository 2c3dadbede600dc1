#pragma once

#include "model/color_distance.h"
#include "model/palette.h"

#include <array>

// A space in which the chosen colour distance is the plain squared distance, so a pixel is
// carried into it once and then compared with every palette colour cheaply: RGB for
// Euclidean, RGB scaled by the square roots of the luma weights for Weighted, OKLab for
// Perceptual.
class MatchSpace {
public:
    using Point = std::array<float, 3>;

    MatchSpace(ColorDistanceMetric metric, PaletteVariant variant);

    Point point(double r, double g, double b) const;
    const Point& color(int index) const { return m_colors[std::size_t(index)]; }
    // The palette colour in RGB, for the error a dither passes on.
    QRgb rgb(int index) const { return m_rgb[std::size_t(index)]; }

    static float distanceSq(const Point& p, const Point& q)
    {
        const float d0 = p[0] - q[0];
        const float d1 = p[1] - q[1];
        const float d2 = p[2] - q[2];
        return d0 * d0 + d1 * d1 + d2 * d2;
    }

private:
    ColorDistanceMetric m_metric;
    std::array<Point, c64ColorCount> m_colors {};
    std::array<QRgb, c64ColorCount> m_rgb {};
};
