#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"
#include "support/paint_driver.h"

#include <random>

namespace {

void click(PaintDriver& driver, QPoint pixel, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    driver.stroke({pixel}, Qt::LeftButton, modifiers);
}

// A ring of colour 2 around (20..27, 16..23) on the blank canvas.
void drawRing(PaintDriver& driver)
{
    driver.project().colormap().fillRect(QRect(20, 16, 8, 8), 2);
    driver.project().colormap().fillRect(QRect(22, 18, 4, 4), driver.colormap().pixel(0, 0));
    driver.area().refreshCanvasImage();
}

} // namespace

class TestFillTool : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A multicolor cell holding the background and three colours has no room for a fifth
    // at a background pixel: the fill starting there is refused whole and leaves no entry.
    void refusedSeedChangesAndRecordsNothing()
    {
        PaintDriver driver(CanvasMode::Multicolor, CanvasLayout::BitmapOnly);
        drawRows(driver.project().colormap(), QPoint(8, 8),
            {"2570", "2570", "2570", "2570", "2570", "2570", "2570", "2570"});
        driver.area().refreshCanvasImage();
        driver.area().setFillToolActive(true);
        driver.area().setPenIndex(9);
        const Colormap before = driver.colormap();
        const int entries = driver.project().history().count();
        click(driver, QPoint(11, 10));
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(before));
        QCOMPARE(driver.project().history().count(), entries);
        // Elsewhere the same colour fits, and the fill is one entry.
        click(driver, QPoint(40, 40));
        QCOMPARE(driver.colormap().pixel(40, 40), uchar(9));
        QCOMPARE(driver.project().history().count(), entries + 1);
        // Filling an area with its own colour records nothing.
        click(driver, QPoint(40, 40));
        QCOMPARE(driver.project().history().count(), entries + 1);
    }

    // Ctrl asks for a contour, which only a multicolor cell has room for.
    void ctrlPaintsTheBandOnMulticolorOnly_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<bool>("bandOnly");
        QTest::newRow("hires fills") << CanvasMode::Hires << false;
        QTest::newRow("multicolor traces") << CanvasMode::Multicolor << true;
    }

    void ctrlPaintsTheBandOnMulticolorOnly()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(bool, bandOnly);
        PaintDriver driver(mode, CanvasLayout::BitmapOnly);
        drawRing(driver);
        driver.area().setFillToolActive(true);
        driver.area().setPenIndex(2);
        driver.area().setContourPlacement(ContourPlacement::Inside);
        click(driver, QPoint(23, 19), Qt::ControlModifier);
        // The pocket is 4 x 4: a one-pixel inner band leaves its middle untouched.
        QCOMPARE(driver.colormap().pixel(22, 18), uchar(2));
        QCOMPARE(driver.colormap().pixel(23, 19) == 2, !bandOnly);
    }

    void randomFillsHoldEveryRule_data() { addEveryModeAndLayout(); }

    // Random fills and contours on every mode and layout: what the hover shows is what the
    // click leaves, the preview setting hides a flood's preview but never a contour's, each
    // click is at most one entry and leaves the canvas legal, and undoing everything gives
    // back the canvas byte for byte.
    void randomFillsHoldEveryRule()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        // A top or bottom border filled past its sprite budget gets frames the preview does
        // not show; there the budget is enforced instead.
        const bool budget = layout == CanvasLayout::TopBottomBorders;
        PaintDriver driver(mode, layout, budget ? SpriteCountPolicy::Enforce : SpriteCountPolicy::Flag);
        paintBands(driver, driver.target());
        drawRing(driver);
        driver.leave();
        const Colormap initial = driver.colormap();
        const int start = driver.project().history().index();
        driver.area().setFillToolActive(true);
        std::mt19937 random(int(mode) * 7 + int(layout));
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        for (int i = 0; i < 20; ++i) {
            driver.area().setPenIndex(uchar(pick(16)));
            driver.area().setPenWidth(1 + pick(4));
            driver.area().setContourPlacement(ContourPlacement(pick(3)));
            // Ctrl asks for a contour, which only a multicolor cell has room for.
            const bool ctrl = pick(2) == 0;
            const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
            const QPoint at(pick(initial.width()), pick(initial.height()));
            const QImage untouched = driver.area().grab().toImage();
            driver.area().setFillPreviewEnabled(false);
            driver.hover(at, modifiers);
            const QImage hidden = driver.area().grab().toImage();
            driver.area().setFillPreviewEnabled(true);
            driver.hover(at, modifiers);
            const QImage previewed = driver.area().grab().toImage();
            QCOMPARE(hidden, ctrl && isMulticolor(mode) ? previewed : untouched);

            const int entries = driver.project().history().count();
            click(driver, at, modifiers);
            driver.leave();
            QCOMPARE(driver.area().grab().toImage(), previewed);
            QVERIFY(driver.project().history().count() - entries <= 1);
            QVERIFY(!canvasHasUnresolvedClashes(driver.context(), driver.colormap()));
        }
        while (driver.project().history().index() > start)
            QVERIFY(driver.area().undo());
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(initial));
    }
};

QTEST_MAIN(TestFillTool)
#include "tst_fill_tool.moc"
