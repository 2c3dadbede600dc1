#include "model/color_distance.h"
#include "model/palette.h"

#include <QTest>

class TestPalette : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyVariantKeepsBlackAndWhiteAtTheEnds()
    {
        QCOMPARE(allPaletteVariants().size(), 10);
        QStringList names;
        for (PaletteVariant variant : allPaletteVariants()) {
            const Palette palette(variant);
            QCOMPARE(qAlpha(palette.colorAt(0)), 255);
            QVERIFY(qGray(palette.colorAt(0)) < 40);
            QVERIFY(qGray(palette.colorAt(1)) > 250);
            QCOMPARE(palette.colorAt(200), palette.colorAt(15));
            QCOMPARE(palette.colorAt(16), palette.colorAt(15));
            names << paletteVariantName(variant);
        }
        QCOMPARE(names.first(), QStringLiteral("Pixcen"));
        QCOMPARE(names.last(), QStringLiteral("High Contrast"));
        QCOMPARE(names.removeDuplicates(), 0);
    }

    void knownColoursAndUnknownVariants()
    {
        QCOMPARE(Palette(PaletteVariant::Colodore).colorAt(13), qRgb(0xA9, 0xFF, 0x9F));
        QCOMPARE(Palette(PaletteVariant::CCS64).colorAt(0), qRgb(0x10, 0x10, 0x10));
        QCOMPARE(Palette(PaletteVariant::VICE).colorAt(1), qRgb(0xFD, 0xFE, 0xFC));
        QCOMPARE(Palette(PaletteVariant::HighContrast).colorAt(15), qRgb(0xB0, 0xB0, 0xB0));
        QCOMPARE(Palette(PaletteVariant(42)).colorAt(2), Palette(PaletteVariant::Pixcen).colorAt(2));
        QCOMPARE(Palette(PaletteVariant(-1)).colorAt(6), Palette().colorAt(6));
        QVERIFY(paletteVariantName(PaletteVariant(10)).isEmpty());
    }

    void distances()
    {
        const QRgb black = qRgb(0, 0, 0);
        QCOMPARE(colorDistanceSq(ColorDistanceMetric::Weighted, 255, 0, 0, black), 0.299 * 65025);
        QCOMPARE(colorDistanceSq(ColorDistanceMetric::Euclidean, 255, 0, 0, black), 65025.0);
        // Out-of-range channels from dithering still measure sensibly.
        QCOMPARE(colorDistanceSq(ColorDistanceMetric::Euclidean, -10.5, 300, 0, qRgb(0, 255, 0)),
            10.5 * 10.5 + 45 * 45);
        QVERIFY(colorDistanceSq(ColorDistanceMetric::Weighted, 0, 100, 0, black)
            > colorDistanceSq(ColorDistanceMetric::Weighted, 100, 0, 0, black));
    }
};

QTEST_APPLESS_MAIN(TestPalette)
#include "tst_palette.moc"
