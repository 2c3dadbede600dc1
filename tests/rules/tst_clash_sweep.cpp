#include "rules/clash_sweep.h"
#include "support/canvas_picture.h"
#include "support/clash_fixtures.h"

#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayoutSpec)
Q_DECLARE_METATYPE(PaletteVariant)

class TestClashSweep : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bitmapCells_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<PaletteVariant>("variant");
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QStringList>("expected");

        const auto H = CanvasMode::Hires;
        const QRect all(0, 0, 16, 8);
        // 40 of white 1, 20 of red 2, 4 of yellow 7: yellow is nearer white than red.
        QTest::newRow("least-used colour merges into the nearest survivor")
            << H << PaletteVariant::Pixcen
            << QStringList {"11111111", "11111111", "11111111", "11111111", "11111111", "22222222",
                   "22222222", "22227777"}
            << all
            << QStringList {"11111111", "11111111", "11111111", "11111111", "11111111", "22222222",
                   "22222222", "22221111"};
        // 24 of 5, 20 each of 3 and 9: 3 survives by its lower index, 9 is nearer 5.
        QTest::newRow("equal use keeps the lower index")
            << H << PaletteVariant::Pixcen
            << QStringList {"55555555", "55555555", "55555555", "33333333", "33333333", "33339999",
                   "99999999", "99999999"}
            << all
            << QStringList {"55555555", "55555555", "55555555", "33333333", "33333333", "33335555",
                   "55555555", "55555555"};
        // Light grey 15 looks nearer white in Pixcen and nearer orange 8 in Pepto.
        const QStringList greyBetween {
            "11111111", "11111111", "11111111", "11111111", "88888888", "88888888", "88888888", "ffffffff"};
        QTest::newRow("Pixcen merges grey into white")
            << H << PaletteVariant::Pixcen << greyBetween << all
            << QStringList {"11111111", "11111111", "11111111", "11111111", "88888888", "88888888",
                   "88888888", "11111111"};
        QTest::newRow("Pepto merges grey into orange")
            << H << PaletteVariant::Pepto << greyBetween << all
            << QStringList {"11111111", "11111111", "11111111", "11111111", "88888888", "88888888",
                   "88888888", "88888888"};
    }

    void bitmapCells()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(PaletteVariant, variant);
        QFETCH(QStringList, picture);
        QFETCH(QRect, rect);
        QFETCH(QStringList, expected);

        ClashContext ctx = testClashContext(mode, CanvasLayoutSpec {CanvasLayout::BitmapOnly});
        ctx.paletteVariant = variant;
        Colormap canvas = canvasFromRows(picture);
        const QRect changed = resolveExistingClashes(ctx, canvas, rect, SweepClashStrategy::KeepMostUsed);
        QCOMPARE(canvasToRows(canvas), rowsText(expected));
        const bool anyChange = canvasToRows(canvas) != rowsText(picture);
        QCOMPARE(changed, anyChange ? QRect(0, 0, isMulticolor(mode) ? 4 : 8, 8) : QRect());
    }

    void legalCanvasIsLeftAlone_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            const char* modeName = isMulticolor(mode) ? "multicolor" : "hires";
            QTest::addRow("%s bitmap", modeName) << mode << CanvasLayoutSpec {CanvasLayout::BitmapOnly};
            QTest::addRow("%s sides", modeName) << mode << CanvasLayoutSpec {CanvasLayout::SideBorders};
            QTest::addRow("%s top/bottom", modeName) << mode
                                                     << CanvasLayoutSpec {CanvasLayout::TopBottomBorders,
                                                            SpriteAlignment::Right, SpriteAlignment::Left};
        }
    }

    void legalCanvasIsLeftAlone()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        const ClashContext ctx = testClashContext(mode, layout);
        Colormap canvas = blankTestCanvas(ctx);
        // A few legal units: one own colour per sprite, up to the limit per cell.
        drawRows(canvas, QPoint(0, 0), {"5555", "5"});
        drawRows(canvas, QPoint(100, 100), {isMulticolor(mode) ? "1230" : "1111", "1"});
        drawRows(canvas, QPoint(canvas.width() - 3, canvas.height() - 1), {"777"});
        const Colormap before = canvas;
        QCOMPARE(resolveExistingClashes(ctx, canvas, canvas.rect()), QRect());
        QVERIFY(canvas == before);
    }
};

QTEST_APPLESS_MAIN(TestClashSweep)
#include "tst_clash_sweep.moc"
