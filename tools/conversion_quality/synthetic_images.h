#pragma once

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QSize>

#include <algorithm>
#include <cmath>
#include <random>

// Pictures drawn by code, so the conversion can be measured on the same input anywhere:
// each stresses another side of matching 16 colours.

// A smooth diagonal blend of three hues over a grey ramp: where banding shows.
inline QImage smoothGradientImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    const double w = std::max(1, size.width() - 1);
    const double h = std::max(1, size.height() - 1);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const double u = x / w;
            const double v = y / h;
            const double grey = 255.0 * (1.0 - v);
            const double r = grey * (1.0 - u) + 230.0 * u * v;
            const double g = grey * 0.5 + 120.0 * u;
            const double b = 255.0 * u * (1.0 - v) + 60.0 * v;
            image.setPixel(
                x, y, qRgb(int(std::min(r, 255.0)), int(std::min(g, 255.0)), int(std::min(b, 255.0))));
        }
    }
    return image;
}

// Every hue around the circle, white in the middle and dark at the rim: where the palette
// lacks colours.
inline QImage colorWheelImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    const double cx = size.width() / 2.0;
    const double cy = size.height() / 2.0;
    const double radius = std::hypot(cx, cy);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double hue = (std::atan2(dy, dx) + M_PI) / (2.0 * M_PI);
            const double distance = std::hypot(dx, dy) / radius;
            // Saturation grows from the white centre; the outer rim darkens.
            const double saturation = std::min(1.0, distance * 1.6);
            const double value = distance < 0.7 ? 1.0 : 1.0 - (distance - 0.7) / 0.3 * 0.8;
            image.setPixel(x, y, QColor::fromHsvF(float(hue), float(saturation), float(value)).rgb());
        }
    }
    return image;
}

// A landscape with sky, sun, hills, a striped house and fine noise: edges and detail.
inline QImage detailedSceneImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    const double w = size.width();
    const double h = size.height();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h * 0.6);
    sky.setColorAt(0, QColor(40, 70, 160));
    sky.setColorAt(1, QColor(250, 190, 140));
    painter.fillRect(QRectF(0, 0, w, h), sky);
    QRadialGradient sun(w * 0.75, h * 0.25, h * 0.18);
    sun.setColorAt(0, QColor(255, 250, 210));
    sun.setColorAt(0.6, QColor(255, 210, 90));
    sun.setColorAt(1, QColor(255, 210, 90, 0));
    painter.fillRect(QRectF(0, 0, w, h), sun);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 110, 60));
    painter.drawEllipse(QRectF(-w * 0.3, h * 0.5, w * 1.0, h * 0.9));
    painter.setBrush(QColor(40, 80, 45));
    painter.drawEllipse(QRectF(w * 0.35, h * 0.55, w * 0.9, h * 0.8));
    // A house with striped siding and a checked roof: the finest detail in the picture.
    const QRectF house(w * 0.18, h * 0.52, w * 0.22, h * 0.24);
    for (int stripe = 0; stripe * 2 < house.height(); ++stripe) {
        painter.fillRect(QRectF(house.left(), house.top() + stripe * 2, house.width(), 1),
            stripe % 2 == 0 ? QColor(220, 210, 190) : QColor(150, 120, 100));
    }
    for (int cy = 0; cy < 8; ++cy) {
        for (int cx = 0; cx < int(house.width() / 3); ++cx) {
            painter.fillRect(QRectF(house.left() + cx * 3, house.top() - 24 + cy * 3, 3, 3),
                (cx + cy) % 2 == 0 ? QColor(170, 40, 30) : QColor(110, 20, 20));
        }
    }
    painter.fillRect(QRectF(house.left() + house.width() * 0.4, house.bottom() - h * 0.1, w * 0.04, h * 0.1),
        QColor(60, 40, 30));
    // A tree: a trunk and overlapping leaf discs in several greens.
    painter.fillRect(QRectF(w * 0.62, h * 0.45, w * 0.03, h * 0.3), QColor(90, 60, 30));
    std::mt19937 random(64);
    for (int leaf = 0; leaf < 60; ++leaf) {
        const double x = w * 0.635 + (int(random() % 100) - 50) * w * 0.0015;
        const double y = h * 0.4 + (int(random() % 100) - 50) * h * 0.002;
        painter.setBrush(QColor(30 + int(random() % 60), 100 + int(random() % 100), 30 + int(random() % 40)));
        painter.drawEllipse(QPointF(x, y), w * 0.025, h * 0.04);
    }
    painter.end();
    // Fine grain over the grass, as a photograph has it.
    for (int y = int(h * 0.75); y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int grain = int(random() % 41) - 20;
            image.setPixel(x, y,
                qRgb(std::clamp(qRed(pixel) + grain, 0, 255), std::clamp(qGreen(pixel) + grain, 0, 255),
                    std::clamp(qBlue(pixel) + grain, 0, 255)));
        }
    }
    return image;
}
