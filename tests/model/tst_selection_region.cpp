#include "model/region_outline.h"
#include "model/selection_region.h"

#include <QSet>
#include <QTest>

#include <random>

namespace {

// The region over a w x h grid as rows of '1' (selected) and '0'.
QStringList regionRows(const QRegion& region, int width, int height)
{
    QStringList rows;
    for (int y = 0; y < height; ++y) {
        QString row;
        for (int x = 0; x < width; ++x)
            row += region.contains(QPoint(x, y)) ? QLatin1Char('1') : QLatin1Char('0');
        rows.append(row);
    }
    return rows;
}

QRegion regionFromRows(const QStringList& rows)
{
    QRegion region;
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x) {
            if (rows[y][x] == QLatin1Char('1'))
                region += QRect(x, y, 1, 1);
        }
    }
    return region;
}

} // namespace

class TestSelectionRegion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A lasso selects its outline as well as its inside, so a thin stroke of the lasso
    // still selects the pixels it went over.
    void lassoTakesInsideAndOutline()
    {
        const QRegion triangle = lassoToRegion(QPolygon({QPoint(1, 1), QPoint(7, 1), QPoint(1, 7)}));
        QCOMPARE(regionRows(triangle, 9, 9),
            QStringList({"000000000", "011111110", "011111100", "011111000", "011110000", "011100000",
                "011000000", "010000000", "000000000"}));
        QCOMPARE(regionRows(lassoToRegion(QPolygon({QPoint(1, 1), QPoint(5, 3)})), 7, 5),
            QStringList({"0000000", "0110000", "0011100", "0000110", "0000000"}));
        QVERIFY(lassoToRegion(QPolygon()).isEmpty());
    }

    void mirrorKeepsTheBoundsAndUndoesItself()
    {
        const QRegion shape = regionFromRows({"00000", "01100", "01000", "01110"});
        const QRegion across = mirrorSelectionRegion(shape, Qt::Horizontal);
        QCOMPARE(regionRows(across, 5, 4), QStringList({"00000", "00110", "00010", "01110"}));
        const QRegion down = mirrorSelectionRegion(shape, Qt::Vertical);
        QCOMPARE(regionRows(down, 5, 4), QStringList({"00000", "01110", "01000", "01100"}));
        QCOMPARE(mirrorSelectionRegion(across, Qt::Horizontal), shape);
        QCOMPARE(mirrorSelectionRegion(down, Qt::Vertical), shape);
        QVERIFY(mirrorSelectionRegion(QRegion(), Qt::Vertical).isEmpty());
    }

    // Every unit edge of the grid lies on the outline exactly when one of its two pixels
    // is selected, and no piece of outline is drawn twice.
    void outlineSeparatesInsideFromOutside()
    {
        std::mt19937 random(7);
        for (int round = 0; round < 40; ++round) {
            QRegion region;
            for (int i = 0; i < 6; ++i) {
                const QRect rect(
                    int(random() % 14), int(random() % 14), int(1 + random() % 6), int(1 + random() % 6));
                region = (random() % 3 == 0) ? region.subtracted(rect) : region.united(rect);
            }
            QSet<QPair<QPoint, bool>> drawn; // unit edge start, horizontal
            for (const QLine& line : selectionBoundarySegments(region)) {
                const bool horizontal = line.y1() == line.y2();
                QVERIFY(horizontal || line.x1() == line.x2());
                const int length = horizontal ? line.x2() - line.x1() : line.y2() - line.y1();
                QVERIFY(length > 0);
                for (int i = 0; i < length; ++i) {
                    const QPoint start
                        = horizontal ? QPoint(line.x1() + i, line.y1()) : QPoint(line.x1(), line.y1() + i);
                    QVERIFY2(!drawn.contains({start, horizontal}), "an edge drawn twice");
                    drawn.insert({start, horizontal});
                }
            }
            for (int y = -1; y <= 21; ++y) {
                for (int x = -1; x <= 21; ++x) {
                    const bool here = region.contains(QPoint(x, y));
                    QCOMPARE(drawn.contains({QPoint(x, y), true}), here != region.contains(QPoint(x, y - 1)));
                    QCOMPARE(
                        drawn.contains({QPoint(x, y), false}), here != region.contains(QPoint(x - 1, y)));
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestSelectionRegion)
#include "tst_selection_region.moc"
