#include "document/project.h"
#include "model/canvas_region.h"
#include "paint/texture.h"
#include "rules/sprite_budget.h"
#include "rules/unresolved_clashes.h"
#include "support/paint_driver.h"
#include "view/canvas_area.h"

#include <QApplication>
#include <QTest>

#include <random>

class TestPaintTools : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Random strokes on every mode and layout, some of them symmetric: a click leaves what its
    // hover showed, the canvas stays legal, locked border pixels keep the border colour, each
    // stroke is at most one entry with all its copies, holding just the rectangle the stroke
    // changed and where it ended, and undoing everything gives back the canvas byte for byte.
    void randomStrokesHoldEveryRule_data() { addEveryModeAndLayout(); }

    void randomStrokesHoldEveryRule()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        PaintDriver driver(mode, layout, SpriteCountPolicy::Enforce);
        CanvasArea& area = driver.area();
        const Colormap initial = driver.colormap();
        const QList<QRect> locked = canvasLockedBorderRects(mode, initial.size(), CanvasLayoutSpec {layout});
        const QList<Texture> textures {Texture(),
            Texture(Texture::Rows {0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA,
                0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555})};
        std::mt19937 random(int(mode) * 7 + int(layout));
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        const QRect bounds = initial.rect();

        for (int i = 0; i < 60; ++i) {
            area.setPenIndex(uchar(pick(16)));
            area.setSecondaryIndex(uchar(pick(16)));
            area.setPenWidth(pick(3) == 0 ? 1 : 1 + pick(12));
            area.setBrushShape(pick(2) ? BrushShape::Round : BrushShape::Square);
            area.setAntialiasedStrokes(pick(4) == 0);
            area.setTexture(textures.at(pick(2)));
            area.setTextureMode(pick(2) ? TextureMode::TwoColor : TextureMode::Stencil);
            area.setEraserToolActive(pick(5) == 0);
            area.setSymmetryMode(pick(3) == 0 ? SymmetryMode(1 + pick(5)) : SymmetryMode::None);
            QList<QPoint> points;
            for (int n = 1 + pick(5); n > 0; --n)
                points.append(QPoint(pick(bounds.width()), pick(bounds.height())));
            const int entries = driver.project().history().count();
            const Colormap previous = driver.colormap();
            // The hover shows the pen's colour, which is the left button's.
            const Qt::MouseButton button = pick(2) ? Qt::LeftButton : Qt::RightButton;
            QImage preview;
            if (points.size() == 1 && button == Qt::LeftButton) {
                driver.hover(points.first());
                preview = area.grab().toImage();
            }
            driver.stroke(points, button);
            if (!preview.isNull()) {
                driver.leave();
                QCOMPARE(area.grab().toImage(), preview);
            }

            const int added = driver.project().history().count() - entries;
            QVERIFY(added <= 1);
            if (added == 1) {
                const HistoryEntry& entry = driver.project().history().entries().last();
                QCOMPARE(entry.strokeAnchor, std::optional<QPoint>(points.last()));
                QCOMPARE(entry.changes.size(), 1);
                const HistoryChange& change = entry.changes.first();
                QVERIFY(change.isRegionChange());
                QCOMPARE(change.regionRect(), previous.diffBoundingRect(driver.colormap()));
                QVERIFY(change.regionCrop(true).pixels()
                    == driver.colormap().snapshotRegion(change.regionRect()));
            }
            QVERIFY2(!canvasHasUnresolvedClashes(driver.context(), driver.colormap()),
                qPrintable(QString::number(i)));
            for (const QRect& rect : locked)
                QVERIFY(driver.colormap().snapshotRegion(rect) == initial.snapshotRegion(rect));
            for (const CanvasRegion& region : canvasRegions(mode, bounds.size(), CanvasLayoutSpec {layout}))
                QVERIFY(spriteCountViolationRects(driver.context(), driver.colormap(), region).isEmpty());
        }
        const Colormap final = driver.colormap();
        while (area.undo()) { }
        QVERIFY(driver.colormap() == initial);
        while (area.redo()) { }
        QVERIFY(driver.colormap() == final);
    }

    void shiftJoinsThePressToTheLastStrokeEnd()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        CanvasArea& area = driver.area();
        // With nothing drawn yet Shift starts an ordinary stroke.
        driver.stroke({QPoint(10, 10)}, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(driver.colormap().pixel(10, 10), uchar(1));

        driver.stroke({QPoint(30, 10), QPoint(30, 10)}, Qt::LeftButton, Qt::ShiftModifier);
        for (int x = 10; x <= 30; ++x)
            QCOMPARE(driver.colormap().pixel(x, 10), uchar(1));
        QCOMPARE(driver.project().history().count(), 2);
        QCOMPARE(area.connectAnchor(), std::optional<QPoint>(QPoint(30, 10)));

        QVERIFY(area.undo());
        QCOMPARE(area.connectAnchor(), std::optional<QPoint>(QPoint(10, 10)));
    }

    void overlappingOrLostButtonsEndGesturesAsOneEntry();

    void samplingAndRouting()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        CanvasArea& area = driver.area();
        driver.project().colormap().setPixel(50, 50, 7);
        driver.project().colormap().setPixel(60, 50, 9);

        // Alt with the pen samples: the right button into the secondary colour.
        driver.stroke({QPoint(50, 50)}, Qt::RightButton, Qt::AltModifier);
        QCOMPARE(area.secondaryIndex(), uchar(7));

        // A second button during an eraser stroke starts no second recorded edit; the stroke
        // is the only entry, as sampling records none.
        area.setEraserToolActive(true);
        driver.send(QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
        driver.send(
            QEvent::MouseButtonPress, QPoint(50, 50), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        driver.send(QEvent::MouseMove, QPoint(70, 50), Qt::NoButton, Qt::LeftButton | Qt::RightButton);
        driver.send(QEvent::MouseButtonRelease, QPoint(70, 50), Qt::RightButton, Qt::LeftButton);
        driver.send(QEvent::MouseButtonRelease, QPoint(70, 50), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(driver.project().history().count(), 1);
        QCOMPARE(driver.colormap().pixel(60, 50), area.blankIndex());
    }
};

// Another button pressed inside a gesture, a release that never arrives, the focus or the
// window going away: the gesture ends as one entry at most, and the next starts afresh.
void TestPaintTools::overlappingOrLostButtonsEndGesturesAsOneEntry()
{
    PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
    CanvasArea& area = driver.area();
    const History& history = driver.project().history();
    const QPointF pan = driver.project().transform().pan();
    const auto middleInside = [&](QPoint at, Qt::MouseButtons held) {
        driver.send(QEvent::MouseButtonPress, at, Qt::MiddleButton, held | Qt::MiddleButton);
        driver.send(QEvent::MouseMove, at + QPoint(30, 20), Qt::NoButton, held | Qt::MiddleButton);
    };

    // A pen stroke with a middle press inside it: the release still closes the stroke.
    driver.send(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    middleInside(QPoint(20, 10), Qt::LeftButton);
    driver.send(QEvent::MouseButtonRelease, QPoint(50, 30), Qt::LeftButton, Qt::MiddleButton);
    driver.send(QEvent::MouseButtonRelease, QPoint(50, 30), Qt::MiddleButton, Qt::NoButton);
    QVERIFY(!area.gestureOpen());
    QCOMPARE(history.count(), 1);
    QCOMPARE(driver.project().transform().pan(), pan);
    // The next stroke starts where it is pressed, with no line from the old stroke's end.
    driver.stroke({QPoint(100, 100), QPoint(110, 100)});
    QCOMPARE(history.count(), 2);
    QCOMPARE(driver.colormap().pixel(75, 65), uchar(0));

    // An eyedropper drag with a middle press inside it closes; later presses sample.
    driver.project().colormap().setPixel(150, 150, 7);
    area.setEyedropperToolActive(true);
    driver.send(QEvent::MouseButtonPress, QPoint(150, 150), Qt::LeftButton, Qt::LeftButton);
    middleInside(QPoint(150, 150), Qt::LeftButton);
    driver.send(QEvent::MouseButtonRelease, QPoint(150, 150), Qt::LeftButton, Qt::MiddleButton);
    driver.send(QEvent::MouseButtonRelease, QPoint(150, 150), Qt::MiddleButton, Qt::NoButton);
    driver.stroke({QPoint(160, 150), QPoint(170, 150)});
    QCOMPARE(history.count(), 2);
    QCOMPARE(area.penIndex(), uchar(0));
    area.setEyedropperToolActive(false);

    // A rotation drag with a middle press inside it ends; the next plain drag paints.
    area.setPenIndex(1);
    QTest::keyPress(&area, Qt::Key_R);
    driver.send(QEvent::MouseButtonPress, QPoint(10, 150), Qt::LeftButton, Qt::LeftButton);
    middleInside(QPoint(10, 150), Qt::LeftButton);
    driver.send(QEvent::MouseButtonRelease, QPoint(10, 150), Qt::LeftButton, Qt::MiddleButton);
    driver.send(QEvent::MouseButtonRelease, QPoint(10, 150), Qt::MiddleButton, Qt::NoButton);
    QTest::keyRelease(&area, Qt::Key_R);
    const double rotation = driver.project().transform().rotation();
    driver.stroke({QPoint(10, 180), QPoint(60, 180)});
    QCOMPARE(driver.project().transform().rotation(), rotation);
    QCOMPARE(history.count(), 3);

    // A left press inside a middle pan neither paints nor ends the pan.
    driver.send(QEvent::MouseButtonPress, QPoint(200, 20), Qt::MiddleButton, Qt::MiddleButton);
    driver.send(QEvent::MouseButtonPress, QPoint(200, 20), Qt::LeftButton, Qt::MiddleButton | Qt::LeftButton);
    driver.send(QEvent::MouseButtonRelease, QPoint(200, 20), Qt::LeftButton, Qt::MiddleButton);
    QVERIFY(area.isPanning());
    driver.send(QEvent::MouseButtonRelease, QPoint(200, 20), Qt::MiddleButton, Qt::NoButton);
    QVERIFY(!area.isPanning());
    QCOMPARE(history.count(), 3);

    area.setPenIndex(5);

    // Focus moves away mid-stroke (a dialog opened): the stroke so far is one entry.
    driver.send(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    driver.send(QEvent::MouseMove, QPoint(30, 10), Qt::NoButton, Qt::LeftButton);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&area, &focusOut);
    QVERIFY(!area.strokeInProgress() && !area.recordedEditOpen());
    QCOMPARE(history.count(), 4);
    QCOMPARE(driver.colormap().pixel(30, 10), uchar(5));
    driver.send(QEvent::MouseButtonRelease, QPoint(30, 10), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(history.count(), 4);

    // A release that never arrives: the next move without the button ends the stroke.
    driver.send(QEvent::MouseButtonPress, QPoint(10, 40), Qt::LeftButton, Qt::LeftButton);
    driver.send(QEvent::MouseMove, QPoint(30, 40), Qt::NoButton, Qt::LeftButton);
    driver.hover(QPoint(40, 60));
    QVERIFY(!area.strokeInProgress());
    QCOMPARE(history.count(), 5);
    QVERIFY(driver.colormap().pixel(40, 60) != uchar(5));

    // The window deactivates during a pan and during an eyedropper drag.
    driver.send(QEvent::MouseButtonPress, QPoint(10, 70), Qt::MiddleButton, Qt::MiddleButton);
    QVERIFY(area.isPanning());
    QEvent deactivated(QEvent::ActivationChange);
    QApplication::sendEvent(&area, &deactivated);
    QVERIFY(!area.isPanning());
    area.setEyedropperToolActive(true);
    driver.send(QEvent::MouseButtonPress, QPoint(10, 70), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(area.gestureOpen());
    QApplication::sendEvent(&area, &deactivated);
    QVERIFY(!area.gestureOpen());
}

QTEST_MAIN(TestPaintTools)
#include "tst_paint_tools.moc"
