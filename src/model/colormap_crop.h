#pragma once

#include "model/colormap.h"

#include <QByteArray>
#include <QSize>

// A rectangle of colour indices kept by the history. Crops made by edits are plain
// pixels; crops read from a project file stay in the compressed form they were stored in
// (the toolkit's compressed-buffer layout: a 4-byte big-endian length, then a zlib
// stream) until something needs their pixels, so a long history costs no more memory
// than its file, and saving it again writes the same bytes without recompressing.
class ColormapCrop {
public:
    ColormapCrop() = default;
    explicit ColormapCrop(Colormap pixels);

    static ColormapCrop fromCompressed(QByteArray compressed, const QSize& size);

    QSize size() const { return m_size; }
    bool isInflated() const { return m_pixels.width() > 0 && m_pixels.height() > 0; }
    // A crop still compressed (never inflated, or damaged) is saved by writing
    // compressedBytes() as they were read.
    bool isCompressed() const { return !m_compressed.isEmpty(); }
    const QByteArray& compressedBytes() const { return m_compressed; }

    // Unpacks the compressed bytes. Bytes that do not unpack to exactly width x height
    // indices (a damaged file) leave the crop damaged: its pixels read as index 0, it
    // keeps its bytes so that saving does not turn the damage into real pixels, and it
    // answers false here every time. The warning is logged once.
    bool inflate() const;
    bool isDamaged() const { return m_damaged; }

    // The pixels, unpacking them on first use.
    const Colormap& pixels() const;
    // Where the unpacked pixels lie, without unpacking: null while the crop is compressed.
    const uchar* inflatedData() const { return isInflated() ? m_pixels.constData() : nullptr; }

private:
    // Inflation happens behind const access: only the user-interface thread reads crops
    // while the document can change, and the file writer never inflates.
    mutable Colormap m_pixels;
    mutable QByteArray m_compressed;
    mutable bool m_damaged = false;
    QSize m_size;
};
