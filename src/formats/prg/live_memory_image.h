#pragma once

#include "formats/prg/memory_span.h"
#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QByteArray>
#include <QString>

class Colormap;
struct PrgExportColors;

// The C64's memory while an exported program shows a canvas: the program itself at its
// load address (bitmap, sprite records and the parameters the routine reads every
// frame), and what the routine copied from it at start: the screen to the screens the
// VIC shows, the multicolor colour RAM to $D800, and the colours it stored once into
// the VIC's registers. Two images of the same program differ only in bytes that can be
// written into the running machine to turn one picture into the other.
struct LiveMemoryImage {
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayout layout = CanvasLayout::BitmapOnly;
    QByteArray program; // the program file, load address first
    MemorySpans spans; // the program's body first, then the copies in ascending address

    bool isEmpty() const { return program.isEmpty(); }
};

// The image of `program`, which encodeExecutablePrg made for a canvas of this mode and
// layout; the register values come from the program's own bytes, so they are whatever
// the encoder chose to show.
LiveMemoryImage liveMemoryImageOfProgram(const QByteArray& program, CanvasMode mode, CanvasLayout layout);

// Encodes the canvas as the program and lays it out; empty with the encoder's message
// when the canvas cannot become a program.
LiveMemoryImage encodeLiveMemoryImage(const Colormap& colormap, CanvasMode mode,
    const CanvasLayoutSpec& layout, const PrgExportColors& colors, QString* error);

// Whether the machine showing `shown` can be brought to `next` by memory writes: the same
// routine is running and every span has its place. Otherwise the program must be sent.
bool liveMemoryWritable(const LiveMemoryImage& shown, const LiveMemoryImage& next);
