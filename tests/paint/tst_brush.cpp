#include "paint/brush.h"
#include "paint/footprint_mask.h"
#include "support/mask_picture.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

QStringList wholePicture(const FootprintMask& mask)
{
    return maskPicture(mask, QRect(QPoint(0, 0), mask.canvasSize()));
}

struct Covered {
    QRect bounds;
    int count = 0;
};

Covered covered(const FootprintMask& mask)
{
    Covered result;
    const QSize canvas = mask.canvasSize();
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (Brush::covers(mask.image(), x, y, mask.pixelWidth())) {
                result.bounds |= QRect(x, y, 1, 1);
                ++result.count;
            }
        }
    }
    return result;
}

QRect footprint(FootprintMask& mask, const Brush& brush, QPoint from, QPoint to, double aspect = 1.0,
    BrushAlignment alignment = BrushAlignment::Screen, double viewRotation = 0.0, double extraRotation = 0.0,
    bool mirrored = false)
{
    return brush.strokeFootprint(mask, from, to, mask.pixelWidth(), aspect, mask.canvasSize(), alignment,
        viewRotation, extraRotation, mirrored);
}

Brush brushOf(int width, BrushShape shape, bool antialiased = false)
{
    Brush brush(width);
    brush.setShape(shape);
    brush.setAntialiased(antialiased);
    return brush;
}

QRect nonZeroBounds(const FootprintMask& mask)
{
    QRect bounds;
    const QImage& image = mask.image();
    for (int y = 0; y < image.height(); ++y) {
        for (int column = 0; column < image.width(); ++column) {
            if (image.constScanLine(y)[column] != 0)
                bounds = bounds.united(QRect(column / mask.pixelWidth(), y, 1, 1));
        }
    }
    return bounds;
}

} // namespace

