#include "paint/texture.h"

#include <QImage>
#include <QTest>

namespace {

using Rows = Texture::Rows;

// A tile from a run of rows repeated down to 16 rows.
Rows repeated(std::initializer_list<quint16> run)
{
    Rows rows {};
    const auto* first = run.begin();
    for (int y = 0; y < Texture::size; ++y)
        rows[std::size_t(y)] = first[std::size_t(y) % run.size()];
    return rows;
}

// The multicolor squares have half the period of the hires ones.
const Rows checker = repeated({0xAAAA, 0x5555});
const Rows weave = repeated({0x9999, 0xC3C3, 0x6666, 0x3C3C});
const Rows hiresSquares = repeated({0x0F0F, 0x0F0F, 0x0F0F, 0x0F0F, 0xF0F0, 0xF0F0, 0xF0F0, 0xF0F0});
const Rows multicolorSquares = repeated({0x3333, 0x3333, 0x3333, 0x3333, 0xCCCC, 0xCCCC, 0xCCCC, 0xCCCC});

} // namespace

class TestTexture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A strip holds as many whole tiles as fit across it; a pixel is set where it is light,
    // its lightness weighed 11, 16 and 5 against a threshold of 4096.
    void slicing_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRgb>("color");
        QTest::addColumn<int>("tiles");
        QTest::addColumn<bool>("set");
        const QRgb grey = qRgb(128, 128, 128);
        QTest::newRow("full sheet") << QSize(272, 16) << grey << 17 << true;
        QTest::newRow("one tile and a sliver") << QSize(20, 16) << grey << 1 << true;
        QTest::newRow("too low") << QSize(16, 15) << grey << 0 << true;
        QTest::newRow("mid grey weighs exactly 4096") << QSize(16, 16) << grey << 1 << true;
        QTest::newRow("one red step darker") << QSize(16, 16) << qRgb(127, 128, 128) << 1 << false;
    }

    void slicing()
    {
        QFETCH(QSize, size);
        QFETCH(QRgb, color);
        QFETCH(int, tiles);
        QFETCH(bool, set);
        QImage sheet(size, QImage::Format_RGB32);
        sheet.fill(Qt::black);
        sheet.setPixel(5, 3, color);
        const QList<Texture> textures = Texture::sliceStrip(sheet);
        QCOMPARE(textures.size(), tiles);
        Rows expected {};
        expected[3] = set ? quint16(1U << 5) : quint16(0);
        QVERIFY(tiles == 0 || textures.first().rows() == expected);
    }

    void inversion()
    {
        QVERIFY(Texture(checker).inverted().rows() == repeated({0x5555, 0xAAAA}));
        QVERIFY(!Texture().inverted().isSolid());
    }

    // Patterns continue across tile edges and past the canvas origin, so strokes drawn at
    // different places line up. On a multicolor canvas x counts stored pixels, each two
    // screen pixels wide: the multicolor squares have half the period of the hires ones, so
    // both cover the same screen pixels.
    void bitsTileOverTheCanvas()
    {
        const Texture texture(weave);
        for (int y = -20; y < 20; ++y) {
            for (int x = -20; x < 20; ++x) {
                QCOMPARE(texture.bit(x + 16, y), texture.bit(x, y));
                QCOMPARE(texture.bit(x, y + 32), texture.bit(x, y));
            }
        }
        // Row 1 is C3C3: bit 15 is set, bit 2 clear.
        QVERIFY(texture.bit(-1, 1));
        QVERIFY(!texture.bit(-14, -15));

        const Texture hires(hiresSquares);
        const Texture multicolor(multicolorSquares);
        for (int y = 0; y < 32; ++y) {
            for (int screenX = 0; screenX < 64; ++screenX)
                QCOMPARE(multicolor.bit(screenX / 2, y), hires.bit(screenX, y));
        }
    }
};

QTEST_APPLESS_MAIN(TestTexture)
#include "tst_texture.moc"
