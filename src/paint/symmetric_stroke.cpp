#include "paint/symmetric_stroke.h"

#include "model/colormap.h"

#include <QVarLengthArray>

namespace {

qint64 areaOf(const QRect& rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

} // namespace

QRect applySymmetricStrokeSegment(Colormap& colormap, FootprintMask& mask, const Brush& brush, QPoint from,
    QPoint to, const StrokeGeometry& geometry, const QList<SymmetryTransform>& copies,
    const CoveredPaint& paint, const PaintRules& rules, const BeforeFillPaint& beforePaint)
{
    const bool antialiased = paint.antialias && brush.width() > 1;
    const bool twice
        = antialiased || (!paint.texture.isSolid() && paint.textureMode == TextureMode::TwoColor);
    const QPointF anchors = brush.anchors(geometry.pixelWidth, geometry.displayPixelAspect);
    struct Ends {
        QPoint from;
        QPoint to;
    };
    QVarLengthArray<Ends, 8> ends;
    for (const SymmetryTransform& copy : copies)
        ends.append({copy.mapAnchored(from, anchors), copy.mapAnchored(to, anchors)});

    if (beforePaint) {
        // Every copy's area is captured before the first copy paints, which the
        // before-image allows: nothing of it has changed yet. Copies that overlap, as
        // they do near the axes, are captured as one rectangle when that is no larger
        // than the copies together, so the overlap is looked at once.
        QVarLengthArray<QRect, 8> areas;
        QRect bounds;
        qint64 total = 0;
        for (const Ends& copy : ends) {
            areas.append(brush.segmentBoundingRect(copy.from, copy.to, colormap.size()));
            bounds |= areas.back();
            total += areaOf(areas.back());
        }
        if (areaOf(bounds) <= total) {
            beforePaint(bounds, twice);
        } else {
            for (const QRect& area : areas)
                beforePaint(area, twice);
        }
    }

    PaintScratch scratch;
    QRect changed;
    for (qsizetype i = 0; i < ends.size(); ++i) {
        const SymmetryTransform& copy = copies.at(i);
        changed |= applyStrokeSegment(colormap, mask, brush, ends[i].from, ends[i].to, geometry,
            copy.extraRotation, copy.mirrored, paint, rules, scratch);
    }
    return changed;
}
