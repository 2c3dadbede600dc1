#pragma once

#include "model/canvas_region.h"
#include "rules/clash_context.h"
#include "rules/color_list.h"

#include <array>

class Colormap;

// The colours every unit of one sprite strip may show for free: what shows through the
// transparent pixels and, in multicolor, the two sprite multicolour registers that all
// sprites share. Each unit may add one colour of its own, its sprite colour register.
struct SpriteSharedColors {
    std::array<uchar, 3> colors {};
    int count = 0;

    bool contains(uchar index) const
    {
        for (int i = 0; i < count; ++i) {
            if (colors[std::size_t(i)] == index)
                return true;
        }
        return false;
    }
};

// Empty for anything that is not a sprite strip.
SpriteSharedColors spriteSharedColors(const ClashContext& ctx, const CanvasRegion& region);

bool spriteProtectedColor(const ClashContext& ctx, const CanvasRegion& region, uchar index);

// Appends the unit's colours that are not shared by its strip, in scan order and each
// once, until `out` holds `limit` entries (capped at the list's capacity).
void collectSpriteFreeColors(const ClashContext& ctx, const CanvasRegion& region, const Colormap& canvas,
    const QRect& unit, ColorList& out, int limit);
void collectSpriteFreeColors(
    const SpriteSharedColors& shared, const Colormap& canvas, const QRect& unit, ColorList& out, int limit);

// Whether a unit shows two or more colours of its own.
bool spriteUnitExceedsColorLimit(
    const ClashContext& ctx, const Colormap& canvas, const CanvasRegion& region, int column, int row);
