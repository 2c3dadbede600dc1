#include "convert/display_image.h"

#include <QPainter>

QImage composeImageToDisplaySize(
    const QImage& image, const QSize& size, bool keepAspect, const QColor& background, bool smooth)
{
    QImage composed(size, QImage::Format_ARGB32_Premultiplied);
    composed.fill(background);
    if (image.isNull() || composed.isNull())
        return composed;
    QRectF target(QPointF(0, 0), QSizeF(size));
    if (keepAspect) {
        const QSizeF scaled = QSizeF(image.size()).scaled(QSizeF(size), Qt::KeepAspectRatio);
        target = QRectF(
            QPointF((size.width() - scaled.width()) * 0.5, (size.height() - scaled.height()) * 0.5), scaled);
    }
    QPainter painter(&composed);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(target, image);
    return composed;
}

ChannelHistograms imageChannelHistograms(const QImage& image)
{
    ChannelHistograms histograms {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            ++histograms[0][std::size_t(qRed(row[x]))];
            ++histograms[1][std::size_t(qGreen(row[x]))];
            ++histograms[2][std::size_t(qBlue(row[x]))];
        }
    }
    return histograms;
}
