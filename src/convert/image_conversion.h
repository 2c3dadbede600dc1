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

enum class ConversionMethod : quint8 {
    // Every pixel takes the nearest of all 16 colours, then the clash sweep keeps each
    // cell's most-used colours and merges the rest.
    Classic = 0,
    // Each cell and sprite unit first chooses the colours that serve its pixels best; the
    // dither then works within them, so no error is spent on colours the cell cannot keep.
    CellAware = 1,
};

// Everything a conversion depends on besides the image and the curves.
struct ImageConversionSettings {
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayoutSpec layout;
    PaletteVariant paletteVariant = PaletteVariant::Pixcen;
    DitherMethod dither = DitherMethod::None;
    ColorDistanceMetric distance = ColorDistanceMetric::Weighted;
    ColorSlots slots;
    ConversionMethod method = ConversionMethod::Classic;
    // The background and the colours sprite strips share are searched for the picture
    // instead of taken from `slots` (see automaticSharedColors).
    bool automaticBackground = false;
};

// A finished conversion: the canvas and the shared colours it was made for, which differ
// from the settings' slots where they were chosen automatically.
struct ImageConversionResult {
    Colormap colormap;
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

// The conversion with the shared colours it ended on. The cell-aware method leaves every
// cell and unit legal by construction; the sweep then has nothing to change.
ImageConversionResult convertImageWithColors(const QImage& displayImage, const QSize& canvasSize,
    const ImageAdjustment& adjustment, const ImageConversionSettings& settings);

// The conversion before the locked border is filled and the clash sweep runs: for the
// classic method only the nearest colours, which the quality figures set beside the
// finished conversion to show what the sweep costs; for the cell-aware method already
// the finished canvas.
Colormap convertImageUnswept(const QImage& displayImage, const QSize& canvasSize,
    const ImageAdjustment& adjustment, const ImageConversionSettings& settings);
