#include "widgets/palette_widget.h"

#include "document/project.h"
#include "model/palette.h"
#include "view/tool_cursors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// Black or white, whichever reads better on the swatch colour.
QColor contrastingInk(QRgb swatch)
{
    const int luma = (qRed(swatch) * 299 + qGreen(swatch) * 587 + qBlue(swatch) * 114) / 1000;
    return luma > 140 ? QColor(Qt::black) : QColor(Qt::white);
}

QColor oppositeInk(const QColor& ink)
{
    return ink == QColor(Qt::black) ? QColor(Qt::white) : QColor(Qt::black);
}

// The primary colour wears a frame inside its swatch: a contrasting ring between two
// thin lines of the opposite ink, so it stands out on every palette colour.
void paintPrimaryMarking(QPainter& painter, const QRectF& swatch, QRgb colour)
{
    const QColor ink = contrastingInk(colour);
    const QRectF ring = swatch.adjusted(3.0, 3.0, -3.0, -3.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(oppositeInk(ink), 4.0));
    painter.drawRoundedRect(ring, 2.5, 2.5);
    painter.setPen(QPen(ink, 2.0));
    painter.drawRoundedRect(ring, 2.5, 2.5);
}

// The secondary colour carries a dot in its centre, outlined the same way.
void paintSecondaryMarking(QPainter& painter, const QRectF& swatch, QRgb colour)
{
    const QColor ink = contrastingInk(colour);
    const double radius = std::clamp(std::min(swatch.width(), swatch.height()) * 0.16, 2.5, 4.5);
    painter.setPen(QPen(oppositeInk(ink), 1.5));
    painter.setBrush(ink);
    painter.drawEllipse(swatch.center(), radius, radius);
}

} // namespace

PaletteWidget::PaletteWidget(std::shared_ptr<Project> project, QWidget* parent)
    : QWidget(parent)
    , m_project(std::move(project))
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(tr("Left-click: primary color, right-click: secondary color"));
    setCursor(ToolCursors::picker());
}

void PaletteWidget::setProject(std::shared_ptr<Project> project)
{
    m_project = std::move(project);
    update();
}

void PaletteWidget::setPrimaryIndex(uchar index)
{
    if (index >= c64ColorCount || index == m_primaryIndex)
        return;
    m_primaryIndex = index;
    update();
}

void PaletteWidget::setSecondaryIndex(uchar index)
{
    if (index >= c64ColorCount || index == m_secondaryIndex)
        return;
    m_secondaryIndex = index;
    update();
}

void PaletteWidget::setCornerRadius(double radius)
{
    if (radius == m_cornerRadius)
        return;
    m_cornerRadius = radius;
    update();
}

QSize PaletteWidget::sizeHint() const
{
    return {384, 28};
}

QSize PaletteWidget::minimumSizeHint() const
{
    return {192, 20};
}

QRectF PaletteWidget::swatchRect(int index) const
{
    const double width = double(this->width()) / c64ColorCount;
    return {index * width, 0.0, width, double(height())};
}

int PaletteWidget::indexAt(QPointF position) const
{
    if (width() <= 0)
        return -1;
    const double index = std::floor(position.x() / (double(width()) / c64ColorCount));
    return index >= 0 && index < c64ColorCount ? int(index) : -1;
}

void PaletteWidget::paintEvent(QPaintEvent*)
{
    if (!m_project)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
    painter.setClipPath(outline);

    const Palette& palette = m_project->palette();
    for (int index = 0; index < c64ColorCount; ++index) {
        // Whole-pixel edges, so neighbouring swatches meet without a blended seam.
        const QRectF swatch = swatchRect(index);
        const QRectF snapped(
            QPointF(std::round(swatch.left()), 0.0), QPointF(std::round(swatch.right()), swatch.bottom()));
        painter.fillRect(snapped, QColor::fromRgb(palette.colorAt(uchar(index))));
    }
    paintSecondaryMarking(painter, swatchRect(m_secondaryIndex), palette.colorAt(m_secondaryIndex));
    paintPrimaryMarking(painter, swatchRect(m_primaryIndex), palette.colorAt(m_primaryIndex));
}

void PaletteWidget::mousePressEvent(QMouseEvent* event)
{
    const int index = indexAt(event->position());
    if (index < 0)
        return;
    if (event->button() == Qt::LeftButton) {
        setPrimaryIndex(uchar(index));
        Q_EMIT primaryIndexSelected(m_primaryIndex);
    } else if (event->button() == Qt::RightButton) {
        setSecondaryIndex(uchar(index));
        Q_EMIT secondaryIndexSelected(m_secondaryIndex);
    }
}
