// The memory image a live link mirrors: the runs that turn one image into another, how
// few bytes an edit costs, and, on our C64 model, that writing an edit's runs into a
// machine running the old program leaves exactly the machine the new program makes.
#include "formats/prg/live_memory_image.h"
#include "formats/prg/memory_runs.h"
#include "model/canvas_region.h"
#include "model/colormap.h"

#include "support/c64_model.h"
#include "support/export_colors.h"

#include <QRandomGenerator>
#include <QTest>

#include <memory>

namespace {

// Vertical stripes with sprite-strip pixels in between: every cell and unit in use.
Colormap busyCanvas(CanvasMode mode, const CanvasLayoutSpec& layout)
{
    const QSize size = canvasModeDefaultCanvasSize(mode, layout, 1);
    Colormap map(size.width(), size.height());
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            map.setPixel(x, y, uchar((x / 3 + y / 8) % 16));
    }
    if (layout.layout == CanvasLayout::TopBottomBorders) {
        // No more than 8 occupied columns per border, or there is no program.
        const int eightColumns = 8 * spriteColumnWidth(mode);
        map.fillRect(QRect(eightColumns, 0, size.width(), 42), 0);
        map.fillRect(QRect(eightColumns, size.height() - 42, size.width(), 42), 0);
    }
    return map;
}

void addCombinations()
{
    QTest::addColumn<CanvasMode>("mode");
    QTest::addColumn<int>("layout");
    for (const CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
        for (const CanvasLayout layout :
            {CanvasLayout::BitmapOnly, CanvasLayout::SideBorders, CanvasLayout::TopBottomBorders}) {
            QTest::addRow("%s %d", isMulticolor(mode) ? "multicolor" : "hires", int(layout))
                << mode << int(layout);
        }
    }
}

QString hexRuns(const MemorySpans& runs)
{
    QStringList text;
    for (const MemorySpan& run : runs)
        text << QStringLiteral("$%1+%2").arg(run.address, 4, 16, QLatin1Char('0')).arg(run.bytes.size());
    return text.join(QLatin1Char(' '));
}

std::unique_ptr<C64Model> runFrom(const QByteArray& program, int frames)
{
    auto c64 = std::make_unique<C64Model>(C64Model::Video::Pal);
    if (!c64->loadPrg(program))
        return {};
    c64->setPc(quint16(uchar(program[0]) | uchar(program[1]) << 8));
    if (!c64->runUntilFrame(frames))
        return {};
    return c64;
}

} // namespace

Q_DECLARE_METATYPE(CanvasMode)

