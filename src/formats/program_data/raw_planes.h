#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

class Colormap;
struct PrgExportColors;

// One screen of the picture the way a C64 program uses it: each memory block on its
// own, with no load address, so a coder can put each where the program needs it.
struct RawPlanes {
    // 8000 bytes, cell by cell as the VIC reads a bitmap.
    QByteArray bitmap;
    // 1000 bytes, one per cell.
    QByteArray screen;
    // 1000 bytes of colour RAM; empty for hires, which has no use for it.
    QByteArray colors;
    // The border sprites as the ready-to-run program stores them, 64-byte records in its
    // order; empty without border sprites.
    QByteArray sprites;
    // For $D020 and $D021.
    uchar border = 0;
    uchar background = 0;
};

// The two colour registers a program sets for the picture, border first.
QByteArray rawPlaneRegisters(const RawPlanes& planes);

// Why the canvas cannot be exported as raw planes or assembler source: only a row of
// whole bitmap-only screens, or one screen of a border-sprite layout, has C64 memory
// blocks. Empty when it can. Clashes are the caller's question.
QString rawPlanesRefusal(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, int screensAcross);

struct RawPlanesResult {
    bool ok = false;
    QString error;
    // One per screen, numbered from the left.
    QList<RawPlanes> screens;
};

// The planes of every screen: the bytes of the Koala Painter or Art Studio export for a
// bitmap-only canvas, the bytes of the ready-to-run program for a sprite layout. Fails
// with a one-line message for a refused canvas or borders over the sprite budget.
RawPlanesResult encodeRawPlanes(const Colormap& colormap, CanvasMode mode, const CanvasLayoutSpec& layout,
    int screensAcross, const PrgExportColors& colors);
