#include "paint/staged_shape.h"

#include <QTest>

#include <cmath>

namespace {

// A box of 100 x 40 display units centred on (50, 20), upright.
StagedShape box(ShapeKind kind)
{
    return makeBoxShape(kind, QPointF(0, 0), QPointF(100, 40), 0.0, false);
}

// The point at `degrees` clockwise from straight up, `distance` from the centre.
QPointF atBearing(const StagedShape& shape, double degrees, double distance = 30.0)
{
    const double a = degrees * 3.14159265358979323846 / 180.0;
    return shape.centre + QPointF(std::sin(a), -std::cos(a)) * distance;
}

bool isConvex(const QList<QPointF>& quad)
{
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF a = quad[i];
        const QPointF b = quad[(i + 1) % 4];
        const QPointF c = quad[(i + 2) % 4];
        const double cross = (b.x() - a.x()) * (c.y() - b.y()) - (b.y() - a.y()) * (c.x() - b.x());
        if (cross == 0.0)
            return false;
        const int s = cross > 0 ? 1 : -1;
        if (sign != 0 && s != sign)
            return false;
        sign = s;
    }
    return true;
}

} // namespace

class TestStagedShape : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The handles can be dragged anywhere; the shape stays within what it can draw.
    void handlesStopAtTheirLimits()
    {
        StagedShape star = box(ShapeKind::Star);
        setShapeRadiusFromCursor(star, star.centre);
        QCOMPARE(star.innerRatio, 0.05);
        setShapeRadiusFromCursor(star, star.centre + QPointF(400, 0));
        QCOMPARE(star.innerRatio, 0.95);

        // A corner radius is at most half the shorter side, wherever the cursor goes.
        StagedShape rounded = box(ShapeKind::Rectangle);
        setShapeRadiusFromCursor(rounded, rounded.centre);
        QCOMPARE(rounded.cornerRadius, 20.0);
        const QRectF bounds = shapeOutline(rounded).boundingRect();
        QVERIFY(bounds.width() <= 100.0 + 1e-9 && bounds.height() <= 40.0 + 1e-9);

        // A corner pulled far away stops at 8 half extents from the centre.
        StagedShape skewed = box(ShapeKind::Rectangle);
        distortShapeCorner(skewed, 2, skewed.centre + QPointF(1e6, 1e6));
        QCOMPARE(skewed.corners.size(), 4);
        QCOMPARE(skewed.corners[2], QPointF(8, 8));

        // Dragging a corner across the diagonal stops it just before the box would fold, and
        // putting every corner back where it was makes the box plain again.
        StagedShape shape = box(ShapeKind::Rectangle);
        const QPointF plain = shapeLocalToDisplay(shape, QPointF(50, 20));
        distortShapeCorner(shape, 2, shape.centre + QPointF(-80, -40));
        QVERIFY(shapeIsDistorted(shape));
        QVERIFY(isConvex(shape.corners));
        // Nearly on the diagonal from top-right to bottom-left, not past it.
        const QPointF c = shape.corners[2];
        QVERIFY2(std::abs(c.x() + c.y()) < 0.01, qPrintable(QStringLiteral("%1 %2").arg(c.x()).arg(c.y())));

        distortShapeCorner(shape, 2, plain);
        QVERIFY(shape.corners.isEmpty());
        QVERIFY(!shapeIsDistorted(shape));
    }

    void rotationWrapsAndSnaps()
    {
        StagedShape shape = box(ShapeKind::Rectangle);
        rotateShapeTo(shape, atBearing(shape, 190.0), false);
        QVERIFY(std::abs(shape.rotation - -170.0) < 1e-9);
        rotateShapeTo(shape, atBearing(shape, 200.0), true);
        QCOMPARE(shape.rotation, -157.5);
        rotateShapeTo(shape, atBearing(shape, 10.0), true);
        QCOMPARE(shape.rotation, 0.0);
        // The pin is dragged relative to where it already points.
        rotateShapeTo(shape, atBearing(shape, 100.0), true);
        QCOMPARE(shape.rotation, 90.0);
        rotateShapeTo(shape, atBearing(shape, 100.0), true);
        QCOMPARE(shape.rotation, 90.0);
    }

    // Shift makes a square in display units, whichever way the drag is longer.
    void uniformBoxIsSquare()
    {
        const StagedShape tall
            = makeBoxShape(ShapeKind::Rectangle, QPointF(0, 0), QPointF(30, 80), 0.0, true);
        QCOMPARE(tall.halfWidth, tall.halfHeight);
        QCOMPARE(tall.halfHeight, 40.0);
        const StagedShape leftUp
            = makeBoxShape(ShapeKind::Circle, QPointF(0, 0), QPointF(-60, -10), 0.0, true);
        QCOMPARE(leftUp.halfWidth, 30.0);
        QCOMPARE(leftUp.halfHeight, 30.0);
        QVERIFY(leftUp.centre.x() < 0 && leftUp.centre.y() < 0);
    }
};

QTEST_APPLESS_MAIN(TestStagedShape)
#include "tst_staged_shape.moc"
