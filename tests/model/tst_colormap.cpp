// The colour-index map (its edges and empty rectangles, its crops and differences), the
// palettes it is shown in, and the distance between their colours.
#include "model/color_distance.h"
#include "model/colormap.h"
#include "model/palette.h"
#include "support/canvas_picture.h"

#include <QTest>

namespace {

Colormap numbered(int width, int height)
{
    Colormap map(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            map.setPixel(x, y, uchar((y * width + x) % 16));
    }
    return map;
}

} // namespace

class TestColormap : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void boundsAreSafe()
    {
        Colormap map(4, 3);
        map.fill(7);
        const Colormap before = map;
        for (const QPoint& p :
            {QPoint(-1, 0), QPoint(4, 0), QPoint(0, -1), QPoint(0, 3), QPoint(-100, 100)}) {
            QCOMPARE(map.pixel(p.x(), p.y()), uchar(0));
            map.setPixel(p.x(), p.y(), 3);
        }
        QCOMPARE(map, before);
    }

    void reversedRectanglesAreEmpty()
    {
        const QRect reversed(QPoint(6, 6), QPoint(2, 2));
        const QRect flat(QPoint(2, 6), QPoint(6, 2));
        Colormap map(10, 10);
        const Colormap before = map;
        for (const QRect& rect : {reversed, flat}) {
            QCOMPARE(map.replaceIndex(rect, 0, 5), 0);
            QCOMPARE(map.swapIndices(rect, 0, 5), 0);
            map.fillRect(rect, 9);
            map.mirror(rect, Qt::Horizontal);
            QCOMPARE(map, before);
            QCOMPARE(map.snapshotRegion(rect).size(), QSize(0, 0));
            QVERIFY(map.distinctIndices(rect, 3).isEmpty());
            QImage image = map.toImage(Palette());
            const QImage rendered = image;
            Colormap white(10, 10);
            white.fill(1);
            white.paintToImage(Palette(), rect, image);
            QCOMPARE(image, rendered);
        }
    }

    void snapshotAndRestoreClip()
    {
        const Colormap source = numbered(6, 5);
        const Colormap crop = source.snapshotRegion(QRect(4, 3, 10, 10));
        QCOMPARE(crop.size(), QSize(2, 2));
        QCOMPARE(crop.pixel(0, 0), source.pixel(4, 3));
        QVERIFY(source.snapshotRegion(QRect(10, 10, 2, 2)).isEmpty());

        // Only the rectangle's corner counts; the paste is clipped to the target.
        Colormap target(6, 5);
        target.restoreRegion(QRect(-1, 4, 1, 1), numbered(3, 3));
        QCOMPARE(target.pixel(0, 4), uchar(1));
        QCOMPARE(target.pixel(1, 4), uchar(2));
        // Nothing else was written.
        QCOMPARE(target.diffBoundingRect(Colormap(6, 5)), QRect(0, 4, 2, 1));
    }

    void diffBoundingRect()
    {
        const Colormap a = numbered(8, 8);
        Colormap b = a;
        QVERIFY(a.diffBoundingRect(b).isNull());
        QCOMPARE(a.diffBoundingRect(Colormap(8, 9)), QRect());
        b.setPixel(6, 1, 15 - b.pixel(6, 1));
        b.setPixel(2, 5, 15 - b.pixel(2, 5));
        b.setPixel(7, 7, 15 - b.pixel(7, 7));
        QCOMPARE(a.diffBoundingRect(b), QRect(QPoint(2, 1), QPoint(7, 7)));
    }

    void distinctIndicesStopAtTheLimit()
    {
        const Colormap cell = canvasFromRows({"55373"});
        QCOMPARE(cell.distinctIndices(cell.rect(), 3), (QList<uchar> {5, 3, 7}));
        QCOMPARE(cell.distinctIndices(cell.rect(), 2), (QList<uchar> {5, 3}));
        QCOMPARE(cell.distinctIndices(QRect(3, 0, 10, 10), 16), (QList<uchar> {7, 3}));
    }

    void everyVariantKeepsBlackAndWhiteAtTheEnds()
    {
        QStringList names;
        for (PaletteVariant variant : allPaletteVariants()) {
            const Palette palette(variant);
            QVERIFY(qGray(palette.colorAt(0)) < 40);
            QVERIFY(qGray(palette.colorAt(1)) > 250);
            // Indices past the palette read its last colour.
            QCOMPARE(palette.colorAt(16), palette.colorAt(15));
            names << paletteVariantName(variant);
        }
        QCOMPARE(names.removeDuplicates(), 0);
    }

    // Out-of-range channels from dithering still measure sensibly.
    void distancesTakeChannelsOutOfRange()
    {
        QCOMPARE(colorDistanceSq(ColorDistanceMetric::Euclidean, -10.5, 300, 0, qRgb(0, 255, 0)),
            10.5 * 10.5 + 45 * 45);
    }
};

QTEST_APPLESS_MAIN(TestColormap)
#include "tst_colormap.moc"
