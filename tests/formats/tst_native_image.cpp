// Reading C64 picture files: recognition, decoding against pictures written by another
// program, and placement into a canvas.
#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "formats/native/native_image_placement.h"
#include "model/canvas_region.h"
#include "model/palette.h"

#include "support/canvas_picture.h"
#include "support/test_data.h"

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The fixtures' expected maps: grey PGM images whose levels 0-15 are the colour indices,
// which the image reader spreads over 0-255.
Colormap readPgm(const QString& path)
{
    const QImage grey = QImage(path).convertToFormat(QImage::Format_Grayscale8);
    Colormap map(grey.width(), grey.height());
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x)
            map.setPixel(x, y, uchar(grey.constScanLine(y)[x] / 17));
    }
    return map;
}

QByteArray fileOf(quint16 loadAddress, qsizetype size)
{
    QByteArray data(size, '\0');
    if (size >= 2) {
        data[0] = char(loadAddress & 0xFF);
        data[1] = char(loadAddress >> 8);
    }
    return data;
}

QByteArray randomBytes(int count, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(count, '\0');
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

} // namespace

class TestNativeImage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fixturesDecodeToTheirExpectedMaps_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<NativeImageFormat>("format");
        QTest::addColumn<int>("background");
        QTest::newRow("Koala Painter") << "koala-painter.koa" << NativeImageFormat::KoalaPainter << 11;
        QTest::newRow("Art Studio") << "art-studio.ocp" << NativeImageFormat::ArtStudio << 0;
        QTest::newRow("Interpaint") << "interpaint.iph" << NativeImageFormat::Interpaint << 0;
        QTest::newRow("Vidcom 64") << "vidcom-64.vid" << NativeImageFormat::Vidcom64 << 0;
        QTest::newRow("Artist 64") << "artist-64.a64" << NativeImageFormat::Artist64 << 11;
        QTest::newRow("Advanced Art Studio")
            << "advanced-art-studio.ocp" << NativeImageFormat::AdvancedArtStudio << 11;
        QTest::newRow("Blazing Paddles") << "blazing-paddles.pi" << NativeImageFormat::BlazingPaddles << 0;
    }

    void fixturesDecodeToTheirExpectedMaps()
    {
        QFETCH(QString, name);
        QFETCH(NativeImageFormat, format);
        QFETCH(int, background);
        NativeImage image;
        QString error;
        QVERIFY2(readNativeImageFile(c64PicturePath(name), &image, &error), qPrintable(error));
        QCOMPARE(image.format, format);
        QCOMPARE(int(image.background), background);
        // Art Studio keeps the border colour after the screen RAM; the fixture's is 0.
        QCOMPARE(image.hasBorder,
            format == NativeImageFormat::AdvancedArtStudio || format == NativeImageFormat::ArtStudio);

        const Colormap map = nativeImageToColormap(image);
        const Colormap expected
            = readPgm(c64PicturePath(name.section(QLatin1Char('.'), 0, 0) + ".expected.pgm"));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(canvasToRows(map), canvasToRows(expected));

        // The preview shows a multicolor pixel as two screen pixels.
        const Palette palette(PaletteVariant::Pepto);
        const QImage preview = nativeImagePreview(image, palette);
        const int wide = 320 / map.width();
        QCOMPARE(preview.size(), QSize(320, 200));
        for (int x : {0, 1, 2, 317, 318, 319})
            QCOMPARE(preview.pixel(x, 99), palette.colorAt(map.pixel(x / wide, 99)));
    }

    // A format given or, when none is, recognised by load address and size alone: every
    // format is recognised at its own address by the fixtures and by the formats matched
    // against Art Studio, so here are Koala's other addresses and the near misses.
    void decodingRecognisesOrSaysWhatIsWrong_data()
    {
        QTest::addColumn<int>("loadAddress");
        QTest::addColumn<int>("size");
        QTest::addColumn<NativeImageFormat>("given");
        QTest::addColumn<NativeImageFormat>("format");
        QTest::addColumn<QString>("error");
        using F = NativeImageFormat;
        const QString unknown = QStringLiteral("Unknown picture format.");
        QTest::newRow("Koala at $2000") << 0x2000 << 10003 << F::Unknown << F::KoalaPainter << QString();
        QTest::newRow("Koala at $4000") << 0x4000 << 10003 << F::Unknown << F::KoalaPainter << QString();
        QTest::newRow("Koala at $5000") << 0x5000 << 10003 << F::Unknown << F::Unknown << unknown;
        QTest::newRow("Doodle two bytes short") << 0x5C00 << 9216 << F::Unknown << F::Unknown << unknown;
        QTest::newRow("Doodle one byte long") << 0x5C00 << 9219 << F::Unknown << F::Unknown << unknown;
        QTest::newRow("Art Studio size at $4000") << 0x4000 << 9009 << F::Unknown << F::Unknown << unknown;
        QTest::newRow("load address only") << 0x6000 << 2 << F::Unknown << F::Unknown << unknown;
        QTest::newRow("empty") << 0 << 0 << F::Unknown << F::Unknown << "Unknown image format.";
        QTest::newRow("one byte") << 0 << 1 << F::KoalaPainter << F::Unknown << "Unknown image format.";
        QTest::newRow("upper-case digits") << 0xA0BC << 9009 << F::Doodle << F::Unknown
                                           << "Wrong load address\nExpected: $5C00\nActual: $A0BC.";
        QTest::newRow("Koala given at $5000") << 0x5000 << 10003 << F::KoalaPainter << F::Unknown
                                              << "Wrong load address\nExpected: $6000\nActual: $5000.";
        QTest::newRow("address before size") << 0x4000 << 12 << F::ArtStudio << F::Unknown
                                             << "Wrong load address\nExpected: $2000\nActual: $4000.";
        QTest::newRow("Art Studio short") << 0x2000 << 9008 << F::ArtStudio << F::Unknown
                                          << "Wrong file size\nExpected: 9009\nActual: 9008.";
        QTest::newRow("Doodle given two short")
            << 0x5C00 << 9216 << F::Doodle << F::Unknown << "Wrong file size\nExpected: 9218\nActual: 9216.";
        QTest::newRow("Blazing Paddles long") << 0xA000 << 10243 << F::BlazingPaddles << F::Unknown
                                              << "Wrong file size\nExpected: 10242\nActual: 10243.";
        QTest::newRow("format outside the table") << 0x2000 << 9009 << F(10) << F::Unknown << unknown;
    }

    void decodingRecognisesOrSaysWhatIsWrong()
    {
        QFETCH(int, loadAddress);
        QFETCH(int, size);
        QFETCH(NativeImageFormat, given);
        QFETCH(NativeImageFormat, format);
        QFETCH(QString, error);
        const QByteArray data = fileOf(quint16(loadAddress), size);
        NativeImage image;
        image.format = NativeImageFormat::BlazingPaddles;
        QString actual;
        const bool refused = format == NativeImageFormat::Unknown;
        QCOMPARE(decodeNativeImage(data, given, &image, &actual), !refused);
        QCOMPARE(actual, error);
        // A refused file leaves the caller's picture alone, or has none to fill.
        QCOMPARE(image.format, refused ? NativeImageFormat::BlazingPaddles : format);
        if (refused)
            QVERIFY(!decodeNativeImage(data, given, nullptr, nullptr));
    }

    void readingStopsAtFileProblems()
    {
        QTemporaryDir dir;
        NativeImage image;
        QString error;
        QVERIFY(!readNativeImageFile(dir.filePath("missing.koa"), &image, &error));
        QVERIFY(!error.isEmpty());

        // A Koala picture with 64 KiB of junk after it is no picture at all.
        QFile big(dir.filePath("big.koa"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(fileOf(0x6000, 10003));
        big.write(QByteArray(65536 - 10003 + 1, '\0'));
        big.close();
        QVERIFY(!readNativeImageFile(big.fileName(), &image, &error));
        QCOMPARE(error, QStringLiteral("Unknown picture format."));
    }

    // No outside program wrote these two, so each is checked against the Art Studio
    // reading of the same bitmap and screen bytes at their documented places.
    void formatsWithoutFixturesMatchArtStudio_data()
    {
        QTest::addColumn<int>("loadAddress");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("bitmapOffset");
        QTest::addColumn<int>("screenOffset");
        QTest::newRow("Image System") << 0x4000 << 9194 << 2 << 8194;
        QTest::newRow("Doodle") << 0x5C00 << 9218 << 1026 << 2;
        QTest::newRow("Doodle one byte short") << 0x5C00 << 9217 << 1026 << 2;
    }

    void formatsWithoutFixturesMatchArtStudio()
    {
        QFETCH(int, loadAddress);
        QFETCH(int, size);
        QFETCH(int, bitmapOffset);
        QFETCH(int, screenOffset);
        const QByteArray bitmap = randomBytes(8000, quint32(size));
        const QByteArray screen = randomBytes(1000, quint32(size) + 1);
        QByteArray artStudio = fileOf(0x2000, 9009);
        artStudio.replace(2, 8000, bitmap).replace(8002, 1000, screen);
        QByteArray file = fileOf(quint16(loadAddress), size);
        file.replace(bitmapOffset, 8000, bitmap).replace(screenOffset, 1000, screen);

        NativeImage reference;
        NativeImage image;
        QVERIFY(decodeNativeImage(artStudio, NativeImageFormat::Unknown, &reference, nullptr));
        QVERIFY(decodeNativeImage(file, NativeImageFormat::Unknown, &image, nullptr));
        QCOMPARE(nativeImageFormatMode(image.format), CanvasMode::Hires);
        QVERIFY(nativeImageToColormap(image) == nativeImageToColormap(reference));
    }

    void placementFillsOneScreenOfTheBitmap_data()
    {
        QTest::addColumn<NativeImageFormat>("format");
        QTest::addColumn<int>("layout");
        QTest::addColumn<QSize>("canvasSize");
        QTest::addColumn<int>("screen");
        QTest::addColumn<QRect>("placed");
        using F = NativeImageFormat;
        const int plain = int(CanvasLayout::BitmapOnly);
        // Whole screens of a bitmap are placed by every import in tst_native_image_transfer.
        QTest::newRow("dual multicolor third") << F::KoalaPainter << plain << QSize(320, 200) << 2 << QRect();
        QTest::newRow("negative screen") << F::ArtStudio << plain << QSize(640, 200) << -1 << QRect();
        QTest::newRow("free size") << F::ArtStudio << plain << QSize(300, 180) << 0 << QRect(0, 0, 300, 180);
        // The bitmap between the side strips is 8 pixels narrower than a screen.
        QTest::newRow("hires side borders") << F::ArtStudio << int(CanvasLayout::SideBorders)
                                            << QSize(416, 200) << 0 << QRect(48, 0, 312, 200);
        QTest::newRow("multicolor top and bottom") << F::KoalaPainter << int(CanvasLayout::TopBottomBorders)
                                                   << QSize(160, 284) << 0 << QRect(0, 42, 160, 200);
    }

    void placementFillsOneScreenOfTheBitmap()
    {
        QFETCH(NativeImageFormat, format);
        QFETCH(int, layout);
        QFETCH(QSize, canvasSize);
        QFETCH(int, screen);
        QFETCH(QRect, placed);
        NativeImage image;
        image.format = format;
        // Every pixel shows colour 1 except the first line of cell 0, whose bits are all
        // set: colour 2 in hires (high nibble), 3 in multicolor (colour RAM).
        image.screen.fill(0x21);
        image.color.fill(3);
        image.background = 1;
        image.bitmap[0] = 0xFF;
        const CanvasMode mode = nativeImageFormatMode(format);
        Colormap canvas(canvasSize.width(), canvasSize.height());
        canvas.fill(7);
        Colormap expected = canvas;
        if (!placed.isEmpty()) {
            expected.fillRect(placed, 1);
            expected.fillRect(QRect(placed.topLeft(), QSize(canvasModeCellSize(mode).width(), 1)),
                isMulticolor(mode) ? 3 : 2);
        }

        QCOMPARE(placeNativeImage(image, canvas, mode, {CanvasLayout(layout)}, screen), placed);
        QCOMPARE(canvasToRows(canvas), canvasToRows(expected));
    }
};

QTEST_APPLESS_MAIN(TestNativeImage)
#include "tst_native_image.moc"
