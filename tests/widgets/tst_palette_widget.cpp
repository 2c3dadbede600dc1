#include "document/project.h"
#include "widgets/palette_widget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

void press(QWidget& widget, QPointF position, Qt::MouseButton button)
{
    QMouseEvent event(
        QEvent::MouseButtonPress, position, widget.mapToGlobal(position), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

class TestPaletteWidget : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clicks_data();
    void clicks();
};

void TestPaletteWidget::clicks_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("primary");
    QTest::addColumn<int>("secondary");
    QTest::addColumn<int>("primaryEmits");
    QTest::addColumn<int>("secondaryEmits");

    // The bar is 384 wide: 24 pixels a swatch. Defaults: primary 1, secondary 0.
    QTest::newRow("left picks primary") << 5.0 * 24 + 3 << Qt::LeftButton << 5 << 0 << 1 << 0;
    QTest::newRow("right picks secondary") << 7.0 * 24 << Qt::RightButton << 1 << 7 << 0 << 1;
    QTest::newRow("last pixel column is 15") << 383.0 << Qt::LeftButton << 15 << 0 << 1 << 0;
    QTest::newRow("right edge is outside") << 384.0 << Qt::LeftButton << 1 << 0 << 0 << 0;
    QTest::newRow("middle button ignored") << 24.0 * 9 << Qt::MiddleButton << 1 << 0 << 0 << 0;
}

void TestPaletteWidget::clicks()
{
    QFETCH(double, x);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, primary);
    QFETCH(int, secondary);
    QFETCH(int, primaryEmits);
    QFETCH(int, secondaryEmits);

    PaletteWidget bar(std::make_shared<Project>());
    bar.resize(bar.sizeHint());
    QSignalSpy primarySpy(&bar, &PaletteWidget::primaryIndexSelected);
    QSignalSpy secondarySpy(&bar, &PaletteWidget::secondaryIndexSelected);

    press(bar, QPointF(x, 10), button);

    QCOMPARE(int(bar.primaryIndex()), primary);
    QCOMPARE(int(bar.secondaryIndex()), secondary);
    QCOMPARE(primarySpy.count(), primaryEmits);
    QCOMPARE(secondarySpy.count(), secondaryEmits);
    if (primaryEmits)
        QCOMPARE(int(primarySpy.first().first().value<uchar>()), primary);
    if (secondaryEmits)
        QCOMPARE(int(secondarySpy.first().first().value<uchar>()), secondary);
}

QTEST_MAIN(TestPaletteWidget)
#include "tst_palette_widget.moc"
