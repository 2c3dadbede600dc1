#include "widgets/conversion_preview_widget.h"

#include "document/project.h"
#include "view/reference_grid.h"

#include <QPainter>

#include <cmath>

ConversionPreviewWidget::ConversionPreviewWidget(const Project* project, QWidget* parent)
    : QWidget(parent)
    , m_project(project)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ConversionPreviewWidget::setColormap(const Colormap& colormap)
{
    m_colormap = colormap;
    update();
}

QRect ConversionPreviewWidget::frameRect() const
{
    const Project& project = *m_project;
    if (canvasShowsBorderFrame(project.mode(), project.size(), project.layout()))
        return canvasBorderFrameRect(project.mode(), project.size(), project.layout());
    return project.rect();
}

QSize ConversionPreviewWidget::sizeHint() const
{
    const QRect frame = frameRect();
    const double aspect = canvasModePixelAspect(m_project->mode());
    return {int(std::round(frame.width() * aspect)), frame.height()};
}

void ConversionPreviewWidget::paintEvent(QPaintEvent*)
{
    const Project& project = *m_project;
    const QRect frame = frameRect();
    const double aspect = canvasModePixelAspect(project.mode());
    const double displayWidth = frame.width() * aspect;
    const double displayHeight = frame.height();
    if (displayWidth <= 0 || displayHeight <= 0)
        return;
    const double scale = std::min(height() / displayHeight, width() / displayWidth);

    QPainter painter(this);
    painter.scale(scale * aspect, scale);
    painter.translate(-frame.left(), -frame.top());
    // A multicolor side-border canvas shows its sprites over the background register, which
    // the display routine also puts into the border.
    const bool backgroundFrame
        = isMulticolor(project.mode()) && project.layout().layout == CanvasLayout::SideBorders;
    const HistoryColorSlot frameSlot
        = backgroundFrame ? HistoryColorSlot::Background : HistoryColorSlot::Border;
    painter.fillRect(frame, QColor(project.palette().colorAt(project.slotIndex(frameSlot))));
    if (!m_colormap.isEmpty())
        painter.drawImage(QPointF(0, 0), m_colormap.toImage(project.palette()));

    QPen grid(QColor(96, 96, 96));
    grid.setCosmetic(true);
    painter.setPen(grid);
    painter.drawLines(
        referenceGridLines(project.mode(), project.size(), project.layout(), QRectF(project.rect())));
    if (project.screensAcross() > 1) {
        QPen seam(QColor(160, 160, 160), 2);
        seam.setCosmetic(true);
        painter.setPen(seam);
        painter.drawLines(referenceGridSeamLines(project.size(), project.screensAcross()));
    }
}
