// The preview window follows the canvas view: its picture is the view's (or the view's
// through the CRT filter) after strokes, undo, colour changes and a new document, and
// its own zoom and mirror behave.
#include "convert/crt_filter.h"
#include "support/paint_driver.h"
#include "view/preview_area.h"
#include "view/preview_window.h"

#include <QTest>

class TestPreviewWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsTheCanvas_data()
    {
        QTest::addColumn<bool>("crt");
        QTest::newRow("plain") << false;
        QTest::newRow("crt") << true;
    }
    void followsTheCanvas()
    {
        QFETCH(bool, crt);
        PaintDriver driver(CanvasMode::Multicolor, CanvasLayout::BitmapOnly);
        PreviewWindow window(&driver.area(), nullptr);
        window.resize(400, 300);
        window.setCrtEmulation(crt);
        const PreviewArea& area = *window.area();
        const auto expected = [&] {
            const QImage& shown = driver.area().displayImage();
            return crt ? CrtFilter::apply(shown) : shown;
        };
        QCOMPARE(area.displayedImage(), expected());

        driver.area().setPenIndex(1);
        driver.area().setPenWidth(3);
        driver.stroke({QPoint(10, 10), QPoint(30, 14), QPoint(50, 40)});
        driver.stroke({QPoint(80, 100), QPoint(81, 100)});
        QCOMPARE(area.displayedImage(), expected());
        QVERIFY(driver.area().undo());
        QCOMPARE(area.displayedImage(), expected());

        // A slot change recolours pixels and the frame.
        const QRect changed = driver.project().assignBackgroundIndex(5);
        driver.area().refreshCanvasImage(changed);
        QCOMPARE(area.displayedImage(), expected());

        // A new document of another size.
        driver.area().setProject(std::make_shared<Project>(CanvasMode::Hires));
        driver.area().reloadProject();
        QCOMPARE(area.displayedImage(), expected());

        window.setCrtEmulation(!crt);
        window.setCrtEmulation(crt);
        QCOMPARE(area.displayedImage(), expected());
    }

    void zoomsInWholeSteps()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        PreviewWindow window(&driver.area(), nullptr);
        PreviewArea& area = *window.area();
        area.resize(600, 500);
        area.zoomBestFit();
        QVERIFY(area.viewTransform().zoom() > 1);
        const double fitted = area.viewTransform().zoom();
        QVERIFY(fitted != std::floor(fitted));
        area.zoomIn();
        QCOMPARE(area.viewTransform().zoom(), std::floor(fitted) + 1);
        area.zoomIn();
        QCOMPARE(area.viewTransform().zoom(), std::floor(fitted) + 2);
        area.zoomActualSize();
        area.zoomOut();
        QCOMPARE(area.viewTransform().zoom(), 1.0);
        area.zoomBestFit();
        area.zoomOut();
        QCOMPARE(area.viewTransform().zoom(), std::ceil(fitted) - 1);
    }

    // A new border colour lies outside every changed rectangle, yet the frame follows it.
    // Mirroring flips about the content's centre: the frame's left edge lands where the
    // right edge was.
    void framesInTheBorderColourAndMirrors()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        PreviewWindow window(&driver.area(), nullptr);
        window.resize(600, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint corner = window.area()->viewMapping().map(QPointF(-10, -10)).toPoint();
        driver.area().refreshCanvasImage(driver.project().assignBorderIndex(7));
        const QImage shot = window.area()->grab().toImage();
        QCOMPARE(QColor(shot.pixel(corner)), QColor(driver.project().palette().colorAt(7)));

        const QRectF content = canvasContentRect(driver.project());
        const QPointF left = window.area()->viewMapping().map(QPointF(content.left(), content.top()));
        const QPointF right = window.area()->viewMapping().map(QPointF(content.right(), content.top()));
        window.setMirrorHorizontally(true);
        QCOMPARE(window.area()->viewMapping().map(QPointF(content.left(), content.top())), right);
        QCOMPARE(window.area()->viewMapping().map(QPointF(content.right(), content.top())), left);
    }
};

QTEST_MAIN(TestPreviewWindow)
#include "tst_preview_window.moc"
