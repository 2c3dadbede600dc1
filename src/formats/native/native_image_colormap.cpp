#include "formats/native/native_image_colormap.h"

#include "formats/native/native_image.h"
#include "model/palette.h"

namespace {

constexpr int cellsAcross = 40;
constexpr int screenHeight = 200;

// Each bit is a pixel: 1 shows the screen byte's high nibble, 0 its low nibble.
void decodeHiresCell(const NativeImage& image, int cell, uchar* const* rows, int left)
{
    const uchar colors[2] = {uchar(image.screen[cell] & 15), uchar(image.screen[cell] >> 4)};
    for (int line = 0; line < 8; ++line) {
        const uchar bits = image.bitmap[std::size_t(cell) * 8 + line];
        for (int x = 0; x < 8; ++x)
            rows[line][left + x] = colors[(bits >> (7 - x)) & 1];
    }
}

// Each bit pair is a double-wide pixel: 00 the background, 01 and 10 the screen byte's
// high and low nibble, 11 the colour RAM's nibble.
void decodeMulticolorCell(const NativeImage& image, int cell, uchar* const* rows, int left)
{
    const uchar colors[4] = {uchar(image.background & 15), uchar(image.screen[cell] >> 4),
        uchar(image.screen[cell] & 15), uchar(image.color[cell] & 15)};
    for (int line = 0; line < 8; ++line) {
        const uchar bits = image.bitmap[std::size_t(cell) * 8 + line];
        for (int x = 0; x < 4; ++x)
            rows[line][left + x] = colors[(bits >> (2 * (3 - x))) & 3];
    }
}

} // namespace

Colormap nativeImageToColormap(const NativeImage& image)
{
    const CanvasMode mode = nativeImageFormatMode(image.format);
    const int cellWidth = canvasModeCellSize(mode).width();
    Colormap map(canvasModeScreenWidth(mode), screenHeight);
    for (int cellRow = 0; cellRow < screenHeight / 8; ++cellRow) {
        uchar* rows[8];
        for (int line = 0; line < 8; ++line)
            rows[line] = map.scanLine(cellRow * 8 + line);
        for (int column = 0; column < cellsAcross; ++column) {
            const int cell = cellRow * cellsAcross + column;
            if (isMulticolor(mode))
                decodeMulticolorCell(image, cell, rows, column * cellWidth);
            else
                decodeHiresCell(image, cell, rows, column * cellWidth);
        }
    }
    return map;
}

QImage nativeImagePreview(const NativeImage& image, const Palette& palette)
{
    const QImage pixels = nativeImageToColormap(image).toImage(palette);
    if (pixels.width() == 320)
        return pixels;
    return pixels.scaled(320, screenHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
