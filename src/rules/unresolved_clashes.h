#pragma once

#include "rules/clash_context.h"

class Colormap;

// Whether any char cell or sprite unit of the whole canvas is over its colour limit. The
// native exports refuse such a canvas: the C64 formats have nowhere to put the extra colour.
bool canvasHasUnresolvedClashes(const ClashContext& ctx, const Colormap& canvas);
