#include "model/canvas_region.h"
#include "model/sprite_rows.h"
#include "model/sprite_strip_grid.h"
#include "support/canvas_shape_rows.h"

#include <QTest>

namespace {

QRect span(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Regions as "kind:side:left,top,right,bottom" so a failure shows the whole layout.
QString describe(const QList<CanvasRegion>& regions)
{
    QStringList parts;
    for (const CanvasRegion& r : regions) {
        parts << QString::asprintf("%d:%d:%d,%d,%d,%d", int(r.kind), int(r.side), r.rect.left(), r.rect.top(),
            r.rect.right(), r.rect.bottom());
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestCanvasGeometry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void regions_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<int>("screens");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("regions");
        QTest::addColumn<int>("lockedCount");

        const auto H = CanvasMode::Hires;
        const auto M = CanvasMode::Multicolor;
        QTest::newRow("hires bitmap") << H << CanvasLayoutSpec {CanvasLayout::BitmapOnly} << 1
                                      << QSize(320, 200) << "0:0:0,0,319,199" << 0;
        QTest::newRow("multi bitmap x2") << M << CanvasLayoutSpec {CanvasLayout::BitmapOnly} << 2
                                         << QSize(320, 200) << "0:0:0,0,319,199" << 0;
        QTest::newRow("hires sides") << H << CanvasLayoutSpec {CanvasLayout::SideBorders} << 1
                                     << QSize(416, 200) << "1:1:0,0,47,199 0:0:48,0,359,199 1:2:360,0,407,199"
                                     << 2;
        QTest::newRow("multi sides") << M << CanvasLayoutSpec {CanvasLayout::SideBorders} << 1
                                     << QSize(208, 200) << "1:1:0,0,23,199 0:0:24,0,183,199 1:2:184,0,207,199"
                                     << 0;
        QTest::newRow("hires top/bottom")
            << H << CanvasLayoutSpec {CanvasLayout::TopBottomBorders} << 1 << QSize(320, 284)
            << "1:3:0,0,319,41 0:0:0,42,319,241 1:4:0,242,319,283" << 0;
        QTest::newRow("multi top/bottom x0")
            << M << CanvasLayoutSpec {CanvasLayout::TopBottomBorders} << 0 << QSize(160, 284)
            << "1:3:0,0,159,41 0:0:0,42,159,241 1:4:0,242,159,283" << 0;
    }

    void regions()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(int, screens);
        QFETCH(QSize, size);
        QFETCH(QString, regions);
        QFETCH(int, lockedCount);

        QCOMPARE(canvasModeDefaultCanvasSize(mode, layout, screens), size);
        QCOMPARE(describe(canvasRegions(mode, size, layout)), regions);
        QCOMPARE(canvasLockedBorderRects(mode, size, layout).size(), lockedCount);
    }

    void lockedPixelsOfHiresSideBorders()
    {
        const auto layout = CanvasLayoutSpec {CanvasLayout::SideBorders};
        const QList<QRect> locked = canvasLockedBorderRects(CanvasMode::Hires, QSize(416, 200), layout);
        QCOMPARE(locked, (QList<QRect> {span(408, 0, 415, 199), span(0, 0, 47, 0)}));
        QVERIFY(canvasPixelIsLocked(locked, 47, 0));
        QVERIFY(!canvasPixelIsLocked(locked, 48, 0));
    }

    void borderFrames()
    {
        // One screen always sits in a 416 x 301 screen-pixel frame, whatever the layout.
        const QList<CanvasLayout> layouts {
            CanvasLayout::BitmapOnly, CanvasLayout::SideBorders, CanvasLayout::TopBottomBorders};
        for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            for (CanvasLayout kind : layouts) {
                const auto layout = CanvasLayoutSpec {kind};
                const QSize size = canvasModeDefaultCanvasSize(mode, layout, 1);
                const QRect frame = canvasBorderFrameRect(mode, size, layout);
                QCOMPARE(frame.width() * int(canvasModePixelAspect(mode)), 416);
                QCOMPARE(frame.height(), 301);
                QVERIFY(canvasShowsBorderFrame(mode, size, layout));
                QCOMPARE(canvasContentRect(mode, size, layout), QRectF(frame));
            }
        }
        const auto bitmap = CanvasLayoutSpec {CanvasLayout::BitmapOnly};
        QVERIFY(!canvasShowsBorderFrame(CanvasMode::Hires, QSize(640, 200), bitmap));
        QVERIFY(!canvasShowsBorderFrame(CanvasMode::Hires, QSize(300, 180), bitmap));
        QVERIFY(!canvasShowsBorderFrame(CanvasMode::Multicolor, QSize(320, 200), bitmap));
        QCOMPARE(canvasContentRect(CanvasMode::Hires, QSize(300, 180), bitmap), QRectF(0, 0, 300, 180));
        QVERIFY(canvasShowsBorderFrame(
            CanvasMode::Hires, QSize(999, 284), CanvasLayoutSpec {CanvasLayout::TopBottomBorders}));
    }

    void safeFramesFollowTheBitmap()
    {
        const auto tb = CanvasLayoutSpec {CanvasLayout::TopBottomBorders};
        const QList<QRect> frames = safeFrameRects(CanvasMode::Hires, QSize(320, 284), tb);
        QCOMPARE(frames.value(0), QRect(-32, 42 - 35, 384, 272));
        QCOMPARE(frames.value(1), QRect(-48, 42 - 43, 408, 293));
        const QList<QRect> side = safeFrameRects(
            CanvasMode::Multicolor, QSize(208, 200), CanvasLayoutSpec {CanvasLayout::SideBorders});
        QCOMPARE(side.value(0), QRect(24 - 16, -35, 192, 272));
        QCOMPARE(side.value(1), QRect(24 - 24, -43, 204, 293));
    }

