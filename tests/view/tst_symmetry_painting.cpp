#include "support/canvas_picture.h"
#include "support/paint_driver.h"

namespace {

SymmetryTransform copyOf(PaintDriver& driver, int index)
{
    return driver.area().activeSymmetryTransforms().at(index);
}

} // namespace

class TestSymmetryPainting : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void previewAfterOtherPreviewsShowsOnlyTheCopies_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<SymmetryMode>("symmetry");
        for (const CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            QTest::addRow("%s kaleidoscope", qPrintable(modeName(mode)))
                << mode << SymmetryMode::Kaleidoscope;
            QTest::addRow("%s vertical", qPrintable(modeName(mode))) << mode << SymmetryMode::Vertical;
        }
    }

    // Every copy of a dab lands, and the hover preview shows every copy exactly as the click
    // leaves it, even after a fill's hover preview, a dab painted since and a hover far away
    // have left their marks in the simulation behind the previews: nothing of those shows.
    // That a symmetric stroke is one entry that undoes whole is the random strokes' test.
    void previewAfterOtherPreviewsShowsOnlyTheCopies()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(SymmetryMode, symmetry);
        PaintDriver driver(mode, CanvasLayout::BitmapOnly);
        driver.area().setSymmetryMode(symmetry);
        const int width = driver.colormap().width();
        const QPoint at(width / 4, 60);

        driver.area().setFillToolActive(true);
        driver.area().setPenIndex(7);
        driver.hover(at);
        driver.area().setFillToolActive(false);

        driver.area().setPenIndex(2);
        driver.area().setPenWidth(2);
        driver.stroke({QPoint(width / 2 - 8, 80)});
        driver.area().setPenIndex(5);
        driver.area().setPenWidth(4);
        driver.hover(QPoint(width / 2 - 12, 100));
        driver.hover(at);
        const QImage previewed = driver.area().grab().toImage();
        driver.stroke({at});
        driver.leave();
        QCOMPARE(driver.area().grab().toImage(), previewed);
        for (const SymmetryTransform& copy : driver.area().activeSymmetryTransforms()) {
            const QPoint image = copy.map(at);
            QCOMPARE(driver.colormap().pixel(image.x(), image.y()), uchar(5));
        }
    }

    // A copy that lands on a locked border pixel fills nothing, the others still fill,
    // and the fill is one step of the history. Staged shapes take their copies on request.
    void fillsAndShapesTakeCopiesOnRequest()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::SideBorders);
        Colormap& canvas = driver.project().colormap();
        const int width = canvas.width();
        // A wall down the middle keeps each side's flood on its own side.
        canvas.fillRect(QRect(width / 2 - 1, 0, 2, canvas.height()), 2);
        driver.area().refreshCanvasImage();
        driver.area().setSymmetryMode(SymmetryMode::Vertical);
        driver.area().setFillToolActive(true);
        driver.area().setPenIndex(5);
        const QPoint locked(width - 4, 100);
        const QPoint mirror = copyOf(driver, 1).map(locked);

        // Off, the click on the locked strip does nothing at all.
        const Colormap before = driver.colormap();
        const int entries = driver.project().history().count();
        driver.stroke({locked});
        QCOMPARE(driver.project().history().count(), entries);

        driver.area().setSymmetricFill(true);
        driver.stroke({locked});
        QCOMPARE(driver.project().history().count(), entries + 1);
        QCOMPARE(driver.colormap().pixel(mirror.x(), mirror.y()), uchar(5));
        QCOMPARE(driver.colormap().pixel(10, 150), uchar(5));
        QCOMPARE(driver.colormap().pixel(locked.x(), locked.y()), before.pixel(locked.x(), locked.y()));
        QCOMPARE(driver.colormap().pixel(width - 11, 150), before.pixel(width - 11, 150));
        QVERIFY(driver.area().undo());
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(before));

        driver.area().setFillToolActive(false);
        driver.area().setShapeToolActive(true);
        driver.area().setShapeKind(ShapeKind::Line);
        driver.area().setSymmetricShapes(true);
        driver.stroke({QPoint(30, 60), QPoint(40, 60), QPoint(50, 60)});
        driver.area().commitShapeStage();
        QCOMPARE(driver.project().history().count(), entries + 1);
        const QPoint shapeMirror = copyOf(driver, 1).map(QPoint(40, 60));
        QCOMPARE(driver.colormap().pixel(40, 60), uchar(5));
        QCOMPARE(driver.colormap().pixel(shapeMirror.x(), shapeMirror.y()), uchar(5));
    }

    // Move Axes never paints; a mirror mode moves the axis under the pointer, a turning
    // mode the intersection from anywhere.
    void moveAxesDragsTheAxesAndNeverPaints()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        CanvasArea& area = driver.area();
        area.setSymmetryMode(SymmetryMode::Quadrant);
        area.setSymmetryToolActive(true);
        const Colormap before = driver.colormap();
        const SymmetryAxes centred = area.symmetryAxes();

        driver.stroke({QPoint(20, 20), QPoint(30, 30), QPoint(40, 40)});
        QCOMPARE(area.symmetryAxes(), centred);
        driver.stroke({QPoint(160, 20), QPoint(130, 35), QPoint(100, 50)});
        QCOMPARE(area.symmetryAxes(), (SymmetryAxes {200, 201}));

        area.setSymmetryMode(SymmetryMode::Kaleidoscope);
        driver.stroke({QPoint(20, 20), QPoint(25, 22), QPoint(30, 25)});
        QCOMPARE(area.symmetryAxes(), (SymmetryAxes {210, 221}));
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(before));

        area.resetSymmetryAxes();
        QCOMPARE(area.symmetryAxes(), centred);
    }
};

QTEST_MAIN(TestSymmetryPainting)
#include "tst_symmetry_painting.moc"
