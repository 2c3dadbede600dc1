// The display routines of the executable PRG export, run on our own 6502 and C64 model
// (tests/support/c64_model.h says what the model does and does not see) from their load
// address in programs the encoder wrote.
#include "formats/image/canvas_border_frame.h"
#include "formats/prg/assembled_routines.h"
#include "formats/prg/executable_prg.h"
#include "model/canvas_region.h"
#include "model/colormap.h"
#include "model/palette.h"

#include "support/c64_model.h"
#include "support/canvas_picture.h"
#include "support/export_colors.h"

#include <QMap>
#include <QTest>

#include <memory>

namespace {

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

// Every sprite unit of the canvas's strips in a colour of its own, so a record shown
// with another record's pointer or colour cannot go unnoticed.
void paintStrips(Colormap& canvas, CanvasMode mode, const CanvasLayoutSpec& layout)
{
    int color = 1;
    for (const CanvasRegion& region : canvasRegions(mode, canvas.size(), layout)) {
        if (!region.isSpriteStrip())
            continue;
        const int unit = spriteColumnWidth(mode);
        for (int y = region.rect.top(); y <= region.rect.bottom(); y += 7) {
            for (int x = region.rect.left(); x <= region.rect.right(); x += unit) {
                canvas.fillRect(QRect(x + 2, y, 2, 3) & region.rect, uchar(color));
                color = color % 14 + 2; // never 0 or 1, the transparent indices used here
            }
        }
    }
}

uchar recordColor(const QByteArray& prg, int record)
{
    return uchar(prg[0x6800 - 0x3400 + 2 + record * 64 + 63]) & 15;
}

// The interrupts of the given frames all went through the hardware IRQ vector into the
// routine's space.
void verifyInterruptsStayInRoutine(const C64Model& c64, int fromFrame, int toFrame)
{
    int count = 0;
    for (const C64Model::Interrupt& irq : c64.interrupts()) {
        if (irq.frame < fromFrame || irq.frame > toFrame || irq.nmi)
            continue;
        ++count;
        QVERIFY2(irq.handler >= 0x3400 && irq.handler < 0x4000, qPrintable(QString::number(irq.handler, 16)));
    }
    QVERIFY(count >= 2 * (toFrame - fromFrame + 1));
}

struct ShownSprite {
    int firstLine = -1;
    int lines = 0;
    uchar pointer = 0;
    int x = 0;
    uchar color = 0;
    bool multicolor = false;
    bool steady = true; // pointer, X, colour and flag the same on all its lines
};

// What each hardware sprite showed in one frame, per run of 21 lines.
QMap<QPair<int, int>, ShownSprite> shownSprites(const C64Model& c64, int frame)
{
    QMap<QPair<int, int>, ShownSprite> shown;
    for (const C64Model::SpriteLine& s : c64.spriteLines()) {
        if (s.frame != frame)
            continue;
        ShownSprite& run = shown[{s.sprite, s.firstLine}];
        if (run.lines == 0)
            run = {s.firstLine, 0, s.pointer, s.x, s.color, s.multicolor, true};
        run.steady = run.steady && run.pointer == s.pointer && run.x == s.x && run.color == s.color
            && run.multicolor == s.multicolor;
        ++run.lines;
    }
    return shown;
}

// One hardware sprite of a frame: the same pointer, X, colour and flag on all its lines.
void verifyShown(const ShownSprite& s, const ShownSprite& expected, const QString& where)
{
    QVERIFY2(s.lines == expected.lines && s.steady, qPrintable(where));
    QCOMPARE(s.pointer, expected.pointer);
    QCOMPARE(s.x, expected.x);
    QCOMPARE(s.color, expected.color);
    QCOMPARE(s.multicolor, expected.multicolor);
}

// A C64 of the given video standard that has run the program from its load address,
// started `phase` cycles late, until the given frame began.
std::unique_ptr<C64Model> runProgram(const QByteArray& prg, C64Model::Video video, int phase, int frames)
{
    auto c64 = std::make_unique<C64Model>(video);
    c64->idle(phase);
    if (!c64->loadPrg(prg))
        return {};
    c64->setPc(quint16(uchar(prg[0]) | uchar(prg[1]) << 8));
    if (!c64->runUntilFrame(frames))
        return {};
    return c64;
}

// A VIC register as it stood when the raster reached a line: the last write before it, or
// -1 when the program never wrote the register.
int registerAtLine(const C64Model& c64, int reg, int frame, int line)
{
    int value = -1;
    for (const C64Model::VicWrite& w : c64.vicWrites()) {
        if (w.frame > frame || (w.frame == frame && w.line >= line))
            break;
        if (w.reg == reg)
            value = w.value & 15;
    }
    return value;
}

// The colour index of a palette colour; -1 when no index has it.
int paletteIndexOf(const Palette& palette, QRgb rgb)
{
    for (int i = 0; i < c64ColorCount; ++i) {
        if ((palette.colorAt(uchar(i)) & 0xFFFFFF) == (rgb & 0xFFFFFF))
            return i;
    }
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayout)
Q_DECLARE_METATYPE(C64Model::Video)

class TestPrgRoutines : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Both modes on both video standards; the start is delayed by 0-2 cycles so that the
    // raster interrupts hit the main loop's 3-cycle JMP in each of its cycles.
    void routineRows()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<C64Model::Video>("video");
        QTest::addColumn<int>("phase");
        for (const CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            for (const C64Model::Video video : {C64Model::Video::Pal, C64Model::Video::Ntsc}) {
                for (int phase = 0; phase < 3; ++phase) {
                    QTest::addRow("%s %s +%d", isMulticolor(mode) ? "multicolor" : "hires",
                        video == C64Model::Video::Pal ? "PAL" : "NTSC", phase)
                        << mode << video << phase;
                }
            }
        }
    }

    void bitmapOnlyRoutineFadesThenShowsThePicture_data() { routineRows(); }

    void bitmapOnlyRoutineFadesThenShowsThePicture()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(C64Model::Video, video);
        QFETCH(int, phase);
        const bool multicolor = isMulticolor(mode);
        const Colormap canvas = stripes(multicolor ? 160 : 320, 200);
        const PrgExportColors colors = exportColors({9, 3});
        const QByteArray prg = encodeExecutablePrg(canvas, mode, {}, colors, nullptr);
        QVERIFY(!prg.isEmpty());

        C64Model c64(video);
        c64.idle(phase);
        QVERIFY(c64.loadPrg(prg));
        c64.setPc(quint16(executablePrgLoadAddress({})));
        const int finalLoop = multicolor ? assembled::bitmap_only_multicolor::addr_final_loop
                                         : assembled::bitmap_only_hires::addr_final_loop;
        QVERIFY(c64.runUntilPc(quint16(finalLoop), 2'000'000));
        qInfo("%s: %llu cycles to the final loop", QTest::currentDataTag(),
            c64.cycle() - 100ull * c64.cyclesPerLine() - quint64(phase));

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
        QCOMPARE(c64.vicRegister(0x20) & 15, 3);
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

    void borderAndBackgroundMatchTheFramedView_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayout>("layout");
        for (const CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            for (const CanvasLayout layout :
                {CanvasLayout::BitmapOnly, CanvasLayout::SideBorders, CanvasLayout::TopBottomBorders}) {
                QTest::addRow("%s %s", isMulticolor(mode) ? "multicolor" : "hires",
                    QList<const char*> {"bitmap", "side", "top/bottom"}.at(int(layout)))
                    << mode << layout;
            }
        }
    }

    // Whatever the mode and layout, the program's border is the colour the framed image
    // export shows around the canvas, and on every bitmap line the background register
    // holds the colour the editor shows for background pixels. A hires bitmap never
    // shows $d021 over the picture; where its open side borders may show it behind clear
    // sprite pixels, it holds the frame's colour.
    void borderAndBackgroundMatchTheFramedView()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        const CanvasLayoutSpec spec {layout};
        // Every shared colour different, so a register holding the wrong one shows.
        const PrgExportColors colors = exportColors({9, 3, 5, 6, 7, 10, 11, 12, 13, 14});
        Colormap canvas = screenCanvas(mode, spec, isMulticolor(mode) ? 9 : 0);
        const QSize size = canvas.size();
        // Clear border strips, so the top and bottom borders stay within their budget.
        for (const CanvasRegion& region : canvasRegions(mode, size, spec)) {
            if (region.side == SpriteStripSide::Top)
                canvas.fillRect(region.rect, 7);
            else if (region.side == SpriteStripSide::Bottom)
                canvas.fillRect(region.rect, 12);
        }

        // The frame beside the canvas, or above it where the canvas spans the frame's width.
        const BorderFrameSource source {mode, size, spec};
        const Palette palette;
        const QImage framed = canvasImageWithBorderFrame(source, palette,
            canvasFrameColorIndex(source, ColorSlots {colors.indices}), canvas.toImage(palette));
        const QRect frame = canvasBorderFrameRect(mode, size, spec);
        const QPoint outside
            = frame.left() < 0 ? QPoint(0, size.height() / 2 - frame.top()) : QPoint(framed.width() / 2, 0);
        const int frameColor = paletteIndexOf(palette, framed.pixel(outside));
        QVERIFY(frameColor >= 0);

        const QByteArray prg = encodeExecutablePrg(canvas, mode, spec, colors, nullptr);
        QVERIFY(!prg.isEmpty());
        const auto machine = runProgram(prg, C64Model::Video::Pal, 0, 24);
        QVERIFY(machine);
        const C64Model& c64 = *machine;
        for (const int line : {0x40, 0x64, 0xC8}) {
            QCOMPARE(registerAtLine(c64, 0x20, 23, line), frameColor);
            if (isMulticolor(mode))
                QCOMPARE(registerAtLine(c64, 0x21, 23, line), int(colors.background()));
            else if (layout == CanvasLayout::SideBorders)
                QCOMPARE(registerAtLine(c64, 0x21, 23, line), frameColor);
        }
    }

    void sideBorderRoutineShowsEveryRowInItsBorders_data() { routineRows(); }

    void sideBorderRoutineShowsEveryRowInItsBorders()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(C64Model::Video, video);
        QFETCH(int, phase);
        const bool multicolor = isMulticolor(mode);
        const CanvasLayoutSpec layout {CanvasLayout::SideBorders};
        Colormap canvas = screenCanvas(mode, layout, 1);
        paintStrips(canvas, mode, layout);
        const PrgExportColors colors = exportColors({1, 1, 5, 6});
        const QByteArray prg = encodeExecutablePrg(canvas, mode, layout, colors, nullptr);
        QVERIFY(!prg.isEmpty());

        const auto machine = runProgram(prg, video, phase, 24);
        QVERIFY(machine);
        const C64Model& c64 = *machine;
        QCOMPARE(c64.vicRegister(0x15), uchar(0xF0));
        QCOMPARE(c64.vicRegister(0x25), uchar(5));
        QCOMPARE(c64.vicRegister(0x26), uchar(6));

        const bool pal = video == C64Model::Video::Pal;
        const std::array<int, 4> xs {
            pal ? 0x1E0 : 0x1E8, 0, multicolor ? 0x158 : 0x150, multicolor ? 0x170 : 0x168};
        for (int frame = 22; frame <= 23; ++frame) {
            const auto shown = shownSprites(c64, frame);
            for (int row = 0; row < 10; ++row) {
                for (int j = 0; j < 4; ++j) {
                    const int record = 4 * row + j;
                    verifyShown(shown.value({4 + j, 0x2B + 21 * row}),
                        {0x2B + 21 * row, 21, uchar(0xA0 + record), xs[std::size_t(j)],
                            recordColor(prg, record), multicolor},
                        QStringLiteral("frame %1 row %2 sprite %3").arg(frame).arg(row).arg(4 + j));
                }
            }
            for (int line = 0x2B; line <= 0xFC; ++line)
                QVERIFY2(
                    c64.sideBorderOpen(frame, line), qPrintable(QStringLiteral("line %1").arg(line, 0, 16)));
            QVERIFY(!c64.sideBorderOpen(frame, 0x2A));
            QVERIFY(!c64.sideBorderOpen(frame, 0xFD));
        }
        verifyInterruptsStayInRoutine(c64, 22, 23);
    }

    void topBottomRoutineShowsBothBordersOpen_data() { routineRows(); }

    void topBottomRoutineShowsBothBordersOpen()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(C64Model::Video, video);
        QFETCH(int, phase);
        const bool multicolor = isMulticolor(mode);
        const bool pal = video == C64Model::Video::Pal;
        // The bottom border left-aligned with sprites in its first 8 columns; the top
        // border right-aligned with sprites in its last 8, which start 16 pixels left of
        // the canvas: X 152, 176, ... 320, the last three past X 255.
        const CanvasLayoutSpec layout {
            CanvasLayout::TopBottomBorders, SpriteAlignment::Right, SpriteAlignment::Left};
        Colormap canvas = screenCanvas(mode, layout, 0);
        const int unit = spriteColumnWidth(mode);
        for (int k = 0; k < 8; ++k) {
            canvas.fillRect(QRect(k * unit, 250, 2, 20), uchar(2 + k));
            canvas.fillRect(QRect(canvas.width() - 1 - k * unit, 30, 1, 3), uchar(8 + k));
        }
        const PrgExportColors colors = exportColors({0, 14, 0, 0, 0, 1, 15, 0, 11, 12});
        const QByteArray prg = encodeExecutablePrg(canvas, mode, layout, colors, nullptr);
        QVERIFY(!prg.isEmpty());

        const auto machine = runProgram(prg, video, phase, 24);
        QVERIFY(machine);
        const C64Model& c64 = *machine;

        struct Row {
            int firstLine;
            int firstRecord;
            int lines;
            bool top;
        };
        QList<Row> rows {{0xFB, 0, pal ? 21 : 12, false}, {0x1E, 24, 21, true}};
        if (pal)
            rows << Row {0x110, 8, 21, false} << Row {0x09, 16, 21, true};
        for (int frame = 22; frame <= 23; ++frame) {
            const auto shown = shownSprites(c64, frame);
            for (const Row& row : rows) {
                for (int k = 0; k < 8; ++k) {
                    verifyShown(shown.value({k, row.firstLine}),
                        {row.firstLine, row.lines, uchar(0xA0 + row.firstRecord + k),
                            row.top ? 152 + 24 * k : 24 + 24 * k,
                            recordColor(prg, row.firstRecord - row.firstRecord % 16 + k), multicolor},
                        QStringLiteral("frame %1 line %2 sprite %3").arg(frame).arg(row.firstLine).arg(k));
                }
            }
            for (int line = 0; line < c64.linesPerFrame(); ++line) {
                QVERIFY2(
                    c64.verticalBorderOpen(frame, line), qPrintable(QStringLiteral("line %1").arg(line)));
            }
            // 24 rows on line 249, 25 again past line 255; the border's own colour
            // reaches $d021 (and hires switches to multicolor idle pixels) between the
            // bitmap's last pixel and the border area's first.
            int rows24 = -1;
            int rows25 = -1;
            int borderColor = -1;
            for (const C64Model::VicWrite& w : c64.vicWrites()) {
                if (w.frame != frame)
                    continue;
                if (w.reg == 0x11 && w.value == 0x33)
                    rows24 = w.line;
                if (w.reg == 0x11 && w.value == 0x3B && w.line > 255)
                    rows25 = w.line;
                const bool edge
                    = (w.line == 0xFA && w.lineCycle >= 57) || (w.line == 0xFB && w.lineCycle < 17);
                if (edge
                    && ((multicolor && w.reg == 0x21 && w.value == 0)
                        || (!multicolor && w.reg == 0x16 && w.value == 0xD8)))
                    borderColor = w.line;
            }
            QCOMPARE(rows24, 249);
            QVERIFY(rows25 >= 256 && rows25 < 262);
            QVERIFY(borderColor > 0);
        }
        verifyInterruptsStayInRoutine(c64, 22, 23);
    }
};

QTEST_GUILESS_MAIN(TestPrgRoutines)
#include "tst_prg_routines.moc"
