#pragma once

#include "model/colormap.h"

#include <QImage>

struct NativeImage;
class Palette;

// The picture as colour indices: 320 x 200 for a hires format, 160 x 200 for a
// multicolor one.
Colormap nativeImageToColormap(const NativeImage& image);

// The picture as the C64 shows it, 320 x 200: multicolor pixels are twice as wide.
QImage nativeImagePreview(const NativeImage& image, const Palette& palette);
