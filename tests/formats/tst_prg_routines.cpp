// The display routines of the executable PRG export, run on our own 6502 and C64 model
// (tests/support/c64_model.h says what the model does and does not see) from their load
// address in programs the encoder wrote.
#include "formats/prg/assembled_routines.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg_export_colors.h"
#include "model/colormap.h"

#include "support/c64_model.h"

#include <QTest>

namespace {

PrgExportColors exportColors(std::initializer_list<uchar> slots)
{
    PrgExportColors colors;
    std::copy(slots.begin(), slots.end(), colors.indices.begin());
    return colors;
}

// A canvas of vertical colour stripes, so every cell has different colours.
Colormap stripes(int width, int height)
{
    Colormap map(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            map.setPixel(x, y, uchar((x / 3 + y / 8) % 16));
    }
    return map;
}

} // namespace

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(C64Model::Video)

class TestPrgRoutines : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bitmapOnlyRoutineFadesThenShowsThePicture_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<C64Model::Video>("video");
        QTest::newRow("hires PAL") << CanvasMode::Hires << C64Model::Video::Pal;
        QTest::newRow("hires NTSC") << CanvasMode::Hires << C64Model::Video::Ntsc;
        QTest::newRow("multicolor PAL") << CanvasMode::Multicolor << C64Model::Video::Pal;
        QTest::newRow("multicolor NTSC") << CanvasMode::Multicolor << C64Model::Video::Ntsc;
    }

    void bitmapOnlyRoutineFadesThenShowsThePicture()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(C64Model::Video, video);
        const bool multicolor = isMulticolor(mode);
        const Colormap canvas = stripes(multicolor ? 160 : 320, 200);
        const PrgExportColors colors = exportColors({9, 3});
        const QByteArray prg = encodeExecutablePrg(canvas, mode, {}, colors, nullptr);
        QVERIFY(!prg.isEmpty());

        C64Model c64(video);
        QVERIFY(c64.loadPrg(prg));
        c64.setPc(quint16(executablePrgLoadAddress({})));
        const int finalLoop = multicolor ? assembled::bitmap_only_multicolor::addr_final_loop
                                         : assembled::bitmap_only_hires::addr_final_loop;
        QVERIFY(c64.runUntilPc(quint16(finalLoop), 2'000'000));
        qInfo("%s: %llu cycles to the final loop", QTest::currentDataTag(),
            c64.cycle() - 100ull * c64.cyclesPerLine());

        // 16 fade steps, each in a frame of its own, before the display is blanked.
        QList<int> fadeFrames;
        int blankedAt = -1;
        for (const C64Model::VicWrite& w : c64.vicWrites()) {
            if (w.reg == 0x11 && blankedAt < 0)
                blankedAt = w.frame;
            if (w.reg == 0x20 && blankedAt < 0)
                fadeFrames << w.frame;
        }
        QCOMPARE(fadeFrames.size(), 16);
        for (int i = 1; i < fadeFrames.size(); ++i)
            QCOMPARE(fadeFrames[i], fadeFrames[0] + i);

        QCOMPARE(c64.vicRegister(0x11), uchar(0x3B));
        QCOMPARE(c64.vicRegister(0x18), uchar(0x18));
        QCOMPARE(c64.vicRegister(0x16), uchar(multicolor ? 0xD8 : 0xC8));
        QCOMPARE(c64.ram(0x01), uchar(0x35));
        QCOMPARE(c64.vicRegister(0x20) & 15, multicolor ? 9 : 3);
        if (multicolor)
            QCOMPARE(c64.vicRegister(0x21) & 15, 9);
        // RESTORE is dead: CIA 2 raised its one NMI, which went to the routine's RTI.
        QCOMPARE(int(c64.interrupts().size()), 1);
        QVERIFY(c64.interrupts()[0].nmi);
        QVERIFY(c64.interrupts()[0].handler > 0x1E00 && c64.interrupts()[0].handler < 0x2000);
        if (!multicolor)
            QCOMPARE(c64.colorRam(999), uchar(0)); // faded, and hires leaves colour RAM alone

        const QByteArray screen = prg.mid(0x3F40 - 0x1E00 + 2, 1000);
        for (int i = 0; i < 1000; ++i) {
            QCOMPARE(c64.ram(quint16(0x0400 + i)), uchar(screen[i]));
            if (multicolor)
                QCOMPARE(c64.colorRam(i), uchar(prg[0x4328 - 0x1E00 + 2 + i]));
        }
    }
};

QTEST_GUILESS_MAIN(TestPrgRoutines)
#include "tst_prg_routines.moc"
