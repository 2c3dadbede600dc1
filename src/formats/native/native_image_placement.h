#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QRect>

class Colormap;
struct NativeImage;

// Copies the picture into one screen of the canvas's bitmap region, screens numbered from
// the left. Whatever of the picture falls outside the bitmap region is left out. Returns
// the rectangle written, or a null rectangle when nothing was.
QRect placeNativeImage(const NativeImage& image, Colormap& target, CanvasMode mode,
    const CanvasLayoutSpec& layout, int screenIndex);
