#pragma once

#include "formats/native/native_image_format.h"

#include <array>

class QByteArray;
class QString;

// One C64 bitmap screen as a picture file holds it, in the machine's own layout.
struct NativeImage {
    static constexpr int bitmapSize = 8000;
    static constexpr int cellCount = 1000;

    NativeImageFormat format = NativeImageFormat::Unknown;
    // Cell by cell, 8 bytes (lines) per cell, cells row-major 40 x 25.
    std::array<uchar, bitmapSize> bitmap {};
    // One byte per cell.
    std::array<uchar, cellCount> screen {};
    // One byte per cell; zero for hires formats.
    std::array<uchar, cellCount> color {};
    uchar background = 0;
    uchar border = 0;
    bool hasBorder = false;
};

// Decodes a picture file's bytes. With Unknown the format is recognised from the load
// address and size. `out` is written only on success.
bool decodeNativeImage(const QByteArray& data, NativeImageFormat format, NativeImage* out, QString* error);

// Reads and decodes a picture file of any of the formats.
bool readNativeImageFile(const QString& path, NativeImage* out, QString* error);
