#pragma once

// A side strip is split into 8 logical sprite rows. The display routine repositions
// the hardware sprites every 21 lines; rows 4 and 6 pair two 21-line hardware sprites
// into one 42-line unit that shares a single free colour.
inline constexpr int spriteLogicalRowCount = 8;
inline constexpr int spriteHardwareRowCount = 10;

int spriteRowTop(int row);
int spriteRowHeight(int row);
int spriteRowAt(int y);
int spriteHardwareRowAt(int y);
