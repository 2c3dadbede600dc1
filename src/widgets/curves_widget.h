#pragma once

#include "convert/display_image.h"
#include "convert/image_adjustment.h"

#include <QWidget>

// The tone-curve editor of the conversion dialog: the curves over the source image's
// red, green and blue histograms. A left click adds a point to the active curve, a drag
// moves it, and dragging a point off the widget removes it.
class CurvesWidget : public QWidget {
    Q_OBJECT

public:
    explicit CurvesWidget(QWidget* parent = nullptr);

    const ImageAdjustment& adjustment() const { return m_adjustment; }
    AdjustmentChannel activeChannel() const { return m_activeChannel; }
    void setActiveChannel(AdjustmentChannel channel);
    void resetCurves();
    void setHistograms(const ChannelHistograms& histograms);
    void setLogarithmicScale(bool logarithmic);

    // Curve values and widget positions; values outside 0..255 are left for the model to
    // clamp.
    QPointF valueToWidget(const QPoint& value) const;
    QPoint widgetToValue(const QPointF& position) const;
    // The active curve's first knot within 5.5 pixels each way of a position, or -1.
    int knotAt(const QPointF& position) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void curvesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double side() const;
    // How high a count stands, from 0 to 1, on the linear or logarithmic scale.
    double scaled(double count, double largest) const;
    void paintHistograms(QPainter& painter, double largest) const;
    void paintCurves(QPainter& painter) const;

    ImageAdjustment m_adjustment;
    AdjustmentChannel m_activeChannel = AdjustmentChannel::Rgb;
    int m_draggedKnot = -1;
    ChannelHistograms m_histograms {};
    bool m_logarithmic = false;
};
