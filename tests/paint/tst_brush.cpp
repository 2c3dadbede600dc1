#include "paint/brush.h"
#include "paint/footprint_mask.h"

#include <QImage>
#include <QTest>

#include <algorithm>

namespace {

// A mask as rows of characters: '#' for a covered pixel, '.' for an uncovered one.
QStringList picture(const FootprintMask& mask, const QRect& area)
{
    QStringList rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QString row;
        for (int x = area.left(); x <= area.right(); ++x)
            row += Brush::covers(mask.image(), x, y, mask.pixelWidth()) ? QLatin1Char('#') : QLatin1Char('.');
        rows.append(row);
    }
    return rows;
}

QStringList wholePicture(const FootprintMask& mask)
{
    return picture(mask, QRect(QPoint(0, 0), mask.canvasSize()));
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

// The bounds of the non-zero bytes, in canvas pixels.
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

bool samePicture(const QStringList& actual, const QStringList& expected)
{
    if (actual == expected)
        return true;
    qWarning().noquote() << "actual:\n" + actual.join(QLatin1Char('\n')) + "\nexpected:\n"
            + expected.join(QLatin1Char('\n'));
    return false;
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

} // namespace

class TestBrush : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pressureWidening_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("pressure");
        QTest::addColumn<int>("expected");
        QTest::newRow("no pressure") << 5 << 0.0 << 5;
        QTest::newRow("full pressure") << 5 << 1.0 << 21;
        QTest::newRow("half pressure is a quarter") << 5 << 0.5 << 9;
        QTest::newRow("light touch rounds") << 1 << 0.3 << 2;
        QTest::newRow("widest pen") << 32 << 1.0 << 48;
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
        QCOMPARE(widened.shape(), BrushShape::Square);
        QVERIFY(widened.antialiased() && widened.pixelPerfect());
    }

    void anchors_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("pixelWidth");
        QTest::addColumn<double>("aspect");
        QTest::addColumn<QPointF>("expected");
        QTest::newRow("width 1 multicolor") << 1 << 2 << 0.75 << QPointF(0.5, 0.5);
        QTest::newRow("hires 8") << 8 << 1 << 1.0 << QPointF(0.0, 0.0);
        QTest::newRow("hires 7") << 7 << 1 << 1.0 << QPointF(0.5, 0.5);
        QTest::newRow("multicolor 2 spans one column") << 2 << 2 << 1.0 << QPointF(0.5, 0.0);
        QTest::newRow("multicolor 3 spans 1.5 -> 2 columns") << 3 << 2 << 1.0 << QPointF(0.0, 0.5);
        QTest::newRow("multicolor 5 spans 2.5 -> 3 columns") << 5 << 2 << 1.0 << QPointF(0.5, 0.5);
        QTest::newRow("NTSC 6 spans 4.5 -> 5 rows") << 6 << 1 << 0.75 << QPointF(0.0, 0.5);
        QTest::newRow("PAL 16 spans 15 rows") << 16 << 1 << 0.9375 << QPointF(0.0, 0.5);
    }

    void anchors()
    {
        QFETCH(int, width);
        QFETCH(int, pixelWidth);
        QFETCH(double, aspect);
        QFETCH(QPointF, expected);
        QCOMPARE(Brush(width).anchors(pixelWidth, aspect), expected);
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
            QTest::addRow("hires PAL %s 16", name) << 16 << shape << 1 << 0.9375 << QSize(16, 15);
            QTest::addRow("multicolor NTSC %s 16", name) << 16 << shape << 2 << 0.75 << QSize(8, 12);
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
        QVERIFY2(area.contains(bounds), qPrintable(wholePicture(mask).join(QLatin1Char('\n'))));
        QCOMPARE(bounds.size(), span);

        const QPointF anchor = brush.anchors(pixelWidth, aspect);
        QCOMPARE((bounds.left() + bounds.right() + 1) / 2.0, centre.x() + anchor.x());
        QCOMPARE((bounds.top() + bounds.bottom() + 1) / 2.0, centre.y() + anchor.y());
        const QStringList rows = picture(mask, bounds);
        for (int y = 0; y < rows.size(); ++y) {
            QString mirrored = rows[y];
            std::reverse(mirrored.begin(), mirrored.end());
            QVERIFY2(samePicture({mirrored}, {rows[y]}), "not symmetric left to right");
            QCOMPARE(rows[rows.size() - 1 - y], rows[y]);
        }
        const int full = span.width() * span.height();
        if (shape == BrushShape::Square || width <= 2)
            QCOMPARE(covered(mask).count, full);
        else
            QVERIFY(covered(mask).count < full);
    }

    void roundNibPictures()
    {
        FootprintMask hires(QSize(8, 8), 1);
        footprint(hires, Brush(8), QPoint(4, 4), QPoint(4, 4));
        QVERIFY(samePicture(wholePicture(hires),
            {"..####..", ".######.", "########", "########", "########", "########", ".######.",
                "..####.."}));

        FootprintMask multicolor(QSize(4, 8), 2);
        footprint(multicolor, Brush(8), QPoint(2, 4), QPoint(2, 4));
        QVERIFY(samePicture(
            wholePicture(multicolor), {".##.", "####", "####", "####", "####", "####", "####", ".##."}));
        // A hard stroke marks only the first display column of each pixel.
        QCOMPARE(multicolor.image().constScanLine(1)[0], uchar(255));
        QCOMPARE(multicolor.image().constScanLine(1)[1], uchar(0));
    }

    void singlePixelLines()
    {
        Brush brush(1);
        for (const int pixelWidth : {1, 2}) {
            FootprintMask mask(QSize(4, 3), pixelWidth);
            footprint(mask, brush, QPoint(0, 0), QPoint(2, 1));
            QVERIFY(samePicture(wholePicture(mask), {"##..", ".##.", "...."}));
        }
        brush.setPixelPerfect(true);
        for (const int pixelWidth : {1, 2}) {
            FootprintMask mask(QSize(4, 3), pixelWidth);
            footprint(mask, brush, QPoint(0, 0), QPoint(2, 1));
            QVERIFY(samePicture(wholePicture(mask), {"#...", ".##.", "...."}));
            QCOMPARE(Brush::coverage(mask.image(), 1, 1, pixelWidth), (255 + pixelWidth / 2) / pixelWidth);
        }
        // Points beyond the canvas are never plotted, the rest of the line is.
        FootprintMask mask(QSize(4, 3), 1);
        footprint(mask, brush, QPoint(-2, 1), QPoint(5, 1));
        QVERIFY(samePicture(wholePicture(mask), {"....", "####", "...."}));
    }

    void squareNibSweepsARectangle()
    {
        FootprintMask mask(QSize(30, 20), 1);
        footprint(mask, brushOf(4, BrushShape::Square), QPoint(10, 10), QPoint(20, 10));
        QCOMPARE(covered(mask).bounds, QRect(QPoint(8, 8), QPoint(21, 11)));
        QCOMPARE(covered(mask).count, 14 * 4);
    }

    void segmentContainsItsEndStamps()
    {
        for (const BrushShape shape : {BrushShape::Round, BrushShape::Square}) {
            const Brush brush = brushOf(7, shape);
            FootprintMask segment(QSize(40, 40), 2);
            FootprintMask stamp(QSize(40, 40), 2);
            footprint(segment, brush, QPoint(8, 9), QPoint(27, 31), 0.75, BrushAlignment::Screen, 20.0);
            for (const QPoint end : {QPoint(8, 9), QPoint(27, 31)}) {
                footprint(stamp, brush, end, end, 0.75, BrushAlignment::Screen, 20.0);
                for (int y = 0; y < 40; ++y) {
                    for (int x = 0; x < 40; ++x) {
                        if (Brush::covers(stamp.image(), x, y, 2))
                            QVERIFY(Brush::covers(segment.image(), x, y, 2));
                    }
                }
            }
        }
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
        QVERIFY2(turned.width() >= 21 && turned.width() <= 23, qPrintable(wholePicture(mask).join('\n')));
        QCOMPARE(turned.height(), turned.width());
        QVERIFY(std::abs(covered(mask).count - 256) < 16);
        for (const QPoint corner :
            {turned.topLeft(), turned.topRight(), turned.bottomLeft(), turned.bottomRight()})
            QVERIFY(!Brush::covers(mask.image(), corner.x(), corner.y(), 1));
        // The view turns the canvas clockwise, so the upright nib is turned
        // anticlockwise on the canvas: its topmost corner lies right of the centre.
        const QString topRow = picture(mask, QRect(turned.left(), turned.top(), turned.width(), 1)).first();
        QVERIFY2(
            turned.left() + topRow.indexOf('#') >= centre.x(), qPrintable(wholePicture(mask).join('\n')));
    }

    // A symmetry copy's nib is the mirror or turn of the user's nib.
    void symmetryCopiesTurnTheNib_data()
    {
        QTest::addColumn<double>("extraRotation");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mirror across a horizontal axis") << 0.0 << true << "rows flipped";
        QTest::newRow("mirror across a vertical axis") << 180.0 << true << "columns flipped";
        QTest::newRow("plain copy turned with the view") << 30.0 << false << "upright";
        QTest::newRow("mirrored copy turned against it") << -30.0 << true << "upright";
    }

    void symmetryCopiesTurnTheNib()
    {
        QFETCH(double, extraRotation);
        QFETCH(bool, mirrored);
        QFETCH(QString, expected);
        const Brush brush = brushOf(12, BrushShape::Square);
        const QPoint centre(20, 20);
        FootprintMask own(QSize(40, 40), 1);
        FootprintMask copy(QSize(40, 40), 1);
        footprint(own, brush, centre, centre, 1.0, BrushAlignment::Screen, 30.0);
        footprint(copy, brush, centre, centre, 1.0, BrushAlignment::Screen, 30.0, extraRotation, mirrored);
        QStringList rows = wholePicture(own);
        if (expected == "rows flipped") {
            std::reverse(rows.begin(), rows.end());
        } else if (expected == "columns flipped") {
            for (QString& row : rows)
                std::reverse(row.begin(), row.end());
        } else {
            footprint(own, brush, centre, centre, 1.0, BrushAlignment::Canvas, 30.0);
            rows = wholePicture(own);
        }
        QVERIFY(rows != wholePicture(own) || expected == "upright");
        QVERIFY(samePicture(wholePicture(copy), rows));
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

    void displaySegmentsKeepTheLargerCoverage()
    {
        const Brush brush = brushOf(6, BrushShape::Round, true);
        const QSize canvas(30, 20);
        FootprintMask first(canvas, 2);
        FootprintMask second(canvas, 2);
        FootprintMask both(canvas, 2);
        const QPointF a(10.0, 6.0), b(30.0, 12.5), c(44.0, 4.0);
        const QRect firstArea = brush.strokeDisplaySegment(first, a, b, 2, 0.75, canvas);
        const QRect secondArea = brush.strokeDisplaySegment(second, b, c, 2, 0.75, canvas);
        brush.strokeDisplaySegment(both, a, b, 2, 0.75, canvas);
        brush.strokeDisplaySegment(both, b, c, 2, 0.75, canvas);
        QVERIFY(firstArea.contains(nonZeroBounds(first)));
        QVERIFY(secondArea.contains(nonZeroBounds(second)));
        for (int y = 0; y < canvas.height(); ++y) {
            for (int column = 0; column < canvas.width() * 2; ++column) {
                QCOMPARE(both.image().constScanLine(y)[column],
                    std::max(
                        first.image().constScanLine(y)[column], second.image().constScanLine(y)[column]));
            }
        }
        QCOMPARE(both.touchedRect(), firstArea.united(secondArea));
    }

    void tinyNibStillPaints()
    {
        // A one-pixel nib placed exactly on a pixel corner holds no pixel centre.
        FootprintMask mask(QSize(4, 4), 2);
        const QRect area
            = Brush(1).strokeDisplaySegment(mask, QPointF(2.0, 1.0), QPointF(2.0, 1.0), 2, 1.0, {4, 4});
        QVERIFY(area.contains(QPoint(1, 1)));
        QVERIFY(samePicture(wholePicture(mask), {"....", ".#..", "....", "...."}));
        QCOMPARE(Brush::coverage(mask.image(), 1, 1, 2), 255);
    }

    void displayCentresOnTheRimLeanLow()
    {
        // A width-2 square at (1.5, 1.5) has pixel centres exactly on all four edges:
        // those on the low edges fall outside, those on the high edges inside.
        FootprintMask mask(QSize(4, 4), 1);
        brushOf(2, BrushShape::Square).strokeDisplaySegment(mask, {1.5, 1.5}, {1.5, 1.5}, 1, 1.0, {4, 4});
        QVERIFY(samePicture(wholePicture(mask), {"....", ".##.", ".##.", "...."}));
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

    void readingMasks_data()
    {
        QTest::addColumn<int>("pixelWidth");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<bool>("covered");
        QTest::addColumn<int>("coverage");
        QTest::newRow("empty") << 2 << 0 << 0 << false << 0;
        QTest::newRow("hard stroke byte") << 2 << 255 << 0 << true << 128;
        QTest::newRow("faint half") << 2 << 0 << 1 << true << 1;
        QTest::newRow("rounds half up") << 2 << 1 << 2 << true << 2;
        QTest::newRow("nearly full") << 2 << 254 << 255 << true << 255;
        QTest::newRow("hires") << 1 << 7 << 0 << true << 7;
    }

    void readingMasks()
    {
        QFETCH(int, pixelWidth);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(bool, covered);
        QFETCH(int, coverage);
        QImage mask(2 * pixelWidth, 1, QImage::Format_Grayscale8);
        mask.fill(0);
        mask.scanLine(0)[pixelWidth] = uchar(first);
        if (pixelWidth == 2)
            mask.scanLine(0)[3] = uchar(second);
        QCOMPARE(Brush::covers(mask, 1, 0, pixelWidth), covered);
        QCOMPARE(Brush::coverage(mask, 1, 0, pixelWidth), coverage);
        QVERIFY(!Brush::covers(mask, 2, 0, pixelWidth));
        QCOMPARE(Brush::coverage(mask, 1, -1, pixelWidth), 0);
    }
};

QTEST_APPLESS_MAIN(TestBrush)
#include "tst_brush.moc"
