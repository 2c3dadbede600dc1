#include "model/transform.h"

#include <QTest>

#include <cmath>

namespace {

bool near(QPointF a, QPointF b, double tolerance = 1e-9)
{
    return std::abs(a.x() - b.x()) < tolerance && std::abs(a.y() - b.y()) < tolerance;
}

QString text(QPointF p)
{
    return QStringLiteral("(%1, %2)").arg(p.x(), 0, 'g', 12).arg(p.y(), 0, 'g', 12);
}

} // namespace

class TestTransform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrips_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("rotation");
        QTest::addColumn<double>("pixelAspect");
        QTest::addColumn<double>("displayAspect");
        for (double pixelAspect : {1.0, 2.0}) {
            for (double displayAspect : {1.0, 0.75}) {
                for (double rotation : {0.0, 30.0, 179.5}) {
                    QTest::addRow("px%g disp%g rot%g", pixelAspect, displayAspect, rotation)
                        << 3.0 << rotation << pixelAspect << displayAspect;
                }
            }
        }
        QTest::newRow("best-fit zoom") << 0.4 << 12.25 << 2.0 << 0.75;
    }

    void roundTrips()
    {
        QFETCH(double, zoom);
        QFETCH(double, rotation);
        QFETCH(double, pixelAspect);
        QFETCH(double, displayAspect);

        Transform t;
        t.setPixelAspect(pixelAspect);
        t.setDisplayPixelAspect(displayAspect);
        t.setZoom(zoom);
        t.setRotation(rotation);
        t.setPan(QPointF(123.5, -40.25));
        for (const QPointF& p : {QPointF(0, 0), QPointF(159.5, 199.5), QPointF(-12, 7.25)}) {
            QVERIFY2(near(t.viewToCanvas(t.canvasToView(p)), p, 1e-7), qPrintable(text(p)));
            QVERIFY2(near(t.canvasToView(t.viewToCanvas(p)), p, 1e-7), qPrintable(text(p)));
        }
        // A canvas pixel's centre always maps back into that pixel.
        const QPoint pixel(17, 42);
        QCOMPARE(t.viewToCanvasPixel(t.canvasToView(QPointF(pixel) + QPointF(0.5, 0.5))), pixel);
        // One canvas pixel covers zoom * aspect view pixels, whatever the rotation.
        const QPointF across = t.canvasToViewVector(QPointF(1, 0));
        const QPointF down = t.canvasToViewVector(QPointF(0, 1));
        QVERIFY(std::abs(std::hypot(across.x(), across.y()) - zoom * pixelAspect) < 1e-9);
        QVERIFY(std::abs(std::hypot(down.x(), down.y()) - zoom / displayAspect) < 1e-9);
    }

    void rotationIsClockwiseAndNormalized()
    {
        QCOMPARE(normalizedRotation(200.0), -160.0);
        QCOMPARE(normalizedRotation(180.0), -180.0);

        Transform t;
        t.setRotation(90.0);
        // Clockwise on a y-down screen: the canvas x axis points down.
        QVERIFY(near(t.canvasToViewVector(QPointF(1, 0)), QPointF(0, 1)));
    }

    void anchoredChangesKeepThePointUnderTheAnchor()
    {
        Transform t;
        t.setPixelAspect(2.0);
        t.setPan(QPointF(30, 20));
        const QPointF anchor(250, 140);
        const QPointF before = t.viewToCanvas(anchor);
        t.setZoomAnchored(5.0, anchor);
        QVERIFY(near(t.viewToCanvas(anchor), before));
        t.setRotationAnchored(-33.0, anchor);
        QVERIFY(near(t.viewToCanvas(anchor), before));
    }

    void fitCentresTheRotatedStretchedRectangle()
    {
        Transform t;
        t.setPixelAspect(2.0);
        t.setDisplayPixelAspect(0.75);
        t.setRotation(90.0);
        const QRectF canvas(-24, -51, 208, 301);
        t.fitToView(canvas, QSize(800, 600));
        const QRectF box = t.canvasToViewRect(canvas);
        QVERIFY(near(box.center(), QPointF(400, 300), 1e-6));
        // Rotated by 90 degrees the 301 stretched rows lie across the view.
        QVERIFY(std::abs(box.width() - 800) < 1e-6 || std::abs(box.height() - 600) < 1e-6);
        QVERIFY(box.width() <= 800 + 1e-6 && box.height() <= 600 + 1e-6);
    }
};

QTEST_APPLESS_MAIN(TestTransform)
#include "tst_transform.moc"
