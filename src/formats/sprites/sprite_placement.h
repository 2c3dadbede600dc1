#pragma once

#include "formats/sprites/native_sprites.h"
#include "model/canvas_mode.h"

#include <QList>
#include <QRect>

class Colormap;
class Palette;
class QImage;

// Each record's colour: the pen colour or its attribute's, then shared between the
// records that form one displayed sprite (the two halves of a 42-line side sprite, the
// two rows of a top/bottom column), which take the colour of the first of them.
QList<uchar> unitIndividualColors(const NativeSpriteData& data, CanvasMode mode, CanvasLayout layout,
    int stripColumns, const SpriteImportOptions& options);

// Replaces the canvas's sprite strips with the records, laid out exactly as the program
// export stores them, so an exported program's sprites come back where they were.
// Returns the strips rewritten; a null rectangle when the layout has none.
QRect placeNativeSprites(const NativeSpriteData& data, Colormap& target, CanvasMode mode,
    const CanvasLayoutSpec& layout, const SpriteImportColors& colors, const SpriteImportOptions& options);

// The records as they will land, band by band, for the import dialog.
QImage nativeSpritePreview(const NativeSpriteData& data, CanvasMode mode, const CanvasLayoutSpec& layout,
    const SpriteImportColors& colors, const SpriteImportOptions& options, const Palette& palette);
