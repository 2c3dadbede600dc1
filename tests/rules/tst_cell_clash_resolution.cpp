#include "model/canvas_region.h"
#include "rules/cell_clash_resolution.h"
#include "support/canvas_picture.h"
#include "support/clash_fixtures.h"

#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayoutSpec)
Q_DECLARE_METATYPE(HiresClashResolution)

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
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<QRect>("paint");
        QTest::addColumn<HiresClashResolution>("resolution");
        QTest::addColumn<int>("border");
        QTest::addColumn<QStringList>("expected");

        // 28 pixels of 1 and 36 of 2; a 3 lands on a 2.
        const QStringList mostlyTwo {
            "11111111", "11111111", "11111111", "11112222", "22222222", "22222222", "22222222", "22222222"};
        const QStringList twoGaveWay {
            "11111111", "11111111", "11111111", "11113333", "33333333", "33333333", "33333333", "33333333"};
        const QStringList oneGaveWay {
            "33333333", "33333333", "33333333", "33333222", "22222222", "22222222", "22222222", "22222222"};
        const QRect onTwo(4, 3, 1, 1);
        QTest::newRow("replace overwritten")
            << mostlyTwo << onTwo << HiresClashResolution::ReplaceOverwritten << 14 << twoGaveWay;
        QTest::newRow("preserve border 2")
            << mostlyTwo << onTwo << HiresClashResolution::PreserveBorder << 2 << oneGaveWay;
        QTest::newRow("preserve border 1")
            << mostlyTwo << onTwo << HiresClashResolution::PreserveBorder << 1 << twoGaveWay;
        QTest::newRow("preserve border absent")
            << mostlyTwo << onTwo << HiresClashResolution::PreserveBorder << 14 << twoGaveWay;
        QTest::newRow("preserve most used")
            << mostlyTwo << onTwo << HiresClashResolution::PreserveMostUsed << 14 << oneGaveWay;
        // Snapshotted clipped, the rectangle's first pixel is the clipped corner's: four 1s
        // and one 2 were overwritten, so 1 gives way.
        QTest::newRow("rectangle reaching off the canvas")
            << mostlyTwo << QRect(QPoint(-2, 3), QPoint(4, 3)) << HiresClashResolution::ReplaceOverwritten
            << 14 << oneGaveWay;

        // 31 of 1 and 33 of 2; painting two 2s leaves 31 of each.
        const QStringList nearlyEven {
            "11111111", "11111111", "11111111", "11111112", "22222222", "22222222", "22222222", "22222222"};
        QTest::newRow("most used tie to lower index")
            << nearlyEven << QRect(6, 4, 2, 1) << HiresClashResolution::PreserveMostUsed << 14
            << QStringList {"33333333", "33333333", "33333333", "33333332", "22222233", "22222222",
                   "22222222", "22222222"};
        // One 1 and one 2 overwritten: the lower index gives way.
        QTest::newRow("overwritten tie to lower index")
            << nearlyEven << QRect(6, 3, 2, 1) << HiresClashResolution::ReplaceOverwritten << 14
            << QStringList {"33333333", "33333333", "33333333", "33333333", "22222222", "22222222",
                   "22222222", "22222222"};
    }

    void hiresVictim()
    {
        QFETCH(QStringList, picture);
        QFETCH(QRect, paint);
        QFETCH(HiresClashResolution, resolution);
        QFETCH(int, border);
        QFETCH(QStringList, expected);

        ClashContext ctx = testClashContext(CanvasMode::Hires, bitmapOnly, 3);
        ctx.hiresClashResolution = resolution;
        ctx.slots[HistoryColorSlot::Border] = uchar(border);
        Colormap canvas = canvasFromRows(picture);
        const QRect changed = paintAndResolve(ctx, canvas, paint);
        QCOMPARE(canvasToRows(canvas), rowsText(expected));
        QCOMPARE(changed, QRect(0, 0, 8, 8));
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
        QTest::newRow("painting the background needs no victim")
            << full << QRect(2, 0, 2, 1) << 0 << false
            << QStringList {"0000 5555", "0022 5555", "0033 5555", "0000 5555", "0001 5555", "0012 5555",
                   "0002 5555", "1000 5555"};
        QTest::newRow("painting a colour the cell has")
            << full << QRect(0, 3, 4, 1) << 3 << false
            << QStringList {"0011 5555", "0022 5555", "0033 5555", "3333 5555", "0001 5555", "0012 5555",
                   "0002 5555", "1000 5555"};

        // A single background pixel: the background is the least-used colour but never a victim.
        const QStringList sparseBackground {"0111", "1111", "2222", "2222", "3333", "3333", "3333", "3333"};
        QTest::newRow("wide: background is never the victim")
            << sparseBackground << QRect(0, 4, 2, 1) << 4 << false
            << QStringList {"0444", "4444", "2222", "2222", "4433", "3333", "3333", "3333"};
        // Nothing but background was overwritten (no veto was asked): the least-used colour
        // goes, so the cell does not stay over its limit.
        QTest::newRow("one pixel over background alone")
            << sparseBackground << QRect(0, 0, 1, 1) << 4 << true
            << QStringList {"4444", "4444", "2222", "2222", "3333", "3333", "3333", "3333"};
        // Both cells pushed over at once; each settles on its own.
        QTest::newRow("wide across two cells")
            << QStringList {"1230 1230", "0000 0000", "0000 0000", "0000 0000", "0000 0000", "0000 0000",
                   "0000 0000", "1000 3000"}
            << QRect(3, 1, 2, 1) << 4 << false
            << QStringList {"1430 4230", "0004 4000", "0000 0000", "0000 0000", "0000 0000", "0000 0000",
                   "0000 0000", "1000 3000"};
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

    // A clash that came with the canvas is the sweep's business: a paint that changes nothing
    // in that cell leaves it, and a reversed rectangle paints nothing at all.
    void cellsThePaintDidNotChangeStay()
    {
        const ClashContext ctx = testClashContext(CanvasMode::Hires, bitmapOnly, 1);
        const QStringList clashing {
            "12300000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000"};
        Colormap canvas = canvasFromRows(clashing);
        QCOMPARE(paintAndResolve(ctx, canvas, QRect(0, 0, 1, 1)), QRect());
        QCOMPARE(canvasToRows(canvas), rowsText(clashing));
        const Colormap before = canvas;
        QCOMPARE(resolveCellClashes(ctx, canvas, before, QRect(QPoint(5, 5), QPoint(2, 2))), QRect());
        QCOMPARE(canvasToRows(canvas), rowsText(clashing));
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
        const auto M = CanvasMode::Multicolor;
        const CanvasLayoutSpec sides = CanvasLayoutSpec {CanvasLayout::SideBorders};
        const CanvasLayoutSpec leftAligned = CanvasLayoutSpec {CanvasLayout::TopBottomBorders};
        const CanvasLayoutSpec rightAligned = CanvasLayoutSpec {
            CanvasLayout::TopBottomBorders, SpriteAlignment::Right, SpriteAlignment::Right};
        const auto span = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };

        // Free colour 5 at both ends of a unit and in the next unit; 7 painted on a shared pixel.
        QTest::newRow("hires left strip, paired row 4")
            << H << sides << QPoint(3, 80) << QPoint(20, 117) << QPoint(3, 118) << QPoint(10, 100)
            << span(0, 76, 23, 117);
        QTest::newRow("hires right strip, 13-line row 0")
            << H << sides << QPoint(400, 0) << QPoint(407, 12) << QPoint(400, 13) << QPoint(390, 5)
            << span(384, 0, 407, 12);
        QTest::newRow("multicolor left strip, row 2")
            << M << sides << QPoint(12, 34) << QPoint(23, 54) << QPoint(11, 40) << QPoint(15, 45)
            << span(12, 34, 23, 54);
        QTest::newRow("hires top, left-aligned partial column")
            << H << leftAligned << QPoint(312, 0) << QPoint(319, 41) << QPoint(311, 20) << QPoint(315, 20)
            << span(312, 0, 319, 41);
        QTest::newRow("hires top, right-aligned partial column")
            << H << rightAligned << QPoint(0, 0) << QPoint(7, 41) << QPoint(8, 20) << QPoint(3, 20)
            << span(0, 0, 7, 41);
        QTest::newRow("hires bottom, left-aligned first column")
            << H << leftAligned << QPoint(0, 242) << QPoint(23, 283) << QPoint(24, 250) << QPoint(10, 260)
            << span(0, 242, 23, 283);
        QTest::newRow("hires bottom, right-aligned first whole column")
            << H << rightAligned << QPoint(8, 242) << QPoint(31, 283) << QPoint(7, 250) << QPoint(20, 260)
            << span(8, 242, 31, 283);
        QTest::newRow("multicolor top, left-aligned partial column")
            << M << leftAligned << QPoint(156, 0) << QPoint(159, 41) << QPoint(155, 0) << QPoint(157, 30)
            << span(156, 0, 159, 41);
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
        const QRect wrong = canvas.diffBoundingRect(expected);
        QVERIFY2(wrong.isNull(), qPrintable(canvasToRows(canvas, unit | QRect(neighbour, neighbour))));
    }

    void spriteUnitsThatNeedNoVictimStay_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<int>("paintIndex");
        QTest::addColumn<QList<QPoint>>("freeFives");
        QTest::addColumn<QList<QPoint>>("freeEights");

        const QList<QPoint> none;
        // A multicolor side unit: 0, 11 and 12 are shared there.
        QTest::newRow("shared colour over a unit with a free colour")
            << CanvasMode::Multicolor << 11 << QList<QPoint> {{3, 80}} << none;
        QTest::newRow("free colour into an empty unit") << CanvasMode::Multicolor << 7 << none << none;
        QTest::newRow("the unit's own colour again")
            << CanvasMode::Hires << 5 << QList<QPoint> {{3, 80}} << none;
        QTest::newRow("unit already holding two free colours")
            << CanvasMode::Hires << 7 << QList<QPoint> {{3, 80}} << QList<QPoint> {{3, 81}};
    }

    void spriteUnitsThatNeedNoVictimStay()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(int, paintIndex);
        QFETCH(QList<QPoint>, freeFives);
        QFETCH(QList<QPoint>, freeEights);

        const ClashContext ctx
            = testClashContext(mode, CanvasLayoutSpec {CanvasLayout::SideBorders}, uchar(paintIndex));
        Colormap canvas = blankTestCanvas(ctx);
        for (const QPoint& p : freeFives)
            canvas.setPixel(p.x(), p.y(), 5);
        for (const QPoint& p : freeEights)
            canvas.setPixel(p.x(), p.y(), 8);
        Colormap expected = canvas;
        const QPoint paint(10, 100);
        expected.setPixel(paint.x(), paint.y(), uchar(paintIndex));

        QCOMPARE(paintAndResolve(ctx, canvas, QRect(paint, paint)), QRect());
        QVERIFY(canvas.diffBoundingRect(expected).isNull());
    }
};

QTEST_APPLESS_MAIN(TestCellClashResolution)
#include "tst_cell_clash_resolution.moc"