class TestBrush : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pressureWidening_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("pressure");
        QTest::addColumn<int>("expected");
        QTest::newRow("full pressure") << 5 << 1.0 << 21;
        QTest::newRow("half pressure is a quarter") << 5 << 0.5 << 9;
        QTest::newRow("clamped at 65") << 60 << 1.0 << 65;
        QTest::newRow("pressure above 1") << 5 << 3.0 << 21;
        QTest::newRow("negative pressure") << 5 << -1.0 << 5;
        QTest::newRow("no width is one pixel") << 0 << 0.0 << 1;
    }

    void pressureWidening()
    {
        QFETCH(int, width);
        QFETCH(double, pressure);
        QFETCH(int, expected);
        Brush brush = brushOf(width, BrushShape::Square, true);
        brush.setPixelPerfect(true);
        const Brush widened = brush.pressureWidened(pressure);
        QCOMPARE(widened.width(), expected);
        QVERIFY(widened.shape() == BrushShape::Square && widened.antialiased() && widened.pixelPerfect());
    }

    // A nib pressed without moving spans its width in display units and is symmetric
    // about its anchored centre.
    void nibFootprints_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<BrushShape>("shape");
        QTest::addColumn<int>("pixelWidth");
        QTest::addColumn<double>("aspect");
        QTest::addColumn<QSize>("span");
        for (const BrushShape shape : {BrushShape::Round, BrushShape::Square}) {
            const char* name = shape == BrushShape::Round ? "round" : "square";
            for (const int width : {1, 2, 8, 32}) {
                QTest::addRow("hires %s %d", name, width)
                    << width << shape << 1 << 1.0 << QSize(width, width);
                const int across = width == 1 ? 1 : width / 2;
                QTest::addRow("multicolor %s %d", name, width)
                    << width << shape << 2 << 1.0 << QSize(across, width);
            }
            QTest::addRow("hires NTSC %s 16", name) << 16 << shape << 1 << 0.75 << QSize(16, 12);
            QTest::addRow("multicolor PAL %s 5", name) << 5 << shape << 2 << 0.9375 << QSize(3, 5);
        }
    }

    void nibFootprints()
    {
        QFETCH(int, width);
        QFETCH(BrushShape, shape);
        QFETCH(int, pixelWidth);
        QFETCH(double, aspect);
        QFETCH(QSize, span);
        FootprintMask mask(QSize(60, 60), pixelWidth);
        const QPoint centre(30, 30);
        const Brush brush = brushOf(width, shape);
        const QRect area = footprint(mask, brush, centre, centre, aspect);
        const QRect bounds = covered(mask).bounds;
        QVERIFY(area.contains(bounds));
        QCOMPARE(bounds.size(), span);
        const QPointF anchor = brush.anchors(pixelWidth, aspect);
        QCOMPARE((bounds.left() + bounds.right() + 1) / 2.0, centre.x() + anchor.x());
        QCOMPARE((bounds.top() + bounds.bottom() + 1) / 2.0, centre.y() + anchor.y());
        const int full = span.width() * span.height();
        if (shape == BrushShape::Square || width <= 2)
            QCOMPARE(covered(mask).count, full);
        else
            QVERIFY(covered(mask).count < full);
    }

    // A hard round nib covers exactly the pixels whose centres, on the display, lie within
    // half its width of the segment: checked pixel by pixel over random segments, turns,
    // mirrorings and pixel shapes. Pixels within a hair of the rim are left out, as either
    // answer is right for them.
    void roundNibCoversTheSweptDisc()
    {
        QRandomGenerator random(28);
        for (int round = 0; round < 300; ++round) {
            const int pixelWidth = random.bounded(2) + 1;
            const double aspect = std::array {1.0, 0.75, 0.9375}[std::size_t(random.bounded(3))];
            const int width = random.bounded(2, 40);
            FootprintMask mask(QSize(70, 60), pixelWidth);
            const QPoint from(random.bounded(-10, 80), random.bounded(-10, 70));
            const QPoint to = from + QPoint(random.bounded(-20, 21), random.bounded(-20, 21));
            const double rotation
                = random.bounded(8) * 45.0 + (random.bounded(2) ? random.bounded(90.0) : 0.0);
            const bool mirrored = random.bounded(2) == 1;
            const Brush brush = brushOf(width, BrushShape::Round);
            const QRect area = footprint(mask, brush, from, to, aspect, BrushAlignment::Screen, rotation,
                random.bounded(360.0), mirrored);

            const QPointF anchor = brush.anchors(pixelWidth, aspect);
            const auto display = [&](double x, double y) { return QPointF(x * pixelWidth, y / aspect); };
            const QPointF a = display(from.x() + anchor.x(), from.y() + anchor.y());
            const QPointF b = display(to.x() + anchor.x(), to.y() + anchor.y());
            const QPointF ab = b - a;
            const double lengthSq = QPointF::dotProduct(ab, ab);
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    const QPointF p = display(x + 0.5, y + 0.5);
                    const double t = lengthSq > 0
                        ? std::clamp(QPointF::dotProduct(p - a, ab) / lengthSq, 0.0, 1.0)
                        : 0.0;
                    const QPointF offset = p - (a + t * ab);
                    const double distance = std::sqrt(QPointF::dotProduct(offset, offset));
                    if (std::abs(distance - width / 2.0) < 1e-4)
                        continue;
                    QVERIFY2(Brush::covers(mask.image(), x, y, pixelWidth) == (distance < width / 2.0),
                        qPrintable(
                            QStringLiteral("round %1: pixel (%2, %3) of a width-%4 nib from (%5, %6) to "
                                           "(%7, %8)")
                                .arg(round)
                                .arg(x)
                                .arg(y)
                                .arg(width)
                                .arg(from.x())
                                .arg(from.y())
                                .arg(to.x())
                                .arg(to.y())));
                }
            }
        }
    }

    void singlePixelLines()
    {
        // Pixel perfect drops the corner pixel of the step.
        Brush brush(1);
        for (const bool pixelPerfect : {false, true}) {
            brush.setPixelPerfect(pixelPerfect);
            const QStringList expected {pixelPerfect ? "#..." : "##..", ".##.", "...."};
            for (const int pixelWidth : {1, 2}) {
                FootprintMask mask(QSize(4, 3), pixelWidth);
                footprint(mask, brush, QPoint(0, 0), QPoint(2, 1));
                QCOMPARE(wholePicture(mask), expected);
            }
        }

        // A one-pixel nib placed exactly on a pixel corner holds no pixel centre, yet it
        // paints its pixel.
        FootprintMask mask(QSize(4, 4), 2);
        const QRect area
            = Brush(1).strokeDisplaySegment(mask, QPointF(2.0, 1.0), QPointF(2.0, 1.0), 2, 1.0, {4, 4});
        QVERIFY(area.contains(QPoint(1, 1)));
        QCOMPARE(wholePicture(mask), (QStringList {"....", ".#..", "....", "...."}));
    }

    void squareNibStaysUprightOnScreen()
    {
        const Brush brush = brushOf(16, BrushShape::Square);
        const QPoint centre(40, 40);
        FootprintMask mask(QSize(80, 80), 1);
        footprint(mask, brush, centre, centre, 1.0, BrushAlignment::Canvas, 30.0);
        QCOMPARE(covered(mask).bounds, QRect(32, 32, 16, 16));
        QCOMPARE(covered(mask).count, 256);

        footprint(mask, brush, centre, centre, 1.0, BrushAlignment::Screen, 30.0);
        const QRect turned = covered(mask).bounds;
        // 16 × (cos 30° + sin 30°) ≈ 21.9 across and down.
        QVERIFY(turned.width() >= 21 && turned.width() <= 23);
        QCOMPARE(turned.height(), turned.width());
        QVERIFY(std::abs(covered(mask).count - 256) < 16);
        // The view turns the canvas clockwise, so the upright nib is turned
        // anticlockwise on the canvas: its topmost corner lies right of the centre.
        const QString topRow
            = maskPicture(mask, QRect(turned.left(), turned.top(), turned.width(), 1)).first();
        QVERIFY(turned.left() + topRow.indexOf('#') >= centre.x());
    }

    void masksAreClearedBetweenSegments()
    {
        FootprintMask mask(QSize(60, 40), 2);
        const Brush brush = brushOf(9, BrushShape::Square, true);
        footprint(mask, brush, QPoint(5, 5), QPoint(12, 30));
        brush.strokeDisplaySegment(mask, QPointF(100, 10), QPointF(110, 35), 2, 1.0, mask.canvasSize());
        mask.writableImage().scanLine(39)[119] = 9;
        const QRect area = footprint(mask, brush, QPoint(40, 20), QPoint(41, 22));
        QVERIFY(!area.isEmpty());
        QVERIFY(area.contains(nonZeroBounds(mask)));

        // A mask that does not fit the canvas is left alone.
        const QImage before = mask.image().copy();
        FootprintMask small(QSize(59, 40), 2);
        QCOMPARE(brush.strokeFootprint(small, QPoint(3, 3), QPoint(3, 3), 2, 1.0, mask.canvasSize(),
                     BrushAlignment::Screen, 0.0),
            QRect());
        QCOMPARE(brush.strokeFootprint(mask, QPoint(3, 3), QPoint(3, 3), 1, 1.0, mask.canvasSize(),
                     BrushAlignment::Screen, 0.0),
            QRect());
        QCOMPARE(nonZeroBounds(small), QRect());
        QCOMPARE(mask.image(), before);

        // A segment far off the canvas touches nothing and leaves the mask empty.
        QCOMPARE(footprint(mask, brush, QPoint(-50, -50), QPoint(-40, -60)), QRect());
        QCOMPARE(nonZeroBounds(mask), QRect());
        QCOMPARE(
            brush.strokeDisplaySegment(mask, QPointF(500, 5), QPointF(600, 5), 2, 1.0, mask.canvasSize()),
            QRect());
    }

    void antialiasedCoverage()
    {
        FootprintMask mask(QSize(40, 40), 1);
        const Brush brush = brushOf(8, BrushShape::Round, true);
        footprint(mask, brush, QPoint(20, 20), QPoint(20, 20));
        QCOMPARE(Brush::coverage(mask.image(), 20, 20, 1), 255);
        QCOMPARE(Brush::coverage(mask.image(), 19, 19, 1), 255);
        bool graded = false;
        int previous = 255;
        for (int x = 20; x < 30; ++x) {
            const int value = Brush::coverage(mask.image(), x, 20, 1);
            QVERIFY(value <= previous);
            graded = graded || (value > 0 && value < 255);
            previous = value;
        }
        QVERIFY(graded);
        QCOMPARE(previous, 0);

        // Each display column of a multicolor pixel has a sample of its own, so the
        // outer half of an edge pixel is covered less than the inner half.
        FootprintMask multicolor(QSize(20, 40), 2);
        footprint(multicolor, brushOf(9, BrushShape::Round, true), QPoint(10, 20), QPoint(10, 20));
        bool halves = false;
        for (int x = 10; x < 16; ++x) {
            const uchar* bytes = multicolor.image().constScanLine(20) + 2 * x;
            QVERIFY(bytes[1] <= bytes[0]);
            halves = halves || bytes[1] < bytes[0];
        }
        QVERIFY(halves);
    }
};

QTEST_APPLESS_MAIN(TestBrush)
#include "tst_brush.moc"
