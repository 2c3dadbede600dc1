#include "paint/antialias_lut.h"
#include "paint/antialias_stroke_state.h"

#include <QTest>

namespace {

constexpr uchar black = 0;
constexpr uchar white = 1;
constexpr uchar blue = 6;
constexpr uchar midGrey = 12;

AntialiasLut builtLut(
    PaletteVariant variant, ColorDistanceMetric metric, const QList<AntialiasBlendOverride>& overrides)
{
    AntialiasLut lut;
    lut.ensure(variant, metric, overrides);
    return lut;
}

QList<uchar> row(const AntialiasLut& lut, uchar paint, uchar underlying)
{
    QList<uchar> entries;
    for (int coverage = 0; coverage < 256; ++coverage)
        entries.append(lut.lookup(paint, underlying, uchar(coverage)));
    return entries;
}

QList<uchar> hardSwitch(uchar paint, uchar underlying)
{
    QList<uchar> entries(256, underlying);
    std::fill(entries.begin() + 128, entries.end(), paint);
    return entries;
}

} // namespace

class TestAntialias : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Whatever the palette, no coverage leaves the pixel alone, full coverage paints the
    // colour itself, and painting a colour over itself never changes the index.
    void tableEndpoints()
    {
        for (PaletteVariant variant : allPaletteVariants()) {
            const AntialiasLut lut
                = builtLut(variant, ColorDistanceMetric::Weighted, defaultAntialiasBlendOverrides());
            for (int paint = 0; paint < 16; ++paint) {
                for (int underlying = 0; underlying < 16; ++underlying) {
                    QCOMPARE(lut.lookup(uchar(paint), uchar(underlying), 0), uchar(underlying));
                    QCOMPARE(lut.lookup(uchar(paint), uchar(underlying), 255), uchar(paint));
                }
            }
        }
    }

    void overridesSwitchHard()
    {
        // Measured plainly, Pixcen's blue over black passes through dark grey (index 11).
        const AntialiasLut plain = builtLut(PaletteVariant::Pixcen, ColorDistanceMetric::Euclidean, {});
        QCOMPARE(plain.lookup(black, blue, 120), uchar(11));
        const AntialiasLut lut = builtLut(
            PaletteVariant::Pixcen, ColorDistanceMetric::Euclidean, defaultAntialiasBlendOverrides());
        QCOMPARE(row(lut, blue, black), hardSwitch(blue, black));
        QCOMPARE(row(lut, black, blue), row(plain, black, blue));
    }

    void tableIsRebuiltOnlyForANewKey()
    {
        const auto weighted = ColorDistanceMetric::Weighted;
        const auto euclidean = ColorDistanceMetric::Euclidean;
        AntialiasLut lut;
        QVERIFY(lut.ensure(PaletteVariant::Pixcen, weighted, defaultAntialiasBlendOverrides()));
        // An equal list held elsewhere is the same key.
        const QList<AntialiasBlendOverride> sameOverrides {{blue, black}};
        QVERIFY(!lut.ensure(PaletteVariant::Pixcen, weighted, sameOverrides));
        QVERIFY(lut.ensure(PaletteVariant::Pixcen, euclidean, sameOverrides));
        QVERIFY(lut.ensure(PaletteVariant::Colodore, euclidean, sameOverrides));
        QVERIFY(lut.ensure(PaletteVariant::Colodore, euclidean, {}));
    }

    // A later, weaker touch of a pixel keeps the stronger blend against the colour from before
    // the stroke; a stronger one blends further, still against that colour.
    void overlapBlendsAgainstTheColourBeforeTheStroke()
    {
        const AntialiasLut lut = builtLut(PaletteVariant::Pixcen, ColorDistanceMetric::Weighted, {});
        AntialiasStrokeState state;
        state.ensureSize(QSize(4, 4));
        uchar pixel = black;

        pixel = state.blend(lut, 2, 1, white, pixel, 128);
        QCOMPARE(pixel, midGrey);
        pixel = state.blend(lut, 2, 1, white, pixel, 60);
        QCOMPARE(pixel, midGrey);
        QCOMPARE(state.coverageAt(2, 1), uchar(128));
        pixel = state.blend(lut, 2, 1, white, pixel, 255);
        QCOMPARE(pixel, white);
    }
};

QTEST_APPLESS_MAIN(TestAntialias)
#include "tst_antialias.moc"
