#pragma once

#include "model/canvas_layout.h"
#include "model/color_slots.h"
#include "model/colormap_crop.h"

#include <QRect>
#include <QtGlobal>

#include <array>
#include <span>
#include <vector>

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
//
// A long painting session is mostly strokes of a pixel or two, so a region change whose
// crops hold at most `inlineCropPixels` indices keeps them, with its rectangle, inside
// the change's own 16 bytes; only larger region changes own a block on the heap. A
// million one-pixel strokes then cost the history list and nothing else.
class HistoryChange {
public:
    static constexpr int inlineCropPixels = 4;

    HistoryChange(RegionChange change);
    HistoryChange(ColorIndexChange change);
    HistoryChange(BorderAlignmentChange change);
    HistoryChange(const HistoryChange& other);
    HistoryChange(HistoryChange&& other) noexcept;
    HistoryChange& operator=(const HistoryChange& other);
    HistoryChange& operator=(HistoryChange&& other) noexcept;
    ~HistoryChange();

    // The change as its kind, or null when it is of another kind.
    const ColorIndexChange* colorIndexChange() const
    {
        return m_form == Form::ColorIndex ? &m_payload.colorIndex : nullptr;
    }
    const BorderAlignmentChange* borderAlignmentChange() const
    {
        return m_form == Form::BorderAlignment ? &m_payload.alignment : nullptr;
    }

    // Region changes. The rectangle is null for the other kinds.
    bool isRegionChange() const { return m_form == Form::InlineRegion || m_form == Form::HeldRegion; }
    QRect regionRect() const
    {
        if (m_form == Form::InlineRegion)
            return QRect(m_x, m_y, m_width, m_height);
        return m_form == Form::HeldRegion ? m_payload.region->rect : QRect();
    }
    // Writes the crop after the edit (or before it) into `canvas` at the rectangle. A
    // crop from a damaged file has no trustworthy pixels: nothing is written and the
    // answer is false.
    bool restoreRegion(Colormap& canvas, bool after) const;
    // The crop after (or before) the edit when it is plain pixels of exactly the
    // rectangle's size, row-major, which is nearly always: then restoring it is a copy of
    // rows. Null for a crop still compressed or damaged, and for the other kinds.
    const uchar* plainPixels(bool after) const
    {
        if (m_form == Form::InlineRegion)
            return m_payload.pixels.data() + (after ? inlineCropPixels : 0);
        if (m_form != Form::HeldRegion)
            return nullptr;
        const RegionChange& region = *m_payload.region;
        const ColormapCrop& crop = after ? region.after : region.before;
        return !crop.isDamaged() && crop.size() == region.rect.size() ? crop.inflatedData() : nullptr;
    }
    // The crop after (or before) the edit as a crop of its own; a crop kept inline comes
    // back as plain pixels.
    ColormapCrop regionCrop(bool after) const;
    // How the crop is kept: either inline (its indices, row-major, and no held crop) or
    // held on the heap (a crop, and no inline indices). The file writer takes them as
    // they are.
    std::span<const uchar> inlineCrop(bool after) const;
    const ColormapCrop* heldCrop(bool after) const;

private:
    friend class HistoryChangeList;

    // `List` is never a change of its own: the change list marks with it that its
    // changes have moved to a vector on the heap.
    enum class Form : quint8 { Empty, ColorIndex, BorderAlignment, InlineRegion, HeldRegion, List };

    HistoryChange() = default;
    void release();
    void copyFrom(const HistoryChange& other);

    union Payload {
        Payload()
            : pixels {}
        {
        }
        // Before then after, each row-major at its own half.
        std::array<uchar, 2 * inlineCropPixels> pixels;
        ColorIndexChange colorIndex;
        BorderAlignmentChange alignment;
        RegionChange* region;
        std::vector<HistoryChange>* list;
    };

    Form m_form = Form::Empty;
    // An inline region: its width and height (1 to inlineCropPixels each) and its
    // top-left corner, which lies on a canvas of at most 4096 x 4096 pixels.
    quint8 m_width = 0;
    quint16 m_x = 0;
    quint16 m_y = 0;
    quint8 m_height = 0;
    Payload m_payload;
};

static_assert(sizeof(void*) != 8 || sizeof(HistoryChange) == 16, "a history change is 16 bytes");
Q_DECLARE_TYPEINFO(HistoryChange, Q_RELOCATABLE_TYPE);
