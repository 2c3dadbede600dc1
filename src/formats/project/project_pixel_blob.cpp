#include "formats/project/project_pixel_blob.h"

#include "formats/project/project_file_format.h"
#include "formats/project/project_record_payload.h"
#include "model/colormap_crop.h"

#include <QByteArray>
#include <QSize>

#include <cstring>

namespace {

// A zlib stream is never shorter than 8 bytes (header, an empty final block, checksum),
// and the toolkit puts a 4-byte length in front of it, so compressing 12 bytes or fewer
// can never win; skipping the attempt matters for histories of one-pixel strokes.
constexpr qsizetype smallestCompressedBlob = 12;
constexpr qsizetype compressedLengthPrefixSize = 4;

void writeBlob(RecordPayloadWriter& writer, PixelBlobEncoding encoding, const char* data, qsizetype size)
{
    writer.writeI8(int(encoding));
    writer.writeI32(qint32(size));
    writer.writeBytes(data, size);
}

void writeSmallerBlob(RecordPayloadWriter& writer, const char* pixels, qsizetype size)
{
    if (size > smallestCompressedBlob) {
        const QByteArray compressed = qCompress(reinterpret_cast<const uchar*>(pixels), size);
        if (compressed.size() < size) {
            writeBlob(writer, PixelBlobEncoding::Compressed, compressed.constData(), compressed.size());
            return;
        }
    }
    writeBlob(writer, PixelBlobEncoding::Raw, pixels, size);
}

quint32 compressedLengthPrefix(const QByteArray& data)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    return (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8)
        | quint32(bytes[3]);
}

} // namespace

void writePixelBlob(RecordPayloadWriter& writer, const QByteArray& pixels)
{
    writeSmallerBlob(writer, pixels.constData(), pixels.size());
}

void writePixelBlob(RecordPayloadWriter& writer, std::span<const uchar> pixels)
{
    writeSmallerBlob(writer, reinterpret_cast<const char*>(pixels.data()), qsizetype(pixels.size()));
}

void writeCropBlob(RecordPayloadWriter& writer, const ColormapCrop& crop)
{
    if (crop.isCompressed()) {
        const QByteArray& bytes = crop.compressedBytes();
        writeBlob(writer, PixelBlobEncoding::Compressed, bytes.constData(), bytes.size());
        return;
    }
    const Colormap& pixels = crop.pixels();
    writeSmallerBlob(writer, reinterpret_cast<const char*>(pixels.constData()),
        qsizetype(pixels.width()) * pixels.height());
}

bool readPixelBlob(RecordPayloadReader& reader, const QSize& size, ColormapCrop* crop, QString* error)
{
    const int encoding = reader.readI8();
    const qint32 length = reader.readI32();
    if (reader.failed() || length < 0 || length > maxPixelBlobLength) {
        *error = QStringLiteral("malformed pixel blob header");
        return false;
    }
    if (length > reader.remaining()) {
        *error = QStringLiteral("pixel blob declares %1 bytes, but %2 remain in the record")
                     .arg(length)
                     .arg(reader.remaining());
        return false;
    }
    QByteArray data = reader.readBytes(length);
    if (reader.failed()) {
        *error = QStringLiteral("pixel blob is truncated");
        return false;
    }
    const qint64 expected = qint64(size.width()) * size.height();
    switch (PixelBlobEncoding(encoding)) {
    case PixelBlobEncoding::Raw: {
        if (length != expected) {
            *error = QStringLiteral("raw pixel blob holds %1 bytes, expected %2").arg(length).arg(expected);
            return false;
        }
        Colormap pixels(size.width(), size.height());
        if (length > 0)
            std::memcpy(pixels.scanLine(0), data.constData(), std::size_t(length));
        *crop = ColormapCrop(std::move(pixels));
        return true;
    }
    case PixelBlobEncoding::Compressed: {
        const quint32 declared = length > compressedLengthPrefixSize ? compressedLengthPrefix(data) : 0;
        if (length <= compressedLengthPrefixSize || qint64(declared) != expected) {
            *error = QStringLiteral("compressed pixel blob declares %1 bytes, expected %2")
                         .arg(declared)
                         .arg(expected);
            return false;
        }
        *crop = ColormapCrop::fromCompressed(std::move(data), size);
        return true;
    }
    }
    *error = QStringLiteral("unknown pixel blob encoding %1").arg(encoding);
    return false;
}
