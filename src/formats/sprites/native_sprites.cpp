#include "formats/sprites/native_sprites.h"

#include <QFile>

#include <algorithm>

namespace {

// Sprite files share the C64's 64 KB address space; anything larger is something else.
constexpr qint64 maxSpriteFileSize = 65536;

QString unknownFormat()
{
    return QStringLiteral("Unknown file format.");
}

} // namespace

int nativeSpriteCapacity(CanvasLayout layout)
{
    switch (layout) {
    case CanvasLayout::SideBorders:
        return 40;
    case CanvasLayout::TopBottomBorders:
        return 32;
    case CanvasLayout::BitmapOnly:
        break;
    }
    return 0;
}

bool decodeNativeSprites(const QByteArray& data, NativeSpriteData* out, QString* error)
{
    if (data.size() < 2 + spriteRecordSize || (data.size() - 2) % spriteRecordSize != 0) {
        *error = unknownFormat();
        return false;
    }
    NativeSpriteData decoded;
    for (qsizetype offset = 2; offset < data.size(); offset += spriteRecordSize) {
        SpriteRecord record;
        std::copy_n(data.constData() + offset, spriteRecordSize, record.begin());
        decoded.records.append(record);
    }
    *out = std::move(decoded);
    return true;
}

bool readNativeSprites(QIODevice& device, NativeSpriteData* out, QString* error)
{
    // Read one byte past the limit rather than trusting the size a device reports, and
    // read to the end: a read that fails part-way must not pass for a shorter file, which
    // can still be whole records.
    QByteArray data;
    char buffer[4096];
    while (data.size() <= maxSpriteFileSize) {
        const qint64 wanted = std::min<qint64>(sizeof buffer, maxSpriteFileSize + 1 - data.size());
        const qint64 got = device.read(buffer, wanted);
        if (got < 0) {
            *error = device.errorString();
            return false;
        }
        if (got == 0)
            break;
        data.append(buffer, got);
    }
    if (data.size() > maxSpriteFileSize) {
        *error = unknownFormat();
        return false;
    }
    return decodeNativeSprites(data, out, error);
}

bool readNativeSpriteFile(const QString& path, NativeSpriteData* out, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    return readNativeSprites(file, out, error);
}
