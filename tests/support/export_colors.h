#pragma once

#include "formats/prg_export_colors.h"

#include <algorithm>
#include <initializer_list>

// Export colours with the given slots first and the rest at black, as the program tests
// write them down.
inline PrgExportColors exportColors(std::initializer_list<uchar> slots)
{
    PrgExportColors colors;
    std::copy(slots.begin(), slots.end(), colors.indices.begin());
    return colors;
}
