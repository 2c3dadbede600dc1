#include "model/sprite_rows.h"

#include <algorithm>

namespace {

struct RowSpan {
    int top;
    int height;
};

// Logical rows of a side strip; rows 4 and 6 are two hardware sprites tall.
constexpr RowSpan rowTable[spriteLogicalRowCount] = {
    {0, 13},
    {13, 21},
    {34, 21},
    {55, 21},
    {76, 42},
    {118, 21},
    {139, 42},
    {181, 19},
};

} // namespace

int spriteRowTop(int row)
{
    if (row < 1)
        return 0;
    if (row > 7)
        return 200;
    return rowTable[row].top;
}

int spriteRowHeight(int row)
{
    if (row < 0)
        return rowTable[0].height;
    if (row > 7)
        return rowTable[7].height;
    return rowTable[row].height;
}

int spriteRowAt(int y)
{
    for (int row = 0; row < spriteLogicalRowCount - 1; ++row) {
        if (y < rowTable[row + 1].top)
            return row;
    }
    return spriteLogicalRowCount - 1;
}

int spriteHardwareRowAt(int y)
{
    if (y < 13)
        return 0;
    return std::min((y - 13) / 21 + 1, spriteHardwareRowCount - 1);
}
