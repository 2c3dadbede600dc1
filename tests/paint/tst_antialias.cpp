#include "model/colormap.h"
#include "paint/antialias_lut.h"
#include "paint/antialias_stroke_state.h"
#include "support/canvas_picture.h"

#include <QTest>

#include <cmath>
#include <cstring>

namespace {

constexpr uchar black = 0;
constexpr uchar white = 1;
constexpr uchar blue = 6;
constexpr uchar darkGrey = 11;
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

// A round brush dab of the given diameter centred on (cx, cy): full coverage inside, falling
// off over the last pixel, as an anti-aliased brush's edge does.
uchar dabCoverage(double cx, double cy, double diameter, int x, int y)
{
    const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
    const double inside = std::clamp(diameter / 2 - distance + 0.5, 0.0, 1.0);
    return uchar(std::lround(inside * 255));
}

void paintDab(AntialiasStrokeState& state, const AntialiasLut& lut, Colormap& canvas, uchar paint, double cx,
    double cy, double diameter)
{
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const uchar coverage = dabCoverage(cx, cy, diameter, x, y);
            canvas.setPixel(x, y, state.blend(lut, x, y, paint, canvas.pixel(x, y), coverage));
        }
    }
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
            for (ColorDistanceMetric metric :
                {ColorDistanceMetric::Euclidean, ColorDistanceMetric::Weighted}) {
                const AntialiasLut lut = builtLut(variant, metric, defaultAntialiasBlendOverrides());
                for (int paint = 0; paint < 16; ++paint) {
                    for (int underlying = 0; underlying < 16; ++underlying) {
                        QCOMPARE(lut.lookup(uchar(paint), uchar(underlying), 0), uchar(underlying));
                        QCOMPARE(lut.lookup(uchar(paint), uchar(underlying), 255), uchar(paint));
                    }
                    QCOMPARE(row(lut, uchar(paint), uchar(paint)), QList<uchar>(256, uchar(paint)));
                }
            }
        }
    }

    void overridesSwitchHard()
    {
        // Half-covered white over black is 808080, which Pixcen holds as index 12.
        const AntialiasLut greys = builtLut(PaletteVariant::Pixcen, ColorDistanceMetric::Weighted, {});
        QCOMPARE(greys.lookup(white, black, 128), midGrey);

        // Measured plainly, Pixcen's blue over black passes through dark grey.
        const AntialiasLut plain = builtLut(PaletteVariant::Pixcen, ColorDistanceMetric::Euclidean, {});
        QCOMPARE(plain.lookup(blue, black, 128), darkGrey);
        QCOMPARE(plain.lookup(black, blue, 120), darkGrey);

        const AntialiasLut lut = builtLut(
            PaletteVariant::Pixcen, ColorDistanceMetric::Euclidean, defaultAntialiasBlendOverrides());
        QCOMPARE(row(lut, blue, black), hardSwitch(blue, black));
        QCOMPARE(row(lut, black, blue), row(plain, black, blue));

        const AntialiasLut whiteOverBlack = builtLut(
            PaletteVariant::Pixcen, ColorDistanceMetric::Weighted, {AntialiasBlendOverride {white, black}});
        QCOMPARE(row(whiteOverBlack, white, black), hardSwitch(white, black));
        QCOMPARE(whiteOverBlack.lookup(black, white, 128), midGrey);
    }

    void tableIsRebuiltOnlyForANewKey()
    {
        const auto weighted = ColorDistanceMetric::Weighted;
        const auto euclidean = ColorDistanceMetric::Euclidean;
        AntialiasLut lut;
        QVERIFY(!lut.isValid());
        QVERIFY(lut.ensure(PaletteVariant::Pixcen, weighted, defaultAntialiasBlendOverrides()));
        QVERIFY(lut.isValid());
        // An equal list held elsewhere is the same key.
        const QList<AntialiasBlendOverride> sameOverrides {{blue, black}};
        QVERIFY(!lut.ensure(PaletteVariant::Pixcen, weighted, sameOverrides));

        QVERIFY(lut.ensure(PaletteVariant::Pixcen, euclidean, sameOverrides));
        QVERIFY(lut.ensure(PaletteVariant::Colodore, euclidean, sameOverrides));
        QVERIFY(lut.ensure(PaletteVariant::Colodore, euclidean, {}));
        QVERIFY(!lut.ensure(PaletteVariant::Colodore, euclidean, {}));
        QVERIFY(lut.ensure(PaletteVariant::Colodore, euclidean, {{blue, black}, {white, black}}));

        // A table rebuilt in place holds nothing of the key before.
        const AntialiasLut fresh
            = builtLut(PaletteVariant::Colodore, euclidean, {{blue, black}, {white, black}});
        QVERIFY(std::memcmp(lut.constData(), fresh.constData(), AntialiasLut::entryCount) == 0);
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

        // No coverage is no touch: the pixel keeps its colour and nothing is recorded.
        QCOMPARE(state.blend(lut, 0, 3, white, blue, 0), blue);
        QCOMPARE(state.dirtyRect(), QRect(2, 1, 1, 1));
    }

    void drawingTwiceInOneStrokeEqualsDrawingOnce()
    {
        const AntialiasLut lut = builtLut(PaletteVariant::Pixcen, ColorDistanceMetric::Weighted, {});
        // Black, with dark grey filling the lower right quarter.
        Colormap background(12, 10);
        background.fillRect(QRect(6, 5, 6, 5), darkGrey);
        AntialiasStrokeState state;
        state.ensureSize(background.size());

        Colormap once = background;
        paintDab(state, lut, once, white, 6, 5, 8);
        QCOMPARE(state.dirtyRect(), QRect(2, 1, 8, 8));

        state.reset();
        Colormap twice = background;
        paintDab(state, lut, twice, white, 6, 5, 8);
        paintDab(state, lut, twice, white, 6, 5, 8);
        QCOMPARE(canvasToRows(twice), canvasToRows(once));

        // The edge really is blended: some pixels are neither the paint nor the ground.
        bool shaded = false;
        for (int y = 0; y < once.height(); ++y) {
            for (int x = 0; x < once.width(); ++x)
                shaded = shaded || (once.pixel(x, y) != white && once.pixel(x, y) != background.pixel(x, y));
        }
        QVERIFY2(shaded, qPrintable(canvasToRows(once)));
    }

    void sizeAndReset()
    {
        const AntialiasLut lut = builtLut(PaletteVariant::Pixcen, ColorDistanceMetric::Weighted, {});
        AntialiasStrokeState state;
        state.ensureSize(QSize(8, 6));
        state.blend(lut, 7, 5, white, black, 200);
        state.blend(lut, 3, 2, white, black, 100);

        state.ensureSize(QSize(8, 6));
        QCOMPARE(state.coverageAt(7, 5), uchar(200));
        QCOMPARE(state.dirtyRect(), QRect(QPoint(3, 2), QPoint(7, 5)));

        state.reset();
        QVERIFY(state.dirtyRect().isEmpty());
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 8; ++x)
                QCOMPARE(state.coverageAt(x, y), uchar(0));
        }
        // The next stroke records the pixel's colour afresh.
        QCOMPARE(state.blend(lut, 3, 2, black, midGrey, 128), darkGrey);

        state.ensureSize(QSize(5, 5));
        QCOMPARE(state.size(), QSize(5, 5));
        QVERIFY(state.dirtyRect().isEmpty());
        QCOMPARE(state.coverageAt(3, 2), uchar(0));
    }
};

QTEST_APPLESS_MAIN(TestAntialias)
#include "tst_antialias.moc"
