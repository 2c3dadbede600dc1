#pragma once

#include "formats/program_data/assembler_dialect.h"
#include "formats/program_data/export_files.h"
#include "formats/program_data/raw_planes.h"

#include <optional>

// What the head comment of a source says about the picture.
struct AssemblerSourceHead {
    QString picture;
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayout layout = CanvasLayout::BitmapOnly;
};

// Where the data goes when nobody says: the bitmap then sits where the VIC can show it.
inline constexpr int defaultAssemblerOrigin = 0x2000;

// One screen's planes as source text: labels bitmap, screen, colors (multicolor),
// border, background and sprites (border sprites), in that order, with 16 bytes a row.
// Assembled, it yields the raw files' bytes in the same order.
QByteArray assemblerSource(const RawPlanes& planes, const AssemblerDialectRow& dialect,
    const AssemblerSourceHead& head, int origin, int screen = 0, int screens = 1);

// Why `origin` does not do for the dialect: one given to an assembler without an origin
// line, or data that would run past $FFFF. Empty when it does.
QString assemblerOriginRefusal(
    const AssemblerDialectRow& dialect, const QList<RawPlanes>& screens, std::optional<int> origin);

// The files of the source export: the chosen path for one screen; NAME-0.SUFFIX, ...
// beside it for several, each a source of its own with the same labels.
QList<ExportFile> assemblerSourceFiles(const QString& output, const QList<RawPlanes>& screens,
    const AssemblerDialectRow& dialect, const AssemblerSourceHead& head, std::optional<int> origin);