    void spriteRowTables()
    {
        // Every line of a side strip belongs to exactly the row whose span holds it.
        for (int y = 0; y < 200; ++y) {
            const int row = spriteRowAt(y);
            QVERIFY2(y >= spriteRowTop(row) && y < spriteRowTop(row) + spriteRowHeight(row),
                qPrintable(QString::number(y)));
        }
        QCOMPARE(spriteRowAt(117), 4);
        QCOMPARE(spriteRowAt(118), 5);

        // The 42-line logical rows are two hardware rows each.
        const QList<QPoint> lineAndHardwareRow {
            {12, 0}, {13, 1}, {76, 4}, {117, 5}, {139, 7}, {180, 8}, {181, 9}, {200, 9}};
        for (const QPoint& pair : lineAndHardwareRow)
            QCOMPARE(spriteHardwareRowAt(pair.x()), pair.y());
    }

    void horizontalStripGrids_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("column");
        QTest::addColumn<QRect>("unit");

        const auto H = CanvasMode::Hires;
        const auto M = CanvasMode::Multicolor;
        QTest::newRow("hires left, partial") << H << 0 << 319 << 13 << span(312, 0, 319, 41);
        QTest::newRow("hires right, partial") << H << 1 << 7 << 0 << span(0, 0, 7, 41);
        QTest::newRow("hires right, second") << H << 1 << 8 << 1 << span(8, 0, 31, 41);
        QTest::newRow("multi left, partial") << M << 0 << 156 << 13 << span(156, 0, 159, 41);
        QTest::newRow("multi right, partial") << M << 1 << 3 << 0 << span(0, 0, 3, 41);
    }

    void horizontalStripGrids()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(int, alignment);
        QFETCH(int, x);
        QFETCH(int, column);
        QFETCH(QRect, unit);

        const auto align = SpriteAlignment(alignment);
        const auto layout = CanvasLayoutSpec {CanvasLayout::TopBottomBorders, align, align};
        const QSize size = canvasModeDefaultCanvasSize(mode, layout, 1);
        const QList<CanvasRegion> regions = canvasRegions(mode, size, layout);
        for (const CanvasRegion& strip : {regions.first(), regions.last()}) {
            const SpriteStripGrid grid = spriteStripGrid(strip, mode, layout);
            QCOMPARE(grid.columns, 14);
            QCOMPARE(grid.columnAt(x), column);
            QCOMPARE(grid.unitRect(column, 5), unit.translated(0, strip.rect.top()));
        }
    }

    void sideStripGrids()
    {
        for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            const auto layout = CanvasLayoutSpec {CanvasLayout::SideBorders};
            const QSize size = canvasModeDefaultCanvasSize(mode, layout, 1);
            const CanvasRegion right = canvasRegions(mode, size, layout).last();
            const SpriteStripGrid grid = spriteStripGrid(right, mode, layout);
            const int unit = spriteColumnWidth(mode);
            QCOMPARE(grid.columns, 2);
            QCOMPARE(grid.rows, 8);
            QCOMPARE(grid.unitRect(1, 4), QRect(right.rect.left() + unit, 76, unit, 42));
            QCOMPARE(grid.unitRect(0, 7), QRect(right.rect.left(), 181, unit, 19));
            QCOMPARE(grid.columnAt(right.rect.left() + unit), 1);
            QCOMPARE(grid.rowAt(180), 6);
        }
    }

    void cellExpansion_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QRect>("cells");

        const auto H = CanvasMode::Hires;
        const auto M = CanvasMode::Multicolor;
        const auto tb = CanvasLayoutSpec {CanvasLayout::TopBottomBorders};
        const auto side = CanvasLayoutSpec {CanvasLayout::SideBorders};
        // The bitmap of a top/bottom canvas starts on line 42, so its cell rows do too.
        QTest::newRow("tb first line") << H << tb << QRect(5, 42, 1, 1) << span(0, 42, 7, 49);
        QTest::newRow("tb clipped from strip") << H << tb << span(9, 30, 9, 43) << span(8, 42, 15, 49);
        QTest::newRow("tb outside") << H << tb << QRect(10, 5, 3, 3) << QRect();
        // The hires side-border bitmap starts at column 48 and is 312 wide: 39 whole cells.
        QTest::newRow("sides first column") << H << side << QRect(48, 0, 1, 1) << span(48, 0, 55, 7);
        QTest::newRow("multi sides") << M << side << QRect(25, 9, 1, 1) << span(24, 8, 27, 15);
        // Right of left or bottom above top is empty, not an area to normalise.
        QTest::newRow("reversed") << H << side << QRect(QPoint(60, 6), QPoint(52, 2)) << QRect();
    }

    void cellExpansion()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(QRect, rect);
        QFETCH(QRect, cells);

        const QSize size = canvasModeDefaultCanvasSize(mode, layout, 1);
        CanvasRegion bitmap;
        for (const CanvasRegion& region : canvasRegions(mode, size, layout)) {
            if (region.kind == CanvasRegionKind::Bitmap)
                bitmap = region;
        }
        // Any empty rectangle will do where no cell is touched.
        const QRect expanded = expandRectToCellsInRegion(mode, rect, bitmap);
        QCOMPARE(expanded.isEmpty() ? QRect() : expanded, cells);
    }
};

QTEST_APPLESS_MAIN(TestCanvasGeometry)
#include "tst_canvas_geometry.moc"
