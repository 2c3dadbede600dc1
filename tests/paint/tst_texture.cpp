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

// Tiles of different periods, solid first. Tile 6 of each sheet is drawn for its mode's
// pixel shape: the multicolor squares have half the period of the hires ones.
const Rows solid = repeated({0xFFFF});
const Rows checker = repeated({0xAAAA, 0x5555});
const Rows weave = repeated({0x9999, 0xC3C3, 0x6666, 0x3C3C});
const Rows hiresSquares = repeated({0x0F0F, 0x0F0F, 0x0F0F, 0x0F0F, 0xF0F0, 0xF0F0, 0xF0F0, 0xF0F0});
const Rows multicolorSquares = repeated({0x3333, 0x3333, 0x3333, 0x3333, 0xCCCC, 0xCCCC, 0xCCCC, 0xCCCC});
const Rows cross = repeated({0x1818, 0x0018, 0xFF18, 0x0018, 0x1818, 0x1800, 0x18FF, 0x1800});

// A sheet drawn the way the resources draw theirs: white set bits on black, tiles side by side.
QImage sheetFromTable(const QList<Rows>& tiles)
{
    QImage sheet(Texture::size * int(tiles.size()), Texture::size, QImage::Format_RGB32);
    for (int t = 0; t < tiles.size(); ++t) {
        for (int y = 0; y < Texture::size; ++y) {
            for (int x = 0; x < Texture::size; ++x) {
                const bool set = (tiles[t][std::size_t(y)] >> x) & 1U;
                sheet.setPixel(t * Texture::size + x, y, set ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            }
        }
    }
    return sheet;
}

// Rows as four hex digits each, for readable failures.
QString hexRows(const Rows& rows)
{
    QStringList words;
    for (quint16 row : rows)
        words.append(QStringLiteral("%1").arg(row, 4, 16, QLatin1Char('0')).toUpper());
    return words.join(QLatin1Char(' '));
}

} // namespace

class TestTexture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void slicingCountsWholeTiles_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("tiles");
        QTest::newRow("full sheet") << QSize(272, 16) << 17;
        QTest::newRow("one tile and a sliver") << QSize(20, 16) << 1;
        QTest::newRow("too low") << QSize(16, 15) << 0;
        QTest::newRow("taller than a tile") << QSize(32, 40) << 2;
    }

    void slicingCountsWholeTiles()
    {
        QFETCH(QSize, size);
        QFETCH(int, tiles);
        QImage sheet(size, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        const QList<Texture> textures = Texture::sliceStrip(sheet);
        QCOMPARE(textures.size(), tiles);
        for (const Texture& texture : textures)
            QVERIFY(texture.isSolid());
        QVERIFY(Texture::sliceStrip(QImage()).isEmpty());
    }

    // The lightness weights are 11, 16 and 5 against a threshold of 4096.
    void slicingThreshold_data()
    {
        QTest::addColumn<QRgb>("color");
        QTest::addColumn<bool>("set");
        QTest::newRow("mid grey weighs exactly 4096") << qRgb(128, 128, 128) << true;
        QTest::newRow("one red step darker") << qRgb(127, 128, 128) << false;
        QTest::newRow("green and a little blue, 4095") << qRgb(0, 255, 3) << false;
        QTest::newRow("green and a little blue, 4100") << qRgb(0, 255, 4) << true;
        QTest::newRow("magenta") << qRgb(255, 0, 255) << false;
    }

    void slicingThreshold()
    {
        QFETCH(QRgb, color);
        QFETCH(bool, set);
        QImage sheet(16, 16, QImage::Format_RGB32);
        sheet.fill(Qt::black);
        sheet.setPixel(5, 3, color);
        Rows expected {};
        expected[3] = set ? quint16(1U << 5) : quint16(0);
        QCOMPARE(hexRows(Texture::sliceStrip(sheet).value(0).rows()), hexRows(expected));
    }

    void sheetsSliceBackToTheirPatterns()
    {
        const QList<Rows> table {solid, checker, weave, hiresSquares, multicolorSquares, cross};
        const QList<Texture> textures = Texture::sliceStrip(sheetFromTable(table));
        QCOMPARE(textures.size(), table.size());
        for (int t = 0; t < textures.size(); ++t) {
            QCOMPARE(hexRows(textures[t].rows()), hexRows(table[t]));
            // Swatches are drawn in palette colours, light over dark; they slice back unchanged.
            const QImage swatch = textures[t].toImage(qRgb(0xAB, 0xAB, 0xAB), qRgb(0x55, 0x55, 0x55));
            QCOMPARE(swatch.size(), QSize(16, 16));
            QCOMPARE(Texture::sliceStrip(swatch), QList<Texture> {textures[t]});
        }
        QVERIFY(textures[0].isSolid());
        for (int t = 1; t < textures.size(); ++t)
            QVERIFY2(!textures[t].isSolid(), qPrintable(QString::number(t)));
    }

    void inversionAndSingleBits()
    {
        const Texture checkers(checker);
        QCOMPARE(hexRows(checkers.inverted().rows()), hexRows(repeated({0x5555, 0xAAAA})));
        QCOMPARE(checkers.inverted().inverted(), checkers);
        QVERIFY(!Texture().inverted().isSolid());

        Texture texture;
        texture.setBit(19, -14, false);
        QVERIFY(!texture.isSolid());
        QCOMPARE(texture.row(2), quint16(0xFFF7));
        texture.setBit(3, 2, true);
        QVERIFY(texture.isSolid());
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
