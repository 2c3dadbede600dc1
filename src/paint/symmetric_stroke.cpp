#include "paint/symmetric_stroke.h"

#include "model/colormap.h"

QRect applySymmetricStrokeSegment(Colormap& colormap, FootprintMask& mask, const Brush& brush, QPoint from,
    QPoint to, const StrokeGeometry& geometry, const QList<SymmetryTransform>& copies,
    const CoveredPaint& paint, const PaintRules& rules, const BeforeFillPaint& beforePaint)
{
    const bool antialiased = paint.antialias && brush.width() > 1;
    const bool twice
        = antialiased || (!paint.texture.isSolid() && paint.textureMode == TextureMode::TwoColor);
    const QPointF anchors = brush.anchors(geometry.pixelWidth, geometry.displayPixelAspect);
    PaintScratch scratch;
    QRect changed;
    for (const SymmetryTransform& copy : copies) {
        const QPoint a = copy.mapAnchored(from, anchors);
        const QPoint b = copy.mapAnchored(to, anchors);
        if (beforePaint)
            beforePaint(brush.segmentBoundingRect(a, b, colormap.size()), twice);
        changed |= applyStrokeSegment(
            colormap, mask, brush, a, b, geometry, copy.extraRotation, copy.mirrored, paint, rules, scratch);
    }
    return changed;
}
