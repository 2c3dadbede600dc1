#include "model/colormap_crop.h"

#include <QtDebug>

#include <zlib.h>

#include <cstring>

namespace {

constexpr qsizetype lengthPrefixSize = 4;

quint32 declaredLength(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    return (quint32(data[0]) << 24) | (quint32(data[1]) << 16) | (quint32(data[2]) << 8) | quint32(data[3]);
}

// Unpacks straight into the colormap's buffer. Unpacking through the toolkit would
// allocate whatever length a damaged prefix claims; here the buffer is the crop's own
// size and a stream that does not fill it exactly is refused.
bool unpackInto(const QByteArray& bytes, Colormap& target)
{
    const qint64 expected = qint64(target.width()) * qint64(target.height());
    if (bytes.size() <= lengthPrefixSize || qint64(declaredLength(bytes)) != expected)
        return false;
    if (expected == 0)
        return true;
    uLongf written = uLongf(expected);
    const int status = uncompress(target.scanLine(0), &written,
        reinterpret_cast<const Bytef*>(bytes.constData()) + lengthPrefixSize,
        uLong(bytes.size() - lengthPrefixSize));
    return status == Z_OK && qint64(written) == expected;
}

} // namespace

ColormapCrop::ColormapCrop(Colormap pixels)
    : m_pixels(std::move(pixels))
    , m_size(m_pixels.size())
{
}

ColormapCrop ColormapCrop::fromCompressed(QByteArray compressed, const QSize& size)
{
    ColormapCrop crop;
    crop.m_compressed = std::move(compressed);
    crop.m_size = QSize(qMax(0, size.width()), qMax(0, size.height()));
    return crop;
}

bool ColormapCrop::inflate() const
{
    if (m_damaged)
        return false;
    if (isInflated() || m_compressed.isEmpty())
        return true;
    Colormap unpacked(m_size.width(), m_size.height());
    if (!unpackInto(m_compressed, unpacked)) {
        qWarning("ColormapCrop: %d x %d crop failed to inflate", m_size.width(), m_size.height());
        unpacked.fill(0);
        m_pixels = std::move(unpacked);
        m_damaged = true;
        return false;
    }
    m_pixels = std::move(unpacked);
    m_compressed.clear();
    m_compressed.squeeze();
    return true;
}

const Colormap& ColormapCrop::pixels() const
{
    inflate();
    return m_pixels;
}
