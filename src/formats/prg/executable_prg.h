#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QByteArray>
#include <QSize>
#include <QString>

class Colormap;
struct PrgExportColors;

// A canvas can become a ready-to-run program when it is exactly one screen of its
// layout: 320 x 200 (hires) or 160 x 200 (multicolor) bitmap-only, or the single-screen
// size of a sprite layout.
bool prgExportSupported(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, int screensAcross);

// What the program puts into $D020 and $D021: the colours the editor's framed view shows,
// so a picture looks the same in the editor, in a framed image export and on the machine.
struct PrgScreenColors {
    uchar border = 0;
    uchar background = 0;
};
PrgScreenColors prgScreenColors(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, const PrgExportColors& colors);
// Where the program puts things in C64 memory. The bitmap-only program shows its bitmap
// from VIC bank 0 and copies the screen to $0400; the sprite programs show VIC bank 1
// ($4000-$7FFF), whose screens at $7400 and $7800 the routine fills from the copy here.
// Hires programs keep the border colour where multicolor ones keep their colour RAM;
// `sprites` is 0 when the layout has none.
struct ExecutablePrgMemoryMap {
    int load;
    int bitmap;
    int screen;
    int colorRam;
    int background;
    int sprites;
};

const ExecutablePrgMemoryMap& executablePrgMemoryMap(const CanvasLayoutSpec& layout);

// Where the program loads and where it starts: SYS 7680 ($1E00) for a bitmap-only
// canvas, SYS 13312 ($3400) for the sprite layouts.
int executablePrgLoadAddress(const CanvasLayoutSpec& layout);

// The C64 program: load address, display routine, bitmap, colours and, for the sprite
// layouts, 40 sprite records. Empty with a one-line message when the canvas is not one
// screen of its layout or a top or bottom border holds more sprites than the hardware
// shows.
QByteArray encodeExecutablePrg(const Colormap& colormap, CanvasMode mode, const CanvasLayoutSpec& layout,
    const PrgExportColors& colors, QString* error);