class TestLiveMemoryImage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runsTurnOneImageIntoTheOther()
    {
        // Random spans with random changes: the runs, written, give the wanted bytes;
        // every run begins and ends on a change; changes further apart than the gap
        // never share a run, nearer ones always do.
        QRandomGenerator random(29);
        for (int round = 0; round < 200; ++round) {
            MemorySpans shown {{0x2000, QByteArray(300, '\0')}, {0x0400, QByteArray(40, '\0')},
                {0xD020, QByteArray(1, '\0')}};
            for (MemorySpan& span : shown) {
                for (char& byte : span.bytes)
                    byte = char(random.bounded(4));
            }
            MemorySpans wanted = shown;
            const int changes = random.bounded(12);
            for (int c = 0; c < changes; ++c) {
                MemorySpan& span = wanted[std::size_t(random.bounded(int(wanted.size())))];
                const int at = random.bounded(int(span.bytes.size()));
                span.bytes[at] = char(span.bytes[at] ^ (1 + random.bounded(7)));
            }
            const int gap = random.bounded(6);
            const MemorySpans runs = changedMemoryRuns(shown, wanted, gap);
            MemorySpans written = shown;
            for (const MemorySpan& run : runs) {
                writeMemoryRun(written, run);
                const auto changed = [&](int address) {
                    for (std::size_t s = 0; s < shown.size(); ++s) {
                        if (address >= shown[s].address && address < shown[s].end())
                            return shown[s].bytes[address - shown[s].address]
                                != wanted[s].bytes[address - wanted[s].address];
                    }
                    return false;
                };
                QVERIFY2(changed(run.address) && changed(run.end() - 1), qPrintable(hexRuns(runs)));
                // Within a run no stretch of unchanged bytes is longer than the gap.
                int unchanged = 0;
                for (int a = run.address; a < run.end(); ++a) {
                    unchanged = changed(a) ? 0 : unchanged + 1;
                    QVERIFY(unchanged <= gap);
                }
            }
            QVERIFY(written == wanted);
            for (std::size_t r = 1; r < runs.size(); ++r) {
                if (runs[r].address > runs[r - 1].address && runs[r].address - runs[r - 1].end() <= gap) {
                    // Close runs must be in different spans.
                    bool sameSpan = false;
                    for (const MemorySpan& span : shown)
                        sameSpan |= runs[r - 1].address >= span.address && runs[r].end() <= span.end();
                    QVERIFY2(!sameSpan, qPrintable(hexRuns(runs)));
                }
            }
        }
        QVERIFY(changedMemoryRuns({{0x2000, "abc"}}, {{0x2000, "abc"}}, 16).empty());
    }

    void oneCellCostsFewBytes_data() { addCombinations(); }
    void oneCellCostsFewBytes()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(int, layout);
        const CanvasLayoutSpec spec {CanvasLayout(layout)};
        const PrgExportColors colors = exportColors({0, 14, 1, 2, 0, 3, 4, 0, 5, 6});
        Colormap canvas = busyCanvas(mode, spec);
        const LiveMemoryImage before = encodeLiveMemoryImage(canvas, mode, spec, colors, nullptr);
        QVERIFY(!before.isEmpty());

        // One cell of the bitmap in a colour the stripes leave out of it.
        const QRect bitmap = canvasBitmapRect(mode, canvas.size(), spec);
        const QSize cell = canvasModeCellSize(mode);
        canvas.fillRect(QRect(bitmap.topLeft() + QPoint(5 * cell.width(), 3 * cell.height()), cell), 7);
        const LiveMemoryImage after = encodeLiveMemoryImage(canvas, mode, spec, colors, nullptr);
        QVERIFY(liveMemoryWritable(before, after));
        const MemorySpans runs = changedMemoryRuns(before.spans, after.spans, 16);
        QVERIFY(!runs.empty());
        QVERIFY2(memoryRunBytes(runs) <= 64, qPrintable(hexRuns(runs)));

        // Another layout or mode cannot be written over the running program.
        const CanvasLayoutSpec other {CanvasLayout((layout + 1) % 3)};
        const LiveMemoryImage elsewhere
            = encodeLiveMemoryImage(busyCanvas(mode, other), mode, other, colors, nullptr);
        QVERIFY(!liveMemoryWritable(before, elsewhere));
        QVERIFY(!liveMemoryWritable(before, {}));
    }

    void writtenRunsLeaveTheNewProgramsMachine_data() { addCombinations(); }
    void writtenRunsLeaveTheNewProgramsMachine()
    {
        // A machine that ran the old picture's program, then got the runs, must be the
        // machine that ran the new picture's program: every byte of RAM, the colour RAM
        // and the VIC's registers. A copy the routine makes at start and the image leaves
        // out shows up here as a difference.
        QFETCH(CanvasMode, mode);
        QFETCH(int, layout);
        const CanvasLayoutSpec spec {CanvasLayout(layout)};
        const Colormap oldCanvas = busyCanvas(mode, spec);
        Colormap newCanvas = oldCanvas;
        newCanvas.fillRect(QRect(3, 5, 40, 30), 6);
        newCanvas.fillRect(QRect(30, newCanvas.height() - 40, 20, 30), 10);
        const LiveMemoryImage oldImage = encodeLiveMemoryImage(
            oldCanvas, mode, spec, exportColors({0, 14, 1, 2, 0, 3, 4, 0, 5, 6}), nullptr);
        const LiveMemoryImage newImage = encodeLiveMemoryImage(
            newCanvas, mode, spec, exportColors({6, 2, 3, 4, 0, 5, 7, 0, 1, 15}), nullptr);
        QVERIFY(liveMemoryWritable(oldImage, newImage));

        constexpr int settled = 40;
        constexpr int after = 43;
        std::unique_ptr<C64Model> live = runFrom(oldImage.program, settled);
        QVERIFY(live);
        for (const MemorySpan& run : changedMemoryRuns(oldImage.spans, newImage.spans, 16)) {
            for (int i = 0; i < run.bytes.size(); ++i)
                live->write(quint16(run.address + i), uchar(run.bytes[i]));
        }
        QVERIFY(live->runUntilFrame(after));
        std::unique_ptr<C64Model> fresh = runFrom(newImage.program, after);
        QVERIFY(fresh);

        for (int address = 0; address < 0x10000; ++address) {
            if (live->ram(quint16(address)) != fresh->ram(quint16(address)))
                QFAIL(qPrintable(QStringLiteral("RAM at $%1 differs").arg(address, 4, 16, QLatin1Char('0'))));
        }
        for (int i = 0; i < 1000; ++i)
            QCOMPARE(live->colorRam(i) & 15, fresh->colorRam(i) & 15);
        for (int reg = 0x20; reg <= 0x2E; ++reg) {
            if ((live->vicRegister(reg) & 15) != (fresh->vicRegister(reg) & 15))
                QFAIL(qPrintable(QStringLiteral("VIC register $d0%1 differs").arg(reg, 2, 16)));
        }
    }
};

QTEST_GUILESS_MAIN(TestLiveMemoryImage)
#include "tst_live_memory_image.moc"
