#pragma once

#include "paint/brush.h"
#include "paint/texture.h"
#include "paint/texture_mode.h"

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QTransform>

enum class ShapeKind : qint32 {
    Line = 0,
    Rectangle = 1,
    Circle = 2,
    Star = 3,
    Path = 4,
};

// A shape that is still editable, in display coordinates (canvas x times the pixel width,
// canvas y divided by the display pixel aspect), so a circle is round on the emulated
// screen whatever the mode and the PAL or NTSC row height. Its local frame is centred on
// `centre` and turned clockwise by `rotation` degrees.
struct StagedShape {
    ShapeKind kind = ShapeKind::Line;
    QPointF centre;
    double halfWidth = 0.5;
    double halfHeight = 0.5;
    double rotation = 0.0;
    // Empty, or the four box corners (top-left, top-right, bottom-right, bottom-left) in
    // units of the half extents when the box has been skewed.
    QList<QPointF> corners;
    double cornerRadius = 0.0;
    double innerRatio = 0.382;
    // Line and Path: the polyline relative to the centre at the base half extents.
    QList<QPointF> points;
    double baseHalfWidth = 0.5;
    double baseHalfHeight = 0.5;
    uchar penIndex = 1;
    uchar secondaryIndex = 0;
    bool filled = false;
    int penWidth = 1;
    BrushShape brushShape = BrushShape::Round;
    Texture texture;
    TextureMode textureMode = TextureMode::TwoColor;
    bool antialiased = false;
};

// Where the handles of a selected shape sit, in display coordinates.
struct ShapeHandleLayout {
    QList<QPointF> corners;
    QPointF pin;
    // Rectangle: the corner-radius handles; Star: the inner-radius handles.
    QList<QPointF> radius;
};

bool shapeOutlineClosed(const StagedShape& shape);
QPointF shapeLocalToDisplay(const StagedShape& shape, QPointF local);
QPointF shapeDisplayToLocal(const StagedShape& shape, QPointF display);
double normalizedDegrees(double degrees);

StagedShape makeBoxShape(ShapeKind kind, QPointF anchor, QPointF current, double angle, bool uniform);
StagedShape makeLineShape(QPointF from, QPointF to);
StagedShape makePathShape(const QPolygonF& polygon);

bool shapeIsDistorted(const StagedShape& shape);
// Plain box to skewed box in the local frame; the identity when not distorted.
QTransform shapeQuadTransform(const StagedShape& shape);
// The outline in display coordinates; open for Line and Path.
QPolygonF shapeOutline(const StagedShape& shape);
// Whether the point lies in the shape's whole (turned, skewed) box.
bool shapeContains(const StagedShape& shape, QPointF point);
// `pinOffset` is 24 view pixels and `radiusInset` 10 view pixels, in display units.
ShapeHandleLayout shapeHandleLayout(const StagedShape& shape, double pinOffset, double radiusInset);

void scaleShapeToCorner(StagedShape& shape, int corner, QPointF point, bool uniform);
void distortShapeCorner(StagedShape& shape, int corner, QPointF point);
void rotateShapeTo(StagedShape& shape, QPointF point, bool snap);
void setShapeRadiusFromCursor(StagedShape& shape, QPointF point);
