#include "document/project.h"
#include "paint/brush.h"
#include "paint/fill_paint.h"
#include "paint/footprint_mask.h"
#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"
#include "support/mask_picture.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QStringList wholeMask(const FootprintMask& mask)
{
    return maskPicture(mask, QRect(QPoint(0, 0), mask.canvasSize()));
}

// Blobs of few colours, as drawings have them, so seeds land in areas of every size.
void drawBlobs(Colormap& canvas, QRandomGenerator& random)
{
    for (int i = 0; i < 40; ++i) {
        const QRect blob(random.bounded(canvas.width()), random.bounded(canvas.height()),
            1 + random.bounded(40), 1 + random.bounded(30));
        canvas.fillRect(blob & canvas.rect(), uchar(random.bounded(16)));
    }
}

} // namespace

class TestFloodFill : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void floodCoversTheConnectedAreaOnly_data()
    {
        QTest::addColumn<QStringList>("canvas");
        QTest::addColumn<QPoint>("seed");
        QTest::addColumn<QList<QRect>>("locked");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("diagonal contact does not join") << QStringList {"1100", "1100", "0011",
            "0011"} << QPoint(0, 0) << QList<QRect> {} << QStringList {"##..", "##..", "....", "...."};
        QTest::newRow("around a wall")
            << QStringList {"00000", "01110", "01010", "01110", "00000"} << QPoint(0, 0) << QList<QRect> {}
            << QStringList {"#####", "#...#", "#...#", "#...#", "#####"};
        QTest::newRow("enclosed pocket")
            << QStringList {"00000", "01110", "01010", "01110", "00000"} << QPoint(2, 2) << QList<QRect> {}
            << QStringList {".....", ".....", "..#..", ".....", "....."};
        QTest::newRow("locked pixels cut the area")
            << QStringList {"0000", "0000", "0000", "0000"} << QPoint(0, 0)
            << QList<QRect> {QRect(0, 2, 4, 1)} << QStringList {"####", "####", "....", "...."};
        QTest::newRow("seed on a locked pixel")
            << QStringList {"0000", "0000"} << QPoint(1, 1) << QList<QRect> {QRect(0, 1, 4, 1)}
            << QStringList {"....", "...."};
        QTest::newRow("seed outside")
            << QStringList {"00", "00"} << QPoint(2, 0) << QList<QRect> {} << QStringList {"..", ".."};
    }

    void floodCoversTheConnectedAreaOnly()
    {
        QFETCH(QStringList, canvas);
        QFETCH(QPoint, seed);
        QFETCH(QList<QRect>, locked);
        QFETCH(QStringList, expected);
        const Colormap colormap = canvasFromRows(canvas);
        for (const int pixelWidth : {1, 2}) {
            FootprintMask mask(colormap.size(), pixelWidth);
            // Left over from an earlier fill: must not leak into this one.
            mask.writableImage().fill(255);
            mask.clear();
            const QRect rect = floodFillCoverage(colormap, seed, mask, locked);
            QCOMPARE(wholeMask(mask), expected);
            QCOMPARE(rect.isEmpty(), !expected.join(QString()).contains(QLatin1Char('#')));
        }
    }

    // Hand-drawn areas of colour 1 on 0; the band is shown as '#'.
    void contourPlacements_data()
    {
        QTest::addColumn<QStringList>("canvas");
        QTest::addColumn<QPoint>("seed");
        QTest::addColumn<ContourPlacement>("placement");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("expected");
        const QStringList square {
            "0000000", "0111110", "0111110", "0111110", "0111110", "0111110", "0000000"};
        QTest::newRow("w1 center: the inner rim")
            << square << QPoint(3, 3) << ContourPlacement::Center << 1
            << QStringList {".......", ".#####.", ".#...#.", ".#...#.", ".#...#.", ".#####.", "......."};
        QTest::newRow("w1 outside: the ring of 4-neighbours")
            << square << QPoint(3, 3) << ContourPlacement::Outside << 1
            << QStringList {".#####.", "#.....#", "#.....#", "#.....#", "#.....#", "#.....#", ".#####."};
        QTest::newRow("w1 inside: the inner rim")
            << square << QPoint(3, 3) << ContourPlacement::Inside << 1
            << QStringList {".......", ".#####.", ".#...#.", ".#...#.", ".#...#.", ".#####.", "......."};
        QTest::newRow("w1 outside from the background lies inside the shape")
            << square << QPoint(0, 0) << ContourPlacement::Outside << 1
            << QStringList {".......", ".#####.", ".#...#.", ".#...#.", ".#...#.", ".#####.", "......."};
        QTest::newRow("w1 center on an area at the canvas edge")
            << QStringList {"1110", "1110", "0000"} << QPoint(0, 0) << ContourPlacement::Center << 1
            << QStringList {"..#.", "###.", "...."};
        // A block of 10 x 10 with a notch, 5 pixels from every canvas edge.
        QStringList block(20, QString(20, QLatin1Char('0')));
        for (int y = 5; y < 15; ++y)
            block[y].replace(5, 10, QStringLiteral("1111111111"));
        block[5].replace(9, 2, QStringLiteral("00"));
        QTest::newRow("w4 center straddles the edge (the even nib sits on a pixel corner)")
            << block << QPoint(9, 9) << ContourPlacement::Center << 4
            << QStringList {"....................", "....................", "....................",
                   "....#####.#####.....", "...#############....", "...#############....",
                   "...#############....", "...####.###.####....", "...####.....####....",
                   "...####.....####....", "...####.....####....", "...####.....####....",
                   "...#############....", "...#############....", "...#############....",
                   "....###########.....", "....................", "....................",
                   "....................", "...................."};
        QTest::newRow("w4 outside: four pixels out, notch filled")
            << block << QPoint(9, 9) << ContourPlacement::Outside << 4
            << QStringList {"....................", "...##############...", "..################..",
                   ".##################.", ".##################.", ".####....##....####.",
                   ".####..........####.", ".####..........####.", ".####..........####.",
                   ".####..........####.", ".####..........####.", ".####..........####.",
                   ".####..........####.", ".####..........####.", ".####..........####.",
                   ".##################.", ".##################.", "..################..",
                   "...##############...", "...................."};
        QTest::newRow("w4 inside: four pixels in")
            << block << QPoint(9, 9) << ContourPlacement::Inside << 4
            << QStringList {"....................", "....................", "....................",
                   "....................", "....................", ".....####..####.....",
                   ".....##########.....", ".....##########.....", ".....##########.....",
                   ".....##########.....", ".....####..####.....", ".....##########.....",
                   ".....##########.....", ".....##########.....", ".....##########.....",
                   "....................", "....................", "....................",
                   "....................", "...................."};
    }

    void contourPlacements()
    {
        QFETCH(QStringList, canvas);
        QFETCH(QPoint, seed);
        QFETCH(ContourPlacement, placement);
        QFETCH(int, width);
        QFETCH(QStringList, expected);
        const Colormap colormap = canvasFromRows(canvas);
        FootprintMask region(colormap.size(), 1);
        FootprintMask band(colormap.size(), 1);
        const QRect rect = contourCoverage(colormap, seed, Brush(width), placement, 1.0, {}, region, band);
        QCOMPARE(wholeMask(band), expected);
        QVERIFY(!rect.isEmpty());
        QVERIFY(band.touchedRect().contains(rect));
    }

    void contourNeedsTwoMasks()
    {
        const Colormap colormap = canvasFromRows({"010", "111", "010"});
        FootprintMask mask(colormap.size(), 1);
        QVERIFY(
            contourCoverage(colormap, QPoint(1, 1), Brush(1), ContourPlacement::Center, 1.0, {}, mask, mask)
                .isNull());
    }

    // Whatever the canvas, seed, colour and texture, a fill leaves the canvas legal.
    void fillNeverLeavesAClash_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayout>("layout");
        for (const CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            for (const CanvasLayout layout :
                {CanvasLayout::BitmapOnly, CanvasLayout::SideBorders, CanvasLayout::TopBottomBorders})
                QTest::addRow("mode %d layout %d", int(mode), int(layout)) << mode << layout;
        }
    }

    void fillNeverLeavesAClash()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        QRandomGenerator random(1234 + int(mode) * 7 + int(layout));
        Texture::Rows rows;
        for (std::size_t y = 0; y < rows.size(); ++y)
            rows[y] = y % 2 ? 0xaaaa : 0x5555;
        const Texture checker(rows);
        for (int round = 0; round < 4; ++round) {
            Project project(mode, 0, 0, CanvasLayoutSpec {layout}, 1);
            drawBlobs(project.colormap(), random);
            project.resolveAllClashes();
            PaintRules rules = paintRulesFor(project);
            QVERIFY(!canvasHasUnresolvedClashes(rules.context, project.colormap()));
            FootprintMask surface(project.size(), isMulticolor(mode) ? 2 : 1);
            FootprintMask region(project.size(), isMulticolor(mode) ? 2 : 1);
            for (int i = 0; i < 25; ++i) {
                const QPoint seed(
                    random.bounded(project.size().width()), random.bounded(project.size().height()));
                CoveredPaint paint;
                paint.colour = uchar(random.bounded(16));
                paint.altColour = uchar(random.bounded(16));
                if (i % 3 == 0)
                    paint.texture = checker;
                if (i % 2 == 0) {
                    floodFillPaint(project.colormap(), surface, seed, paint, rules, {});
                } else {
                    const Brush brush(1 + random.bounded(5));
                    contourPaint(project.colormap(), region, surface, seed, brush,
                        ContourPlacement(random.bounded(3)), 1.0, paint, rules, {});
                }
                if (canvasHasUnresolvedClashes(rules.context, project.colormap()))
                    QFAIL(qPrintable(
                        QStringLiteral("clash after fill %1 at %2,%3").arg(i).arg(seed.x()).arg(seed.y())));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFloodFill)
#include "tst_flood_fill.moc"
