#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"
#include "model/color_slots.h"

#include <QImage>

class Palette;
class Project;
class QPainter;

// Everything the border frame depends on, so the view, the exporters and the workstage
// frames draw the same frame from the same values.
struct BorderFrameSource {
    CanvasMode mode = CanvasMode::Hires;
    QSize canvasSize;
    CanvasLayoutSpec layout;
};

BorderFrameSource borderFrameSourceOf(const Project& project);

// A multicolor side-border canvas shows its background in the side borders; every
// other canvas shows the border colour.
uchar canvasFrameColorIndex(const BorderFrameSource& source, const ColorSlots& slots);

// Paints the frame in canvas coordinates, when the canvas shows one. The top/bottom
// borders' display routine opens the border only over the sprite lines, so the lines
// beyond them stay black on the real machine.
void paintCanvasBorderFrame(
    QPainter& painter, const BorderFrameSource& source, const Palette& palette, uchar frameColorIndex);

// The canvas image inside its frame, or the image unchanged when there is no frame.
QImage canvasImageWithBorderFrame(const BorderFrameSource& source, const Palette& palette,
    uchar frameColorIndex, const QImage& canvasImage);
