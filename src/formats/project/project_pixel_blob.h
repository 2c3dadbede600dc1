#pragma once

#include <QString>

#include <span>

class ColormapCrop;
class QByteArray;
class QSize;
class RecordPayloadReader;
class RecordPayloadWriter;

// Pixel data inside a record: an encoding byte, a length and the bytes, stored raw or
// compressed (the toolkit's compressed-buffer layout), whichever is smaller.

// Index bytes, row-major, one per pixel.
void writePixelBlob(RecordPayloadWriter& writer, const QByteArray& pixels);
void writePixelBlob(RecordPayloadWriter& writer, std::span<const uchar> pixels);

// A crop still holding the compressed bytes it was read with is written with exactly
// those bytes: re-saving a file never recompresses its history.
void writeCropBlob(RecordPayloadWriter& writer, const ColormapCrop& crop);

// Reads the blob of a `size` rectangle. A compressed blob whose length prefix matches is
// kept compressed; whether its stream really inflates is found out when it is used.
bool readPixelBlob(RecordPayloadReader& reader, const QSize& size, ColormapCrop* crop, QString* error);
