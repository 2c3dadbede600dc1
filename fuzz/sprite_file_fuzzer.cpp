// Feeds arbitrary bytes to the sprite file reader. Besides crashes and memory errors it
// checks what must hold for every file the reader accepts: placed into a sprite canvas,
// the records change the strips only and leave C64 colour indices, and the preview sheet
// has the size of its bands.
//
// The file's load address is ignored by the reader, so its two bytes choose what to try:
// the mode, the layout, the attribute mode, the border alignments and the pen colour. One
// placement and one preview per input keep the runs fast; the fuzzer reaches all twelve
// mode, layout and attribute combinations by mutating those bytes.
#include "formats/sprites/native_sprites.h"
#include "formats/sprites/sprite_placement.h"
#include "model/canvas_region.h"
#include "model/colormap.h"
#include "model/palette.h"

#include "fuzz_checks.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdlib>

namespace {

struct Trial {
    CanvasMode mode;
    CanvasLayoutSpec spec;
    SpriteImportOptions options;
};

Trial trialFor(uchar low, uchar high)
{
    const auto alignment = [](int bit) { return bit ? SpriteAlignment::Right : SpriteAlignment::Left; };
    Trial trial {low & 1 ? CanvasMode::Multicolor : CanvasMode::Hires,
        {low & 2 ? CanvasLayout::TopBottomBorders : CanvasLayout::SideBorders, alignment(low & 4),
            alignment(low & 8)},
        {SpriteAttributeMode((low >> 4) % 3), uchar(high & 15)}};
    return trial;
}

// A value no colour index takes, so a write outside the strips cannot hide.
constexpr uchar untouched = 0xEE;

KROMEL_FUZZ_UNTRACED bool rectHoldsColorIndicesOnly(const Colormap& canvas, const QRect& rect)
{
    uchar seen = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const uchar* row = canvas.scanLine(y);
        for (int x = rect.left(); x <= rect.right(); ++x)
            seen |= row[x];
    }
    return seen < 16;
}

KROMEL_FUZZ_UNTRACED bool allUntouched(const Colormap& canvas)
{
    const uchar* pixels = canvas.constData();
    const std::size_t count = std::size_t(canvas.width()) * std::size_t(canvas.height());
    for (std::size_t i = 0; i < count; ++i) {
        if (pixels[i] != untouched)
            return false;
    }
    return true;
}

// The strips hold colour indices only, and nothing outside them was written: not the
// bitmap between them, nor the border column a hires right strip cannot reach. The
// canvas is the fuzzer's own, so the strips are blanked once checked and the rest is one
// pass.
void requireStripsOnly(Colormap& canvas, const QList<QRect>& strips)
{
    for (const QRect& strip : strips) {
        require(rectHoldsColorIndicesOnly(canvas, strip));
        canvas.fillRect(strip, untouched);
    }
    require(allUntouched(canvas));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Palette palette;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    NativeSpriteData sprites;
    QString error;
    if (!decodeNativeSprites(bytes, &sprites, &error)) {
        require(!error.isEmpty());
        return 0;
    }
    require(sprites.records.size() * 64 + 2 == bytes.size());

    const Trial trial = trialFor(data[0], data[1]);
    ColorSlots colors;
    for (int slot = 0; slot < colorSlotCount; ++slot)
        colors.values[std::size_t(slot)] = uchar(slot + 3);
    const QSize canvasSize = canvasModeDefaultCanvasSize(trial.mode, trial.spec, 1);
    Colormap canvas(canvasSize.width(), canvasSize.height());
    canvas.fill(untouched);
    const QRect placed = placeNativeSprites(sprites, canvas, trial.mode, trial.spec, colors, trial.options);
    QList<QRect> strips;
    QRect stripBounds;
    for (const CanvasRegion& region : canvasRegions(trial.mode, canvasSize, trial.spec)) {
        if (region.isSpriteStrip()) {
            strips.append(region.rect);
            stripBounds |= region.rect;
        }
    }
    require(placed == stripBounds);
    requireStripsOnly(canvas, strips);

    // Side sheets are 10 bands of 4 records, top/bottom sheets 4 bands of 8, or of every
    // column when the attributes place the records; multicolor pixels are shown twice as wide.
    const QImage preview
        = nativeSpritePreview(sprites, trial.mode, trial.spec, colors, trial.options, palette);
    const bool side = trial.spec.layout == CanvasLayout::SideBorders;
    const int columns = side                                                   ? 4
        : trial.options.attributeMode == SpriteAttributeMode::ColorAndPosition ? 14
                                                                               : 8;
    require(preview.size() == QSize(columns * 24, side ? 210 : 84));
    return 0;
}
