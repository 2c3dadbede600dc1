#pragma once

#include "formats/prg/sprite_record.h"
#include "model/canvas_layout.h"
#include "model/color_slots.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

// The records of a sprite file, in file order.
struct NativeSpriteData {
    QList<SpriteRecord> records;
};

// What each record's attribute byte contributes to an import.
enum class SpriteAttributeMode : quint8 {
    // Every sprite in the pen colour.
    Ignore = 0,
    // The low nibble is the colour, as sprite editors store it.
    Color = 1,
    // The colour, and the high nibble is the top/bottom strip column the sprite goes to.
    ColorAndPosition = 2,
};

struct SpriteImportOptions {
    SpriteAttributeMode attributeMode = SpriteAttributeMode::Color;
    uchar penColor = 1;
};

// The project's ten shared colours, in slot order.
using SpriteImportColors = ColorSlots;

// How many records a layout's strips take: 40 side-border sprites, 32 top/bottom ones.
int nativeSpriteCapacity(CanvasLayout layout);

// The plain sprite file of sprite editors: a load address (ignored) followed by whole
// 64-byte records, at least one.
bool decodeNativeSprites(const QByteArray& data, NativeSpriteData* out, QString* error);
// Reads the device to its end; a read that fails on the way reports the device's reason.
bool readNativeSprites(QIODevice& device, NativeSpriteData* out, QString* error);
bool readNativeSpriteFile(const QString& path, NativeSpriteData* out, QString* error);
