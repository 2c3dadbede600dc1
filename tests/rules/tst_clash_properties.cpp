#include "model/canvas_region.h"
#include "model/color_distance.h"
#include "model/palette.h"
#include "model/sprite_strip_grid.h"
#include "rules/cell_clash_resolution.h"
#include "rules/clash_extent.h"
#include "rules/clash_sweep.h"
#include "rules/paint_veto.h"
#include "rules/sprite_colors.h"
#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

namespace {

constexpr int paintSteps = 300;

uchar randomColor(QRandomGenerator& random)
{
    return uchar(random.bounded(16));
}

ClashContext randomContext(QRandomGenerator& random, CanvasMode mode, const CanvasLayoutSpec& layout)
{
    ClashContext ctx;
    ctx.mode = mode;
    ctx.layout = layout;
    for (uchar& slot : ctx.slots.values)
        slot = randomColor(random);
    ctx.paletteVariant = PaletteVariant(random.bounded(10));
    return ctx;
}

// One screen of noise, with the locked border pixels holding the border colour as the
// project keeps them.
Colormap randomCanvas(QRandomGenerator& random, const ClashContext& ctx)
{
    const QSize size = canvasModeDefaultCanvasSize(ctx.mode, ctx.layout, 1);
    Colormap canvas(size.width(), size.height());
    // Mostly few colours per area, as drawings have, with stretches of pure noise.
    const int palettes = 1 + random.bounded(4);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const bool noisy = ((x / 16 + y / 16) % palettes) == 0;
            canvas.setPixel(
                x, y, noisy ? randomColor(random) : uchar((x / 8 + y / 8 + random.bounded(3)) % 16));
        }
    }
    for (const QRect& locked : canvasLockedBorderRects(ctx.mode, size, ctx.layout))
        canvas.fillRect(locked, ctx.slots[HistoryColorSlot::Border]);
    return canvas;
}

// The sweep read as plainly as possible, unit by unit: the optimised sweep must give the
// same canvas and the same rectangle.
QRect plainSweep(const ClashContext& ctx, Colormap& canvas)
{
    const Palette palette(ctx.paletteVariant);
    const auto distance = [&palette](uchar a, uchar b) {
        const QRgb from = palette.colorAt(a);
        return colorDistanceSq(
            ColorDistanceMetric::Euclidean, qRed(from), qGreen(from), qBlue(from), palette.colorAt(b));
    };
    QRect result;
    const auto settle = [&](const QRect& unit, QList<uchar> survivors, const auto& isFree, int keep) {
        std::array<int, 256> counts {};
        for (int y = unit.top(); y <= unit.bottom(); ++y) {
            for (int x = unit.left(); x <= unit.right(); ++x)
                ++counts[canvas.pixel(x, y)];
        }
        QList<uchar> free;
        for (int index = 0; index < 256; ++index) {
            if (counts[std::size_t(index)] > 0 && isFree(uchar(index)))
                free << uchar(index);
        }
        std::stable_sort(
            free.begin(), free.end(), [&counts](uchar a, uchar b) { return counts[a] > counts[b]; });
        if (free.size() <= keep)
            return;
        survivors << free.mid(0, keep);
        std::sort(survivors.begin(), survivors.end());
        for (uchar merged : free.mid(keep)) {
            uchar target = survivors.first();
            for (uchar survivor : survivors) {
                if (distance(merged, survivor) < distance(merged, target))
                    target = survivor;
            }
            canvas.replaceIndex(unit, merged, target);
        }
        result |= unit;
    };
    for (const CanvasRegion& region : canvasRegions(ctx.mode, canvas.size(), ctx.layout)) {
        if (region.isSpriteStrip()) {
            QList<uchar> shared;
            for (int index = 0; index < 16; ++index) {
                if (spriteProtectedColor(ctx, region, uchar(index)))
                    shared << uchar(index);
            }
            const auto isFree = [&](uchar index) { return !spriteProtectedColor(ctx, region, index); };
            const SpriteStripGrid grid = spriteStripGrid(region, ctx.mode, ctx.layout);
            for (int row = 0; row < grid.rows; ++row) {
                for (int column = 0; column < grid.columns; ++column)
                    settle(grid.unitRect(column, row), shared, isFree, 1);
            }
            continue;
        }
        const bool multicolor = isMulticolor(ctx.mode);
        const uchar background = ctx.background();
        const QList<uchar> kept = multicolor ? QList<uchar> {background} : QList<uchar> {};
        const auto isFree = [&](uchar index) { return !multicolor || index != background; };
        const int cellWidth = multicolor ? 4 : 8;
        for (int top = region.rect.top(); top <= region.rect.bottom(); top += 8) {
            for (int left = region.rect.left(); left <= region.rect.right(); left += cellWidth)
                settle(QRect(left, top, cellWidth, 8) & region.rect, kept, isFree, multicolor ? 3 : 2);
        }
    }
    return result;
}

