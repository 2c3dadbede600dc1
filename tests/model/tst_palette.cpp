#include "model/color_distance.h"
#include "model/palette.h"

#include <QTest>

class TestPalette : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyVariantKeepsBlackAndWhiteAtTheEnds()
    {
        QStringList names;
        for (PaletteVariant variant : allPaletteVariants()) {
            const Palette palette(variant);
            QVERIFY(qGray(palette.colorAt(0)) < 40);
            QVERIFY(qGray(palette.colorAt(1)) > 250);
            QCOMPARE(palette.colorAt(200), palette.colorAt(15));
            QCOMPARE(palette.colorAt(16), palette.colorAt(15));
            names << paletteVariantName(variant);
        }
        QCOMPARE(names.removeDuplicates(), 0);
    }

    // Out-of-range channels from dithering still measure sensibly.
    void distancesTakeChannelsOutOfRange()
    {
        QCOMPARE(colorDistanceSq(ColorDistanceMetric::Euclidean, -10.5, 300, 0, qRgb(0, 255, 0)),
            10.5 * 10.5 + 45 * 45);
    }
};

QTEST_APPLESS_MAIN(TestPalette)
#include "tst_palette.moc"
