#include "document/project.h"
#include "widgets/color_assignment_widget.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayout)

using Slot = ColorAssignmentWidget::Slot;

namespace {

std::shared_ptr<Project> canvas(CanvasMode mode, CanvasLayout layout, int screensAcross = 1)
{
    return std::make_shared<Project>(mode, 0, 0, CanvasLayoutSpec {layout}, screensAcross);
}

} // namespace

class TestColorAssignmentWidget : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tilesPerCanvas_data();
    void tilesPerCanvas();
    void clickEmitsTheTileUnderThePointer();
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
}

void TestColorAssignmentWidget::clickEmitsTheTileUnderThePointer()
{
    ColorAssignmentWidget bar(canvas(CanvasMode::Multicolor, CanvasLayout::TopBottomBorders));
    bar.resize(bar.sizeHint());
    QSignalSpy spy(&bar, &ColorAssignmentWidget::slotClicked);

    QTest::mouseClick(&bar, Qt::RightButton, {}, QPoint(46 * 3 + 1, 10));
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.width() - 1, 10));
    QTest::mouseClick(&bar, Qt::MiddleButton, {}, QPoint(10, 10));
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.width(), 10));

    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy[0][0].value<Slot>(), Slot::TopBorderMc0);
    QCOMPARE(spy[0][1].value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(spy[1][0].value<Slot>(), Slot::BottomBorderMc1);
    QCOMPARE(spy[1][1].value<Qt::MouseButton>(), Qt::LeftButton);
}

QTEST_MAIN(TestColorAssignmentWidget)
#include "tst_color_assignment_widget.moc"
