#pragma once

#include "paint/brush.h"
#include "paint/pixel_perfect_stroke.h"
#include "view/tools/canvas_tool.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

// The pen: a freehand stroke with either mouse button, painted segment by segment as the
// pointer moves and recorded as one history entry at the release. Alt turns a press into
// colour sampling; Shift joins the press to the end of the last stroke with a straight line.
class DrawTool : public CanvasTool {
public:
    explicit DrawTool(CanvasToolHost& host);

    void activate() override;
    bool mousePress(QMouseEvent* event) override;
    bool mouseMove(QMouseEvent* event) override;
    bool mouseRelease(QMouseEvent* event) override;
    void paintArtworkPreview(QPainter& painter) override;

    // The colour a stroke with the given button paints, and the second colour a two-colour
    // texture uses with it.
    virtual uchar strokeColorFor(bool secondary) const;
    virtual uchar strokeAltColorFor(bool secondary) const;

    bool isStroking() const { return m_stroking; }
    bool isSampling() const { return m_sampling; }
    void reset();
    // A stroke whose release was lost ends where it was last painted and is recorded as
    // one entry, like any other; sampling just ends.
    void abandonGesture() override;

    // Simulates what a press at the hover pixel (or the pending line or chain pixel) would
    // leave and keeps it for paintArtworkPreview. Returns the view rectangle the preview
    // may cover, or a null rectangle when there is nothing to preview.
    QRect updateHoverPreview();
    void clearHoverPreview();

private:
    struct PreviewSegment {
        QPoint from;
        QPoint to;
        uchar colour = 0;
        uchar altColour = 0;
    };

    Brush effectiveBrush() const;
    std::optional<PreviewSegment> previewSegment() const;
    void finishStroke(QPoint pixel);
    void drawLineTo(QPoint to);
    void commitChainPixels(const QList<QPoint>& pixels);
    void paintSegment(QPoint from, QPoint to);

    bool m_stroking = false;
    bool m_sampling = false;
    Qt::MouseButton m_sampleButton = Qt::NoButton;
    bool m_connecting = false;
    bool m_tabletStroke = false;
    uchar m_strokeColor = 0;
    uchar m_altColor = 0;
    Qt::MouseButton m_strokeButton = Qt::NoButton;
    QPoint m_lastPoint;
    bool m_pixelPerfectActive = false;
    PixelPerfectStroke m_chain;

    QImage m_previewImage;
    QPoint m_previewOrigin;
};
