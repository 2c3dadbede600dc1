#include "model/color_distance.h"

double colorDistanceSq(ColorDistanceMetric metric, double r, double g, double b, QRgb color)
{
    const double dr = r - qRed(color);
    const double dg = g - qGreen(color);
    const double db = b - qBlue(color);
    if (metric == ColorDistanceMetric::Weighted)
        return (0.299 * dr) * dr + (0.587 * dg) * dg + (0.114 * db) * db;
    return dr * dr + dg * dg + db * db;
}
