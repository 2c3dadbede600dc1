#pragma once

#include "model/colormap.h"
#include "rules/clash_context.h"

// Shared colours that differ from strip to strip, so that a rule looking at the wrong
// strip's colours shows up: background 0, border 14 (light blue), sprite multicolours 11
// and 12, top border background 6, bottom border background 9, border multicolours 11, 12.
ClashContext testClashContext(CanvasMode mode, const CanvasLayoutSpec& layout, uchar paintIndex = 0);

// A canvas of the layout's default size for one screen, each region filled with the colour
// it shows when nothing is drawn (the bitmap with the background, each strip with its
// background) and the locked border pixels with the border colour.
Colormap blankTestCanvas(const ClashContext& ctx);
