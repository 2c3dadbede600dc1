#pragma once

#include "formats/prg/sprite_record.h"

#include <array>

// The sprite records an executable PRG carries at $6800: 40 blocks of 64 bytes, the
// hardware sprite pointers $A0 to $C7 of VIC bank 1. Unused records stay zero.
inline constexpr int prgSpriteRecordCount = 40;
inline constexpr int prgSpriteRecordAddress = 0x6800;
using PrgSpriteRecords = std::array<SpriteRecord, prgSpriteRecordCount>;

// Side borders: 10 hardware sprite rows of 4 records (left strip's two columns, then the
// right strip's), row r starting at canvas line sideBorderRecordTop(r). The first row
// starts 8 lines above the canvas, where the display opens the side borders.
inline constexpr int sideBorderRecordRows = 10;
inline constexpr int sideBorderRecordsPerRow = 4;
constexpr int sideBorderRecordTop(int row)
{
    return -8 + spriteRecordLines * row;
}

// Top/bottom borders: records 0-15 are the bottom border (its upper 21-line row of 8
// sprites, then its lower row), records 16-31 the top border.
inline constexpr int bottomBorderFirstRecord = 0;
inline constexpr int topBorderFirstRecord = 16;
inline constexpr int borderRecordsPerRow = 8;
