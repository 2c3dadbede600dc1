#pragma once

// A colour in OKLab: L is lightness from 0 (black) to 1 (white); a runs green to red and
// b blue to yellow. Equal steps in it look about equally large, which plain RGB steps do
// not: the eye tells dark shades and blues apart far less well than RGB distance implies.
struct OkLab {
    double L = 0.0;
    double a = 0.0;
    double b = 0.0;
};

// sRGB components on the 0-255 scale, as the conversion holds them: fractional, and
// after dithering possibly a little outside the range, which extends the curve through
// zero with its sign kept rather than failing.
OkLab okLabFromRgb(double r, double g, double b);

inline double okLabDistanceSq(const OkLab& p, const OkLab& q)
{
    const double dL = p.L - q.L;
    const double da = p.a - q.a;
    const double db = p.b - q.b;
    return dL * dL + da * da + db * db;
}
