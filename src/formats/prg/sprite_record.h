#pragma once

#include "model/canvas_mode.h"

#include <array>

class Colormap;

// A C64 sprite block: 21 rows of 3 bytes, leftmost pixel in the most significant bit,
// then one attribute byte. Sprite Pad and Pixcen keep the sprite's own colour in the
// low nibble of that byte; our top/bottom-border export keeps the strip column in the
// high nibble, so the records find their columns again when imported.
inline constexpr int spriteRecordSize = 64;
inline constexpr int spriteRecordAttribute = 63;
inline constexpr int spriteRecordLines = 21;
using SpriteRecord = std::array<uchar, spriteRecordSize>;

// The sprite whose top-left pixel is at screen pixel x (stored x times the mode's pixel
// width) and canvas line y. Pixels outside the canvas read as transparent. Hires: 1 for
// every pixel that is not transparent. Multicolor, per double-wide pixel: transparent 00,
// mc0 01, mc1 11, any other colour 10. The attribute byte's low nibble is the first
// such other colour in scan order, or the transparent index when there is none.
SpriteRecord encodeSpriteRecord(
    const Colormap& colormap, CanvasMode mode, int x, int y, uchar transparent, uchar mc0, uchar mc1);

inline uchar spriteRecordColor(const SpriteRecord& record)
{
    return record[spriteRecordAttribute] & 15;
}
