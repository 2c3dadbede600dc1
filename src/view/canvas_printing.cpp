#include "view/canvas_printing.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

QRect printedImageRect(const QRect& pageArea, const QSize& imageSize)
{
    if (imageSize.isEmpty() || pageArea.isEmpty())
        return {};
    const QSize fitted = imageSize.scaled(pageArea.size(), Qt::KeepAspectRatio);
    return QRect(pageArea.topLeft(), fitted);
}

bool printImage(QPrinter& printer, const QImage& image)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the page area's corner, in device pixels.
    const QRect area(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    // Exact pixels: a printed C64 picture is blocks, not a blur.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(printedImageRect(area, image.size()), image);
    return painter.end();
}
