#pragma once

#include <QSize>

// The bitmap mode of a canvas. The value is stored in project files; any value other
// than Multicolor behaves as Hires.
enum class CanvasMode : qint32 {
    Hires = 0,
    Multicolor = 1,
};

struct CanvasLayoutSpec;

// A hires char cell is 8 x 8 pixels; a multicolor cell is 4 stored pixels across,
// each of them two screen pixels wide.
QSize canvasModeCellSize(CanvasMode mode);
double canvasModePixelAspect(CanvasMode mode);
int canvasModeMaxColorsPerCell(CanvasMode mode);
QSize canvasModeDefaultCanvasSize(CanvasMode mode, const CanvasLayoutSpec& layout, int screensAcross);

// One C64 screen across, in stored pixels.
int canvasModeScreenWidth(CanvasMode mode);

// A hardware sprite is 24 screen pixels wide: 24 hires or 12 multicolor stored pixels.
int spriteColumnWidth(CanvasMode mode);

inline bool isMulticolor(CanvasMode mode)
{
    return mode == CanvasMode::Multicolor;
}
