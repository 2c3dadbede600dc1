#pragma once

#include "formats/prg/prg_sprite_records.h"
#include "model/canvas_mode.h"

class Colormap;
struct PrgExportColors;

// The 40 records of a side-border canvas, 4 per hardware sprite row. Transparent is the
// background (multicolor) or the border colour (hires); the multicolours are the side
// sprites' shared ones. A 42-line sprite (hardware rows 4-5 and 7-8) is shown in one
// colour, so its two records share the colour of whichever half has one.
PrgSpriteRecords encodeSideBorderSprites(
    const Colormap& colormap, CanvasMode mode, const PrgExportColors& colors);
