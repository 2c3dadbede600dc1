#include "model/selection_region.h"
#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"
#include "support/paint_driver.h"
#include "view/tools/select_tool.h"

#include <QPolygonF>
#include <QScreen>

#include <cmath>

namespace {

void key(PaintDriver& driver, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(&driver.area(), key, modifiers);
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double t = std::clamp(QPointF::dotProduct(p - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

// How far a pixel's centre lies inside (positive) or outside (negative) a polygon given in
// canvas coordinates.
double depthInside(QPoint pixel, const QPolygonF& polygon)
{
    const QPointF centre = QPointF(pixel) + QPointF(0.5, 0.5);
    double nearest = 1e9;
    for (qsizetype i = 0; i < polygon.size(); ++i)
        nearest = std::min(nearest, distanceToSegment(centre, polygon[i], polygon[(i + 1) % polygon.size()]));
    return polygon.containsPoint(centre, Qt::OddEvenFill) ? nearest : -nearest;
}

// Pixels well inside the outline are selected, pixels well outside are not; only the
// pixels the outline itself runs through may go either way.
void verifySelectsOutline(const QRegion& selection, const QPolygonF& outline, const QRect& canvas)
{
    int inside = 0;
    for (int y = canvas.top(); y <= canvas.bottom(); ++y) {
        for (int x = canvas.left(); x <= canvas.right(); ++x) {
            const double depth = depthInside(QPoint(x, y), outline);
            const bool selected = selection.contains(QPoint(x, y));
            if (depth > 1.0)
                QVERIFY2(selected, qPrintable(QString("(%1, %2) inside left out").arg(x).arg(y)));
            if (depth < -1.5)
                QVERIFY2(!selected, qPrintable(QString("(%1, %2) outside selected").arg(x).arg(y)));
            inside += depth > 1.0;
        }
    }
    QVERIFY(inside > 100);
}

} // namespace

class TestSelectTool : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // On a view turned by 30 degrees the lasso and the screen-upright marquee select the
    // turned shapes the user outlined on screen, pixel for pixel, not their bounding boxes.
    void turnedViewSelectsWhatWasOutlined()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        Transform& transform = driver.project().transform();
        transform.setRotationAnchored(30.0, QPointF(500, 350));
        driver.area().setSelectionTool(SelectionTool::Lasso);
        const QList<QPointF> corners {QPointF(20.5, 20.5), QPointF(90.5, 35.5), QPointF(45.5, 95.5)};
        // The hand's path on screen, sampled finely, as the pixels the pointer passes.
        QList<QPoint> path;
        for (int i = 0; i < 3; ++i) {
            const QPointF from = transform.canvasToView(corners[i]);
            const QPointF to = transform.canvasToView(corners[(i + 1) % 3]);
            for (int step = 0; step <= 200; ++step) {
                const QPoint pixel = transform.viewToCanvasPixel(from + (to - from) * (step / 200.0));
                if (path.isEmpty() || path.last() != pixel)
                    path.append(pixel);
            }
        }
        driver.stroke(path);
        const QRegion lasso = driver.area().selectTool().selection();
        verifySelectsOutline(lasso, QPolygonF(corners), driver.colormap().rect());

        // A press inside the ants would lift them.
        driver.area().deselect();
        driver.area().setSelectionTool(SelectionTool::Rectangle);
        const QPointF start = transform.canvasToView(QPointF(60.5, 60.5));
        const QPointF end = start + QPointF(90, 50);
        driver.stroke({transform.viewToCanvasPixel(start), transform.viewToCanvasPixel(end)});
        // The pixels' centres map to view points a little off the pointer's; the outline on
        // the canvas is the screen rectangle between the two pixel centres.
        const QPointF a = driver.viewOf(transform.viewToCanvasPixel(start));
        const QPointF b = driver.viewOf(transform.viewToCanvasPixel(end));
        const QRectF screen = QRectF(a, b).normalized();
        const QPolygonF turned(
            {transform.viewToCanvas(screen.topLeft()), transform.viewToCanvas(screen.topRight()),
                transform.viewToCanvas(screen.bottomRight()), transform.viewToCanvas(screen.bottomLeft())});
        verifySelectsOutline(driver.area().selectTool().selection(), turned, driver.colormap().rect());
    }

    // Modifiers compose marquees; each step is a selection step of its own that Ctrl+Z
    // walks back, and a drag that starts inside with Shift composes instead of lifting.
    void composeAndWalkBack()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        SelectTool& tool = driver.area().selectTool();
        driver.area().setSelectionTool(SelectionTool::Rectangle);
        const Colormap canvas = driver.colormap();

        driver.stroke({QPoint(10, 10), QPoint(19, 19)});
        const QRegion first(10, 10, 10, 10);
        QCOMPARE(tool.selection(), first);
        driver.stroke({QPoint(15, 15), QPoint(29, 29)}, Qt::LeftButton, Qt::ShiftModifier);
        const QRegion added = first + QRegion(15, 15, 15, 15);
        QCOMPARE(tool.selection(), added);
        driver.stroke({QPoint(12, 12), QPoint(13, 13)}, Qt::LeftButton, Qt::AltModifier);
        const QRegion subtracted = added - QRegion(12, 12, 2, 2);
        QCOMPARE(tool.selection(), subtracted);
        driver.stroke({QPoint(0, 0), QPoint(16, 16)}, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier);
        QCOMPARE(tool.selection(), subtracted & QRegion(0, 0, 17, 17));
        QVERIFY(!tool.floating());
        QCOMPARE(driver.colormap(), canvas);

        // A plain click deselects; a right click with nothing selected changes nothing.
        driver.stroke({QPoint(60, 60)});
        QVERIFY(tool.selection().isEmpty());
        driver.stroke({QPoint(61, 61)}, Qt::RightButton);

        for (const QRegion& expected :
            {subtracted & QRegion(0, 0, 17, 17), subtracted, added, first, QRegion()}) {
            QVERIFY(tool.canUndoStage());
            QVERIFY(tool.handleUndo());
            QCOMPARE(tool.selection(), expected);
        }
        QVERIFY(!tool.handleUndo());
    }

