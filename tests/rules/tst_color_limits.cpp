#include "model/canvas_region.h"
#include "rules/cell_color_limit.h"
#include "rules/sprite_colors.h"
#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"
#include "support/clash_fixtures.h"

#include <QTest>

class TestColorLimits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cellLimit_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<QStringList>("cell");
        QTest::addColumn<bool>("exceeds");

        const auto H = CanvasMode::Hires;
        const auto M = CanvasMode::Multicolor;
        QTest::newRow("hires, two colours") << H << QStringList {"12121212", "21212121"} << false;
        QTest::newRow("hires, a third colour") << H << QStringList {"12121212", "21212123"} << true;
        QTest::newRow("multicolor, background and three") << M << QStringList {"0123", "3210"} << false;
        QTest::newRow("multicolor, background and four") << M << QStringList {"0123", "4000"} << true;
        QTest::newRow("multicolor, four without background") << M << QStringList {"1234", "1234"} << true;
    }

    void cellLimit()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(QStringList, cell);
        QFETCH(bool, exceeds);
        const Colormap canvas = canvasFromRows(cell);
        QCOMPARE(cellExceedsColorLimit(mode, canvas, canvas.rect(), 0), exceeds);
    }

    void spriteUnitLimit()
    {
        const ClashContext ctx
            = testClashContext(CanvasMode::Multicolor, CanvasLayoutSpec {CanvasLayout::SideBorders});
        Colormap canvas = blankTestCanvas(ctx);
        const CanvasRegion left = canvasRegions(ctx.mode, canvas.size(), ctx.layout).first();
        // Multicolours and background cost nothing; one own colour is allowed.
        drawRows(canvas, QPoint(12, 76), {"bc05"});
        QVERIFY(!spriteUnitExceedsColorLimit(ctx, canvas, left, 1, 4));
        // A second own colour in the lower hardware sprite of the same 42-line unit.
        drawRows(canvas, QPoint(23, 117), {"7"});
        QVERIFY(spriteUnitExceedsColorLimit(ctx, canvas, left, 1, 4));
        QVERIFY(!spriteUnitExceedsColorLimit(ctx, canvas, left, 1, 5));
        QVERIFY(!spriteUnitExceedsColorLimit(ctx, canvas, left, 0, 4));
    }

    void unresolvedClashes_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<bool>("clash");

        const auto H = CanvasMode::Hires;
        const auto M = CanvasMode::Multicolor;
        const CanvasLayoutSpec sides = CanvasLayoutSpec {CanvasLayout::SideBorders};
        const CanvasLayoutSpec topBottom = CanvasLayoutSpec {CanvasLayout::TopBottomBorders};
        const CanvasLayoutSpec rightAligned = CanvasLayoutSpec {
            CanvasLayout::TopBottomBorders, SpriteAlignment::Right, SpriteAlignment::Right};

        QTest::newRow("hires bitmap cell") << H << sides << QPoint(48, 0) << QStringList {"12"} << true;
        QTest::newRow("multicolor cells from line 42, same cell")
            << M << topBottom << QPoint(0, 48) << QStringList {"12", "34"} << true;
        QTest::newRow("side unit with two own colours")
            << H << sides << QPoint(400, 150) << QStringList {"5", "7"} << true;
        QTest::newRow("top partial column, left-aligned")
            << H << topBottom << QPoint(312, 0) << QStringList {"5", "", "", "7"} << true;
        QTest::newRow("top partial column, right-aligned")
            << H << rightAligned << QPoint(7, 0) << QStringList {"57"} << false;
    }

    void unresolvedClashes()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(QPoint, at);
        QFETCH(QStringList, picture);
        QFETCH(bool, clash);
        const ClashContext ctx = testClashContext(mode, layout);
        Colormap canvas = blankTestCanvas(ctx);
        drawRows(canvas, at, picture);
        QCOMPARE(canvasHasUnresolvedClashes(ctx, canvas), clash);
    }
};

QTEST_APPLESS_MAIN(TestColorLimits)
#include "tst_color_limits.moc"
