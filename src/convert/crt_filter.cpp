#include "convert/crt_filter.h"

#include <algorithm>
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

// One row of the smeared picture, blurred horizontally over the columns of the area, a
// plane per gun so the loops stay simple enough to vectorise.
struct BlurredRow {
    std::vector<float> planes[3];
};

// Stage 1 (shifted guns, even lines lose a fifth of their light) over the smear's columns
// of line `y`, then the horizontal blur over the area's columns.
void blurRow(const QImage& source, int y, const QRect& smear, const QRect& area, std::vector<float> guns[3],
    BlurredRow& out)
{
    const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    const int lastX = source.width() - 1;
    const bool dark = y % 2 == 0;
    const int width = smear.width();
    for (int i = 0; i < width; ++i) {
        const int x = smear.left() + i;
        int red = qRed(line[std::min(x + 1, lastX)]);
        int green = qGreen(line[x]);
        int blue = qBlue(line[std::max(x - 1, 0)]);
        if (dark) {
            red = red * 4 / 5;
            green = green * 4 / 5;
            blue = blue * 4 / 5;
        }
        guns[0][std::size_t(i)] = float(red);
        guns[1][std::size_t(i)] = float(green);
        guns[2][std::size_t(i)] = float(blue);
    }
    const int offset = area.left() - smear.left();
    for (int c = 0; c < 3; ++c) {
        const float* in = guns[c].data();
        float* blurred = out.planes[c].data();
        for (int i = 0; i < area.width(); ++i) {
            const int x = offset + i;
            const float left = in[std::max(x - 1, 0)];
            const float right = in[std::min(x + 1, width - 1)];
            blurred[i] = blurSide * (left + right) + blurCentre * in[x];
        }
    }
}

// Every term is a non-negative weight times a non-negative channel, so adding a half and
// truncating rounds to nearest.
int toChannel(float value)
{
    return std::min(int(value + 0.5f), 255);
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
    std::vector<float> guns[3];
    for (std::vector<float>& plane : guns)
        plane.resize(std::size_t(smear.width()));
    // Three horizontally blurred rows roll down the area: above, the row itself, below.
    BlurredRow rows[3];
    for (BlurredRow& row : rows) {
        for (std::vector<float>& plane : row.planes)
            plane.resize(std::size_t(area.width()));
    }
    const auto rowSlot = [](int y) { return std::size_t(((y % 3) + 3) % 3); };
    for (int y = smear.top(); y <= std::min(area.top(), smear.bottom()); ++y)
        blurRow(source, y, smear, area, guns, rows[rowSlot(y)]);

    for (int y = area.top(); y <= area.bottom(); ++y) {
        if (y + 1 <= smear.bottom())
            blurRow(source, y + 1, smear, area, guns, rows[rowSlot(y + 1)]);
        const BlurredRow& up = rows[rowSlot(std::max(y - 1, smear.top()))];
        const BlurredRow& mid = rows[rowSlot(y)];
        const BlurredRow& down = rows[rowSlot(std::min(y + 1, smear.bottom()))];
        float vertical[3][1024];
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y)) + area.left();
        for (int start = 0; start < area.width(); start += 1024) {
            const int count = std::min(1024, area.width() - start);
            for (int c = 0; c < 3; ++c) {
                const float* a = up.planes[c].data() + start;
                const float* b = mid.planes[c].data() + start;
                const float* d = down.planes[c].data() + start;
                for (int i = 0; i < count; ++i)
                    vertical[c][i] = blurSide * (a[i] + d[i]) + blurCentre * b[i];
            }
            for (int i = 0; i < count; ++i)
                out[start + i]
                    = qRgb(toChannel(vertical[0][i]), toChannel(vertical[1][i]), toChannel(vertical[2][i]));
        }
    }
}