QString describeStep(int step, const char* kind, const QRect& rect, uchar color, const ClashContext& ctx)
{
    return QStringLiteral("step %1 %2 at %3,%4 %5x%6 colour %7 resolution %8")
        .arg(step)
        .arg(QLatin1String(kind))
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height())
        .arg(color)
        .arg(int(ctx.hiresClashResolution));
}

} // namespace

class TestClashProperties : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data();
    void paintNeverLeavesAClash();
    void sweepSettlesEverythingAtOnce();
};

// Every property holds for every scenario.
void TestClashProperties::initTestCase_data()
{
    QTest::addColumn<CanvasMode>("mode");
    QTest::addColumn<CanvasLayoutSpec>("layout");
    QTest::addColumn<quint32>("seed");

    const QList<std::pair<const char*, CanvasLayoutSpec>> layouts {
        {"bitmap", CanvasLayoutSpec {CanvasLayout::BitmapOnly}},
        {"sides", CanvasLayoutSpec {CanvasLayout::SideBorders}},
        {"top/bottom left", CanvasLayoutSpec {CanvasLayout::TopBottomBorders}},
        {"top/bottom right",
            CanvasLayoutSpec {
                CanvasLayout::TopBottomBorders, SpriteAlignment::Right, SpriteAlignment::Right}},
        {"top/bottom mixed",
            CanvasLayoutSpec {CanvasLayout::TopBottomBorders, SpriteAlignment::Right, SpriteAlignment::Left}},
    };
    for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
        for (const auto& [name, layout] : layouts) {
            for (quint32 seed : {1u, 2u, 3u}) {
                QTest::addRow("%s %s seed %u", isMulticolor(mode) ? "multicolor" : "hires", name, seed)
                    << mode << layout << seed;
            }
        }
    }
}

