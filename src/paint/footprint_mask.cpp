#include "paint/footprint_mask.h"
#include "model/rect_clip.h"

#include <algorithm>
#include <cstring>

FootprintMask::FootprintMask(QSize canvas, int pixelWidth)
    : m_pixelWidth(std::max(1, pixelWidth))
{
    if (canvas.width() <= 0 || canvas.height() <= 0)
        return;
    m_image = QImage(canvas.width() * m_pixelWidth, canvas.height(), QImage::Format_Grayscale8);
    if (m_image.isNull())
        return;
    m_image.fill(0);
    m_canvas = canvas;
}

bool FootprintMask::fits(QSize canvas, int pixelWidth) const
{
    return !m_image.isNull() && canvas == m_canvas && pixelWidth == m_pixelWidth
        && m_image.format() == QImage::Format_Grayscale8 && m_image.width() == canvas.width() * pixelWidth
        && m_image.height() == canvas.height();
}

QImage& FootprintMask::writableImage()
{
    m_touched = QRect(QPoint(0, 0), m_canvas);
    return m_image;
}

void FootprintMask::markTouched(const QRect& canvasRect)
{
    const QRect clipped = clipRect(canvasRect, QRect(QPoint(0, 0), m_canvas));
    if (!clipped.isEmpty())
        m_touched = m_touched.isEmpty() ? clipped : m_touched.united(clipped);
}

void FootprintMask::clear()
{
    if (m_touched.isEmpty())
        return;
    // A writer handed the whole image may have changed its shape; start afresh then.
    if (!fits(m_canvas, m_pixelWidth)) {
        *this = FootprintMask(m_canvas, m_pixelWidth);
        return;
    }
    const std::size_t offset = std::size_t(m_touched.left()) * std::size_t(m_pixelWidth);
    const std::size_t bytes = std::size_t(m_touched.width()) * std::size_t(m_pixelWidth);
    // Detached once here, not once per row by scanLine().
    uchar* row = m_image.scanLine(m_touched.top()) + offset;
    const qsizetype stride = m_image.bytesPerLine();
    for (int y = m_touched.top(); y <= m_touched.bottom(); ++y, row += stride)
        std::memset(row, 0, bytes);
    m_touched = QRect();
}
