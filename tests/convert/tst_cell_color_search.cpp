// The colour-set search of one cell: the best few sets it returns, with their costs, are
// exactly the best few of every set, however its bounds prune the search.
#include "convert/cell_color_search.h"

#include <QTest>

#include <algorithm>
#include <bit>
#include <random>

namespace {

// Costs of random pixels: each colour and pair of colours a random cost per pixel, the
// pair never dearer than its cheaper colour, as the real costs are.
UnitCosts randomCosts(std::mt19937& random, int pixels, quint16 candidates)
{
    UnitCosts costs;
    costs.reset(pixels);
    costs.candidates = candidates;
    std::uniform_real_distribution<float> value(0.0f, 100.0f);
    for (int color = 0; color < c64ColorCount; ++color) {
        for (int p = 0; p < pixels; ++p)
            costs.single(color)[p] = value(random);
    }
    for (int a = 0; a < c64ColorCount; ++a) {
        for (int b = a + 1; b < c64ColorCount; ++b) {
            for (int p = 0; p < pixels; ++p) {
                costs.pair(a, b)[p] = std::min({costs.single(a)[p], costs.single(b)[p], value(random)});
            }
        }
    }
    return costs;
}

// A set's cost the slow way: every pixel its cheapest colour or pair of the set.
float setCost(const UnitCosts& costs, quint16 set)
{
    float total = 0.0f;
    for (int p = 0; p < costs.pixels; ++p) {
        float least = std::numeric_limits<float>::max();
        for (int a = 0; a < c64ColorCount; ++a) {
            if (!(set & (1u << a)))
                continue;
            least = std::min(least, costs.single(a)[p]);
            for (int b = a + 1; b < c64ColorCount; ++b) {
                if (set & (1u << b))
                    least = std::min(least, costs.pair(a, b)[p]);
            }
        }
        total += least;
    }
    return total;
}

} // namespace

class TestCellColorSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bestSetsAreTheBestOfAll_data()
    {
        QTest::addColumn<int>("freeCount");
        QTest::addColumn<int>("fixed");
        QTest::addColumn<int>("keep");
        QTest::addColumn<int>("pixels");
        QTest::newRow("hires pair, best six") << 2 << 0 << 6 << 64;
        QTest::newRow("hires pair, best one") << 2 << 0 << 1 << 64;
        QTest::newRow("multicolor triple over a background") << 3 << (1 << 6) << 6 << 32;
        QTest::newRow("multicolor, a clipped cell") << 3 << (1 << 0) << 4 << 12;
        QTest::newRow("sprite colour beside three shared")
            << 1 << ((1 << 1) | (1 << 9) | (1 << 14)) << 6 << 504;
        QTest::newRow("more kept than there are sets") << 1 << 0 << 40 << 8;
    }

    void bestSetsAreTheBestOfAll()
    {
        QFETCH(int, freeCount);
        QFETCH(int, fixed);
        QFETCH(int, keep);
        QFETCH(int, pixels);
        std::mt19937 random(unsigned(freeCount * 31 + keep + pixels));
        for (int round = 0; round < 20; ++round) {
            // Now and then only some colours are candidates, as in a real cell.
            const quint16 candidates = round % 2 == 0 ? quint16(0xffff) : quint16(random() | 0x0f0f);
            const UnitCosts costs = randomCosts(random, pixels, candidates);
            std::vector<float> scratch;
            const std::vector<FreeColorChoice> found
                = bestFreeColorSets(costs, quint16(fixed), freeCount, keep, scratch);

            std::vector<float> every;
            for (int set = 1; set < (1 << c64ColorCount); ++set) {
                if ((set & fixed) || (set & ~candidates) || std::popcount(unsigned(set)) != freeCount)
                    continue;
                every.push_back(setCost(costs, quint16(set | fixed)));
            }
            std::sort(every.begin(), every.end());
            QCOMPARE(int(found.size()), std::min(keep, int(every.size())));
            for (std::size_t i = 0; i < found.size(); ++i) {
                const FreeColorChoice& choice = found[i];
                quint16 mask = quint16(fixed);
                for (int c = 0; c < choice.count; ++c)
                    mask |= quint16(1u << choice.colors[std::size_t(c)]);
                QCOMPARE(std::popcount(unsigned(mask)), std::popcount(unsigned(fixed)) + freeCount);
                QVERIFY(!(mask & ~(candidates | fixed)));
                // The cost it reports is the set's own, and the ranks agree with every set's.
                QVERIFY(qAbs(choice.error - setCost(costs, mask)) <= 1e-3f * std::max(1.0f, choice.error));
                QVERIFY(qAbs(choice.error - every[i]) <= 1e-3f * std::max(1.0f, every[i]));
            }
            QCOMPARE(bestFreeColors(costs, quint16(fixed), freeCount, scratch).error, found.front().error);
        }
    }
};

QTEST_MAIN(TestCellColorSearch)
#include "tst_cell_color_search.moc"
