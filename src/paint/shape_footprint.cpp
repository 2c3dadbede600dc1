#include "paint/shape_footprint.h"

#include "model/colormap.h"
#include "paint/footprint_mask.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

QRect fillInterior(const QPolygonF& outline, FootprintMask& mask, double aspect, bool wholePixels)
{
    const QSize canvas = mask.canvasSize();
    const int pixelWidth = mask.pixelWidth();
    const QRectF box = outline.boundingRect();
    const int first = std::max(0, int(std::floor(aspect * box.top() - 0.5)));
    const int last = std::min(canvas.height() - 1, int(std::ceil(aspect * box.bottom() - 0.5)));
    QRect filled;
    std::vector<double> crossings;
    for (int y = first; y <= last; ++y) {
        const double line = (y + 0.5) / aspect;
        crossings.clear();
        for (int i = 0; i < outline.size(); ++i) {
            const QPointF a = outline[i];
            const QPointF b = outline[(i + 1) % outline.size()];
            if ((a.y() <= line) == (b.y() <= line))
                continue;
            crossings.push_back(a.x() + (line - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int left = std::max(0, int(std::ceil(crossings[i] / pixelWidth - 0.5)));
            const int right
                = std::min(canvas.width() - 1, int(std::floor(crossings[i + 1] / pixelWidth - 0.5)));
            if (right < left)
                continue;
            uchar* row = mask.row(y);
            for (int x = left; x <= right; ++x) {
                uchar* bytes = row + std::size_t(x) * pixelWidth;
                if (wholePixels)
                    std::memset(bytes, 255, std::size_t(pixelWidth));
                else
                    bytes[0] = 255;
            }
            const QRect span(QPoint(left, y), QPoint(right, y));
            mask.markTouched(span);
            filled |= span;
        }
    }
    return filled;
}

} // namespace

QRect shapeFootprint(const StagedShape& shape, FootprintMask& mask, double displayPixelAspect,
    bool wholePixels, const SymmetryTransform* symmetry)
{
    mask.clear();
    QPolygonF outline = shapeOutline(shape);
    if (outline.size() < 2)
        return {};
    const int pixelWidth = mask.pixelWidth();
    if (symmetry) {
        // The outline is in display units; the copies map canvas points.
        for (QPointF& point : outline) {
            const QPointF canvas
                = symmetry->mapF(QPointF(point.x() / pixelWidth, point.y() * displayPixelAspect));
            point = QPointF(canvas.x() * pixelWidth, canvas.y() / displayPixelAspect);
        }
    }
    Brush nib(shape.penWidth);
    nib.setShape(shape.brushShape);
    nib.setAntialiased(wholePixels);
    const QSize canvas = mask.canvasSize();
    QRect rect;
    const bool closed = shapeOutlineClosed(shape);
    const int segments = closed ? outline.size() : outline.size() - 1;
    for (int i = 0; i < segments; ++i) {
        rect |= nib.strokeDisplaySegment(
            mask, outline[i], outline[(i + 1) % outline.size()], pixelWidth, displayPixelAspect, canvas);
    }
    if (shape.filled && closed && outline.size() > 2)
        rect |= fillInterior(outline, mask, displayPixelAspect, wholePixels);
    return rect;
}

QRect paintShape(Colormap& colormap, FootprintMask& mask, const StagedShape& shape, double displayPixelAspect,
    CoveredPaint paint, const PaintRules& rules, const BeforeFillPaint& beforePaint,
    const SymmetryTransform* symmetry)
{
    const QRect rect = shapeFootprint(shape, mask, displayPixelAspect, paint.antialias != nullptr, symmetry);
    if (rect.isEmpty())
        return rect;
    paint.colour = shape.penIndex;
    paint.altColour = shape.secondaryIndex;
    paint.texture = shape.texture;
    paint.textureMode = shape.textureMode;
    paint.singlePixel = !shape.filled && shape.penWidth == 1;
    if (beforePaint) {
        beforePaint(rect,
            paint.antialias || (!shape.texture.isSolid() && shape.textureMode == TextureMode::TwoColor));
    }
    return applyCoveredPaint(colormap, mask, rect, paint, rules);
}
