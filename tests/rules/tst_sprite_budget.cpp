#include "model/canvas_region.h"
#include "model/colormap.h"
#include "model/sprite_strip_grid.h"
#include "rules/sprite_budget.h"
#include "rules/sprite_count_tracker.h"
#include "support/clash_fixtures.h"

#include <QTest>

namespace {

// The fixtures give the top border background 6 and the bottom border background 9.
constexpr uchar ink = 1;
constexpr uchar topBackground = 6;
constexpr uchar bottomBackground = 9;

ClashContext topBottomContext(CanvasMode mode = CanvasMode::Hires,
    SpriteAlignment top = SpriteAlignment::Left, SpriteAlignment bottom = SpriteAlignment::Left)
{
    return testClashContext(mode, {CanvasLayout::TopBottomBorders, top, bottom});
}

// The strips come first and last.
CanvasRegion stripOf(const ClashContext& ctx, const Colormap& canvas, SpriteStripSide side)
{
    const QList<CanvasRegion> regions = canvasRegions(ctx.mode, canvas.size(), ctx.layout);
    return side == SpriteStripSide::Top ? regions.first() : regions.last();
}

SpriteStripGrid gridOf(const ClashContext& ctx, const Colormap& canvas, SpriteStripSide side)
{
    return spriteStripGrid(stripOf(ctx, canvas, side), ctx.mode, ctx.layout);
}

// One line of a border, one character per column: '#' where the whole width of the column
// holds the colour, '.' where none of it does, '?' for a mix.
QString lineCoverage(
    const ClashContext& ctx, const Colormap& canvas, SpriteStripSide side, int y, uchar color)
{
    const SpriteStripGrid grid = gridOf(ctx, canvas, side);
    QString picture;
    for (int column = 0; column < grid.columns; ++column) {
        const QRect unit = grid.unitRect(column, 0);
        int hits = 0;
        for (int x = unit.left(); x <= unit.right(); ++x)
            hits += canvas.pixel(x, y) == color ? 1 : 0;
        picture += hits == unit.width() ? QLatin1Char('#') : hits == 0 ? QLatin1Char('.') : QLatin1Char('?');
    }
    return picture;
}

// Puts one pixel of `color` into each column marked '#', at the column's left edge on the
// given line of the strip.
void occupy(Colormap& canvas, const ClashContext& ctx, SpriteStripSide side, const QString& columns,
    uchar color, int line = 0)
{
    const SpriteStripGrid grid = gridOf(ctx, canvas, side);
    for (int column = 0; column < columns.size(); ++column) {
        if (columns[column] == QLatin1Char('#'))
            canvas.setPixel(grid.unitRect(column, 0).left(), grid.rect.top() + line, color);
    }
}

// A stroke along one line, pixel by pixel from left to right, through the paint path under
// the enforce policy: a refused pixel is skipped, a painted one noted.
void stroke(SpriteCountTracker& tracker, Colormap& canvas, int y, int fromX, int toX, uchar color)
{
    for (int x = fromX; x <= toX; ++x) {
        if (tracker.vetoPaint(QPoint(x, y), color))
            continue;
        canvas.setPixel(x, y, color);
        tracker.notePainted(QPoint(x, y), color);
    }
}

// Draws `count` pixels of ink into the column, in scan order from the unit's top-left.
void fillColumn(Colormap& canvas, const SpriteStripGrid& grid, int column, int count)
{
    const QRect unit = grid.unitRect(column, 0);
    for (int i = 0; i < count; ++i)
        canvas.setPixel(unit.left() + i % unit.width(), unit.top() + i / unit.width(), ink);
}

} // namespace

