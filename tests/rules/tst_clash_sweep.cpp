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
        // Mid grey 12 lies exactly between dark grey 11 and light grey 15 in Pixcen.
        QTest::newRow("equal distance goes to the lower index")
            << H << PaletteVariant::Pixcen
            << QStringList {"bbbbbbbb", "bbbbbbbb", "bbbbbbbb", "bbbbbbbb", "ffffffff", "ffffffff",
                   "ffffffff", "cccccccc"}
            << all
            << QStringList {"bbbbbbbb", "bbbbbbbb", "bbbbbbbb", "bbbbbbbb", "ffffffff", "ffffffff",
                   "ffffffff", "bbbbbbbb"};
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
        // Background 0 and four colours; dark grey 11 is the least used and nearest black.
        QTest::newRow("multicolor: merging into the background")
            << CanvasMode::Multicolor << PaletteVariant::Pixcen
            << QStringList {"1111", "1111", "7777", "7777", "dddd", "dddd", "bb00", "0000"} << all
            << QStringList {"1111", "1111", "7777", "7777", "dddd", "dddd", "0000", "0000"};
        // One pixel of the left cell touched: the whole cell is swept, the right one is not.
        QTest::newRow("a touched cell is swept whole")
            << H << PaletteVariant::Pixcen
            << QStringList {"11111111 11111111", "11111111 11111111", "11111111 11111111",
                   "11111111 11111111", "11111111 11111111", "22222222 22222222", "22222222 22222222",
                   "22227777 22227777"}
            << QRect(0, 0, 1, 1)
            << QStringList {"11111111 11111111", "11111111 11111111", "11111111 11111111",
                   "11111111 11111111", "11111111 11111111", "22222222 22222222", "22222222 22222222",
                   "22221111 22227777"};
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

    // A multicolor top-border unit shares the border background 6 and the multicolours 11 and
    // 12. Of its own colours red 2 (30 pixels) stays; light grey 15 (12 pixels) becomes mid
    // grey 12, a shared colour the unit did not show before.
    void spriteUnitMergesIntoASharedColourItDidNotShow()
    {
        const ClashContext ctx
            = testClashContext(CanvasMode::Multicolor, CanvasLayoutSpec {CanvasLayout::TopBottomBorders});
        Colormap canvas = blankTestCanvas(ctx);
        const QStringList unit {
            "2222222222 66", "2222222222 66", "2222222222 66", "ffffffffffff", "bbbbbbbbbbbb"};
        drawRows(canvas, QPoint(0, 0), unit);
        Colormap expected = canvas;
        drawRows(expected, QPoint(0, 3), {"cccccccccccc"});

        const QRect changed = resolveExistingClashes(ctx, canvas, QRect(5, 20, 1, 1));
        QCOMPARE(changed, QRect(0, 0, 12, 42));
        QCOMPARE(canvasToRows(canvas, QRect(0, 0, 13, 5)), canvasToRows(expected, QRect(0, 0, 13, 5)));
        QVERIFY(canvas.diffBoundingRect(expected).isNull());
    }

    // Logical row 4 of a side strip is two hardware sprites sharing one colour register: a
    // colour in the lower half competes with the upper half's.
    void pairedSpriteRowsAreOneUnit()
    {
        const ClashContext ctx
            = testClashContext(CanvasMode::Hires, CanvasLayoutSpec {CanvasLayout::SideBorders});
        Colormap canvas = blankTestCanvas(ctx);
        drawRows(canvas, QPoint(3, 80), {"55"});
        drawRows(canvas, QPoint(3, 110), {"8"});
        QCOMPARE(resolveExistingClashes(ctx, canvas, canvas.rect()), QRect(QPoint(0, 76), QPoint(23, 117)));
        QCOMPARE(canvas.pixel(3, 110), uchar(5));
        QCOMPARE(canvas.pixel(3, 80), uchar(5));
    }

    // A byte no colour has (from a damaged file) is drawn as colour 15 and merges like it.
    void bytesOutsideThePaletteMergeAsTheColourShown()
    {
        const ClashContext ctx
            = testClashContext(CanvasMode::Hires, CanvasLayoutSpec {CanvasLayout::BitmapOnly});
        Colormap canvas = canvasFromRows(
            {"11111111", "11111111", "11111111", "11111111", "11111111", "22222222", "22222222", "22222222"});
        for (int x = 4; x < 8; ++x)
            canvas.setPixel(x, 7, 200);
        QCOMPARE(resolveExistingClashes(ctx, canvas, canvas.rect()), QRect(0, 0, 8, 8));
        QCOMPARE(canvasToRows(canvas, QRect(0, 7, 8, 1)), QStringLiteral("22221111"));
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
