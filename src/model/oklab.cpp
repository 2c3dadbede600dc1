#include "model/oklab.h"

#include <cmath>

namespace {

// The sRGB transfer curve undone: light as it adds up, before the eye's response.
double linearFromSrgb(double component)
{
    const double c = std::abs(component) / 255.0;
    const double linear = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    return component < 0.0 ? -linear : linear;
}

} // namespace

OkLab okLabFromRgb(double r, double g, double b)
{
    const double lr = linearFromSrgb(r);
    const double lg = linearFromSrgb(g);
    const double lb = linearFromSrgb(b);
    // Linear sRGB to the cone responses, then their cube roots (the eye's compression),
    // then to lightness and the two opponent axes: Ottosson's published matrices.
    const double l = std::cbrt(0.4122214708 * lr + 0.5363325363 * lg + 0.0514459929 * lb);
    const double m = std::cbrt(0.2119034982 * lr + 0.6806995451 * lg + 0.1073969566 * lb);
    const double s = std::cbrt(0.0883024619 * lr + 0.2817188376 * lg + 0.6299787005 * lb);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
        1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
        0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}
