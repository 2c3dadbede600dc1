#pragma once

#include <QtGlobal>

#include <array>

// The project's ten shared colours, in the order the project stores them and the
// project file writes them. Stored in project files and history entries.
enum class HistoryColorSlot : quint8 {
    Background = 0,
    Border = 1,
    SpriteMc0 = 2,
    SpriteMc1 = 3,
    TopBorderBackground = 4,
    TopBorderMc0 = 5,
    TopBorderMc1 = 6,
    BottomBorderBackground = 7,
    BottomBorderMc0 = 8,
    BottomBorderMc1 = 9,
};

inline constexpr int colorSlotCount = 10;

// The ten shared colour indices, indexed by HistoryColorSlot.
struct ColorSlots {
    std::array<uchar, colorSlotCount> values {};

    uchar operator[](HistoryColorSlot slot) const { return values[std::size_t(slot)]; }
    uchar& operator[](HistoryColorSlot slot) { return values[std::size_t(slot)]; }

    friend bool operator==(const ColorSlots&, const ColorSlots&) = default;
};
