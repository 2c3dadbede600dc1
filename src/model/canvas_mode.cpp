#include "model/canvas_mode.h"

#include "model/canvas_layout.h"

#include <algorithm>

QSize canvasModeCellSize(CanvasMode mode)
{
    return isMulticolor(mode) ? QSize(4, 8) : QSize(8, 8);
}

double canvasModePixelAspect(CanvasMode mode)
{
    return isMulticolor(mode) ? 2.0 : 1.0;
}

int canvasModeMaxColorsPerCell(CanvasMode mode)
{
    return isMulticolor(mode) ? 4 : 2;
}

int canvasModeScreenWidth(CanvasMode mode)
{
    return isMulticolor(mode) ? 160 : 320;
}

int spriteColumnWidth(CanvasMode mode)
{
    return isMulticolor(mode) ? 12 : 24;
}

QSize canvasModeDefaultCanvasSize(CanvasMode mode, const CanvasLayoutSpec& layout, int screensAcross)
{
    const int screens = std::max(1, screensAcross);
    const int width = canvasModeScreenWidth(mode) * screens;
    switch (layout.layout) {
    case CanvasLayout::SideBorders:
        // Two 2-sprite-wide strips plus, in hires, the 8-pixel border column that the
        // right strip cannot reach.
        return {width + (isMulticolor(mode) ? 48 : 96), 200};
    case CanvasLayout::TopBottomBorders:
        return {width, 284};
    case CanvasLayout::BitmapOnly:
        break;
    }
    return {width, 200};
}
