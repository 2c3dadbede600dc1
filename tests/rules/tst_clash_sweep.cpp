#include "rules/clash_sweep.h"
#include "support/canvas_picture.h"
#include "support/clash_fixtures.h"

#include <QTest>

class TestClashSweep : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bitmapCells_data()
    {
        QTest::addColumn<PaletteVariant>("variant");
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<QStringList>("expected");

        // 40 of white 1, 20 of red 2, 4 of yellow 7: yellow is nearer white than red.
        QTest::newRow("least-used colour merges into the nearest survivor")
            << PaletteVariant::Pixcen
            << QStringList {"11111111", "11111111", "11111111", "11111111", "11111111", "22222222",
                   "22222222", "22227777"}
            << QStringList {"11111111", "11111111", "11111111", "11111111", "11111111", "22222222",
                   "22222222", "22221111"};
        // 24 of 5, 20 each of 3 and 9: 3 survives by its lower index, 9 is nearer 5.
        QTest::newRow("equal use keeps the lower index")
            << PaletteVariant::Pixcen
            << QStringList {"55555555", "55555555", "55555555", "33333333", "33333333", "33339999",
                   "99999999", "99999999"}
            << QStringList {"55555555", "55555555", "55555555", "33333333", "33333333", "33335555",
                   "55555555", "55555555"};
        // Light grey 15 looks nearer white in Pixcen and nearer orange 8 in Pepto.
        const QStringList greyBetween {
            "11111111", "11111111", "11111111", "11111111", "88888888", "88888888", "88888888", "ffffffff"};
        QTest::newRow("Pixcen merges grey into white")
            << PaletteVariant::Pixcen << greyBetween
            << QStringList {"11111111", "11111111", "11111111", "11111111", "88888888", "88888888",
                   "88888888", "11111111"};
        QTest::newRow("Pepto merges grey into orange")
            << PaletteVariant::Pepto << greyBetween
            << QStringList {"11111111", "11111111", "11111111", "11111111", "88888888", "88888888",
                   "88888888", "88888888"};
    }

    void bitmapCells()
    {
        QFETCH(PaletteVariant, variant);
        QFETCH(QStringList, picture);
        QFETCH(QStringList, expected);

        ClashContext ctx = testClashContext(CanvasMode::Hires, CanvasLayoutSpec {CanvasLayout::BitmapOnly});
        ctx.paletteVariant = variant;
        Colormap canvas = canvasFromRows(picture);
        const QRect changed
            = resolveExistingClashes(ctx, canvas, canvas.rect(), SweepClashStrategy::KeepMostUsed);
        QCOMPARE(canvasToRows(canvas), rowsText(expected));
        QCOMPARE(changed, QRect(0, 0, 8, 8));
    }
};

QTEST_APPLESS_MAIN(TestClashSweep)
#include "tst_clash_sweep.moc"
