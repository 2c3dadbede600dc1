#include "paint/simulated_diff.h"

#include "model/colormap.h"
#include "model/palette.h"

#include <QRegion>

QImage simulatedDiffImage(
    const Colormap& document, const Colormap& simulated, const QRect& rect, const Palette& palette)
{
    return simulatedDiffImage(document, simulated, rect, palette, QRegion(rect));
}

QImage simulatedDiffImage(const Colormap& document, const Colormap& simulated, const QRect& rect,
    const Palette& palette, const QRegion& compared)
{
    const QRect clip = rect & document.rect() & simulated.rect();
    if (clip.isEmpty() || simulated.size() != document.size())
        return {};
    QImage image(clip.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QRgb colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = palette.colorAt(uchar(i)) | 0xff000000u;
    for (const QRect& part : compared.intersected(clip)) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            const uchar* was = document.scanLine(y);
            const uchar* now = simulated.scanLine(y);
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y - clip.top()));
            for (int x = part.left(); x <= part.right(); ++x) {
                if (was[x] != now[x])
                    out[x - clip.left()] = colours[now[x]];
            }
        }
    }
    return image;
}