    void floatingSelectionOnEveryCanvas_data() { addEveryModeAndLayout(); }

    // A float thrown away, with Esc or Ctrl+Z, was never written to the canvas, and the
    // selection returns to where it was lifted from. A float dragged off the cell grid and
    // over a strip's edge, twice, then dropped: the preview showed what the drop left, the
    // canvas is legal, and one undo gives back every pixel. Cut empties the selection to
    // the blank colour as one entry and keeps the outline; pasting the clipboard back where
    // it came from gives back every pixel.
    void floatingSelectionOnEveryCanvas()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        PaintDriver driver(mode, layout);
        const QPoint at = driver.target();
        paintBands(driver, at);
        paintBands(driver, driver.colormap().rect().center());
        const Colormap before = driver.colormap();
        const int entries = driver.project().history().count();
        SelectTool& tool = driver.area().selectTool();
        driver.area().setSelectionTool(SelectionTool::Rectangle);
        driver.stroke({at - QPoint(14, 9), at + QPoint(14, 9)});
        const QRegion lifted = tool.selection();
        QCOMPARE(lifted, QRegion(QRect(at - QPoint(14, 9), at + QPoint(14, 9))) & driver.colormap().rect());

        driver.stroke({at, at + QPoint(7, 2)}, Qt::LeftButton, Qt::ControlModifier);
        QVERIFY(tool.floating());
        key(driver, Qt::Key_Escape);
        QVERIFY(!tool.floating());
        QCOMPARE(tool.selection(), lifted);
        QCOMPARE(driver.colormap(), before);
        driver.stroke({at, at + QPoint(-3, 1)});
        QVERIFY(tool.handleUndo());
        QVERIFY(!tool.floating());
        QCOMPARE(tool.selection(), lifted);
        QCOMPARE(driver.colormap(), before);

