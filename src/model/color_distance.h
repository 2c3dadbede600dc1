#pragma once

#include "model/oklab.h"

#include <QRgb>

enum class ColorDistanceMetric : qint32 {
    Euclidean = 0,
    Weighted = 1,
    // Squared distance in OKLab, (dL)^2 + (da)^2 + (db)^2: how different two colours look.
    Perceptual = 2,
};

// The one distance used wherever the nearest colour is wanted. The given colour comes
// as doubles because dithering and curves produce fractional and out-of-range values.
// Weighted uses the Rec. 601 luma weights, which match how the eye ranks C64 shades.
// Inline because the image conversion calls it sixteen times per pixel; with a constant
// metric the branch folds away. Loops over many pixels should convert each pixel to OKLab
// once instead of asking for the perceptual distance colour by colour.
inline double colorDistanceSq(ColorDistanceMetric metric, double r, double g, double b, QRgb color)
{
    if (metric == ColorDistanceMetric::Perceptual)
        return okLabDistanceSq(okLabFromRgb(r, g, b), okLabFromRgb(qRed(color), qGreen(color), qBlue(color)));
    const double dr = r - qRed(color);
    const double dg = g - qGreen(color);
    const double db = b - qBlue(color);
    if (metric == ColorDistanceMetric::Weighted)
        return (0.299 * dr) * dr + (0.587 * dg) * dg + (0.114 * db) * db;
    return dr * dr + dg * dg + db * db;
}
