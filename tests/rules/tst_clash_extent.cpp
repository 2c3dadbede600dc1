#include "rules/clash_extent.h"

#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayoutSpec)

namespace {

CanvasLayoutSpec layoutOf(CanvasLayout layout, SpriteAlignment top = SpriteAlignment::Left,
    SpriteAlignment bottom = SpriteAlignment::Left)
{
    return {layout, top, bottom};
}

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
    const auto M = CanvasMode::Multicolor;
    const CanvasLayoutSpec bitmap = layoutOf(CanvasLayout::BitmapOnly);
    const CanvasLayoutSpec sides = layoutOf(CanvasLayout::SideBorders);
    const CanvasLayoutSpec topBottom = layoutOf(CanvasLayout::TopBottomBorders);
    const CanvasLayoutSpec rightAligned
        = layoutOf(CanvasLayout::TopBottomBorders, SpriteAlignment::Right, SpriteAlignment::Right);
    const QSize hiresTB(320, 284);

    QTest::newRow("hires cell") << H << bitmap << QSize(320, 200) << span(3, 3, 3, 3) << span(0, 0, 7, 7);
    QTest::newRow("multicolor cells")
        << M << bitmap << QSize(160, 200) << span(3, 7, 4, 8) << span(0, 0, 7, 15);
    QTest::newRow("partial cell at the far edge")
        << H << bitmap << QSize(300, 180) << span(297, 177, 299, 179) << span(296, 176, 299, 179);
    QTest::newRow("line 42 is a cell's first line")
        << H << topBottom << hiresTB << span(5, 42, 5, 42) << span(0, 42, 7, 49);
    QTest::newRow("top strip: the whole 42-line unit")
        << H << topBottom << hiresTB << span(30, 10, 30, 10) << span(24, 0, 47, 41);
    // The unit grows the extent first, then the bitmap below takes whole cells of it.
    QTest::newRow("top strip and bitmap")
        << H << topBottom << hiresTB << span(30, 41, 30, 42) << span(24, 0, 47, 49);
    QTest::newRow("top strip, right-aligned partial column")
        << H << rightAligned << hiresTB << span(3, 5, 3, 5) << span(0, 0, 7, 41);
    QTest::newRow("bottom strip, left-aligned partial column")
        << H << topBottom << hiresTB << span(315, 283, 315, 283) << span(312, 242, 319, 283);
    QTest::newRow("bitmap's last line pulls in the bottom unit")
        << M << topBottom << QSize(160, 284) << span(20, 241, 20, 242) << span(12, 234, 23, 283);
    QTest::newRow("side strip: paired row")
        << H << sides << QSize(416, 200) << span(40, 100, 40, 100) << span(24, 76, 47, 117);
    QTest::newRow("side strip into the bitmap")
        << H << sides << QSize(416, 200) << span(46, 100, 49, 100) << span(24, 72, 55, 119);
    QTest::newRow("multicolor side strip rows 0 and 1")
        << M << sides << QSize(208, 200) << span(190, 12, 190, 13) << span(184, 0, 195, 33);
    QTest::newRow("locked column stays as painted")
        << H << sides << QSize(416, 200) << span(410, 50, 411, 50) << span(410, 50, 411, 50);
    QTest::newRow("clipped to the canvas")
        << H << bitmap << QSize(320, 200) << span(-5, -5, 2, 2) << span(0, 0, 7, 7);
    QTest::newRow("off the canvas") << H << bitmap << QSize(320, 200) << span(400, 5, 410, 6) << QRect();
    QTest::newRow("reversed rectangle") << H << bitmap << QSize(320, 200) << span(10, 10, 5, 12) << QRect();
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
