#pragma once

#include "model/canvas_layout.h"
#include "model/color_slots.h"
#include "model/colormap_crop.h"

#include <QRect>

#include <variant>

// The kinds of change an entry can hold. Stored in project files.
enum class HistoryChangeKind : quint8 {
    RegionChange = 0,
    ColorIndexChange = 1,
    BorderAlignmentChange = 2,
};

// Pixels of a rectangle before and after an edit. The rectangle is the bounding box of
// the pixels that differ, so a one-pixel stroke keeps a 1 x 1 pair of crops.
struct RegionChange {
    QRect rect;
    ColormapCrop before;
    ColormapCrop after;
};

// A shared colour slot taking another colour index.
struct ColorIndexChange {
    HistoryColorSlot slot = HistoryColorSlot::Background;
    uchar beforeIndex = 0;
    uchar afterIndex = 0;
};

// The top or bottom border's sprite grid moving to the other bitmap edge.
struct BorderAlignmentChange {
    bool bottomBorder = false;
    SpriteAlignment beforeAlignment = SpriteAlignment::Left;
    SpriteAlignment afterAlignment = SpriteAlignment::Left;
};

// One change inside a history entry: exactly one of the three kinds, held by value.
class HistoryChange {
public:
    HistoryChange(RegionChange change)
        : m_change(std::move(change))
    {
    }
    HistoryChange(ColorIndexChange change)
        : m_change(change)
    {
    }
    HistoryChange(BorderAlignmentChange change)
        : m_change(change)
    {
    }

    HistoryChangeKind kind() const { return HistoryChangeKind(m_change.index()); }

    // The change as its kind, or null when it is of another kind.
    const RegionChange* regionChange() const { return std::get_if<RegionChange>(&m_change); }
    const ColorIndexChange* colorIndexChange() const { return std::get_if<ColorIndexChange>(&m_change); }
    const BorderAlignmentChange* borderAlignmentChange() const
    {
        return std::get_if<BorderAlignmentChange>(&m_change);
    }

private:
    // The alternatives are in HistoryChangeKind order, so the index is the stored kind.
    std::variant<RegionChange, ColorIndexChange, BorderAlignmentChange> m_change;
};
