// Writing C64 picture files: how a cell's colours go into bitmap, screen and colour RAM,
// and that what is written reads back as the canvas it came from.
#include "formats/native/bitmap_planes.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "formats/native/native_image_encoder.h"
#include "formats/prg_export_colors.h"

#include "support/canvas_picture.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

PrgExportColors colorsWith(uchar background, uchar border)
{
    PrgExportColors colors;
    colors.indices[0] = background;
    colors.indices[1] = border;
    return colors;
}

// A canvas every cell of which the C64 can show: in hires two colours of the cell's own
// choice, in multicolor the background and three of the cell's own. Some cells use fewer.
Colormap randomLegalCanvas(CanvasMode mode, int screens, uchar background, quint32 seed)
{
    QRandomGenerator random(seed);
    const QSize cell = canvasModeCellSize(mode);
    Colormap canvas(canvasModeScreenWidth(mode) * screens, 200);
    for (int top = 0; top < canvas.height(); top += cell.height()) {
        for (int left = 0; left < canvas.width(); left += cell.width()) {
            QList<uchar> colors;
            if (isMulticolor(mode))
                colors << background;
            const int own = int(random.bounded(isMulticolor(mode) ? 4 : 3));
            for (int i = 0; i < own; ++i)
                colors << uchar(random.bounded(16));
            if (colors.isEmpty())
                colors << uchar(random.bounded(16));
            for (int y = top; y < top + cell.height(); ++y) {
                for (int x = left; x < left + cell.width(); ++x)
                    canvas.setPixel(x, y, colors.at(int(random.bounded(int(colors.size())))));
            }
        }
    }
    return canvas;
}

} // namespace

