// The cell-aware conversion: cells that hold legal colours come out exactly, the automatic
// shared colours find the ones a picture was built over, dithered cells blend closer than
// the classic method's, and the perceptual distance ranks colours as the eye does. That
// every result is legal without a sweep is in tst_image_conversion.
#include "convert/image_adjustment.h"
#include "convert/image_conversion.h"
#include "model/canvas_region.h"
#include "model/sprite_strip_grid.h"
#include "support/canvas_picture.h"

#include "../../tools/conversion_quality/synthetic_images.h"

#include <QImage>
#include <QTest>

#include <random>

Q_DECLARE_METATYPE(ConversionMethod)
Q_DECLARE_METATYPE(DitherMethod)
Q_DECLARE_METATYPE(ColorDistanceMetric)

namespace {

// The canvas as the display image a conversion takes: multicolor pixels twice as wide.
QImage displayOf(const Colormap& canvas, CanvasMode mode, PaletteVariant variant)
{
    const QImage plain = canvas.toImage(Palette(variant));
    return isMulticolor(mode) ? plain.scaled(plain.width() * 2, plain.height()) : plain;
}

// Every cell of `area` (the whole canvas when null) holds all the colours a cell may: two
// in hires, the background and three others in multicolor, scattered at random.
Colormap legalCells(CanvasMode mode, const QSize& size, uchar background, unsigned seed, QRect area = {})
{
    std::mt19937 random(seed);
    Colormap canvas(size.width(), size.height());
    if (area.isNull())
        area = canvas.rect();
    const QSize cell = canvasModeCellSize(mode);
    const bool multicolor = isMulticolor(mode);
    for (int top = area.top(); top <= area.bottom(); top += cell.height()) {
        for (int left = area.left(); left <= area.right(); left += cell.width()) {
            QList<uchar> colors;
            while (colors.size() < (multicolor ? 3 : 2)) {
                const uchar color = uchar(random() % 16);
                if ((!multicolor || color != background) && !colors.contains(color))
                    colors << color;
            }
            if (multicolor)
                colors << background;
            QList<uchar> pixels;
            for (int i = 0; i < cell.width() * cell.height(); ++i)
                pixels << (i < colors.size() ? colors[i] : colors[int(random() % colors.size())]);
            std::shuffle(pixels.begin(), pixels.end(), random);
            for (int i = 0; i < pixels.size(); ++i)
                canvas.setPixel(left + i % cell.width(), top + i / cell.width(), pixels[i]);
        }
    }
    return canvas;
}

ImageConversionSettings cellAware(CanvasMode mode, DitherMethod dither)
{
    ImageConversionSettings settings;
    settings.mode = mode;
    settings.dither = dither;
    settings.method = ConversionMethod::CellAware;
    return settings;
}

// How close a canvas looks to `source` once the eye has blended its dots: the PSNR of
// both after a 3 x 3 box blur, the canvas shown at the source's size.
double blurredPsnr(const QImage& source, const Colormap& canvas, PaletteVariant variant)
{
    const auto blurred = [](const QImage& image) {
        std::vector<int> sums(std::size_t(image.width()) * std::size_t(image.height()) * 3);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QRgb p = image.pixel(std::clamp(x + dx, 0, image.width() - 1),
                            std::clamp(y + dy, 0, image.height() - 1));
                        int* sum = sums.data()
                            + (std::size_t(y) * std::size_t(image.width()) + std::size_t(x)) * 3;
                        sum[0] += qRed(p);
                        sum[1] += qGreen(p);
                        sum[2] += qBlue(p);
                    }
                }
            }
        }
        return sums;
    };
    const std::vector<int> expected = blurred(source);
    const std::vector<int> actual = blurred(canvas.toImage(Palette(variant)).scaled(source.size()));
    double squared = 0.0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const double d = (expected[i] - actual[i]) / 9.0;
        squared += d * d;
    }
    return 10.0 * std::log10(255.0 * 255.0 * double(expected.size()) / squared);
}

} // namespace

class TestCellAwareConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A picture whose cells already hold legal colours comes back pixel for pixel: the
    // colour choice finds each cell's own colours and the diffusion has no error to pass.
    // The classic method gets there by matching every pixel and finds the background the
    // same way, when it is asked to search for it.
    void legalCellsConvertExactly_data()
    {
        QTest::addColumn<ConversionMethod>("method");
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<DitherMethod>("dither");
        QTest::addColumn<ColorDistanceMetric>("distance");
        QTest::addColumn<bool>("automatic");
        for (ConversionMethod method : {ConversionMethod::Classic, ConversionMethod::CellAware}) {
            for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
                for (DitherMethod dither : {DitherMethod::None, DitherMethod::ErrorDiffusion}) {
                    for (ColorDistanceMetric distance : {ColorDistanceMetric::Euclidean,
                             ColorDistanceMetric::Weighted, ColorDistanceMetric::Perceptual}) {
                        for (bool automatic : {false, true}) {
                            // A hires bitmap has no background to search.
                            if (automatic && !isMulticolor(mode))
                                continue;
                            QTest::addRow("method %d %s dither %d distance %d%s", int(method),
                                isMulticolor(mode) ? "multicolor" : "hires", int(dither), int(distance),
                                automatic ? " automatic" : "")
                                << method << mode << dither << distance << automatic;
                        }
                    }
                }
            }
        }
    }

    void legalCellsConvertExactly()
    {
        QFETCH(ConversionMethod, method);
        QFETCH(CanvasMode, mode);
        QFETCH(DitherMethod, dither);
        QFETCH(ColorDistanceMetric, distance);
        QFETCH(bool, automatic);
        const QSize size(canvasModeScreenWidth(mode), 200);
        const uchar background = 9;
        const Colormap picture = legalCells(mode, size, background, 5 + unsigned(dither));
        ImageConversionSettings settings = cellAware(mode, dither);
        settings.method = method;
        settings.distance = distance;
        settings.paletteVariant = PaletteVariant::Colodore;
        settings.automaticBackground = automatic;
        // A wrong fixed background would make the cells unreachable; the automatic one has
        // to find it from the picture alone.
        settings.slots[HistoryColorSlot::Background] = automatic ? 0 : background;
        const ImageConversionResult result = convertImageWithColors(
            displayOf(picture, mode, settings.paletteVariant), size, ImageAdjustment(), settings);
        if (isMulticolor(mode))
            QCOMPARE(result.slots[HistoryColorSlot::Background], background);
        QCOMPARE(
            canvasToRows(result.colormap, QRect(0, 0, 16, 8)), canvasToRows(picture, QRect(0, 0, 16, 8)));
        QVERIFY(result.colormap == picture);
    }

    // Each border strip built over a known background, each sprite with one colour of its
    // own: the automatic search finds the background (and in multicolor the two sprite
    // multicolours) and the strips come back exactly, which they could not if the picture
    // were not legal.
    void automaticStripColorsAreFound()
    {
        using enum HistoryColorSlot;
        for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            const CanvasLayoutSpec layout {CanvasLayout::TopBottomBorders};
            const QSize size = canvasModeDefaultCanvasSize(mode, layout, 1);
            const bool multicolor = isMulticolor(mode);
            std::mt19937 random(11);
            ColorSlots expected;
            expected[Background] = 0;
            expected[TopBorderBackground] = 6;
            expected[BottomBorderBackground] = 2;
            if (multicolor) {
                expected[TopBorderMc0] = 1;
                expected[TopBorderMc1] = 14;
                expected[BottomBorderMc0] = 7;
                expected[BottomBorderMc1] = 10;
            }
            Colormap picture = legalCells(mode, size, 0, 3, canvasBitmapRect(mode, size, layout));
            for (const CanvasRegion& region : canvasRegions(mode, size, layout)) {
                if (!region.isSpriteStrip())
                    continue;
                const SpriteStripGrid grid = spriteStripGrid(region, mode, layout);
                const bool top = region.side == SpriteStripSide::Top;
                QList<uchar> shared {expected[top ? TopBorderBackground : BottomBorderBackground]};
                if (multicolor) {
                    shared << expected[top ? TopBorderMc0 : BottomBorderMc0]
                           << expected[top ? TopBorderMc1 : BottomBorderMc1];
                }
                for (int column = 0; column < grid.columns; ++column) {
                    const QRect unit = grid.unitRect(column, 0);
                    uchar own = 0;
                    do
                        own = uchar(random() % 16);
                    while (shared.contains(own));
                    for (int y = unit.top(); y <= unit.bottom(); ++y) {
                        for (int x = unit.left(); x <= unit.right(); ++x) {
                            // The background most, so it is the one the strip is over.
                            const int pick = int(random() % 8);
                            picture.setPixel(x, y,
                                pick < 4       ? shared[0]
                                    : pick < 6 ? own
                                               : shared[std::min(int(shared.size()) - 1, pick - 5)]);
                        }
                    }
                }
            }
            ImageConversionSettings settings = cellAware(mode, DitherMethod::ErrorDiffusion);
            settings.layout = layout;
            settings.automaticBackground = true;
            const ImageConversionResult result = convertImageWithColors(
                displayOf(picture, mode, settings.paletteVariant), size, ImageAdjustment(), settings);
            QCOMPARE(result.slots, expected);
            QVERIFY(result.colormap == picture);
        }
    }

    // With a dither, each cell keeps the colour set whose dithered pixels blend closest to
    // the picture, not only the set its pixels are nearest to one by one: on a detailed
    // scene that looks clearly closer than matching every pixel first and then settling
    // the cells. The margins sit between what choosing from the picture alone reached and
    // what trying the sets reaches.
    void ditheredCellsBlendCloserThanClassic_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<DitherMethod>("dither");
        QTest::addColumn<double>("gain");
        QTest::newRow("hires diffusion") << CanvasMode::Hires << DitherMethod::ErrorDiffusion << 1.0;
        QTest::newRow("hires ordered") << CanvasMode::Hires << DitherMethod::Ordered << 1.5;
        QTest::newRow("multicolor diffusion")
            << CanvasMode::Multicolor << DitherMethod::ErrorDiffusion << 0.0;
        QTest::newRow("multicolor ordered") << CanvasMode::Multicolor << DitherMethod::Ordered << 0.9;
    }

    void ditheredCellsBlendCloserThanClassic()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(DitherMethod, dither);
        QFETCH(double, gain);
        const QSize size(canvasModeScreenWidth(mode), 200);
        const QImage scene = detailedSceneImage(imageConversionRequiredSize(mode, size));
        ImageConversionSettings settings = cellAware(mode, dither);
        const double cells = blurredPsnr(
            scene, convertImage(scene, size, ImageAdjustment(), settings), settings.paletteVariant);
        settings.method = ConversionMethod::Classic;
        const double classic = blurredPsnr(
            scene, convertImage(scene, size, ImageAdjustment(), settings), settings.paletteVariant);
        QVERIFY2(cells - classic > gain,
            qPrintable(QStringLiteral("cell-aware %1 dB, classic %2 dB")
                           .arg(cells, 0, 'f', 2)
                           .arg(classic, 0, 'f', 2)));
    }

    // A dark pure green: by luma it is closest to dark grey (b), but it looks green (5),
    // and the perceptual distance says so, with either method. OKLab puts white at
    // lightness 1 with no hue.
    void perceptualDistanceRanksAsTheEyeDoes()
    {
        const OkLab white = okLabFromRgb(255, 255, 255);
        QVERIFY(qAbs(white.L - 1.0) < 1e-6 && qAbs(white.a) < 1e-6 && qAbs(white.b) < 1e-6);

        QImage image(2, 1, QImage::Format_RGB32);
        image.setPixel(0, 0, qRgb(0, 128, 0));
        image.setPixel(1, 0, qRgb(0, 0, 128));
        for (ConversionMethod method : {ConversionMethod::Classic, ConversionMethod::CellAware}) {
            ImageConversionSettings settings;
            settings.method = method;
            settings.distance = ColorDistanceMetric::Weighted;
            QCOMPARE(canvasToRows(convertImageUnswept(image, {2, 1}, ImageAdjustment(), settings)),
                QStringLiteral("b0"));
            settings.distance = ColorDistanceMetric::Perceptual;
            QCOMPARE(canvasToRows(convertImageUnswept(image, {2, 1}, ImageAdjustment(), settings)),
                QStringLiteral("56"));
        }
    }
};

QTEST_MAIN(TestCellAwareConversion)
#include "tst_cell_aware_conversion.moc"
