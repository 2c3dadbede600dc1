#include "rules/clash_extent.h"

#include <QTest>

namespace {

QRect span(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

class TestClashExtent : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extent_data();
    void extent();
};

void TestClashExtent::extent_data()
{
    QTest::addColumn<CanvasMode>("mode");
    QTest::addColumn<CanvasLayoutSpec>("layout");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("paint");
    QTest::addColumn<QRect>("extent");

    const auto H = CanvasMode::Hires;
    const CanvasLayoutSpec bitmap {CanvasLayout::BitmapOnly};
    const CanvasLayoutSpec sides {CanvasLayout::SideBorders};
    const CanvasLayoutSpec topBottom {CanvasLayout::TopBottomBorders};
    const QSize hiresTB(320, 284);

    QTest::newRow("hires cell") << H << bitmap << QSize(320, 200) << span(3, 3, 3, 3) << span(0, 0, 7, 7);
    QTest::newRow("line 42 is a cell's first line")
        << H << topBottom << hiresTB << span(5, 42, 5, 42) << span(0, 42, 7, 49);
    QTest::newRow("top strip: the whole 42-line unit")
        << H << topBottom << hiresTB << span(30, 10, 30, 10) << span(24, 0, 47, 41);
    // The unit grows the extent first, then the bitmap below takes whole cells of it.
    QTest::newRow("top strip and bitmap")
        << H << topBottom << hiresTB << span(30, 41, 30, 42) << span(24, 0, 47, 49);
    QTest::newRow("side strip: paired row")
        << H << sides << QSize(416, 200) << span(40, 100, 40, 100) << span(24, 76, 47, 117);
}

void TestClashExtent::extent()
{
    QFETCH(CanvasMode, mode);
    QFETCH(CanvasLayoutSpec, layout);
    QFETCH(QSize, size);
    QFETCH(QRect, paint);
    QFETCH(QRect, extent);
    QCOMPARE(potentialClashExtent(mode, paint, size, layout), extent);
}

QTEST_APPLESS_MAIN(TestClashExtent)
#include "tst_clash_extent.moc"
