#include "model/canvas_region.h"
#include "rules/cell_clash_resolution.h"
#include "support/canvas_picture.h"
#include "support/clash_fixtures.h"

#include <QTest>

namespace {

const CanvasLayoutSpec bitmapOnly {};

// Paints the rectangle the way a tool does: snapshot, fill, then settle the clashes.
QRect paintAndResolve(const ClashContext& ctx, Colormap& canvas, const QRect& rect)
{
    const Colormap before = canvas.snapshotRegion(rect);
    canvas.fillRect(rect, ctx.paintIndex);
    return resolveCellClashes(ctx, canvas, before, rect);
}

} // namespace

class TestCellClashResolution : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hiresVictim_data()
    {
        QTest::addColumn<HiresClashResolution>("resolution");
        QTest::addColumn<int>("border");
        QTest::addColumn<QStringList>("expected");
        const QStringList twoGaveWay {
            "11111111", "11111111", "11111111", "11113333", "33333333", "33333333", "33333333", "33333333"};
        const QStringList oneGaveWay {
            "33333333", "33333333", "33333333", "33333222", "22222222", "22222222", "22222222", "22222222"};
        QTest::newRow("replace overwritten") << HiresClashResolution::ReplaceOverwritten << 14 << twoGaveWay;
        QTest::newRow("preserve border 2") << HiresClashResolution::PreserveBorder << 2 << oneGaveWay;
        QTest::newRow("preserve most used") << HiresClashResolution::PreserveMostUsed << 14 << oneGaveWay;
    }

    void hiresVictim()
    {
        QFETCH(HiresClashResolution, resolution);
        QFETCH(int, border);
        QFETCH(QStringList, expected);

        ClashContext ctx = testClashContext(CanvasMode::Hires, bitmapOnly, 3);
        ctx.hiresClashResolution = resolution;
        ctx.slots[HistoryColorSlot::Border] = uchar(border);
        // 28 pixels of 1 and 36 of 2; a 3 lands on a 2.
        Colormap canvas = canvasFromRows(
            {"11111111", "11111111", "11111111", "11112222", "22222222", "22222222", "22222222", "22222222"});
        QCOMPARE(paintAndResolve(ctx, canvas, QRect(4, 3, 1, 1)), QRect(0, 0, 8, 8));
        QCOMPARE(canvasToRows(canvas), rowsText(expected));
    }

    void multicolorVictim_data()
    {
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<QRect>("paint");
        QTest::addColumn<int>("paintIndex");
        QTest::addColumn<bool>("singlePixel");
        QTest::addColumn<QStringList>("expected");

        // Background 0 plus 5 pixels of 1, 4 of 2 and 2 of 3; the right cell is another cell.
        const QStringList full {"0011 5555", "0022 5555", "0033 5555", "0000 5555", "0001 5555", "0012 5555",
            "0002 5555", "1000 5555"};
        QTest::newRow("one pixel: the overwritten colour")
            << full << QRect(2, 1, 1, 1) << 4 << true
            << QStringList {"0011 5555", "0044 5555", "0033 5555", "0000 5555", "0001 5555", "0014 5555",
                   "0004 5555", "1000 5555"};
        QTest::newRow("wide: the least-used colour")
            << full << QRect(2, 0, 2, 1) << 4 << false
            << QStringList {"0044 5555", "0022 5555", "0044 5555", "0000 5555", "0001 5555", "0012 5555",
                   "0002 5555", "1000 5555"};

        // A single background pixel: the background is the least-used colour but never a victim.
        const QStringList sparseBackground {"0111", "1111", "2222", "2222", "3333", "3333", "3333", "3333"};
        QTest::newRow("wide: background is never the victim")
            << sparseBackground << QRect(0, 4, 2, 1) << 4 << false
            << QStringList {"0444", "4444", "2222", "2222", "4433", "3333", "3333", "3333"};
    }

    void multicolorVictim()
    {
        QFETCH(QStringList, picture);
        QFETCH(QRect, paint);
        QFETCH(int, paintIndex);
        QFETCH(bool, singlePixel);
        QFETCH(QStringList, expected);

        ClashContext ctx = testClashContext(CanvasMode::Multicolor, bitmapOnly, uchar(paintIndex));
        ctx.singlePixel = singlePixel;
        Colormap canvas = canvasFromRows(picture);
        paintAndResolve(ctx, canvas, paint);
        QCOMPARE(canvasToRows(canvas), rowsText(expected));
    }

    void spriteUnitTakesThePaintedColour_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<QPoint>("freeA");
        QTest::addColumn<QPoint>("freeB");
        QTest::addColumn<QPoint>("neighbour");
        QTest::addColumn<QPoint>("paint");
        QTest::addColumn<QRect>("unit");

        const auto H = CanvasMode::Hires;
        const CanvasLayoutSpec sides = CanvasLayoutSpec {CanvasLayout::SideBorders};
        const CanvasLayoutSpec leftAligned = CanvasLayoutSpec {CanvasLayout::TopBottomBorders};
        const CanvasLayoutSpec rightAligned = CanvasLayoutSpec {
            CanvasLayout::TopBottomBorders, SpriteAlignment::Right, SpriteAlignment::Right};
        const auto span = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };

        // Free colour 5 at both ends of a unit and in the next unit; 7 painted on a shared pixel.
        QTest::newRow("hires left strip, paired row 4")
            << H << sides << QPoint(3, 80) << QPoint(20, 117) << QPoint(3, 118) << QPoint(10, 100)
            << span(0, 76, 23, 117);
        QTest::newRow("hires top, left-aligned partial column")
            << H << leftAligned << QPoint(312, 0) << QPoint(319, 41) << QPoint(311, 20) << QPoint(315, 20)
            << span(312, 0, 319, 41);
        QTest::newRow("hires top, right-aligned partial column")
            << H << rightAligned << QPoint(0, 0) << QPoint(7, 41) << QPoint(8, 20) << QPoint(3, 20)
            << span(0, 0, 7, 41);
    }

    void spriteUnitTakesThePaintedColour()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(QPoint, freeA);
        QFETCH(QPoint, freeB);
        QFETCH(QPoint, neighbour);
        QFETCH(QPoint, paint);
        QFETCH(QRect, unit);

        const ClashContext ctx = testClashContext(mode, layout, 7);
        Colormap canvas = blankTestCanvas(ctx);
        for (const QPoint& p : {freeA, freeB, neighbour})
            canvas.setPixel(p.x(), p.y(), 5);
        Colormap expected = canvas;
        for (const QPoint& p : {freeA, freeB, paint})
            expected.setPixel(p.x(), p.y(), 7);

        QCOMPARE(paintAndResolve(ctx, canvas, QRect(paint, paint)), unit);
        QVERIFY(canvas.diffBoundingRect(expected).isNull());
    }
};

QTEST_APPLESS_MAIN(TestCellClashResolution)
#include "tst_cell_clash_resolution.moc"
