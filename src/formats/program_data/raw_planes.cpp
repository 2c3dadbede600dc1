#include "formats/program_data/raw_planes.h"

#include "formats/native/bitmap_planes.h"
#include "formats/native/native_image_encoder.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg/prg_sprite_records.h"
#include "formats/prg_export_colors.h"
#include "model/canvas_region.h"
#include "model/colormap.h"

namespace {

constexpr int bitmapBytes = 8000;
constexpr int cellBytes = 1000;

// The border is the one the exported program sets, so the raw planes frame the picture as
// the program and the editor do.
RawPlanes splitPlanes(
    const QByteArray& planes, CanvasMode mode, const PrgScreenColors& registers, const PrgExportColors& colors)
{
    RawPlanes raw;
    raw.bitmap = planes.left(bitmapBytes);
    raw.screen = planes.mid(bitmapBytes, cellBytes);
    if (isMulticolor(mode))
        raw.colors = planes.mid(bitmapBytes + cellBytes, cellBytes);
    raw.border = registers.border;
    raw.background = colors.background() & 15;
    return raw;
}

// The top/bottom program leaves its last eight records unused; the side borders use all 40.
int usedSpriteRecords(CanvasLayout layout)
{
    return layout == CanvasLayout::TopBottomBorders ? 2 * topBorderFirstRecord : prgSpriteRecordCount;
}

} // namespace

QByteArray rawPlaneRegisters(const RawPlanes& planes)
{
    QByteArray registers(2, '\0');
    registers[0] = char(planes.border);
    registers[1] = char(planes.background);
    return registers;
}

QString rawPlanesRefusal(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, int screensAcross)
{
    const bool supported = layout.layout == CanvasLayout::BitmapOnly
        ? nativeImageExportSupported(mode, canvasSize, layout, screensAcross)
        : prgExportSupported(mode, canvasSize, layout, screensAcross);
    if (supported)
        return {};
    return layout.layout == CanvasLayout::BitmapOnly
        ? QStringLiteral("Only a canvas of whole bitmap-only screens can be exported for programmers; "
                         "this one is %1 x %2 pixels.")
              .arg(canvasSize.width())
              .arg(canvasSize.height())
        : QStringLiteral("The canvas is not a single C64 screen of this layout's size.");
}

RawPlanesResult encodeRawPlanes(const Colormap& colormap, CanvasMode mode, const CanvasLayoutSpec& layout,
    int screensAcross, const PrgExportColors& colors)
{
    RawPlanesResult result;
    result.error = rawPlanesRefusal(mode, colormap.size(), layout, screensAcross);
    if (!result.error.isEmpty())
        return result;
    const PrgScreenColors registers = prgScreenColors(mode, colormap.size(), layout, colors);
    if (layout.layout == CanvasLayout::BitmapOnly) {
        const int screenWidth = canvasModeScreenWidth(mode);
        for (int screen = 0; screen < screensAcross; ++screen) {
            const QRect rect(screen * screenWidth, 0, screenWidth, colormap.height());
            result.screens << splitPlanes(encodeBitmapPlanes(colormap, mode, rect, colors), mode, registers, colors);
        }
        result.ok = true;
        return result;
    }
    // The records come out of the program itself, so the two can never disagree.
    const QByteArray program = encodeExecutablePrg(colormap, mode, layout, colors, &result.error);
    if (program.isEmpty())
        return result;
    RawPlanes raw = splitPlanes(
        encodeBitmapPlanes(colormap, mode, canvasBitmapRect(mode, colormap.size(), layout), colors), mode,
        registers, colors);
    const int recordsAt = prgSpriteRecordAddress - executablePrgLoadAddress(layout) + 2;
    raw.sprites = program.mid(recordsAt, usedSpriteRecords(layout.layout) * spriteRecordSize);
    result.screens << raw;
    result.error.clear();
    result.ok = true;
    return result;
}
