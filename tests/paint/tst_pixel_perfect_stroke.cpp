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

QString describe(const Path& path)
{
    QStringList points;
    for (const QPoint& p : path)
        points.append(QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y()));
    return points.join(QLatin1Char(' '));
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
        QTest::newRow("down then right drops the corner")
            << Path {{0, 0}, {0, 1}, {1, 1}} << Path {{0, 0}, {1, 1}};
        QTest::newRow("straight run keeps every pixel")
            << Path {{0, 0}, {1, 0}, {2, 0}} << Path {{0, 0}, {1, 0}, {2, 0}};
        QTest::newRow("a jump is walked in 8-neighbour steps")
            << Path {{0, 0}, {4, 2}} << Path {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}};
        QTest::newRow("negative steps round away from zero")
            << Path {{0, 0}, {-2, -1}} << Path {{0, 0}, {-1, -1}, {-2, -1}};
        QTest::newRow("staircase") << Path {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}, {3, 2}}
                                   << Path {{0, 0}, {1, 1}, {2, 2}, {3, 2}};
        QTest::newRow("repeated point") << Path {{3, 3}, {3, 3}, {4, 3}} << Path {{3, 3}, {4, 3}};
        QTest::newRow("press only") << Path {{5, 7}} << Path {{5, 7}};
    }

    void chains()
    {
        QFETCH(Path, input);
        QFETCH(Path, expected);
        const Path chain = chainOf(input);
        QVERIFY2(
            chain == expected, qPrintable("got " + describe(chain) + ", expected " + describe(expected)));
    }

    void pendingPixelIsProvisional()
    {
        PixelPerfectStroke stroke;
        QVERIFY(stroke.moveTo({1, 1}).isEmpty());
        QVERIFY(stroke.finish().isEmpty());
        QVERIFY(!stroke.pending());

        stroke.begin({0, 0});
        QCOMPARE(stroke.moveTo({1, 0}), Path {QPoint(0, 0)});
        QCOMPARE(stroke.pending(), std::optional<QPoint>(QPoint(1, 0)));
        QVERIFY(stroke.moveTo({1, 1}).isEmpty());
        QCOMPARE(stroke.pending(), std::optional<QPoint>(QPoint(1, 1)));
        QVERIFY(stroke.moveTo({1, 1}).isEmpty());
        QCOMPARE(stroke.finish(), Path {QPoint(1, 1)});
        QVERIFY(stroke.finish().isEmpty());
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
            const QByteArray context = ("input " + describe(input) + "\nchain " + describe(chain)).toUtf8();
            QVERIFY2(!chain.isEmpty() && chain.first() == input.first(), context);
            QVERIFY2(chain.last() == input.last(), context);
            for (qsizetype i = 1; i < chain.size(); ++i) {
                const QPoint step = chain[i] - chain[i - 1];
                QVERIFY2(std::max(std::abs(step.x()), std::abs(step.y())) == 1, context);
                if (i >= 2)
                    QVERIFY2(!isLCorner(chain[i - 2], chain[i - 1], chain[i]), context);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestPixelPerfectStroke)
#include "tst_pixel_perfect_stroke.moc"
