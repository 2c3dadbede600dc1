// Feeds arbitrary bytes to the C64 picture reader. Besides crashes and memory errors it
// checks what must hold for every file the reader accepts: the picture lands inside the
// bitmap of every canvas of its mode, holds only C64 colour indices, and survives being
// written in the editor's format of its mode and read back.
#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "formats/native/native_image_encoder.h"
#include "formats/native/native_image_placement.h"
#include "formats/prg_export_colors.h"
#include "model/canvas_region.h"

#include <QByteArray>
#include <QString>

#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void placeIntoEveryLayout(const NativeImage& image, const Colormap& picture)
{
    const CanvasMode mode = nativeImageFormatMode(image.format);
    for (const CanvasLayout layout :
        {CanvasLayout::BitmapOnly, CanvasLayout::SideBorders, CanvasLayout::TopBottomBorders}) {
        const CanvasLayoutSpec spec {layout};
        const int screens = layout == CanvasLayout::BitmapOnly ? 2 : 1;
        Colormap canvas(canvasModeDefaultCanvasSize(mode, spec, screens).width(),
            canvasModeDefaultCanvasSize(mode, spec, screens).height());
        for (int screen = -1; screen <= screens; ++screen) {
            const QRect placed = placeNativeImage(image, canvas, mode, spec, screen);
            require(placed.isEmpty() || canvasBitmapRect(mode, canvas.size(), spec).contains(placed));
            if (!placed.isEmpty())
                require(canvas.pixel(placed.left(), placed.top()) == picture.pixel(0, 0));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // Besides recognition, every format is tried on the same bytes, so the size and
    // address checks of each row see the mutations too.
    for (int format = 1; format <= 9; ++format)
        decodeNativeImage(bytes, NativeImageFormat(format), nullptr, nullptr);

    NativeImage image;
    QString error;
    if (!decodeNativeImage(bytes, NativeImageFormat::Unknown, &image, &error)) {
        require(!error.isEmpty());
        return 0;
    }
    const Colormap picture = nativeImageToColormap(image);
    const CanvasMode mode = nativeImageFormatMode(image.format);
    require(picture.width() == canvasModeScreenWidth(mode) && picture.height() == 200);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            require(picture.pixel(x, y) < 16);
    }
    placeIntoEveryLayout(image, picture);

    // A decoded picture is legal, so the editor's own format holds it exactly.
    PrgExportColors colors;
    colors.indices[0] = image.background;
    NativeImage reread;
    require(decodeNativeImage(
        encodeNativeImage(picture, mode, colors, 0), NativeImageFormat::Unknown, &reread, &error));
    require(nativeImageToColormap(reread) == picture);
    return 0;
}
