#include "formats/native/native_image.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>

namespace {

// No picture of these formats comes near the 64 KiB a C64 can address.
constexpr qint64 largestPictureFile = 65536;

QString unknownPictureFormat()
{
    return QStringLiteral("Unknown picture format.");
}

QString hexAddress(quint16 address)
{
    return QStringLiteral("$%1").arg(address, 4, 16, QLatin1Char('0')).toUpper();
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

template <std::size_t N> void copyBlock(const QByteArray& data, int offset, std::array<uchar, N>& block)
{
    const auto* begin = reinterpret_cast<const uchar*>(data.constData()) + offset;
    std::copy(begin, begin + N, block.begin());
}

uchar lowNibbleAt(const QByteArray& data, int offset)
{
    return offset < 0 ? 0 : uchar(data.at(offset)) & 15;
}

} // namespace

bool decodeNativeImage(const QByteArray& data, NativeImageFormat format, NativeImage* out, QString* error)
{
    if (data.size() < 2)
        return fail(error, QStringLiteral("Unknown image format."));
    const quint16 loadAddress = quint16(uchar(data.at(0)) | uchar(data.at(1)) << 8);
    if (format == NativeImageFormat::Unknown) {
        format = recognizeNativeImageFormat(loadAddress, data.size());
        if (format == NativeImageFormat::Unknown)
            return fail(error, unknownPictureFormat());
    }
    const NativeImageFormatRow* row = nativeImageFormatRow(format);
    if (!row)
        return fail(error, unknownPictureFormat());
    if (!row->acceptsLoadAddress(loadAddress)) {
        return fail(error,
            QStringLiteral("Wrong load address\nExpected: %1\nActual: %2.")
                .arg(hexAddress(row->loadAddresses[0]), hexAddress(loadAddress)));
    }
    if (!row->acceptsFileSize(data.size())) {
        return fail(error,
            QStringLiteral("Wrong file size\nExpected: %1\nActual: %2.").arg(row->fileSize).arg(data.size()));
    }

    NativeImage image;
    image.format = format;
    copyBlock(data, row->bitmapOffset, image.bitmap);
    copyBlock(data, row->screenOffset, image.screen);
    if (row->colorOffset >= 0)
        copyBlock(data, row->colorOffset, image.color);
    // The VIC-II colour registers have four bits; the programs store whatever was in the
    // upper ones.
    image.background = lowNibbleAt(data, row->backgroundOffset);
    image.border = lowNibbleAt(data, row->borderOffset);
    image.hasBorder = row->borderOffset >= 0;
    if (out)
        *out = image;
    return true;
}

bool readNativeImageFile(const QString& path, NativeImage* out, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, file.errorString());
    if (file.size() > largestPictureFile)
        return fail(error, unknownPictureFormat());
    // A device file reports no size, so the read itself is bounded too.
    const QByteArray data = file.read(largestPictureFile + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(error, file.errorString());
    if (data.size() > largestPictureFile)
        return fail(error, unknownPictureFormat());
    return decodeNativeImage(data, NativeImageFormat::Unknown, out, error);
}
