#include "app/color_slot_assignment.h"
#include "model/project.h"
#include "widgets/color_assignment_widget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayout)

using Slot = ColorAssignmentWidget::Slot;

namespace {

std::shared_ptr<Project> canvas(CanvasMode mode, CanvasLayout layout, int screensAcross = 1)
{
    return std::make_shared<Project>(mode, 0, 0, CanvasLayoutSpec {layout}, screensAcross);
}

void press(QWidget& widget, QPointF position, Qt::MouseButton button)
{
    QMouseEvent event(
        QEvent::MouseButtonPress, position, widget.mapToGlobal(position), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

class TestColorAssignmentWidget : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tilesPerCanvas_data();
    void tilesPerCanvas();
    void clickEmitsTheTileUnderThePointer();
    void clickAssignsThroughTheProject();
};

void TestColorAssignmentWidget::tilesPerCanvas_data()
{
    QTest::addColumn<CanvasMode>("mode");
    QTest::addColumn<CanvasLayout>("layout");
    QTest::addColumn<int>("screens");
    QTest::addColumn<QList<Slot>>("expected");
    QTest::addColumn<QString>("borderName");

    const auto hires = CanvasMode::Hires;
    const auto multi = CanvasMode::Multicolor;
    QTest::newRow("hires bitmap") << hires << CanvasLayout::BitmapOnly << 1 << QList {Slot::Border}
                                  << "Border";
    QTest::newRow("multicolor bitmap")
        << multi << CanvasLayout::BitmapOnly << 1 << QList {Slot::Background, Slot::Border} << "Border";
    QTest::newRow("dual hires: nothing") << hires << CanvasLayout::BitmapOnly << 2 << QList<Slot>() << "";
    QTest::newRow("dual multicolor") << multi << CanvasLayout::BitmapOnly << 2 << QList {Slot::Background}
                                     << "";
    QTest::newRow("hires side borders")
        << hires << CanvasLayout::SideBorders << 1 << QList {Slot::Border} << "Border";
    QTest::newRow("multicolor side borders: no border")
        << multi << CanvasLayout::SideBorders << 1
        << QList {Slot::Background, Slot::SpriteMc0, Slot::SpriteMc1} << "";
    QTest::newRow("hires top/bottom")
        << hires << CanvasLayout::TopBottomBorders << 1
        << QList {Slot::Border, Slot::TopBorderBackground, Slot::BottomBorderBackground} << "Side borders";
    QTest::newRow("multicolor top/bottom")
        << multi << CanvasLayout::TopBottomBorders << 1
        << QList {Slot::Background, Slot::Border, Slot::TopBorderBackground, Slot::TopBorderMc0,
               Slot::TopBorderMc1, Slot::BottomBorderBackground, Slot::BottomBorderMc0, Slot::BottomBorderMc1}
        << "Side borders";
}

void TestColorAssignmentWidget::tilesPerCanvas()
{
    QFETCH(CanvasMode, mode);
    QFETCH(CanvasLayout, layout);
    QFETCH(int, screens);
    QFETCH(QList<Slot>, expected);
    QFETCH(QString, borderName);

    const auto project = canvas(mode, layout, screens);
    const ColorAssignmentWidget bar(project);
    QCOMPARE(ColorAssignmentWidget::slotsFor(*project), expected);
    QCOMPARE(bar.sizeHint(), QSize(46 * int(expected.size()), 29));
    if (expected.contains(Slot::Border))
        QCOMPARE(ColorAssignmentWidget::slotName(Slot::Border, *project), borderName);
    // Every tile's marker is a picture the build carries.
    for (const Slot slot : expected) {
        const QString marker = ColorAssignmentWidget::slotMarker(slot, *project);
        QVERIFY2(
            QSvgRenderer(QStringLiteral(":/dashboard/%1.svg").arg(marker)).isValid(), qPrintable(marker));
    }
}

void TestColorAssignmentWidget::clickEmitsTheTileUnderThePointer()
{
    ColorAssignmentWidget bar(canvas(CanvasMode::Multicolor, CanvasLayout::TopBottomBorders));
    bar.resize(bar.sizeHint());
    QSignalSpy spy(&bar, &ColorAssignmentWidget::slotClicked);

    press(bar, QPointF(46 * 3 + 1, 10), Qt::RightButton);
    press(bar, QPointF(bar.width() - 1, 10), Qt::LeftButton);
    press(bar, QPointF(10, 10), Qt::MiddleButton);
    press(bar, QPointF(bar.width(), 10), Qt::LeftButton);

    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy[0][0].value<Slot>(), Slot::TopBorderMc0);
    QCOMPARE(spy[0][1].value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(spy[1][0].value<Slot>(), Slot::BottomBorderMc1);
    QCOMPARE(spy[1][1].value<Qt::MouseButton>(), Qt::LeftButton);

    // A canvas without shared colours shows an empty bar that ignores clicks.
    ColorAssignmentWidget empty(canvas(CanvasMode::Hires, CanvasLayout::BitmapOnly, 2));
    empty.resize(100, 29);
    QSignalSpy emptySpy(&empty, &ColorAssignmentWidget::slotClicked);
    press(empty, QPointF(50, 10), Qt::LeftButton);
    QCOMPARE(emptySpy.count(), 0);
}

// The window's path for every slot: slotClicked, then the project's edit for that slot
// with the pen colour. Each click records one ColorAssignment entry for exactly the slot
// clicked; the same colour again, or a non-colour, records nothing.
void TestColorAssignmentWidget::clickAssignsThroughTheProject()
{
    for (const CanvasLayout layout : {CanvasLayout::TopBottomBorders, CanvasLayout::SideBorders}) {
        const auto project = canvas(CanvasMode::Multicolor, layout);
        ColorAssignmentWidget bar(project);
        bar.resize(bar.sizeHint());
        const uchar pen = 7;
        connect(&bar, &ColorAssignmentWidget::slotClicked, &bar,
            [&](Slot slot, Qt::MouseButton) { assignColorSlot(*project, slot, pen); });

        const QList<Slot> slots = ColorAssignmentWidget::slotsFor(*project);
        for (int position = 0; position < slots.size(); ++position) {
            const QPointF inTile = bar.slotRect(position, int(slots.size())).center();
            press(bar, inTile, Qt::LeftButton);
            press(bar, inTile, Qt::LeftButton);
            QVERIFY(assignColorSlot(*project, slots[position], 16).isNull());

            QCOMPARE(project->history().count(), position + 1);
            const HistoryEntry& entry = project->history().entries().last();
            QCOMPARE(entry.kind, HistoryEntryKind::ColorAssignment);
            const ColorIndexChange* change = entry.changes.first().colorIndexChange();
            QVERIFY(change);
            QCOMPARE(int(change->slot), int(slots[position]));
            QCOMPARE(bar.slotIndex(slots[position]), pen);
        }
    }
}

QTEST_MAIN(TestColorAssignmentWidget)
#include "tst_color_assignment_widget.moc"
