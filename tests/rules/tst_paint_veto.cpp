#include "model/canvas_region.h"
#include "rules/canvas_region_at.h"
#include "rules/paint_veto.h"
#include "support/canvas_picture.h"
#include "support/clash_fixtures.h"

#include <QTest>

namespace {

QString describe(const std::optional<CanvasRegion>& region)
{
    if (!region)
        return QStringLiteral("none");
    const QRect r = region->rect;
    return QString::asprintf(
        "%d:%d:%d,%d,%d,%d", int(region->kind), int(region->side), r.left(), r.top(), r.right(), r.bottom());
}

} // namespace

class TestPaintVeto : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void veto_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<QPoint>("drawAt");
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("paintIndex");
        QTest::addColumn<bool>("vetoed");

        const auto H = CanvasMode::Hires;
        const auto M = CanvasMode::Multicolor;
        const CanvasLayoutSpec bitmap = CanvasLayoutSpec {CanvasLayout::BitmapOnly};
        const CanvasLayoutSpec sides = CanvasLayoutSpec {CanvasLayout::SideBorders};
        const CanvasLayoutSpec topBottom = CanvasLayoutSpec {CanvasLayout::TopBottomBorders};
        const CanvasLayoutSpec rightAligned = CanvasLayoutSpec {
            CanvasLayout::TopBottomBorders, SpriteAlignment::Right, SpriteAlignment::Right};

        // A multicolor cell holding the background 0 and three colours of its own.
        const QStringList fullCell {"1230", "0000", "0000", "0000", "0000", "0000", "0000", "0000"};
        const QPoint origin(0, 0);
        QTest::newRow("full cell, background pixel")
            << M << bitmap << origin << fullCell << QPoint(3, 5) << 4 << true;
        QTest::newRow("full cell, pixel of its own colour")
            << M << bitmap << origin << fullCell << QPoint(1, 0) << 4 << false;
        // The cell grid starts where the bitmap does: on line 42.
        QTest::newRow("cell grid from line 42, same cell")
            << M << topBottom << QPoint(0, 42) << fullCell << QPoint(2, 49) << 4 << true;

        // Hires side strip: the border colour 14 is shared, 5 is the unit's own colour.
        const QStringList five {"5"};
        QTest::newRow("sprite: second own colour on a shared pixel")
            << H << sides << QPoint(3, 80) << five << QPoint(10, 100) << 6 << true;
        QTest::newRow("sprite: shared colour")
            << H << sides << QPoint(3, 80) << five << QPoint(10, 100) << 14 << false;
        QTest::newRow("sprite: paired row reaches line 117")
            << H << sides << QPoint(3, 80) << five << QPoint(3, 117) << 6 << true;
        QTest::newRow("sprite: line 118 is the next unit")
            << H << sides << QPoint(3, 80) << five << QPoint(3, 118) << 6 << false;
        // Top and bottom strips: one 42-line row, the partial column by the alignment.
        QTest::newRow("top, left-aligned partial column")
            << H << topBottom << QPoint(313, 0) << five << QPoint(319, 41) << 7 << true;
        QTest::newRow("top, right-aligned partial column")
            << H << rightAligned << QPoint(0, 0) << five << QPoint(7, 41) << 7 << true;
    }

    void veto()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(QPoint, drawAt);
        QFETCH(QStringList, picture);
        QFETCH(QPoint, point);
        QFETCH(int, paintIndex);
        QFETCH(bool, vetoed);

        ClashContext ctx = testClashContext(mode, layout, uchar(paintIndex));
        ctx.singlePixel = true;
        Colormap canvas = blankTestCanvas(ctx);
        drawRows(canvas, drawAt, picture);
        QCOMPARE(vetoSinglePixelPaint(ctx, canvas, point), vetoed);
    }

    // The veto finds a point's region without the list; it must agree with the list for every
    // canvas shape, the degenerate ones included.
    void regionAtMatchesTheRegionList()
    {
        const QList<QSize> sizes {{0, 0}, {50, 30}, {80, 200}, {104, 200}, {105, 200}, {48, 200}, {49, 200},
            {160, 84}, {160, 85}, {320, 40}, {416, 200}, {208, 200}, {320, 284}, {736, 200}, {640, 284},
            {300, 180}, {1, 1}};
        const QList<CanvasLayoutSpec> layouts {CanvasLayoutSpec {CanvasLayout::BitmapOnly},
            CanvasLayoutSpec {CanvasLayout::SideBorders}, CanvasLayoutSpec {CanvasLayout::TopBottomBorders}};
        for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            for (const CanvasLayoutSpec& layout : layouts) {
                for (const QSize& size : sizes) {
                    const QList<CanvasRegion> regions = canvasRegions(mode, size, layout);
                    for (int y = -2; y <= size.height() + 1; ++y) {
                        for (int x = -2; x <= size.width() + 1; ++x) {
                            std::optional<CanvasRegion> expected;
                            for (const CanvasRegion& region : regions) {
                                if (!region.rect.isEmpty() && region.rect.contains(x, y)) {
                                    expected = region;
                                    break;
                                }
                            }
                            const std::optional<CanvasRegion> actual
                                = canvasRegionAt(mode, size, layout, {x, y});
                            if (actual != expected) {
                                QFAIL(qPrintable(
                                    QString::asprintf("mode %d layout %d size %dx%d at %d,%d: ", int(mode),
                                        int(layout.layout), size.width(), size.height(), x, y)
                                    + describe(actual) + ", expected " + describe(expected)));
                            }
                        }
                    }
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestPaintVeto)
#include "tst_paint_veto.moc"
