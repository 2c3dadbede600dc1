#include "formats/prg/sprite_record.h"

#include "model/colormap.h"

namespace {

constexpr int noColor = -1;

} // namespace

SpriteRecord encodeSpriteRecord(
    const Colormap& colormap, CanvasMode mode, int x, int y, uchar transparent, uchar mc0, uchar mc1)
{
    SpriteRecord record {};
    const bool multicolor = isMulticolor(mode);
    const int pixelWidth = multicolor ? 2 : 1;
    const int pixelsAcross = 24 / pixelWidth;
    const int bitsPerPixel = pixelWidth;
    // Screen x to stored x; a right-aligned border puts its first sprite partly left of
    // the canvas, and those pixels are transparent like lines above or below it.
    const int left = x >= 0 ? x / pixelWidth : -((-x + pixelWidth - 1) / pixelWidth);
    int ownColor = noColor;
    for (int line = 0; line < spriteRecordLines; ++line) {
        quint32 bits = 0;
        for (int i = 0; i < pixelsAcross; ++i) {
            const int px = left + i;
            const int py = y + line;
            const uchar pixel = colormap.contains(px, py) ? colormap.pixel(px, py) : transparent;
            quint32 code = 0;
            if (pixel == transparent)
                code = 0;
            else if (!multicolor)
                code = 1;
            else if (pixel == mc0)
                code = 1;
            else if (pixel == mc1)
                code = 3;
            else
                code = 2;
            if ((multicolor ? code == 2 : code == 1) && ownColor == noColor)
                ownColor = pixel & 15;
            bits = bits << bitsPerPixel | code;
        }
        record[line * 3] = uchar(bits >> 16);
        record[line * 3 + 1] = uchar(bits >> 8);
        record[line * 3 + 2] = uchar(bits);
    }
    record[spriteRecordAttribute] = uchar(ownColor == noColor ? transparent & 15 : ownColor);
    return record;
}
