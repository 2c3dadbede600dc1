#include "paint/pixel_perfect_stroke.h"

#include <QTest>

#include <random>

namespace {

using Path = QList<QPoint>;

// Runs a whole stroke through the chain: press at the first point, drag through the
// rest, release.
Path chainOf(const Path& input)
{
    PixelPerfectStroke stroke;
    stroke.begin(input.first());
    Path chain;
    for (qsizetype i = 1; i < input.size(); ++i)
        chain += stroke.moveTo(input[i]);
    chain += stroke.finish();
    return chain;
}

bool isLCorner(QPoint a, QPoint b, QPoint c)
{
    const bool horizontal1 = a.y() == b.y() && a.x() != b.x();
    const bool vertical1 = a.x() == b.x() && a.y() != b.y();
    const bool horizontal2 = b.y() == c.y() && b.x() != c.x();
    const bool vertical2 = b.x() == c.x() && b.y() != c.y();
    return (horizontal1 && vertical2) || (vertical1 && horizontal2);
}

} // namespace

class TestPixelPerfectStroke : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chains_data()
    {
        QTest::addColumn<Path>("input");
        QTest::addColumn<Path>("expected");
        QTest::newRow("right then down drops the corner")
            << Path {{0, 0}, {1, 0}, {1, 1}} << Path {{0, 0}, {1, 1}};
        QTest::newRow("a jump is walked in 8-neighbour steps")
            << Path {{0, 0}, {4, 2}} << Path {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}};
        QTest::newRow("staircase") << Path {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}, {3, 2}}
                                   << Path {{0, 0}, {1, 1}, {2, 2}, {3, 2}};
    }

    void chains()
    {
        QFETCH(Path, input);
        QFETCH(Path, expected);
        QCOMPARE(chainOf(input), expected);
    }

    // Whatever the mouse does, the chain is a connected one-pixel line without
    // L-shaped lumps that ends where the pointer was released.
    void randomPathsLeaveNoCorners_data()
    {
        QTest::addColumn<bool>("jumps");
        QTest::newRow("8-connected walk") << false;
        QTest::newRow("free mouse") << true;
    }

    void randomPathsLeaveNoCorners()
    {
        QFETCH(bool, jumps);
        std::mt19937 random(jumps ? 7 : 3);
        const int reach = jumps ? 5 : 1;
        std::uniform_int_distribution<int> offset(-reach, reach);
        for (int trial = 0; trial < 300; ++trial) {
            Path input {QPoint(offset(random), offset(random))};
            const int length = 2 + trial % 40;
            for (int i = 0; i < length; ++i)
                input.append(input.last() + QPoint(offset(random), offset(random)));
            const Path chain = chainOf(input);
            QVERIFY(!chain.isEmpty() && chain.first() == input.first() && chain.last() == input.last());
            for (qsizetype i = 1; i < chain.size(); ++i) {
                const QPoint step = chain[i] - chain[i - 1];
                QCOMPARE(std::max(std::abs(step.x()), std::abs(step.y())), 1);
                if (i >= 2)
                    QVERIFY(!isLCorner(chain[i - 2], chain[i - 1], chain[i]));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestPixelPerfectStroke)
#include "tst_pixel_perfect_stroke.moc"
