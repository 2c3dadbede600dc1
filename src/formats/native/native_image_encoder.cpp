#include "formats/native/native_image_encoder.h"

#include "formats/native/bitmap_planes.h"
#include "formats/native/native_image_format.h"
#include "formats/prg_export_colors.h"
#include "model/colormap.h"

namespace {

constexpr int screenHeight = 200;
constexpr int bitmapBytes = 8000;
constexpr int cellBytes = 1000;

void putAt(QByteArray& file, int offset, const QByteArray& block, int from, int length)
{
    file.replace(offset, length, block.constData() + from, length);
}

} // namespace

QByteArray encodeNativeImage(
    const Colormap& colormap, CanvasMode mode, const PrgExportColors& colors, int screenIndex)
{
    const int screenWidth = canvasModeScreenWidth(mode);
    const QRect screen(screenIndex * screenWidth, 0, screenWidth, screenHeight);
    if (screenIndex < 0 || colormap.height() != screenHeight || screen.right() >= colormap.width())
        return {};
    const NativeImageFormatRow& row = *nativeImageFormatRow(nativeImageExportFormat(mode));
    const QByteArray planes = encodeBitmapPlanes(colormap, mode, screen, colors);

    QByteArray file(row.fileSize, '\0');
    file[0] = char(row.loadAddresses[0] & 0xFF);
    file[1] = char(row.loadAddresses[0] >> 8);
    putAt(file, row.bitmapOffset, planes, 0, bitmapBytes);
    putAt(file, row.screenOffset, planes, bitmapBytes, cellBytes);
    if (isMulticolor(mode)) {
        putAt(file, row.colorOffset, planes, bitmapBytes + cellBytes, cellBytes);
        file[row.backgroundOffset] = char(colors.background() & 15);
    } else {
        // Art Studio keeps the border colour in the byte after screen RAM.
        file[row.screenOffset + cellBytes] = char(colors.border() & 15);
    }
    return file;
}

bool nativeImageExportSupported(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, int screensAcross)
{
    return layout.layout == CanvasLayout::BitmapOnly
        && canvasSize == canvasModeDefaultCanvasSize(mode, layout, screensAcross);
}
