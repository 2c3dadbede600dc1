#include "widgets/curves_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double margin = 6.0;
constexpr double hitRadius = 5.5;
// Knots closer than this would make the spline swing wildly between them.
constexpr int knotGap = 7;

// Light enough to stand out on the dark plot and on every histogram, whose overlaps add
// up to greys and pale tints; the dark halo beneath each curve and knot keeps them apart
// from a histogram of their own colour.
const std::array<QColor, adjustmentChannelCount> channelColors {
    QColor(255, 255, 255), QColor(255, 140, 140), QColor(110, 255, 110), QColor(140, 170, 255)};
const QColor haloColor(0, 0, 0, 220);
constexpr double activeCurveWidth = 2.0;
constexpr double inactiveCurveWidth = 1.25;
constexpr double haloWidth = 2.5;
constexpr int inactiveAlpha = 150;
constexpr double knotSide = 9.0;
const std::array<QColor, 3> histogramColors {QColor(150, 30, 30), QColor(30, 130, 30), QColor(30, 30, 150)};

} // namespace

CurvesWidget::CurvesWidget(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setToolTip(
        tr("Adjustment curve for the selected channel.\nLeft-click adds a point, drag moves it; drag a "
           "point off the widget and release to remove it.\nThe end points move vertically only."));
}

void CurvesWidget::setActiveChannel(AdjustmentChannel channel)
{
    m_activeChannel = channel;
    m_draggedKnot = -1;
    update();
}

void CurvesWidget::resetCurves()
{
    m_adjustment.reset();
    m_draggedKnot = -1;
    update();
    Q_EMIT curvesChanged();
}

void CurvesWidget::setHistograms(const ChannelHistograms& histograms)
{
    m_histograms = histograms;
    update();
}

void CurvesWidget::setLogarithmicScale(bool logarithmic)
{
    if (m_logarithmic == logarithmic)
        return;
    m_logarithmic = logarithmic;
    update();
}

double CurvesWidget::side() const
{
    return std::min(width(), height()) - 2 * margin;
}

QPointF CurvesWidget::valueToWidget(const QPoint& value) const
{
    const double step = (side() - 1) / 255.0;
    return {value.x() * step + margin, (height() - margin) - value.y() * step};
}

QPoint CurvesWidget::widgetToValue(const QPointF& position) const
{
    const double perPixel = 255.0 / (side() - 1);
    // std::round rounds half away from zero.
    return {int(std::round((position.x() - margin) * perPixel)),
        int(std::round(((height() - margin) - position.y()) * perPixel))};
}

int CurvesWidget::knotAt(const QPointF& position) const
{
    for (int i = 0; i < m_adjustment.knotCount(m_activeChannel); ++i) {
        const QPointF knot = valueToWidget(m_adjustment.knotAt(m_activeChannel, i));
        if (std::abs(knot.x() - position.x()) <= hitRadius && std::abs(knot.y() - position.y()) <= hitRadius)
            return i;
    }
    return -1;
}

QSize CurvesWidget::sizeHint() const
{
    return {268, 268};
}

QSize CurvesWidget::minimumSizeHint() const
{
    return {268, 268};
}

double CurvesWidget::scaled(double count, double largest) const
{
    return m_logarithmic ? std::log(1.0 + count) / std::log(1.0 + largest) : count / largest;
}

void CurvesWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const double s = side();
    const QRectF plot(margin, height() - margin - s, s, s);
    painter.fillRect(plot, QColor(40, 40, 40));

    int largest = 0;
    for (const auto& histogram : m_histograms)
        largest = std::max(largest, *std::max_element(histogram.begin(), histogram.end()));

    painter.setPen(QPen(QColor(70, 70, 70), 1));
    for (int i = 1; i <= 3; ++i) {
        const double x = plot.left() + s * i / 4.0;
        const double fraction = largest >= 1 ? scaled(i / 4.0 * largest, largest) : i / 4.0;
        const double y = plot.bottom() - s * fraction;
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    if (largest >= 1)
        paintHistograms(painter, largest);

    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.adjusted(0.5, 0.5, -0.5, -0.5));
    paintCurves(painter);
}

void CurvesWidget::paintHistograms(QPainter& painter, double largest) const
{
    const double s = side();
    const double left = margin;
    const double bottom = height() - margin;
    painter.save();
    // Added light: where all three histograms overlap the sum shows grey.
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.setPen(Qt::NoPen);
    for (std::size_t channel = 0; channel < 3; ++channel) {
        QPainterPath area(QPointF(left, bottom));
        for (int k = 0; k < 256; ++k) {
            area.lineTo(left + k * (s - 1) / 255.0,
                bottom - s * scaled(m_histograms[channel][std::size_t(k)], largest));
        }
        area.lineTo(left + s - 1, bottom);
        area.closeSubpath();
        painter.setBrush(histogramColors[channel]);
        painter.drawPath(area);
    }
    painter.restore();
}

void CurvesWidget::paintCurves(QPainter& painter) const
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    const auto drawCurve = [&](AdjustmentChannel channel, bool active) {
        QColor color = channelColors[std::size_t(channel)];
        QColor halo = haloColor;
        if (!active) {
            color.setAlpha(inactiveAlpha);
            halo.setAlpha(inactiveAlpha);
        }
        const double width = active ? activeCurveWidth : inactiveCurveWidth;
        QPolygonF line;
        const AdjustmentLookup& lookup = m_adjustment.lookup(channel);
        for (int k = 0; k < 256; ++k)
            line << valueToWidget(QPoint(k, lookup[std::size_t(k)]));
        painter.setPen(QPen(halo, width + 2 * haloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(line);
        painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(line);
    };
    for (int channel = 0; channel < adjustmentChannelCount; ++channel) {
        if (AdjustmentChannel(channel) != m_activeChannel)
            drawCurve(AdjustmentChannel(channel), false);
    }
    drawCurve(m_activeChannel, true);

    // A knot is a square ringed in the curve's colour on the dark halo, filled in that
    // colour while it is dragged.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor color = channelColors[std::size_t(m_activeChannel)];
    for (int i = 0; i < m_adjustment.knotCount(m_activeChannel); ++i) {
        const QPointF centre = valueToWidget(m_adjustment.knotAt(m_activeChannel, i));
        const QRectF square(centre - QPointF(knotSide / 2, knotSide / 2), QSizeF(knotSide, knotSide));
        painter.fillRect(square.adjusted(-2, -2, 2, 2), haloColor);
        painter.fillRect(square, color);
        if (i != m_draggedKnot)
            painter.fillRect(square.adjusted(2, 2, -2, -2), haloColor);
    }
}

void CurvesWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int hit = knotAt(event->position());
    if (hit >= 0) {
        m_draggedKnot = hit;
        update();
        return;
    }
    const QPoint value = widgetToValue(event->position());
    const int added = m_adjustment.addKnot(m_activeChannel, value.x(), value.y(), knotGap);
    if (added < 0)
        return;
    m_draggedKnot = added;
    update();
    Q_EMIT curvesChanged();
}

void CurvesWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_draggedKnot < 0)
        return;
    const QPoint value = widgetToValue(event->position());
    if (m_adjustment.moveKnot(m_activeChannel, m_draggedKnot, value.x(), value.y(), knotGap)) {
        update();
        Q_EMIT curvesChanged();
    }
}

void CurvesWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_draggedKnot < 0)
        return;
    if (!rect().contains(event->position().toPoint())
        && m_adjustment.removeKnot(m_activeChannel, m_draggedKnot))
        Q_EMIT curvesChanged();
    m_draggedKnot = -1;
    update();
}
