// Writes the two texture sheets (hires.png and multi.png) into the directory given on the
// command line. The sheets are generated at build time from the tables below, so the
// pictures the texture strip slices can never drift from the patterns they stand for.

#include <QDir>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int tileSize = 16;
constexpr int tileCount = 17;

using Tile = std::array<std::uint16_t, tileSize>;

// A tile built from a short run of rows repeated down to 16 rows.
template <std::size_t N> constexpr Tile repeated(const std::array<std::uint16_t, N>& rows)
{
    static_assert(tileSize % N == 0);
    Tile tile {};
    for (int y = 0; y < tileSize; ++y)
        tile[y] = rows[y % N];
    return tile;
}

// Tiles 0-16 as drawn for hires pixels. Row 0 first; bit 0 is the leftmost pixel.
constexpr std::array<Tile, tileCount> hiresTiles {
    repeated<1>({0xFFFF}),
    repeated<2>({0xAAAA, 0x5555}),
    repeated<2>({0xAAAA, 0x0000}),
    repeated<4>({0x2222, 0x0000, 0x0000, 0x0000}),
    repeated<2>({0xFFFF, 0x0000}),
    repeated<1>({0xAAAA}),
    repeated<8>({0x0F0F, 0x0F0F, 0x0F0F, 0x0F0F, 0xF0F0, 0xF0F0, 0xF0F0, 0xF0F0}),
    repeated<4>({0x9999, 0xCCCC, 0x6666, 0x3333}),
    repeated<4>({0x9999, 0x3333, 0x6666, 0xCCCC}),
    repeated<4>({0x9999, 0xC3C3, 0x6666, 0x3C3C}),
    repeated<8>({0xCCCC, 0x6666, 0x3333, 0x9999, 0x9999, 0x3333, 0x6666, 0xCCCC}),
    repeated<8>({0x07E0, 0x0180, 0x8181, 0x8001, 0xE007, 0x8001, 0x8181, 0x0180}),
    repeated<8>({0x6666, 0x6666, 0x6666, 0xFFFF, 0xFFFF, 0x6666, 0x6666, 0x6666}),
    repeated<8>({0x7E7E, 0x0000, 0xE7E7, 0xE7E7, 0xE7E7, 0x0000, 0x7E7E, 0x7E7E}),
    repeated<8>({0x3838, 0xBBBB, 0xBBBB, 0x8383, 0x8383, 0xBBBB, 0xBBBB, 0x3838}),
    repeated<8>({0x1818, 0x0018, 0xFF18, 0x0018, 0x1818, 0x1800, 0x18FF, 0x1800}),
    repeated<8>({0x0303, 0x0606, 0xCCCC, 0x6060, 0x3030, 0x1818, 0xCCCC, 0x8181}),
};

// On a multicolor canvas each bit covers a double-wide pixel, so the tiles whose look depends
// on their proportions are redrawn at half the width to keep their shape on the screen; every
// other tile is shared with hires.
constexpr std::array<Tile, tileCount> multicolorTiles()
{
    auto tiles = hiresTiles;
    tiles[6] = repeated<8>({0x3333, 0x3333, 0x3333, 0x3333, 0xCCCC, 0xCCCC, 0xCCCC, 0xCCCC});
    tiles[11] = repeated<8>({0x1C1C, 0x0808, 0x8888, 0x8080, 0xC1C1, 0x8080, 0x8888, 0x0808});
    tiles[12] = repeated<8>({0xAAAA, 0xAAAA, 0xAAAA, 0xFFFF, 0xFFFF, 0xAAAA, 0xAAAA, 0xAAAA});
    return tiles;
}

QImage sheetImage(const std::array<Tile, tileCount>& tiles)
{
    QImage sheet(tileSize * tileCount, tileSize, QImage::Format_RGB32);
    for (int t = 0; t < tileCount; ++t) {
        for (int y = 0; y < tileSize; ++y) {
            for (int x = 0; x < tileSize; ++x) {
                const bool set = (tiles[t][y] >> x) & 1U;
                sheet.setPixel(t * tileSize + x, y, set ? 0xFFFFFFFFU : 0xFF000000U);
            }
        }
    }
    return sheet;
}

bool writeSheet(const QDir& dir, const QString& name, const std::array<Tile, tileCount>& tiles)
{
    const QString path = dir.filePath(name);
    if (sheetImage(tiles).save(path, "PNG"))
        return true;
    std::fprintf(stderr, "texture_sheets: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "texture_sheets: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = writeSheet(dir, QStringLiteral("hires.png"), hiresTiles)
        && writeSheet(dir, QStringLiteral("multi.png"), multicolorTiles());
    return ok ? 0 : 1;
}
