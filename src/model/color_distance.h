#pragma once

#include <QRgb>

enum class ColorDistanceMetric : qint32 {
    Euclidean = 0,
    Weighted = 1,
};

// The one distance used wherever the nearest colour is wanted. The given colour comes
// as doubles because dithering and curves produce fractional and out-of-range values.
// Weighted uses the Rec. 601 luma weights, which match how the eye ranks C64 shades.
double colorDistanceSq(ColorDistanceMetric metric, double r, double g, double b, QRgb color);