// Whatever is painted, one pixel through the veto or a whole rectangle, the canvas stays
// legal; only the cells and units around the paint change, and the painted pixels keep
// the painted colour.
void TestClashProperties::paintNeverLeavesAClash()
{
    QFETCH_GLOBAL(CanvasMode, mode);
    QFETCH_GLOBAL(CanvasLayoutSpec, layout);
    QFETCH_GLOBAL(quint32, seed);

    QRandomGenerator random(seed);
    ClashContext ctx = randomContext(random, mode, layout);
    Colormap canvas = randomCanvas(random, ctx);
    // The same canvas the sweep property settles.
    resolveExistingClashes(ctx, canvas, canvas.rect());
    const QList<QRect> locked = canvasLockedBorderRects(mode, canvas.size(), layout);

    for (int step = 0; step < paintSteps; ++step) {
        ctx.paintIndex = randomColor(random);
        ctx.hiresClashResolution = HiresClashResolution(random.bounded(3));
        ctx.singlePixel = random.bounded(2) == 0;
        QRect rect;
        if (ctx.singlePixel) {
            rect = QRect(random.bounded(canvas.width()), random.bounded(canvas.height()), 1, 1);
        } else {
            const int w = 1 + random.bounded(40);
            const int h = 1 + random.bounded(40);
            rect = QRect(
                random.bounded(-w + 1, canvas.width()), random.bounded(-h + 1, canvas.height()), w, h);
        }
        const QString what
            = describeStep(step, ctx.singlePixel ? "pixel" : "rect", rect, ctx.paintIndex, ctx);

        const Colormap previous = canvas;
        const Colormap before = canvas.snapshotRegion(rect);
        const QRect clip = rect & canvas.rect();
        for (int y = clip.top(); y <= clip.bottom(); ++y) {
            for (int x = clip.left(); x <= clip.right(); ++x) {
                if (canvasPixelIsLocked(locked, x, y))
                    continue;
                if (ctx.singlePixel && vetoSinglePixelPaint(ctx, canvas, {x, y}))
                    continue;
                canvas.setPixel(x, y, ctx.paintIndex);
            }
        }
        const Colormap painted = canvas;
        const QRect changed = resolveCellClashes(ctx, canvas, before, rect);

        const QRect extent = potentialClashExtent(mode, rect, canvas.size(), layout);
        QVERIFY2(!canvasHasUnresolvedClashes(ctx, canvas),
            qPrintable(what + QLatin1Char('\n') + canvasToRows(canvas, extent)));
        const QRect touched = canvas.diffBoundingRect(previous);
        QVERIFY2((touched | extent) == extent, qPrintable(what));
        QVERIFY2((changed | extent) == extent, qPrintable(what));
        for (int y = clip.top(); y <= clip.bottom(); ++y) {
            for (int x = clip.left(); x <= clip.right(); ++x) {
                if (painted.pixel(x, y) == ctx.paintIndex)
                    QVERIFY2(canvas.pixel(x, y) == ctx.paintIndex, qPrintable(what));
            }
        }
    }
}

void TestClashProperties::sweepSettlesEverythingAtOnce()
{
    QFETCH_GLOBAL(CanvasMode, mode);
    QFETCH_GLOBAL(CanvasLayoutSpec, layout);
    QFETCH_GLOBAL(quint32, seed);

    QRandomGenerator random(seed);
    ClashContext ctx = randomContext(random, mode, layout);
    Colormap canvas = randomCanvas(random, ctx);
    QVERIFY(canvasHasUnresolvedClashes(ctx, canvas));

    // Sweeping part of the canvas stays inside what a caller snapshots for it.
    for (int i = 0; i < 20; ++i) {
        Colormap partial = canvas;
        const QRect rect(random.bounded(-10, canvas.width()), random.bounded(-10, canvas.height()),
            1 + random.bounded(60), 1 + random.bounded(60));
        const QRect extent = potentialClashExtent(mode, rect, canvas.size(), layout);
        const QRect swept = resolveExistingClashes(ctx, partial, rect);
        QVERIFY((swept | extent) == extent);
        QVERIFY((partial.diffBoundingRect(canvas) | extent) == extent);
    }

    QVERIFY(!resolveExistingClashes(ctx, canvas, canvas.rect()).isNull());
    QVERIFY(!canvasHasUnresolvedClashes(ctx, canvas));
    const Colormap settled = canvas;
    QCOMPARE(resolveExistingClashes(ctx, canvas, canvas.rect()), QRect());
    QVERIFY(canvas == settled);

    // Bytes outside the 16 colours (a damaged file) and a slot holding one take the sweep's
    // slower path; both paths must follow the same rule.
    if (seed == 3)
        ctx.slots[HistoryColorSlot(random.bounded(colorSlotCount))] = uchar(16 + random.bounded(240));
    Colormap damaged = randomCanvas(random, ctx);
    for (int i = 0; i < 40; ++i)
        damaged.setPixel(
            random.bounded(damaged.width()), random.bounded(damaged.height()), uchar(random.bounded(256)));
    Colormap expected = damaged;
    const QRect expectedRect = plainSweep(ctx, expected);
    QCOMPARE(resolveExistingClashes(ctx, damaged, damaged.rect()), expectedRect);
    const QRect wrong = damaged.diffBoundingRect(expected);
    QVERIFY2(wrong.isNull(),
        qPrintable(
            canvasToRows(damaged, wrong) + QStringLiteral("\nexpected\n") + canvasToRows(expected, wrong)));
}

QTEST_APPLESS_MAIN(TestClashProperties)
#include "tst_clash_properties.moc"
