// The executable PRG encoder: which canvases export, the memory maps, the sprite
// records and the parameters the display routines read.
#include "formats/native/bitmap_planes.h"
#include "formats/prg/assembled_routines.h"
#include "formats/prg/border_sprites.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg/side_border_sprites.h"
#include "formats/prg/sprite_record.h"
#include "model/canvas_region.h"
#include "model/colormap.h"

#include "support/canvas_picture.h"
#include "support/export_colors.h"

#include <QTest>

namespace {

uchar at(const QByteArray& prg, int address)
{
    const int load = uchar(prg[0]) | uchar(prg[1]) << 8;
    return uchar(prg.at(address - load + 2));
}

uchar attribute(const QByteArray& prg, int record)
{
    return at(prg, 0x6800 + 64 * record + 63);
}

const CanvasLayoutSpec bitmapOnly {};
const CanvasLayoutSpec sideBorders {CanvasLayout::SideBorders};
const CanvasLayoutSpec topBottom {CanvasLayout::TopBottomBorders};

} // namespace

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayoutSpec)

class TestExecutablePrg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlySingleScreensExport_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("screens");
        QTest::addColumn<bool>("supported");
        QTest::newRow("hires screen") << CanvasMode::Hires << bitmapOnly << QSize(320, 200) << 1 << true;
        QTest::newRow("dual hires") << CanvasMode::Hires << bitmapOnly << QSize(640, 200) << 2 << false;
        QTest::newRow("free size") << CanvasMode::Hires << bitmapOnly << QSize(300, 180) << 1 << false;
        QTest::newRow("side borders") << CanvasMode::Hires << sideBorders << QSize(416, 200) << 1 << true;
        QTest::newRow("top/bottom") << CanvasMode::Multicolor << topBottom << QSize(160, 284) << 1 << true;
    }

    void onlySingleScreensExport()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(QSize, size);
        QFETCH(int, screens);
        QFETCH(bool, supported);
        QCOMPARE(prgExportSupported(mode, size, layout, screens), supported);
        QString error;
        const QByteArray prg
            = encodeExecutablePrg(Colormap(size.width(), size.height()), mode, layout, {}, &error);
        QCOMPARE(prg.isEmpty(), !supported);
        QCOMPARE(error,
            supported ? QString()
                      : QStringLiteral("The canvas is not a single C64 screen of this layout's size."));
    }

    void memoryMapPutsEveryPartAtItsAddress_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("load");
        QTest::addColumn<int>("bitmap");
        QTest::newRow("hires bitmap-only") << CanvasMode::Hires << bitmapOnly << 9515 << 7680 << 0x2000;
        QTest::newRow("multicolor bitmap-only")
            << CanvasMode::Multicolor << bitmapOnly << 10515 << 7680 << 0x2000;
        // The sprite layouts' parts are found at their addresses in tst_program_data.
    }

    void memoryMapPutsEveryPartAtItsAddress()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(int, size);
        QFETCH(int, load);
        QFETCH(int, bitmap);
        Colormap canvas = screenCanvas(mode, layout, 2);
        const QRect screen = canvasBitmapRect(mode, canvas.size(), layout);
        for (int y = screen.top(); y <= screen.bottom(); ++y)
            canvas.setPixel(screen.left() + y % screen.width(), y, uchar(3 + y % 12));
        const PrgExportColors colors = exportColors({2, 9, 0, 0, 2, 0, 0, 2});
        const QByteArray prg = encodeExecutablePrg(canvas, mode, layout, colors, nullptr);

        QCOMPARE(prg.size(), size);
        QCOMPARE(executablePrgLoadAddress(layout), load);
        QCOMPARE(uchar(prg[0]) | uchar(prg[1]) << 8, load);
        const QByteArray planes = encodeBitmapPlanes(canvas, mode, screen, colors);
        QCOMPARE(prg.mid(bitmap - load + 2, 9000), planes.left(9000));
        const int colorRam = bitmap + 0x2328;
        if (isMulticolor(mode)) {
            QCOMPARE(prg.mid(colorRam - load + 2, 1000), planes.mid(9000, 1000));
            QCOMPARE(at(prg, bitmap + 0x2710), uchar(2));
        } else {
            QCOMPARE(at(prg, colorRam), uchar(9));
        }
    }

    void overBudgetBordersNameTheirColumnCounts()
    {
        Colormap canvas = screenCanvas(CanvasMode::Hires, topBottom);
        for (int column = 0; column < 10; ++column) {
            if (column < 9)
                canvas.setPixel(column * 24, 5, 1);
            canvas.setPixel(column * 24, 270, 1);
        }
        QString error;
        QVERIFY(encodeExecutablePrg(canvas, CanvasMode::Hires, topBottom, {}, &error).isEmpty());
        QCOMPARE(error,
            QStringLiteral(
                "Over the sprite budget: the top border holds sprites in 9 unit columns and the bottom "
                "border holds sprites in 10 unit columns, but the hardware shows at most 8 sprites per "
                "border."));
        canvas.fillRect(QRect(0, 242, 320, 42), 0);
        QVERIFY(encodeExecutablePrg(canvas, CanvasMode::Hires, topBottom, {}, &error).isEmpty());
        QCOMPARE(error,
            QStringLiteral(
                "Over the sprite budget: the top border holds sprites in 9 unit columns, but the hardware "
                "shows at most 8 sprites per border."));
    }

    // Sprites only in columns 2 and 5: the free columns 0, 1, 3, 4, 6, 7 fill up, and each
    // record carries its column; both halves of the 42-line sprite of column 2 (drawn only
    // in its lower half) show the lower half's colour. An empty multicolor record's
    // attribute is the border's own colour.
    void borderColumnsFillUpAndShareColours()
    {
        const CanvasLayoutSpec layout {CanvasLayout::TopBottomBorders};
        Colormap canvas = screenCanvas(CanvasMode::Multicolor, layout, 6);
        canvas.setPixel(2 * 12 + 3, 30, 7);
        canvas.setPixel(5 * 12, 0, 4);
        const PrgExportColors colors = exportColors({0, 0, 0, 0, 6, 1, 2, 6, 1, 2});
        const CanvasRegion top = canvasRegions(CanvasMode::Multicolor, canvas.size(), layout).first();

        const BorderSpriteColumns map = mapBorderSprites(canvas, CanvasMode::Multicolor, layout, top, 6);
        QCOMPARE(map.occupied, 2);
        QCOMPARE(map.columns, (std::array<int, 8> {0, 1, 2, 3, 4, 5, 6, 7}));

        const QByteArray prg = encodeExecutablePrg(canvas, CanvasMode::Multicolor, layout, colors, nullptr);
        QCOMPARE(attribute(prg, 16 + 2), uchar(0x27));
        QCOMPARE(attribute(prg, 24 + 2), uchar(0x27));
        QCOMPARE(attribute(prg, 16 + 5), uchar(0x54));
        QCOMPARE(attribute(prg, 24 + 5), uchar(0x54));
        QCOMPARE(attribute(prg, 16 + 7), uchar(0x76));
        QCOMPARE(attribute(prg, 0), uchar(0x06));
        QCOMPARE(attribute(prg, 32), uchar(0));
    }

    // Side strips: a sprite drawn only in the lower half of a 42-line unit (hardware rows
    // 4-5) gives both records its colour, so a sprite file import shows it in that colour.
    void sideBorderHalvesShareColours()
    {
        Colormap canvas = screenCanvas(CanvasMode::Hires, sideBorders, 0);
        canvas.setPixel(400, 100, 5); // right strip, second column, hardware row 5
        canvas.setPixel(10, 20, 3); // left strip, first column, hardware row 1
        const PrgSpriteRecords records
            = encodeSideBorderSprites(canvas, CanvasMode::Hires, exportColors({0, 0}));
        QCOMPARE(records[4 * 4 + 3][63], uchar(5));
        QCOMPARE(records[5 * 4 + 3][63], uchar(5));
        QCOMPARE(records[4 + 0][63], uchar(3));
        QCOMPARE(records[0][63], uchar(0));
        // Record 4 starts at canvas line 13: line 20 is its 8th row, x 10 its 11th pixel.
        QCOMPARE(records[4][7 * 3], uchar(0x00));
        QCOMPARE(records[4][7 * 3 + 1], uchar(0x20));
    }

    void multicolorRecordsCodePixelPairs()
    {
        // transparent, mc0, own colour, mc1, then two other colours: the first one found counts.
        const Colormap canvas = canvasFromRows({"018394"});
        const SpriteRecord record = encodeSpriteRecord(canvas, CanvasMode::Multicolor, 0, 0, 0, 1, 3);
        QCOMPARE(record[0], uchar(0b00011011));
        QCOMPARE(record[1], uchar(0b10100000));
        QCOMPARE(record[63], uchar(8));
        const SpriteRecord hires = encodeSpriteRecord(canvas, CanvasMode::Hires, 0, 0, 0, 1, 3);
        QCOMPARE(hires[0], uchar(0b01111100));
        QCOMPARE(hires[63], uchar(1));
    }

    // The sprites' places, pointers and own colours are read back on the C64 model in
    // tst_prg_routines; the top and bottom borders' shared sprite colours are not.
    void sharedSpriteColoursLandAtTheRoutinesSymbols()
    {
        const CanvasLayoutSpec layout {
            CanvasLayout::TopBottomBorders, SpriteAlignment::Right, SpriteAlignment::Left};
        const QByteArray prg = encodeExecutablePrg(screenCanvas(CanvasMode::Hires, layout), CanvasMode::Hires,
            layout, exportColors({0, 0, 0, 0, 0, 3, 4, 0, 8, 9}), nullptr);
        using TopBottom = assembled::top_bottom_borders_hires;
        QCOMPARE(at(prg, TopBottom::param_top_mc0), uchar(3));
        QCOMPARE(at(prg, TopBottom::param_top_mc1), uchar(4));
        QCOMPARE(at(prg, TopBottom::param_bottom_mc0), uchar(8));
        QCOMPARE(at(prg, TopBottom::param_bottom_mc1), uchar(9));
    }
};

QTEST_GUILESS_MAIN(TestExecutablePrg)
#include "tst_executable_prg.moc"
