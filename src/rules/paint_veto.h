#pragma once

#include "rules/clash_context.h"

#include <QPoint>

class Colormap;

// Whether one pixel must not take ctx.paintIndex. Runs before every pixel of a
// single-pixel paint lands: where no victim could make room for the new colour (the
// background pixel of a full multicolor cell, the transparent pixel of a sprite that
// already shows another colour of its own) the pixel is refused instead.
bool vetoSinglePixelPaint(const ClashContext& ctx, const Colormap& canvas, const QPoint& point);
