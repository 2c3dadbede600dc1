// The reference layer of the canvas view.
#include "view/canvas_area.h"

#include "document/project.h"

#include <QPainter>

#include <algorithm>

void CanvasArea::setReferenceImage(const QImage& image)
{
    m_referenceImage = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    update();
}

void CanvasArea::setReferenceLayerVisible(bool on)
{
    if (on == m_referenceVisible)
        return;
    m_referenceVisible = on;
    update();
}

void CanvasArea::setReferenceLayerOpacity(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent == m_referenceOpacity)
        return;
    m_referenceOpacity = percent;
    if (m_referenceVisible && !m_referenceImage.isNull())
        update();
}

void CanvasArea::setSmoothImageScaling(bool on)
{
    if (on == m_smoothImageScaling)
        return;
    m_smoothImageScaling = on;
    if (m_referenceVisible && !m_referenceImage.isNull())
        update();
}

// The image is at the canvas's on-screen size, so a multicolor canvas squeezes it into
// the stored pixels that the view then widens again.
void CanvasArea::paintReferenceLayer(QPainter& painter) const
{
    if (!m_referenceVisible || m_referenceImage.isNull() || m_referenceOpacity <= 0)
        return;
    painter.save();
    painter.setOpacity(m_referenceOpacity / 100.0);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_smoothImageScaling);
    painter.drawImage(QRectF(m_project->rect()), m_referenceImage);
    painter.restore();
}
