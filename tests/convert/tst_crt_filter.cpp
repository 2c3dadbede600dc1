// The CRT filter against values worked out by hand, and refiltering an edited rectangle
// against filtering the whole picture again.
#include "convert/crt_filter.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

struct Dot {
    QPoint at;
    QRgb color;
};

QImage blackWith(const QSize& size, const QList<Dot>& dots)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    for (const Dot& dot : dots)
        image.setPixel(dot.at, dot.color);
    return image;
}

} // namespace

class TestCrtFilter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Full blur weight squared: 255 x 0.98471 = 251.1, 204 x 0.98471 = 200.9; one step off
    // the centre 255 x 0.0038068 = 0.97, 204 x 0.0038068 = 0.78; diagonals vanish. At the
    // last row the clamped neighbour is the pixel itself: 255 x 0.99616 = 254.0, and
    // 255 x 0.99616 x 0.99616 = 253.0 beside it.
    void filtersByHand_data()
    {
        QTest::addColumn<QList<Dot>>("source");
        QTest::addColumn<QList<Dot>>("expected");
        const QRgb red = qRgb(255, 0, 0);
        QTest::newRow("red comes from the right on a bright line")
            << QList<Dot> {{{10, 1}, red}}
            << QList<Dot> {{{9, 1}, qRgb(251, 0, 0)}, {{10, 1}, qRgb(1, 0, 0)}, {{8, 1}, qRgb(1, 0, 0)},
                   {{9, 0}, qRgb(1, 0, 0)}, {{9, 2}, qRgb(1, 0, 0)}, {{8, 0}, qRgb(0, 0, 0)},
                   {{11, 1}, qRgb(0, 0, 0)}};
        QTest::newRow("a scanline gap keeps four fifths")
            << QList<Dot> {{{10, 2}, red}}
            << QList<Dot> {{{9, 2}, qRgb(201, 0, 0)}, {{9, 1}, qRgb(1, 0, 0)}, {{9, 3}, qRgb(1, 0, 0)},
                   {{10, 2}, qRgb(1, 0, 0)}};
        QTest::newRow("blue from the left, green in place")
            << QList<Dot> {{{5, 1}, qRgb(0, 255, 255)}}
            << QList<Dot> {{{5, 1}, qRgb(0, 251, 1)}, {{6, 1}, qRgb(0, 1, 251)}, {{4, 1}, qRgb(0, 1, 0)},
                   {{7, 1}, qRgb(0, 0, 1)}};
        QTest::newRow("guns clamp at the edges")
            << QList<Dot> {{{0, 3}, qRgb(0, 0, 255)}, {{15, 3}, red}}
            << QList<Dot> {{{0, 3}, qRgb(0, 0, 254)}, {{1, 3}, qRgb(0, 0, 253)}, {{15, 3}, qRgb(254, 0, 0)},
                   {{14, 3}, qRgb(253, 0, 0)}};
        QTest::newRow("flat colour") << QList<Dot> {{{3, 1}, qRgb(200, 100, 50)},
            {{4, 1}, qRgb(200, 100, 50)}, {{5, 1}, qRgb(200, 100, 50)}}
                                     << QList<Dot> {{{4, 1}, qRgb(198, 99, 49)}};
    }
    void filtersByHand()
    {
        QFETCH(QList<Dot>, source);
        QFETCH(QList<Dot>, expected);
        const QImage filtered = CrtFilter::apply(blackWith(QSize(16, 4), source));
        for (const Dot& dot : expected) {
            QCOMPARE(QColor(filtered.pixel(dot.at)), QColor(dot.color));
            QCOMPARE(qAlpha(filtered.pixel(dot.at)), 255);
        }
    }

    void refusesWhatItCannotFilter()
    {
        QVERIFY(CrtFilter::apply(QImage()).isNull());
        QVERIFY(CrtFilter::apply(QImage(4, 4, QImage::Format_ARGB32)).isNull());
        QImage target(4, 4, QImage::Format_RGB32);
        target.fill(qRgb(1, 2, 3));
        const QImage before = target;
        CrtFilter::apply(QImage(5, 4, QImage::Format_RGB32), target, QRect(0, 0, 4, 4));
        QCOMPARE(target, before);
    }

    // The preview refilters only what an edit changed; after any series of edits that must
    // be exactly the picture filtered from scratch.
    void refilteredRectanglesMatchTheWholeImage()
    {
        QRandomGenerator random(19);
        QImage source(67, 41, QImage::Format_RGB32);
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(x, y, random.generate() | 0xff000000u);
        }
        QImage cached = CrtFilter::apply(source);
        for (int edit = 0; edit < 300; ++edit) {
            const QRect rect(int(random.bounded(source.width() + 4)) - 4,
                int(random.bounded(source.height() + 4)) - 4, 1 + int(random.bounded(9)),
                1 + int(random.bounded(9)));
            const QRect inside = rect.intersected(source.rect());
            const QRgb color = random.generate() | 0xff000000u;
            for (int y = inside.top(); y <= inside.bottom(); ++y) {
                for (int x = inside.left(); x <= inside.right(); ++x)
                    source.setPixel(x, y, color);
            }
            // The smear and the blur each reach one pixel beyond what changed.
            CrtFilter::apply(source, cached, rect.adjusted(-2, -2, 2, 2));
            if (edit % 50 == 49)
                QCOMPARE(cached, CrtFilter::apply(source));
        }
        QCOMPARE(cached, CrtFilter::apply(source));
    }
};

QTEST_GUILESS_MAIN(TestCrtFilter)
#include "tst_crt_filter.moc"
