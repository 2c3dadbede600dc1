#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"
#include "model/color_slots.h"
#include "model/palette.h"
#include "model/policies.h"

// Everything the colour rules need to know about the canvas and the paint, so that every
// rule is a plain function of (context, colormap, geometry). Built on demand, never stored.
struct ClashContext {
    CanvasMode mode = CanvasMode::Hires;
    // The colour being painted; the project's own operations paint nothing and pass 0.
    uchar paintIndex = 0;
    ColorSlots slots;
    // A one-pixel brush or a fill's seed: on a multicolor canvas such a paint replaces the
    // colour it overwrote instead of the cell's least-used one.
    bool singlePixel = false;
    CanvasLayoutSpec layout;
    HiresClashResolution hiresClashResolution = HiresClashResolution::ReplaceOverwritten;
    // Only the sweeps look at it: they merge a colour into the survivor that looks nearest.
    PaletteVariant paletteVariant = PaletteVariant::Pixcen;

    uchar background() const { return slots[HistoryColorSlot::Background]; }
};
