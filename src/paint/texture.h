#pragma once

#include <QList>
#include <QRgb>

#include <array>

class QImage;

// A 16 x 16 one-bit pattern tiled over the canvas: canvas pixel (x, y) takes bit x mod 16
// (bit 0 the leftmost pixel) of row y mod 16, so strokes laid side by side continue the same
// pattern. On a multicolor canvas x counts stored pixels, each two screen pixels wide.
class Texture {
public:
    static constexpr int size = 16;
    using Rows = std::array<quint16, size>;

    // The solid pen: every bit set.
    Texture();
    explicit Texture(const Rows& rows);

    const Rows& rows() const { return m_rows; }
    quint16 row(int y) const { return m_rows[std::size_t(y & (size - 1))]; }

    // Masking rather than % keeps negative coordinates on the same tiling.
    bool bit(int x, int y) const { return (row(y) >> (x & (size - 1))) & 1U; }
    void setBit(int x, int y, bool set);

    bool isSolid() const;
    Texture inverted() const;

    // One texture per whole 16-pixel tile of a sheet, left to right; light pixels are set bits.
    static QList<Texture> sliceStrip(const QImage& sheet);
    QImage toImage(QRgb on, QRgb off) const;

    friend bool operator==(const Texture&, const Texture&) = default;

private:
    Rows m_rows;
};