class TestNativeImageEncoder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cellColoursGoWhereTheC64ReadsThem_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<QStringList>("cell");
        QTest::addColumn<int>("background");
        QTest::addColumn<int>("screenByte");
        QTest::addColumn<int>("colorByte");
        QTest::addColumn<QByteArray>("bitmap");
        const auto lines = [](std::initializer_list<int> bytes) {
            QByteArray result;
            for (int byte : bytes)
                result += char(byte);
            return result;
        };
        // The most used colour takes the 0 bits.
        QTest::newRow("hires 40 of 6, 24 of 14")
            << CanvasMode::Hires << QStringList(5, "66666666") + QStringList(3, "eeeeeeee") << 0 << 0xE6 << 0
            << lines({0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF});
        QTest::newRow("hires tie goes to the lower index")
            << CanvasMode::Hires << QStringList(8, "55553333") << 0 << 0x53 << 0
            << lines({0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0});
        QTest::newRow("hires one colour") << CanvasMode::Hires << QStringList(8, "99999999") << 0 << 0x99 << 0
                                          << lines({0, 0, 0, 0, 0, 0, 0, 0});
        QTest::newRow("multicolor background only") << CanvasMode::Multicolor << QStringList(8, "6666") << 6
                                                    << 0 << 0 << lines({0, 0, 0, 0, 0, 0, 0, 0});
        // Counts: 2 has 13, 7 has 8, 5 has 3, the background 0 has 8.
        QTest::newRow("multicolor by count")
            << CanvasMode::Multicolor
            << QStringList {"0275", "0272", "0272", "0272", "2275", "2275", "0027", "0027"} << 0 << 0x27 << 5
            << lines({0x1B, 0x19, 0x19, 0x19, 0x5B, 0x5B, 0x06, 0x06});
        // A fourth own colour (4) shares the colour-RAM pair with the third (3).
        QTest::newRow("multicolor over the limit")
            << CanvasMode::Multicolor
            << QStringList {"1111", "2222", "3333", "4444", "1111", "2222", "3333", "0000"} << 0 << 0x12 << 3
            << lines({0x55, 0xAA, 0xFF, 0xFF, 0x55, 0xAA, 0xFF, 0});
    }

    void cellColoursGoWhereTheC64ReadsThem()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(QStringList, cell);
        QFETCH(int, background);
        QFETCH(int, screenByte);
        QFETCH(int, colorByte);
        QFETCH(QByteArray, bitmap);
        Colormap canvas(canvasModeScreenWidth(mode), 200);
        canvas.fill(uchar(background));
        drawRows(canvas, QPoint(0, 0), cell);
        const QByteArray planes
            = encodeBitmapPlanes(canvas, mode, canvas.rect(), colorsWith(uchar(background), 3));
        QCOMPARE(planes.size(), 10000);
        QCOMPARE(planes.left(8).toHex(' '), bitmap.toHex(' '));
        QCOMPARE(uchar(planes.at(8000)), uchar(screenByte));
        QCOMPARE(uchar(planes.at(9000)), uchar(colorByte));
    }

    // The hires side-border bitmap is 312 pixels wide: the last cell column is border.
    void cellsPastTheScreenShowTheBorder()
    {
        Colormap canvas(416, 200);
        canvas.fill(1);
        const QByteArray planes
            = encodeBitmapPlanes(canvas, CanvasMode::Hires, QRect(48, 0, 312, 200), colorsWith(0, 14));
        QCOMPARE(uchar(planes.at(8000 + 38)), uchar(0x11));
        QCOMPARE(uchar(planes.at(8000 + 39)), uchar(0xEE));
        QCOMPARE(uchar(planes.at(8000 + 24 * 40 + 39)), uchar(0xEE));
        QCOMPARE(planes.mid(39 * 8, 8), QByteArray(8, '\0'));
    }

    void randomCanvasesSurviveTheRoundTrip_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<int>("screens");
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 4; ++seed) {
            QTest::addRow("hires %u", seed) << CanvasMode::Hires << 1 << seed;
            QTest::addRow("multicolor %u", seed) << CanvasMode::Multicolor << 1 << seed;
        }
        QTest::newRow("dual hires") << CanvasMode::Hires << 2 << 11u;
        QTest::newRow("dual multicolor") << CanvasMode::Multicolor << 2 << 12u;
    }

    void randomCanvasesSurviveTheRoundTrip()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(int, screens);
        QFETCH(quint32, seed);
        const uchar background = uchar(seed % 16);
        const Colormap canvas = randomLegalCanvas(mode, screens, background, seed);
        const PrgExportColors colors = colorsWith(background, 6);
        for (int screen = 0; screen < screens; ++screen) {
            const QByteArray file = encodeNativeImage(canvas, mode, colors, screen);
            NativeImage image;
            QString error;
            QVERIFY2(decodeNativeImage(file, NativeImageFormat::Unknown, &image, &error), qPrintable(error));
            QCOMPARE(image.format,
                isMulticolor(mode) ? NativeImageFormat::KoalaPainter : NativeImageFormat::ArtStudio);
            const Colormap decoded = nativeImageToColormap(image);
            const QRect screenRect(screen * decoded.width(), 0, decoded.width(), 200);
            QCOMPARE(canvasToRows(decoded), canvasToRows(canvas.snapshotRegion(screenRect)));
            QCOMPARE(encodeNativeImage(decoded, mode, colors, 0), file);
            if (isMulticolor(mode)) {
                QCOMPARE(image.background, background);
            } else {
                QVERIFY(image.hasBorder);
                QCOMPARE(image.border, uchar(6));
            }
        }
    }

    // Whole screens are encoded by every round trip above; anything else gives no file.
    void onlyWholeScreensAreEncoded_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("screen");
        QTest::newRow("dual multicolor third") << CanvasMode::Multicolor << QSize(320, 200) << 2;
        QTest::newRow("negative") << CanvasMode::Hires << QSize(640, 200) << -1;
        QTest::newRow("narrow") << CanvasMode::Hires << QSize(319, 200) << 0;
        QTest::newRow("tall") << CanvasMode::Multicolor << QSize(160, 284) << 0;
    }

    void onlyWholeScreensAreEncoded()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(QSize, size);
        QFETCH(int, screen);
        QVERIFY(encodeNativeImage(Colormap(size.width(), size.height()), mode, {}, screen).isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestNativeImageEncoder)
#include "tst_native_image_encoder.moc"
