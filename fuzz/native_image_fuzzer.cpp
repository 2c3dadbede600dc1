// Feeds arbitrary bytes to the C64 picture reader. Besides crashes and memory errors it
// checks what must hold for every file the reader accepts: recognition and decoding with
// a named format agree, the picture holds only C64 colour indices, lands unchanged inside
// the bitmap of a canvas of its mode, and survives being written in the editor's format
// of its mode and read back.
//
// Each input is decoded and converted once. A hash of the input picks one of the ten
// placements (three layouts, every screen from one left of the canvas to one right of it)
// and whether to try the round trip through the editor's format, so every case is
// reached, evenly, without each run paying for all of them.
#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "formats/native/native_image_encoder.h"
#include "formats/native/native_image_placement.h"
#include "formats/prg_export_colors.h"
#include "model/canvas_region.h"

#include "fuzz_checks.h"

#include <QByteArray>
#include <QString>

#include <cstdlib>
#include <cstring>

namespace {

// No pixel byte is 16 or more; one pass over the raw buffer.
KROMEL_FUZZ_UNTRACED bool holdsColorIndicesOnly(const Colormap& map)
{
    const uchar* pixels = map.constData();
    const std::size_t count = std::size_t(map.width()) * std::size_t(map.height());
    uchar seen = 0;
    for (std::size_t i = 0; i < count; ++i)
        seen |= pixels[i];
    return seen < 16;
}

struct Placement {
    CanvasLayout layout;
    int screens;
    int screen;
};

Placement placementFor(quint32 selector)
{
    constexpr Placement placements[] = {
        {CanvasLayout::BitmapOnly, 2, -1},
        {CanvasLayout::BitmapOnly, 2, 0},
        {CanvasLayout::BitmapOnly, 2, 1},
        {CanvasLayout::BitmapOnly, 2, 2},
        {CanvasLayout::SideBorders, 1, -1},
        {CanvasLayout::SideBorders, 1, 0},
        {CanvasLayout::SideBorders, 1, 1},
        {CanvasLayout::TopBottomBorders, 1, -1},
        {CanvasLayout::TopBottomBorders, 1, 0},
        {CanvasLayout::TopBottomBorders, 1, 1},
    };
    return placements[selector % std::size(placements)];
}

// A pixel value no picture holds, so untouched canvas stays recognisable.
constexpr uchar untouched = 0xEE;

void placeOnce(const NativeImage& image, const Colormap& picture, quint32 selector)
{
    const Placement placement = placementFor(selector);
    const CanvasMode mode = nativeImageFormatMode(image.format);
    const CanvasLayoutSpec spec {placement.layout};
    const QSize size = canvasModeDefaultCanvasSize(mode, spec, placement.screens);
    Colormap canvas(size.width(), size.height());
    canvas.fill(untouched);
    const QRect placed = placeNativeImage(image, canvas, mode, spec, placement.screen);
    const QRect bitmap = canvasBitmapRect(mode, size, spec);
    require(placed.isEmpty() || bitmap.contains(placed));
    require(placed.width() <= picture.width() && placed.height() <= picture.height());
    // Inside the rectangle the picture's own rows, from its top-left corner; outside it
    // nothing written.
    Colormap expected(size.width(), size.height());
    expected.fill(untouched);
    for (int y = 0; y < placed.height(); ++y)
        std::memcpy(expected.scanLine(placed.top() + y) + placed.left(), picture.scanLine(y),
            std::size_t(placed.width()));
    require(canvas == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    NativeImage image;
    QString error;
    const bool decoded = decodeNativeImage(bytes, NativeImageFormat::Unknown, &image, &error);
    require(decoded == error.isEmpty());

    // Naming a format accepts exactly the files recognised as that format: every row's
    // address and size checks see the mutations, and a failure costs nothing.
    for (int format = 1; format <= 9; ++format) {
        QString namedError;
        const bool named = decodeNativeImage(bytes, NativeImageFormat(format), nullptr, &namedError);
        require(named == (decoded && int(image.format) == format));
        require(named != !namedError.isEmpty());
    }
    if (!decoded)
        return 0;

    const Colormap picture = nativeImageToColormap(image);
    const CanvasMode mode = nativeImageFormatMode(image.format);
    require(picture.width() == canvasModeScreenWidth(mode) && picture.height() == 200);
    require(holdsColorIndicesOnly(picture));
    const quint32 selector = fuzzInputHash(data, size);
    placeOnce(image, picture, selector);

    // A decoded picture is legal, so the editor's own format holds it exactly. Encoding
    // costs more than everything else here together, and it checks the writer rather than
    // the reader: one input in eight pays for it.
    if ((selector >> 16) % 8 != 0)
        return 0;
    PrgExportColors colors;
    colors.indices[0] = image.background;
    NativeImage reread;
    require(decodeNativeImage(
        encodeNativeImage(picture, mode, colors, 0), NativeImageFormat::Unknown, &reread, &error));
    require(nativeImageToColormap(reread) == picture);
    return 0;
}
