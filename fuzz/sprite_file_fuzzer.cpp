// Feeds arbitrary bytes to the sprite file reader. Besides crashes and memory errors it
// checks what must hold for every file the reader accepts: placed into any sprite canvas,
// in any attribute mode, the records change the strips only and leave C64 colour indices.
#include "formats/sprites/native_sprites.h"
#include "formats/sprites/sprite_placement.h"
#include "model/canvas_region.h"
#include "model/colormap.h"
#include "model/palette.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    NativeSpriteData sprites;
    QString error;
    if (!decodeNativeSprites(bytes, &sprites, &error)) {
        require(!error.isEmpty());
        return 0;
    }
    require(sprites.records.size() * 64 + 2 == bytes.size());
    ColorSlots colors;
    for (int slot = 0; slot < colorSlotCount; ++slot)
        colors.values[std::size_t(slot)] = uchar(slot + 3);
    for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
        for (CanvasLayout layout : {CanvasLayout::SideBorders, CanvasLayout::TopBottomBorders}) {
            const CanvasLayoutSpec spec {layout, SpriteAlignment::Right, SpriteAlignment::Left};
            const QSize size = canvasModeDefaultCanvasSize(mode, spec, 1);
            for (int attributes = 0; attributes <= 2; ++attributes) {
                Colormap canvas(size.width(), size.height());
                canvas.fill(15);
                const SpriteImportOptions options {SpriteAttributeMode(attributes), 1};
                require(!placeNativeSprites(sprites, canvas, mode, spec, colors, options).isNull());
                // The bitmap between the strips is never touched.
                const QRect bitmap = canvasBitmapRect(mode, size, spec);
                for (int y = 0; y < size.height(); ++y) {
                    for (int x = 0; x < size.width(); ++x) {
                        require(canvas.pixel(x, y) < 16);
                        if (bitmap.contains(x, y))
                            require(canvas.pixel(x, y) == 15);
                    }
                }
                require(!nativeSpritePreview(sprites, mode, spec, colors, options, Palette()).isNull());
            }
        }
    }
    return 0;
}