class TestSpriteBudget : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ninthSpriteIsRefused()
    {
        const ClashContext ctx = topBottomContext();
        Colormap canvas = blankTestCanvas(ctx);
        const int w = canvas.width();
        const int bottomTop = canvas.height() - 42;
        // The bottom border's background is just another colour in the top border.
        occupy(canvas, ctx, SpriteStripSide::Top, "#.#.#.#.#.#.##", bottomBackground, 3);

        SpriteCountTracker tracker(ctx, canvas);
        stroke(tracker, canvas, 20, 0, w - 1, ink);
        QCOMPARE(lineCoverage(ctx, canvas, SpriteStripSide::Top, 20, ink), QString("#.#.#.#.#.#.##"));

        // The bottom border has a budget of its own, and there the top's background is ink.
        stroke(tracker, canvas, bottomTop + 41, 0, w - 1, topBackground);
        QCOMPARE(lineCoverage(ctx, canvas, SpriteStripSide::Bottom, bottomTop + 41, topBackground),
            QString("########......"));
    }

    // Enforcement stops new sprites; it never locks a border that arrived over budget.
    void aBorderOverBudgetStillTakesPaintInItsSprites()
    {
        const ClashContext ctx = topBottomContext();
        Colormap canvas = blankTestCanvas(ctx);
        const int bottomTop = canvas.height() - 42;
        occupy(canvas, ctx, SpriteStripSide::Bottom, "....#########", 2, 41);

        SpriteCountTracker tracker(ctx, canvas);
        stroke(tracker, canvas, bottomTop + 10, 0, canvas.width() - 1, ink);
        QCOMPARE(lineCoverage(ctx, canvas, SpriteStripSide::Bottom, bottomTop + 10, ink),
            QString("....#########."));
    }

    void reductionVictims_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<SpriteStripSide>("side");
        QTest::addColumn<SpriteAlignment>("alignment");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QList<int>>("victims");

        const auto H = CanvasMode::Hires;
        const auto M = CanvasMode::Multicolor;
        const auto top = SpriteStripSide::Top;
        const auto bottom = SpriteStripSide::Bottom;
        const auto left = SpriteAlignment::Left;
        const auto right = SpriteAlignment::Right;
        const QList<int> ten {50, 40, 40, 30, 30, 30, 20, 20, 10, 10};
        const QList<int> nineEqual {0, 0, 5, 5, 5, 5, 5, 5, 5, 5, 5};

        QTest::newRow("top left, smallest counts") << H << top << left << ten << QList<int> {8, 9};
        QTest::newRow("bottom right, smallest counts") << H << bottom << right << ten << QList<int> {8, 9};
        QTest::newRow("top left, ties keep the left") << H << top << left << nineEqual << QList<int> {10};
        QTest::newRow("top right, ties keep the right") << H << top << right << nineEqual << QList<int> {2};
        QTest::newRow("multicolor left") << M << top << left << nineEqual << QList<int> {10};
    }

    void reductionVictims()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(SpriteStripSide, side);
        QFETCH(SpriteAlignment, alignment);
        QFETCH(QList<int>, counts);
        QFETCH(QList<int>, victims);

        const ClashContext ctx = topBottomContext(mode, alignment, alignment);
        Colormap canvas = blankTestCanvas(ctx);
        const SpriteStripGrid grid = gridOf(ctx, canvas, side);
        for (int column = 0; column < counts.size(); ++column)
            fillColumn(canvas, grid, column, counts[column]);

        QList<QRect> expected;
        for (int column : victims)
            expected.append(grid.unitRect(column, 0));
        const CanvasRegion strip = stripOf(ctx, canvas, side);
        const QList<QRect> rects = spriteBudgetReductionRects(ctx, canvas, strip);
        QCOMPARE(rects, expected);
        QCOMPARE(spriteCountViolationRects(ctx, canvas, strip), rects);
    }

    // Flipping a border's alignment moves its partial column, so the same pixels can fall
    // into more sprites than before.
    void alignmentMovesThePartialColumn()
    {
        for (SpriteAlignment alignment : {SpriteAlignment::Left, SpriteAlignment::Right}) {
            const ClashContext ctx = topBottomContext(CanvasMode::Hires, alignment, alignment);
            Colormap canvas = blankTestCanvas(ctx);
            for (int x : {4, 20, 60, 84, 108, 132, 156, 180, 204})
                canvas.setPixel(x, 10, ink);
            const CanvasRegion top = stripOf(ctx, canvas, SpriteStripSide::Top);
            SpriteCountTracker tracker(ctx, canvas);
            // Left-aligned the pixels fill eight sprite columns ("#.#######....."); right-aligned
            // the partial column comes first and they fill nine ("##.#######....").
            if (alignment == SpriteAlignment::Left) {
                QVERIFY(spriteBudgetReductionRects(ctx, canvas, top).isEmpty());
                QVERIFY(tracker.vetoPaint(QPoint(230, 30), ink));
            } else {
                QCOMPARE(spriteBudgetReductionRects(ctx, canvas, top), QList<QRect> {QRect(0, 0, 8, 42)});
                QVERIFY(!tracker.vetoPaint(QPoint(31, 30), ink));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestSpriteBudget)
#include "tst_sprite_budget.moc"
