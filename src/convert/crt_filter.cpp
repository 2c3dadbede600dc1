#include "convert/crt_filter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A normalised Gaussian of sigma 0.3: just enough to take the edge off a pixel without
// smearing single-pixel detail.
constexpr float blurSide = 0.0038362587991689332f;
constexpr float blurCentre = 0.992327482401662f;

bool isRgb32(const QImage& image)
{
    return !image.isNull() && image.format() == QImage::Format_RGB32;
}

// The shifted guns and the scanline gaps over `area`, as three floats per pixel so the
// blur needs no conversions. Even lines lose a fifth of their light.
std::vector<float> smearedGuns(const QImage& source, const QRect& area)
{
    std::vector<float> out(std::size_t(area.width()) * std::size_t(area.height()) * 3);
    const int lastX = source.width() - 1;
    float* dst = out.data();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        const bool dark = y % 2 == 0;
        for (int x = area.left(); x <= area.right(); ++x) {
            int red = qRed(line[std::min(x + 1, lastX)]);
            int green = qGreen(line[x]);
            int blue = qBlue(line[std::max(x - 1, 0)]);
            if (dark) {
                red = red * 4 / 5;
                green = green * 4 / 5;
                blue = blue * 4 / 5;
            }
            *dst++ = float(red);
            *dst++ = float(green);
            *dst++ = float(blue);
        }
    }
    return out;
}

int toChannel(float value)
{
    return std::clamp(int(std::lround(value)), 0, 255);
}

} // namespace

QImage CrtFilter::apply(const QImage& source)
{
    if (!isRgb32(source))
        return {};
    QImage target(source.size(), QImage::Format_RGB32);
    apply(source, target, source.rect());
    return target;
}

void CrtFilter::apply(const QImage& source, QImage& target, const QRect& rect)
{
    if (!isRgb32(source) || !isRgb32(target) || source.size() != target.size())
        return;
    const QRect area = rect.intersected(source.rect());
    if (area.isEmpty())
        return;
    // Every blurred pixel reads one pixel around it, so the smear covers one more.
    const QRect smear = area.adjusted(-1, -1, 1, 1).intersected(source.rect());
    const std::vector<float> guns = smearedGuns(source, smear);
    const int smearWidth = smear.width();

    // Horizontal pass over every smeared row, only for the columns of `area`.
    const int width = area.width();
    std::vector<float> rows(std::size_t(width) * std::size_t(smear.height()) * 3);
    for (int row = 0; row < smear.height(); ++row) {
        const float* line = guns.data() + std::size_t(row) * std::size_t(smearWidth) * 3;
        float* out = rows.data() + std::size_t(row) * std::size_t(width) * 3;
        for (int i = 0; i < width; ++i) {
            const int x = area.left() + i - smear.left();
            const int left = std::max(x - 1, 0);
            const int right = std::min(x + 1, smearWidth - 1);
            for (int c = 0; c < 3; ++c) {
                out[i * 3 + c] = blurSide * line[left * 3 + c] + blurCentre * line[x * 3 + c]
                    + blurSide * line[right * 3 + c];
            }
        }
    }

    // Vertical pass into the target.
    const std::size_t stride = std::size_t(width) * 3;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int row = y - smear.top();
        const float* up = rows.data() + std::size_t(std::max(row - 1, 0)) * stride;
        const float* mid = rows.data() + std::size_t(row) * stride;
        const float* down = rows.data() + std::size_t(std::min(row + 1, smear.height() - 1)) * stride;
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y)) + area.left();
        for (int i = 0; i < width; ++i) {
            int channel[3];
            for (int c = 0; c < 3; ++c) {
                const std::size_t k = std::size_t(i) * 3 + std::size_t(c);
                channel[c] = toChannel(blurSide * up[k] + blurCentre * mid[k] + blurSide * down[k]);
            }
            out[i] = qRgb(channel[0], channel[1], channel[2]);
        }
    }
}
