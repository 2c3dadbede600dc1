#include "document/project.h"
#include "widgets/palette_widget.h"

#include <QSignalSpy>
#include <QTest>

class TestPaletteWidget : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clicks_data();
    void clicks();
};

void TestPaletteWidget::clicks_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("primary");
    QTest::addColumn<int>("secondary");
    QTest::addColumn<int>("primaryEmits");
    QTest::addColumn<int>("secondaryEmits");

    // The bar is 384 wide: 24 pixels a swatch. Defaults: primary 1, secondary 0.
    QTest::newRow("left picks primary") << 5 * 24 + 3 << Qt::LeftButton << 5 << 0 << 1 << 0;
    QTest::newRow("right picks secondary") << 7 * 24 << Qt::RightButton << 1 << 7 << 0 << 1;
    QTest::newRow("last pixel column is 15") << 383 << Qt::LeftButton << 15 << 0 << 1 << 0;
    QTest::newRow("right edge is outside") << 384 << Qt::LeftButton << 1 << 0 << 0 << 0;
    QTest::newRow("middle button ignored") << 24 * 9 << Qt::MiddleButton << 1 << 0 << 0 << 0;
}

void TestPaletteWidget::clicks()
{
    QFETCH(int, x);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, primary);
    QFETCH(int, secondary);
    QFETCH(int, primaryEmits);
    QFETCH(int, secondaryEmits);

    PaletteWidget bar(std::make_shared<Project>());
    bar.resize(bar.sizeHint());
    QSignalSpy primarySpy(&bar, &PaletteWidget::primaryIndexSelected);
    QSignalSpy secondarySpy(&bar, &PaletteWidget::secondaryIndexSelected);

    QTest::mouseClick(&bar, button, {}, QPoint(x, 10));

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
