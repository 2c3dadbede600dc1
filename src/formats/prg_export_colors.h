#pragma once

#include "model/color_slots.h"

#include <array>

// The shared colours the C64 encoders write into a file, in HistoryColorSlot order:
// background, border, the side sprite multicolours, then the top and the bottom border's
// colour and multicolours. The window builds it from the project's slots.
struct PrgExportColors {
    std::array<uchar, colorSlotCount> indices {};

    uchar background() const { return indices[0]; }
    uchar border() const { return indices[1]; }

    static PrgExportColors fromSlots(const ColorSlots& slots) { return {slots.values}; }
};
