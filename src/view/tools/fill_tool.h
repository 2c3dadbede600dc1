#pragma once

#include "paint/flood_fill.h"
#include "view/tools/canvas_tool.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>

// Floods the clicked area with the pen colour (left button) or the secondary colour
// (right button). With Ctrl on a multicolor canvas it paints only a contour band along
// the area's edge instead. The whole fill happens at the press; the hover preview is
// the same fill run on a copy of the canvas.
class FillTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;

    void activate() override;
    void deactivate() override;
    QCursor idleCursor() const override;
    bool acceptsGesture(const Gesture& gesture) const override;
    void onGestureBegin(const Gesture& gesture) override;
    void paintArtworkPreview(QPainter& painter) override;

    QRect performFill(QPoint pixel, uchar colour, uchar altColour, std::optional<ContourPlacement> contour);
    bool previewVisible() const;
    // The placement a click would use with Ctrl held or not; none means a plain flood.
    std::optional<ContourPlacement> contourPlacementFor(bool ctrl) const;
    std::optional<ContourPlacement> previewContourPlacement() const;

    // Simulates the click at the hover pixel; returns the view rectangle the preview may
    // cover, or a null rectangle.
    QRect updateHoverPreview();
    void clearHoverPreview() { m_previewImage = QImage(); }

private:
    QImage m_previewImage;
    QPoint m_previewOrigin;
};
