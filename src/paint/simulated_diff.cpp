#include "paint/simulated_diff.h"

#include "model/colormap.h"
#include "model/palette.h"

QImage simulatedDiffImage(
    const Colormap& document, const Colormap& simulated, const QRect& rect, const Palette& palette)
{
    const QRect clip = rect & document.rect() & simulated.rect();
    if (clip.isEmpty() || simulated.size() != document.size())
        return {};
    QImage image(clip.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QRgb colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = palette.colorAt(uchar(i)) | 0xff000000u;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const uchar* was = document.scanLine(y);
        const uchar* now = simulated.scanLine(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y - clip.top()));
        for (int x = clip.left(); x <= clip.right(); ++x) {
            if (was[x] != now[x])
                out[x - clip.left()] = colours[now[x]];
        }
    }
    return image;
}