        driver.stroke({at, at + QPoint(5, 3)});
        driver.stroke({at + QPoint(5, 3), at + QPoint(11, 10)});
        QVERIFY(tool.floating());
        QCOMPARE(driver.colormap(), before);
        QCOMPARE(driver.project().history().count(), entries);
        const QImage preview = driver.area().grab().toImage();
        key(driver, Qt::Key_Return);
        QVERIFY(!tool.floating());
        QCOMPARE(driver.project().history().count(), entries + 1);
        QVERIFY(driver.colormap() != before);
        QVERIFY(!canvasHasUnresolvedClashes(driver.context(), driver.colormap()));
        QCOMPARE(tool.selection(), lifted.translated(11, 10) & driver.colormap().rect());
        QCOMPARE(driver.area().grab().toImage(), preview);
        QVERIFY(driver.area().undo());
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(before));

        driver.area().selectAll();
        driver.area().cutSelection();
        QCOMPARE(driver.project().history().count(), entries + 1);
        QVERIFY(driver.colormap() != before);
        QVERIFY(!canvasHasUnresolvedClashes(driver.context(), driver.colormap()));
        QCOMPARE(tool.selection(), QRegion(driver.colormap().rect()));
        tool.pasteSelection(false);
        tool.commitFloatingSelection();
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(before));
        QCOMPARE(driver.project().history().count(), entries + 2);
    }

    // Paste with Transparency lets the canvas show through the clipboard's blank pixels;
    // Shift+arrows nudge the float by whole cells.
    void transparentPasteSkipsTheBlank()
    {
        PaintDriver driver(CanvasMode::Multicolor, CanvasLayout::BitmapOnly);
        SelectTool& tool = driver.area().selectTool();
        Colormap& canvas = driver.project().colormap();
        const uchar blank = driver.context().background();
        const QString b = QString::number(blank, 16);
        drawRows(canvas, QPoint(8, 8), {"2" + b + "2" + b, b + "2" + b + "2"});
        canvas.fillRect(QRect(16, 8, 4, 2), 5);
        driver.area().refreshCanvasImage();
        driver.area().setSelectionTool(SelectionTool::Rectangle);
        driver.stroke({QPoint(8, 8), QPoint(11, 9)});
        driver.area().copySelection();
        tool.pasteSelection(true);
        key(driver, Qt::Key_Right, Qt::ShiftModifier);
        key(driver, Qt::Key_Right, Qt::ShiftModifier);
        key(driver, Qt::Key_Return);
        QCOMPARE(canvasToRows(driver.colormap(), QRect(8, 8, 12, 2)),
            rowsText({"2" + b + "2" + b + "0000" + "2525", b + "2" + b + "2" + "0000" + "5252"})
                .replace('0', b));

        // An opaque paste covers with the blank as well.
        tool.pasteSelection(false);
        key(driver, Qt::Key_Right, Qt::ShiftModifier);
        key(driver, Qt::Key_Right, Qt::ShiftModifier);
        key(driver, Qt::Key_Return);
        QCOMPARE(canvasToRows(driver.colormap(), QRect(16, 8, 4, 2)),
            rowsText({"2" + b + "2" + b, b + "2" + b + "2"}));
    }

    // Flipping twice gives the content and the shape back exactly, and nothing is
    // recorded; one flip of a cell-aligned block mirrors its pixels in place.
    void flipsMirrorTheFloat()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        paintBands(driver, QPoint(24, 20));
        // Two cells that differ, each lopsided, so any wrong mirror shows.
        const QStringList block {"2200000055555000", "2220000050000000", "2000000055500000",
            "2222000050000000", "2000000050000000", "2200000055550000", "2000000050000000",
            "2220000055000000"};
        drawRows(driver.project().colormap(), QPoint(16, 16), block);
        driver.area().refreshCanvasImage();
        const Colormap original = driver.colormap();
        const int entries = driver.project().history().count();
        SelectTool& tool = driver.area().selectTool();
        driver.area().setSelectionTool(SelectionTool::Lasso);
        driver.stroke({QPoint(10, 12), QPoint(38, 14), QPoint(30, 30), QPoint(14, 26)});
        const QRegion lasso = tool.selection();
        for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Horizontal, Qt::Vertical, Qt::Vertical})
            driver.area().flipSelection(orientation);
        QVERIFY(tool.floating());
        QCOMPARE(tool.selection(), lasso);
        key(driver, Qt::Key_Return);
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(original));
        QCOMPARE(driver.project().history().count(), entries);

        driver.area().deselect();
        driver.area().setSelectionTool(SelectionTool::Rectangle);
        driver.stroke({QPoint(16, 16), QPoint(31, 23)});
        driver.area().flipSelection(Qt::Horizontal);
        tool.commitFloatingSelection();
        for (int y = 16; y <= 23; ++y) {
            for (int x = 16; x <= 31; ++x)
                QCOMPARE(driver.colormap().pixel(x, y), original.pixel(47 - x, y));
        }
        QCOMPARE(driver.project().history().count(), entries + 1);

        // An L lifted with the lasso and flipped no longer covers its own corner; moved away
        // and dropped, the whole L it was lifted from is blank, with no part of the old
        // picture left behind, and the mirrored L lands intact.
        driver.area().deselect();
        Colormap& canvas = driver.project().colormap();
        const uchar blank = driver.area().blankIndex();
        canvas.fill(blank);
        canvas.fillRect(QRect(16, 16, 24, 24), 2);
        driver.area().refreshCanvasImage();
        driver.area().setSelectionTool(SelectionTool::Lasso);
        driver.stroke(
            {QPoint(16, 16), QPoint(23, 16), QPoint(23, 31), QPoint(39, 31), QPoint(39, 39), QPoint(16, 39)});
        const QRegion lShape = tool.selection();
        QVERIFY(lShape.contains(QPoint(17, 17)));
        QVERIFY(!lShape.contains(QPoint(35, 20)));

        driver.area().flipSelection(Qt::Horizontal);
        QVERIFY(!tool.selection().contains(QPoint(17, 17)));
        for (int i = 0; i < 4; ++i)
            key(driver, Qt::Key_Right, Qt::ShiftModifier);
        key(driver, Qt::Key_Return);

        const QRegion landed = mirrorSelectionRegion(lShape, Qt::Horizontal).translated(32, 0);
        QCOMPARE(tool.selection(), landed);
        Colormap expected(canvas.width(), canvas.height());
        expected.fill(blank);
        expected.fillRect(QRect(16, 16, 24, 24), 2);
        for (const QRect& rect : lShape)
            expected.fillRect(rect, blank);
        for (const QRect& rect : landed)
            expected.fillRect(rect, 2);
        QCOMPARE(canvasToRows(canvas, QRect(8, 8, 72, 40)), canvasToRows(expected, QRect(8, 8, 72, 40)));
    }

    void draggedFloatLeavesNoTrail_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("rotation");
        QTest::newRow("zoom 2") << 2.0 << 0.0;
        QTest::newRow("zoom 3, turned") << 3.0 << 90.0;
        QTest::newRow("zoom 0.6") << 0.6 << 0.0;
    }

    // Ants drawn, then the view zoomed or turned and the float dragged in long jumps,
    // each step painted as the window paints it: what the window holds at the end is what
    // a full repaint draws, with no outline left behind where the float was on the way.
    void draggedFloatLeavesNoTrail()
    {
        QFETCH(double, zoom);
        QFETCH(double, rotation);
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        paintBands(driver, QPoint(60, 60));
        driver.area().setSelectionTool(SelectionTool::Rectangle);
        driver.stroke({QPoint(44, 50), QPoint(75, 69)});
        // The view changes after the ants were drawn, and repaints whole.
        driver.project().transform().setZoom(zoom);
        driver.project().transform().setRotationAnchored(rotation, QPointF(300, 200));
        driver.area().show();
        QVERIFY(QTest::qWaitForWindowExposed(&driver.area()));
        QCoreApplication::processEvents();

        QPoint at(60, 60);
        driver.send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        for (const QPoint step :
            {QPoint(31, 17), QPoint(-9, 40), QPoint(45, -3), QPoint(-60, -21), QPoint(3, 2)}) {
            at += step;
            driver.send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
            QCoreApplication::processEvents();
        }
        driver.send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        QCoreApplication::processEvents();
        QVERIFY(driver.area().selectTool().floating());

        const QImage shown = driver.area().screen()->grabWindow(driver.area().winId()).toImage();
        const QImage drawn = driver.area().grab().toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), drawn.convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(TestSelectTool)
#include "tst_select_tool.moc"
