// Converting an image into C64 colours: sampling, the nearest-colour choice, both dithers
// at their edges, fitting the image to the display, and that every conversion of every
// canvas kind ends clash-free (the cell-aware one before any sweep).
#include "convert/display_image.h"
#include "convert/image_adjustment.h"
#include "convert/image_conversion.h"
#include "model/canvas_region.h"
#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"
#include "support/canvas_shape_rows.h"
#include "support/noise_image.h"

#include <QImage>
#include <QTest>

#include <random>

namespace {

// A canvas-sized grey picture, one value per pixel in scan order.
QImage greys(int width, const QList<int>& values)
{
    const int height = int(values.size()) / width;
    QImage image(width, height, QImage::Format_RGB32);
    for (int i = 0; i < values.size(); ++i)
        image.setPixel(i % width, i / width, qRgb(values.at(i), values.at(i), values.at(i)));
    return image;
}

ImageConversionSettings hiresSettings(DitherMethod dither)
{
    ImageConversionSettings settings;
    settings.dither = dither;
    settings.distance = ColorDistanceMetric::Euclidean;
    return settings;
}

} // namespace

class TestImageConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A multicolor canvas takes a display image twice its width (the one that
    // multicolorSamplesPairsRoundingDown converts) and refuses any other.
    void refusesImagesOfAnotherSize()
    {
        const ImageAdjustment identity;
        ImageConversionSettings settings;
        settings.mode = CanvasMode::Multicolor;
        QVERIFY(
            convertImage(QImage(160, 200, QImage::Format_RGB32), {160, 200}, identity, settings).isEmpty());
        QVERIFY(convertImage(QImage(), {160, 200}, identity, settings).isEmpty());
    }

    // A wide multicolor pixel is the mean of its two display pixels, rounded down: the
    // same as a hires conversion of the pre-averaged image, curves included.
    void multicolorSamplesPairsRoundingDown()
    {
        const QImage display = noiseImage({320, 200}, 7);
        QImage averaged(160, 200, QImage::Format_RGB32);
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 160; ++x) {
                const QRgb a = display.pixel(2 * x, y);
                const QRgb b = display.pixel(2 * x + 1, y);
                averaged.setPixel(x, y,
                    qRgb((qRed(a) + qRed(b)) / 2, (qGreen(a) + qGreen(b)) / 2, (qBlue(a) + qBlue(b)) / 2));
            }
        }
        ImageAdjustment curves;
        curves.addKnot(AdjustmentChannel::Rgb, 90, 140, 7);
        curves.addKnot(AdjustmentChannel::Blue, 200, 120, 7);
        for (DitherMethod dither : {DitherMethod::None, DitherMethod::ErrorDiffusion}) {
            ImageConversionSettings settings = hiresSettings(dither);
            const Colormap expected = convertImageUnswept(averaged, {160, 200}, curves, settings);
            settings.mode = CanvasMode::Multicolor;
            QCOMPARE(convertImageUnswept(display, {160, 200}, curves, settings), expected);
        }
    }

    // Every palette colour is its own nearest, in every palette and either distance.
    void nearestColor()
    {
        QImage strip(16, 1, QImage::Format_RGB32);
        const Colormap indices = canvasFromRows({"0123456789abcdef"});
        for (PaletteVariant variant : allPaletteVariants()) {
            for (ColorDistanceMetric metric :
                {ColorDistanceMetric::Euclidean, ColorDistanceMetric::Weighted}) {
                const Palette palette(variant);
                for (int i = 0; i < 16; ++i)
                    strip.setPixel(i, 0, palette.colorAt(uchar(i)));
                ImageConversionSettings settings = hiresSettings(DitherMethod::None);
                settings.paletteVariant = variant;
                settings.distance = metric;
                QCOMPARE(convertImageUnswept(strip, {16, 1}, ImageAdjustment(), settings), indices);
            }
        }
    }

    // The Bayer offsets on a grey ramp whose light-grey/white boundary is crossed exactly:
    // grey 213 lies halfway between light grey (171, index 15) and white (255, index 1),
    // and the lower index wins the tie. Entry 0 at (0, 0) adds -30, entry 5 at (3, 3) -10,
    // entry 15 at (0, 3) +30.
    void orderedOffsets()
    {
        const ImageConversionSettings ordered = hiresSettings(DitherMethod::Ordered);
        // clang-format off
        const QImage image = greys(4, {243, 10, 10, 10,
                                       10,  10, 10, 10,
                                       10,  10, 10, 10,
                                       183, 10, 10, 223});
        const QImage below = greys(4, {242, 10, 10, 10,
                                       10,  10, 10, 10,
                                       10,  10, 10, 10,
                                       182, 10, 10, 222});
        // clang-format on
        QCOMPARE(canvasToRows(convertImageUnswept(image, {4, 4}, ImageAdjustment(), ordered)),
            rowsText({"1000", "0000", "0000", "1001"}));
        QCOMPARE(canvasToRows(convertImageUnswept(below, {4, 4}, ImageAdjustment(), ordered)),
            rowsText({"f000", "0000", "0000", "f00f"}));
    }

    // Grey 190 becomes light grey (171) and passes on +19 per component: 7/32 of it to the
    // right (4.16), 3/32 below-left (1.78), 5/32 below (2.97), 1/32 below-right (0.59). The
    // pixels receiving it sit just before the tie at 213, so each share shows.
    void diffusionAtTheEdges_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("source");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("right share arrives") << 2 << QList<int> {190, 209} << QStringList {"f1"};
        QTest::newRow("right share is halved") << 2 << QList<int> {190, 205} << QStringList {"ff"};
        QTest::newRow("first column sends nothing below-left")
            << 2 << QList<int> {190, 208, 0, 0} << QStringList {"ff", "00"};
        QTest::newRow("last column sends nothing right")
            << 2 << QList<int> {0, 190, 208, 0} << QStringList {"0f", "f0"};
        QTest::newRow("below-left share arrives")
            << 2 << QList<int> {0, 190, 212, 0} << QStringList {"0f", "10"};
        QTest::newRow("below-left share is 3/32")
            << 2 << QList<int> {0, 190, 210, 0} << QStringList {"0f", "f0"};
        QTest::newRow("below share arrives") << 1 << QList<int> {190, 211} << QStringList {"f", "1"};
        QTest::newRow("below share is 5/32") << 1 << QList<int> {190, 210} << QStringList {"f", "f"};
        QTest::newRow("last row sends nothing below")
            << 3 << QList<int> {190, 190, 190} << QStringList {"fff"};
    }

    void diffusionAtTheEdges()
    {
        QFETCH(int, width);
        QFETCH(QList<int>, source);
        QFETCH(QStringList, expected);
        const QImage image = greys(width, source);
        QCOMPARE(canvasToRows(convertImageUnswept(
                     image, image.size(), ImageAdjustment(), hiresSettings(DitherMethod::ErrorDiffusion))),
            rowsText(expected));
    }

    void composesToTheDisplaySize()
    {
        QImage tall(100, 200, QImage::Format_RGB32);
        tall.fill(Qt::red);
        const QImage fitted = composeImageToDisplaySize(tall, {320, 200}, true, Qt::black, false);
        QCOMPARE(fitted.size(), QSize(320, 200));
        for (int y : {0, 199}) {
            QCOMPARE(fitted.pixel(109, y), qRgb(0, 0, 0));
            QCOMPARE(fitted.pixel(110, y), qRgb(255, 0, 0));
            QCOMPARE(fitted.pixel(209, y), qRgb(255, 0, 0));
            QCOMPARE(fitted.pixel(210, y), qRgb(0, 0, 0));
        }
        const ChannelHistograms counts = imageChannelHistograms(fitted);
        QCOMPARE(counts[0][255], 100 * 200);
        QCOMPARE(counts[0][0], 220 * 200);
        QCOMPARE(counts[1][0], 320 * 200);

        const QImage stretched = composeImageToDisplaySize(tall, {320, 200}, false, Qt::black, true);
        QCOMPARE(imageChannelHistograms(stretched)[0][255], 320 * 200);
    }

    // Random pictures on every canvas shape with either method, every dither and a distance
    // and palette per run: the result is clash-free, keeps the fixed shared colours and has
    // the locked pixels in the border colour; the cell-aware method gets there before any
    // sweep, so the sweep and the locked-pixel fill change nothing.
    void everyConversionIsClashFree_data() { addEveryCanvasShape(); }

    void everyConversionIsClashFree()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(int, screens);
        const QSize size = canvasModeDefaultCanvasSize(mode, layout, screens);
        std::mt19937 random(int(mode) * 31 + int(layout.layout) * 7 + int(layout.topAlignment) * 3 + screens);
        ImageAdjustment curves;
        curves.addKnot(AdjustmentChannel::Green, 60, 120, 7);
        for (ConversionMethod method : {ConversionMethod::Classic, ConversionMethod::CellAware}) {
            for (DitherMethod dither :
                {DitherMethod::None, DitherMethod::ErrorDiffusion, DitherMethod::Ordered}) {
                ImageConversionSettings settings;
                settings.mode = mode;
                settings.layout = layout;
                settings.method = method;
                settings.dither = dither;
                settings.distance = ColorDistanceMetric(random() % 3);
                settings.paletteVariant = PaletteVariant(random() % 10);
                settings.automaticBackground = random() % 2 == 0;
                for (uchar& slot : settings.slots.values)
                    slot = uchar(random() % 16);
                const QImage image = noiseImage(imageConversionRequiredSize(mode, size), random());
                const ImageConversionResult result = convertImageWithColors(image, size, curves, settings);
                const QString run = QStringLiteral("method %1 dither %2 distance %3 automatic %4")
                                        .arg(int(method))
                                        .arg(int(dither))
                                        .arg(int(settings.distance))
                                        .arg(settings.automaticBackground);
                QCOMPARE(result.colormap.size(), size);
                if (!settings.automaticBackground)
                    QVERIFY2(result.slots == settings.slots, qPrintable(run));
                const uchar border = settings.slots[HistoryColorSlot::Border];
                QCOMPARE(result.slots[HistoryColorSlot::Border], border);
                ClashContext context;
                context.mode = mode;
                context.slots = result.slots;
                context.layout = layout;
                context.paletteVariant = settings.paletteVariant;
                QVERIFY2(!canvasHasUnresolvedClashes(context, result.colormap), qPrintable(run));
                for (const QRect& locked : canvasLockedBorderRects(mode, size, layout))
                    QCOMPARE(result.colormap.distinctIndices(locked, 2), QList<uchar> {border});
                if (method == ConversionMethod::CellAware) {
                    settings.slots = result.slots;
                    QVERIFY2(convertImageUnswept(image, size, curves, settings) == result.colormap,
                        qPrintable(run));
                }
            }
        }
    }
};

QTEST_MAIN(TestImageConversion)
#include "tst_image_conversion.moc"
