#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"
#include "support/paint_driver.h"
#include "view/tools/shape_tool.h"

namespace {

// A drag from `from` to `to` through a point on the way, as a hand makes it.
void drag(PaintDriver& driver, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    driver.stroke({from, (from + to) / 2, to}, Qt::LeftButton, modifiers);
}

PaintDriver& withShapeTool(PaintDriver& driver, ShapeKind kind)
{
    driver.area().setShapeToolActive(true);
    driver.area().setShapeKind(kind);
    driver.area().setPenIndex(5);
    return driver;
}

// Three shapes on the stage, each a stage step.
void stageThree(PaintDriver& driver)
{
    const QPoint at = driver.target();
    drag(driver, at + QPoint(-20, -20), at + QPoint(-8, -6));
    drag(driver, at + QPoint(-4, -4), at + QPoint(6, 8));
    drag(driver, at + QPoint(10, 2), at + QPoint(22, 14));
}

} // namespace

class TestShapeTool : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Whatever the kind, mode, layout, view rotation and row height, what the stage shows
    // is what the commit paints, and the commit is one Shape entry that leaves no clash.
    void commitPaintsExactlyThePreview_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayout>("layout");
        QTest::addColumn<ShapeKind>("kind");
        QTest::addColumn<double>("rotation");
        QTest::addColumn<double>("aspect");
        QTest::addColumn<int>("width");
        const QStringList kinds {"line", "rectangle", "circle", "star", "path"};
        for (const CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            for (const CanvasLayout layout : allLayouts) {
                for (int kind = 0; kind < 5; ++kind) {
                    QTest::addRow("%s %s %s", qPrintable(modeName(mode)), qPrintable(layoutName(layout)),
                        qPrintable(kinds[kind]))
                        << mode << layout << ShapeKind(kind) << 0.0 << 1.0 << 1;
                }
            }
            QTest::addRow("%s star turned view PAL", qPrintable(modeName(mode)))
                << mode << CanvasLayout::BitmapOnly << ShapeKind::Star << 30.0 << 0.9365 << 2;
            QTest::addRow("%s circle turned view NTSC", qPrintable(modeName(mode)))
                << mode << CanvasLayout::SideBorders << ShapeKind::Circle << -75.0 << 0.75 << 3;
        }
    }

    void commitPaintsExactlyThePreview()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        QFETCH(ShapeKind, kind);
        QFETCH(double, rotation);
        QFETCH(double, aspect);
        QFETCH(int, width);
        PaintDriver driver(mode, layout);
        paintBands(driver, driver.target());
        const int entries = driver.project().history().count();
        driver.project().transform().setRotation(rotation);
        driver.area().setDisplayPixelAspect(aspect);
        withShapeTool(driver, kind);
        driver.area().setPenWidth(width);
        const QPoint at = driver.target();
        drag(driver, at + QPoint(-10, -9), at + QPoint(9, 8));
        QCOMPARE(driver.area().shapeTool().stage().count(), 1);
        // Deselected, the stage shows the preview alone, without handles.
        driver.stroke({at}, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(driver.area().shapeTool().stage().selectedIndices(), QList<int> {});

        Colormap expected = driver.colormap();
        driver.area().applySymmetricShape(
            expected, driver.area().shapeTool().stage().shapes().first(), false);
        QVERIFY(canvasToRows(expected) != canvasToRows(driver.colormap()));
        const QImage previewed = driver.area().grab().toImage();
        QCOMPARE(driver.project().history().count(), entries);

        driver.area().commitShapeStage();
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(expected));
        if (rotation == 0.0)
            QCOMPARE(driver.area().grab().toImage(), previewed);
        QCOMPARE(driver.project().history().count(), entries + 1);
        QCOMPARE(driver.project().history().entries().last().kind, HistoryEntryKind::Shape);
        QVERIFY(driver.area().shapeTool().stage().isEmpty());
        QVERIFY(!canvasHasUnresolvedClashes(driver.context(), driver.colormap()));
    }

    // The stage keeps its own steps: undo takes them back without touching the document
    // history, and only an empty stage hands Undo on.
    void stageUndoIsSeparateFromHistory()
    {
        PaintDriver driver(CanvasMode::Multicolor, CanvasLayout::BitmapOnly);
        withShapeTool(driver, ShapeKind::Rectangle);
        stageThree(driver);
        ShapeTool& tool = driver.area().shapeTool();
        QCOMPARE(tool.stage().count(), 3);
        const QPointF secondCentre = tool.stage().shapes()[1].centre;

        // Moving the selection with a held arrow is one step.
        const QPointF thirdCentre = tool.stage().shapes()[2].centre;
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&driver.area(), &right);
        QApplication::sendEvent(&driver.area(), &repeat);
        QCOMPARE(tool.stage().shapes()[2].centre, thirdCentre + QPointF(4, 0));
        QVERIFY(tool.canUndoStage());
        QVERIFY(tool.handleUndo());
        QCOMPARE(tool.stage().shapes()[2].centre, thirdCentre);
        QVERIFY(tool.handleUndo());
        QCOMPARE(tool.stage().count(), 2);
        QCOMPARE(tool.stage().shapes()[1].centre, secondCentre);

        // A colour change retargets the selected shape only, as one step.
        tool.handleUndo();
        QCOMPARE(tool.stage().count(), 1);
        driver.area().setPenIndex(6);
        QCOMPARE(tool.stage().shapes()[0].penIndex, uchar(5));
        driver.stroke({driver.target() + QPoint(-14, -13)});
        QCOMPARE(tool.stage().selectedIndices(), QList<int> {0});
        driver.area().setPenIndex(7);
        QCOMPARE(tool.stage().shapes()[0].penIndex, uchar(7));
        QVERIFY(tool.handleUndo());
        QCOMPARE(tool.stage().shapes()[0].penIndex, uchar(5));
        QVERIFY(tool.handleUndo());
        QVERIFY(tool.stage().isEmpty());
        QVERIFY(!tool.handleUndo());
        QCOMPARE(driver.project().history().count(), 0);
    }

    // A click, or a drag that spans no more than a pixel, stages nothing; a discarded
    // stage leaves the document untouched, and leaving the tool with nothing staged
    // commits nothing either.
    void clicksAndDiscardsLeaveTheDocumentUntouched()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::TopBottomBorders);
        withShapeTool(driver, ShapeKind::Circle);
        const Colormap before = driver.colormap();
        driver.stroke({QPoint(50, 50)});
        QVERIFY(driver.area().shapeTool().stage().isEmpty());
        driver.area().setShapeKind(ShapeKind::Path);
        driver.stroke({QPoint(50, 50)});
        QVERIFY(driver.area().shapeTool().stage().isEmpty());

        driver.area().setShapeKind(ShapeKind::Star);
        stageThree(driver);
        driver.area().shapeTool().discardStage();
        QVERIFY(driver.area().shapeTool().stage().isEmpty());
        QCOMPARE(canvasToRows(driver.colormap()), canvasToRows(before));
        QCOMPARE(driver.project().history().count(), 0);
        driver.area().setShapeToolActive(false);
        QCOMPARE(driver.project().history().count(), 0);
    }

    // Shift squares the box on the emulated screen: on a multicolor canvas it covers half
    // as many canvas columns as rows.
    void shiftSquaresOnTheDisplay()
    {
        PaintDriver driver(CanvasMode::Multicolor, CanvasLayout::BitmapOnly);
        withShapeTool(driver, ShapeKind::Rectangle);
        const Colormap before = driver.colormap();
        const QPoint at = driver.target();
        drag(driver, at + QPoint(-20, -20), at + QPoint(6, 20), Qt::ShiftModifier);
        const StagedShape shape = driver.area().shapeTool().stage().shapes().first();
        QCOMPARE(shape.halfWidth, shape.halfHeight);
        driver.area().commitShapeStage();
        const QRect painted = before.diffBoundingRect(driver.colormap());
        QVERIFY2(std::abs(painted.width() * 2 - painted.height()) <= 2,
            qPrintable(QStringLiteral("%1 x %2").arg(painted.width()).arg(painted.height())));
    }
};

QTEST_MAIN(TestShapeTool)
#include "tst_shape_tool.moc"
