#pragma once

#include <QImage>

#include <algorithm>
#include <random>

// A picture to convert: a smooth ramp and random noise in alternate 16-pixel squares, so
// both the flat areas and the busy ones are there.
inline QImage noiseImage(const QSize& size, unsigned seed)
{
    std::mt19937 random(seed);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const bool noisy = (x / 16 + y / 16) % 2 == 0;
            const int ramp = (x * 255) / std::max(1, size.width() - 1);
            image.setPixel(x, y,
                noisy ? qRgb(int(random() & 255), int(random() & 255), int(random() & 255))
                      : qRgb(ramp, 255 - ramp, (y * 255) / size.height()));
        }
    }
    return image;
}
