#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"
#include "support/paint_driver.h"

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
        QVERIFY(!canvasHasUnresolvedClashes(driver.context(), driver.colormap()));
        QVERIFY(driver.area().undo());
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(before));
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
        QCOMPARE(driver.project().history().count(), 1);
    }

    // What the hover shows is what the click leaves; the preview setting hides the flood
    // preview but never the contour's.
    void previewIsTheClicksResult_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayout>("layout");
        QTest::addColumn<bool>("ctrl");
        QTest::newRow("hires flood") << CanvasMode::Hires << CanvasLayout::BitmapOnly << false;
        QTest::newRow("multicolor flood") << CanvasMode::Multicolor << CanvasLayout::BitmapOnly << false;
        QTest::newRow("multicolor contour") << CanvasMode::Multicolor << CanvasLayout::BitmapOnly << true;
        QTest::newRow("hires side sprites flood") << CanvasMode::Hires << CanvasLayout::SideBorders << false;
        QTest::newRow("multicolor top/bottom contour")
            << CanvasMode::Multicolor << CanvasLayout::TopBottomBorders << true;
        QTest::newRow("multicolor top/bottom flood")
            << CanvasMode::Multicolor << CanvasLayout::TopBottomBorders << false;
    }

    void previewIsTheClicksResult()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        QFETCH(bool, ctrl);
        PaintDriver driver(mode, layout);
        drawRing(driver);
        driver.area().setFillToolActive(true);
        driver.area().setPenIndex(5);
        driver.area().setPenWidth(2);
        const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
        const QImage untouched = driver.area().grab().toImage();

        driver.area().setFillPreviewEnabled(false);
        driver.hover(QPoint(21, 17), modifiers);
        QCOMPARE(driver.area().grab().toImage() == untouched, !ctrl);
        driver.area().setFillPreviewEnabled(true);
        driver.hover(QPoint(21, 17), modifiers);
        const QImage previewed = driver.area().grab().toImage();
        QVERIFY(previewed != untouched);

        click(driver, QPoint(21, 17), modifiers);
        driver.leave();
        QCOMPARE(driver.area().grab().toImage(), previewed);
    }
};

QTEST_MAIN(TestFillTool)
#include "tst_fill_tool.moc"
