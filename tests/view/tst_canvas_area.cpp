#include "document/project.h"
#include "view/canvas_area.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

namespace {

std::shared_ptr<Project> multicolorBitmap()
{
    return std::make_shared<Project>(CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {}, 1);
}

void sendMouse(QWidget* widget, QEvent::Type type, QPointF position, Qt::MouseButton button,
    Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

bool sendWheel(QWidget* widget, QPointF position, QPoint angleDelta)
{
    QWheelEvent event(position, widget->mapToGlobal(position), QPoint(), angleDelta, Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    event.setAccepted(false);
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

// Drags from `from` to `to` around the viewport centre with R held, the modifiers down
// before R.
void rotateDrag(CanvasArea& area, QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyPress(&area, Qt::Key_R, modifiers);
    sendMouse(&area, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
    sendMouse(&area, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, modifiers);
    sendMouse(&area, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
    QTest::keyRelease(&area, Qt::Key_R, modifiers);
}

QPointF onCircle(QPointF centre, double degrees)
{
    const double radians = degrees * M_PI / 180.0;
    return centre + 100.0 * QPointF(std::cos(radians), std::sin(radians));
}

} // namespace

class TestCanvasArea : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void zoomStepsLandOnWholeFactors()
    {
        CanvasArea area(multicolorBitmap());
        area.resize(640, 480);
        Transform& t = area.project().transform();

        t.setZoom(2.5);
        area.zoomIn();
        QCOMPARE(t.zoom(), 3.0);
        t.setZoom(2.5);
        area.zoomOut();
        QCOMPARE(t.zoom(), 2.0);

        t.setZoom(0.4);
        area.zoomOut();
        QCOMPARE(t.zoom(), 0.4);
        area.zoomIn();
        QCOMPARE(t.zoom(), 1.0);

        area.zoomBestFit();
        t.setZoom(64);
        area.zoomIn();
        QCOMPARE(t.zoom(), 64.0);
        QVERIFY(area.bestFitActive());

        // The wheel steps the same way; a sideways wheel is not a zoom.
        area.zoomBestFit();
        QVERIFY(!sendWheel(&area, QPointF(10, 10), QPoint(120, 0)));
        const double fitted = t.zoom();
        QVERIFY(sendWheel(&area, QPointF(320, 240), QPoint(0, 120)));
        QCOMPARE(t.zoom(), std::floor(fitted) + 1.0);

        // Far left of the canvas the anchor is pulled onto the canvas's left edge.
        area.setBindZoomToCanvas(true);
        t.setZoom(2);
        t.setRotation(0);
        t.setPan(QPointF(300, 100));
        const QPointF farLeft(5, 200);
        const QPointF edge = area.boundAnchorToCanvas(farLeft);
        const double edgeCanvasY = t.viewToCanvas(edge).y();
        QVERIFY(sendWheel(&area, farLeft, QPoint(0, 120)));
        QCOMPARE(t.zoom(), 3.0);
        const QPointF edgeAfter = t.canvasToView(QPointF(0, edgeCanvasY));
        QVERIFY(std::abs(edgeAfter.x() - edge.x()) < 1e-9);
        QVERIFY(std::abs(edgeAfter.y() - edge.y()) < 1e-9);
    }

    void rotationDragsWrapAndSnap()
    {
        CanvasArea area(multicolorBitmap());
        area.resize(400, 400);
        const QPointF centre(200, 200);
        Transform& t = area.project().transform();

        // 200 degrees clockwise in two drags of 100, so no single drag passes 180.
        rotateDrag(area, onCircle(centre, 0), onCircle(centre, 100));
        rotateDrag(area, onCircle(centre, 0), onCircle(centre, 100));
        QVERIFY(std::abs(t.rotation() - -160.0) < 1e-9);

        // Shift snaps, and may be down before R; Ctrl+R is Reset Rotation, not a drag.
        t.setRotation(0);
        rotateDrag(area, onCircle(centre, 0), onCircle(centre, 30), Qt::ShiftModifier);
        QCOMPARE(t.rotation(), 22.5);
        t.setRotation(0);
        rotateDrag(area, onCircle(centre, 0), onCircle(centre, 34), Qt::ShiftModifier);
        QCOMPARE(t.rotation(), 45.0);
        QTest::keyPress(&area, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!area.viewNavigationActive());
        QTest::keyRelease(&area, Qt::Key_R, Qt::ControlModifier);
    }

    // Arrows pan one cell along the canvas axes; keys held when the focus goes elsewhere are
    // forgotten.
    void keysPanByCellsAndAreForgottenWithTheFocus()
    {
        CanvasArea area(multicolorBitmap());
        area.resize(400, 400);
        Transform& t = area.project().transform();
        t.setZoom(3);
        t.setRotation(90);
        const QPointF cellOrigin = t.canvasToView(QPointF(0, 0));
        QTest::keyClick(&area, Qt::Key_Right);
        // Turned 90 degrees, the canvas x axis points down the screen.
        // One cell to the right, the old cell corner lies under the new one's neighbour.
        QVERIFY(std::abs((t.canvasToView(QPointF(-4, 0)) - cellOrigin).manhattanLength()) < 1e-9);
        QTest::keyClick(&area, Qt::Key_Down);
        QVERIFY(std::abs((t.canvasToView(QPointF(-4, -8)) - cellOrigin).manhattanLength()) < 1e-9);

        // Space and R released in another window never send their release here.
        QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QEvent deactivated(QEvent::ActivationChange);
        QTest::keyPress(&area, Qt::Key_Space);
        QTest::keyPress(&area, Qt::Key_R);
        QTest::keyPress(&area, Qt::Key_C);
        QVERIFY(area.viewNavigationActive() && area.peekSecondaryHeld());
        QApplication::sendEvent(&area, &focusOut);
        QVERIFY(!area.viewNavigationActive() && !area.peekSecondaryHeld());
        QTest::keyPress(&area, Qt::Key_Space);
        QApplication::sendEvent(&area, &deactivated);
        QVERIFY(!area.viewNavigationActive());
    }

    void bestFitFollowsTheDisplayAspect()
    {
        CanvasArea area(multicolorBitmap());
        area.resize(800, 400);
        area.zoomBestFit();
        const Transform& t = area.project().transform();
        const QRectF square = t.canvasToViewRect(area.contentRect());
        area.setDisplayPixelAspect(0.75);
        QVERIFY(area.bestFitActive());
        const QRectF ntsc = t.canvasToViewRect(area.contentRect());
        // Taller rows, yet still fitted and centred in the window.
        QVERIFY(std::abs(ntsc.height() - 400) < 1e-6 || std::abs(ntsc.width() - 800) < 1e-6);
        QVERIFY(std::abs(ntsc.center().x() - 400) < 1e-6);
        QVERIFY(ntsc.width() / ntsc.height() < square.width() / square.height());
    }

    void tabletEventsOnlyTrackThePen()
    {
        CanvasArea area(multicolorBitmap());
        const QPointingDevice* device = QPointingDevice::primaryPointingDevice();
        QTabletEvent press(QEvent::TabletPress, device, QPointF(5, 5), QPointF(5, 5), 0.6, 0, 0, 0, 0, 0,
            Qt::NoModifier, Qt::LeftButton, Qt::LeftButton);
        QApplication::sendEvent(&area, &press);
        QVERIFY(!press.isAccepted());
        QCOMPARE(area.tabletPressure(), 0.6);
        QTabletEvent release(QEvent::TabletRelease, device, QPointF(5, 5), QPointF(5, 5), 0, 0, 0, 0, 0, 0,
            Qt::NoModifier, Qt::LeftButton, Qt::NoButton);
        QApplication::sendEvent(&area, &release);
        QVERIFY(!area.tabletDown());
    }
};

QTEST_MAIN(TestCanvasArea)
#include "tst_canvas_area.moc"
