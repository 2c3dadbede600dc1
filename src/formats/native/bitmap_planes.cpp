#include "formats/native/bitmap_planes.h"

#include "formats/prg_export_colors.h"
#include "model/colormap.h"

#include <algorithm>
#include <array>

namespace {

constexpr int cellsAcross = 40;
constexpr int cellsDown = 25;
constexpr int bitmapBytes = 8000;
constexpr int cellBytes = 1000;
constexpr int noColor = -1;

using ColorCounts = std::array<int, 16>;

struct Planes {
    uchar* bitmap;
    uchar* screen;
    uchar* color;
};

// The most frequent colour still counted, ties to the lower index; its count is cleared.
int takeMostFrequent(ColorCounts& counts)
{
    const auto most = std::max_element(counts.begin(), counts.end());
    if (*most == 0)
        return noColor;
    *most = 0;
    return int(most - counts.begin());
}

uchar nibble(int color)
{
    return color == noColor ? 0 : uchar(color);
}

// Counted into two tables, even and odd pixels apart: neighbouring pixels mostly share a
// colour, and one table would make every increment wait for the one before.
ColorCounts countCell(const Colormap& colormap, const QRect& cell)
{
    ColorCounts even {};
    ColorCounts odd {};
    const QRect inside = cell & colormap.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const uchar* row = colormap.scanLine(y);
        int x = inside.left();
        for (; x < inside.right(); x += 2) {
            ++even[row[x] & 15];
            ++odd[row[x + 1] & 15];
        }
        if (x == inside.right())
            ++even[row[x] & 15];
    }
    for (std::size_t i = 0; i < even.size(); ++i)
        even[i] += odd[i];
    return even;
}

// The bit pattern of one line of a cell: each pixel's code shifted in from the right.
template <typename Code>
uchar lineBits(const Colormap& colormap, const QRect& cell, int line, int bitsPerPixel, Code code)
{
    uchar bits = 0;
    const int y = cell.top() + line;
    if (cell.left() >= 0 && cell.right() < colormap.width() && y >= 0 && y < colormap.height()) {
        const uchar* row = colormap.scanLine(y);
        for (int x = cell.left(); x <= cell.right(); ++x)
            bits = uchar(bits << bitsPerPixel | code(row[x]));
        return bits;
    }
    for (int x = cell.left(); x <= cell.right(); ++x)
        bits = uchar(bits << bitsPerPixel | code(colormap.pixel(x, y)));
    return bits;
}

// The pair 00 shows the background register, so the background never takes one of the
// cell's three own colours.
void encodeMulticolorCell(
    const Colormap& colormap, const QRect& cell, uchar background, const Planes& planes, int index)
{
    ColorCounts counts = countCell(colormap, cell);
    counts[background & 15] = 0;
    const int p0 = takeMostFrequent(counts);
    const int p1 = takeMostFrequent(counts);
    const int p2 = takeMostFrequent(counts);
    planes.screen[index] = uchar(nibble(p0) << 4 | nibble(p1));
    planes.color[index] = nibble(p2);
    const auto code = [&](uchar pixel) {
        if (pixel == background)
            return 0;
        return pixel == p0 ? 1 : pixel == p1 ? 2 : 3;
    };
    for (int line = 0; line < 8; ++line)
        planes.bitmap[index * 8 + line] = lineBits(colormap, cell, line, 2, code);
}

// The most used colour takes the 0 bits, so a cell of one colour is all zeros.
void encodeHiresCell(const Colormap& colormap, const QRect& cell, const Planes& planes, int index)
{
    ColorCounts counts = countCell(colormap, cell);
    const int first = takeMostFrequent(counts);
    const int second = takeMostFrequent(counts);
    planes.screen[index] = uchar(nibble(second == noColor ? first : second) << 4 | nibble(first));
    const auto code = [&](uchar pixel) { return pixel == first ? 0 : 1; };
    for (int line = 0; line < 8; ++line)
        planes.bitmap[index * 8 + line] = lineBits(colormap, cell, line, 1, code);
}

} // namespace

QByteArray encodeBitmapPlanes(
    const Colormap& colormap, CanvasMode mode, const QRect& screenRect, const PrgExportColors& colors)
{
    QByteArray bytes(bitmapBytes + 2 * cellBytes, '\0');
    auto* data = reinterpret_cast<uchar*>(bytes.data());
    const Planes planes {data, data + bitmapBytes, data + bitmapBytes + cellBytes};
    const int cellWidth = canvasModeCellSize(mode).width();
    const uchar border = colors.border() & 15;
    for (int row = 0; row < cellsDown; ++row) {
        for (int column = 0; column < cellsAcross; ++column) {
            const int index = row * cellsAcross + column;
            const QRect cell(
                screenRect.left() + column * cellWidth, screenRect.top() + row * 8, cellWidth, 8);
            if (cell.right() > screenRect.right())
                planes.screen[index] = uchar(border << 4 | border);
            else if (isMulticolor(mode))
                encodeMulticolorCell(colormap, cell, colors.background() & 15, planes, index);
            else
                encodeHiresCell(colormap, cell, planes, index);
        }
    }
    return bytes;
}
