#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"
#include "model/color_distance.h"
#include "model/color_slots.h"
#include "model/colormap.h"
#include "model/palette.h"

#include <QSize>

class ImageAdjustment;
class QImage;

enum class DitherMethod : quint8 {
    None = 0,
    // Half of the Floyd-Steinberg error goes on, which keeps the grain of a 16-colour
    // palette from swamping the picture.
    ErrorDiffusion = 1,
    Ordered = 2,
};

// Everything a conversion depends on besides the image and the curves.
struct ImageConversionSettings {
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayoutSpec layout;
    PaletteVariant paletteVariant = PaletteVariant::Pixcen;
    DitherMethod dither = DitherMethod::None;
    ColorDistanceMetric distance = ColorDistanceMetric::Weighted;
    ColorSlots slots;
};

// The canvas as the C64 displays it: a multicolor pixel is two screen pixels wide.
QSize imageConversionRequiredSize(CanvasMode mode, const QSize& canvasSize);

// The image as the canvas's colours: every pixel the nearest of the 16 colours of the
// settings' palette after the curves and the dither, locked border pixels in the border
// colour, and then the clash sweep settling every cell and sprite unit. `displayImage`
// must have the required size; otherwise, or when it is null, the result is empty.
Colormap convertImage(const QImage& displayImage, const QSize& canvasSize, const ImageAdjustment& adjustment,
    const ImageConversionSettings& settings);

// The same without the clash sweep and the locked border: only the nearest colours. The
// quality figures set it beside the finished conversion to show what the sweep costs.
Colormap convertImageUnswept(const QImage& displayImage, const QSize& canvasSize,
    const ImageAdjustment& adjustment, const ImageConversionSettings& settings);
