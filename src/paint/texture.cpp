#include "paint/texture.h"

#include <QImage>

#include <algorithm>

namespace {

constexpr quint16 allBits = 0xFFFF;

// Perceived lightness with integer weights summing to 32 (roughly 0.34 red, 0.5 green,
// 0.16 blue); 4096 is half of the 8160 a white pixel weighs, so mid-grey (128) is set.
bool isLightPixel(QRgb pixel)
{
    return 11 * qRed(pixel) + 16 * qGreen(pixel) + 5 * qBlue(pixel) >= 4096;
}

} // namespace

Texture::Texture()
{
    m_rows.fill(allBits);
}

Texture::Texture(const Rows& rows)
    : m_rows(rows)
{
}

void Texture::setBit(int x, int y, bool set)
{
    quint16& bits = m_rows[std::size_t(y & (size - 1))];
    const quint16 mask = quint16(1U << (x & (size - 1)));
    bits = set ? quint16(bits | mask) : quint16(bits & ~mask);
}

bool Texture::isSolid() const
{
    return std::all_of(m_rows.begin(), m_rows.end(), [](quint16 bits) { return bits == allBits; });
}

Texture Texture::inverted() const
{
    Rows flipped;
    std::transform(
        m_rows.begin(), m_rows.end(), flipped.begin(), [](quint16 bits) { return quint16(~bits); });
    return Texture(flipped);
}

QList<Texture> Texture::sliceStrip(const QImage& sheet)
{
    QList<Texture> textures;
    if (sheet.isNull() || sheet.width() < size || sheet.height() < size)
        return textures;
    const int tileCount = sheet.width() / size;
    textures.reserve(tileCount);
    for (int tile = 0; tile < tileCount; ++tile) {
        Rows rows {};
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (isLightPixel(sheet.pixel(tile * size + x, y)))
                    rows[std::size_t(y)] |= quint16(1U << x);
            }
        }
        textures.append(Texture(rows));
    }
    return textures;
}

QImage Texture::toImage(QRgb on, QRgb off) const
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x)
            line[x] = bit(x, y) ? on : off;
    }
    return image;
}
