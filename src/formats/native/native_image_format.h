#pragma once

#include "model/canvas_mode.h"

#include <QString>

#include <array>
#include <span>

// The C64 picture formats the editor reads; Art Studio and Koala Painter it also writes.
// Unknown asks the reader to recognise the format from the file itself.
enum class NativeImageFormat : quint8 {
    Unknown = 0,
    ArtStudio = 1,
    Interpaint = 2,
    ImageSystem = 3,
    Doodle = 4,
    Vidcom64 = 5,
    KoalaPainter = 6,
    Artist64 = 7,
    AdvancedArtStudio = 8,
    BlazingPaddles = 9,
};

// Where one format keeps its parts. Offsets count from the start of the file, load
// address included; -1 marks a part the format does not store.
struct NativeImageFormatRow {
    NativeImageFormat format = NativeImageFormat::Unknown;
    const char* name = "";
    CanvasMode mode = CanvasMode::Hires;
    // The first entry is the format's own; the others are accepted on reading.
    std::array<quint16, 3> loadAddresses {};
    int fileSize = 0;
    // How many bytes short of fileSize a file may be and still be read.
    int fileSizeSlack = 0;
    int bitmapOffset = -1;
    int screenOffset = -1;
    int colorOffset = -1;
    int backgroundOffset = -1;
    int borderOffset = -1;
    // File name suffixes the editor writes the format under, the preferred one first;
    // empty for the formats it only reads.
    std::array<const char*, 2> exportSuffixes {};

    bool isWritable() const { return exportSuffixes[0] != nullptr; }
    bool acceptsLoadAddress(quint16 address) const;
    bool acceptsFileSize(qsizetype size) const;
};

// The registry: one row per format, in NativeImageFormat order.
std::span<const NativeImageFormatRow> nativeImageFormatTable();
// The row of a format, or null for Unknown and values outside the table.
const NativeImageFormatRow* nativeImageFormatRow(NativeImageFormat format);

// Hires for Unknown and values outside the table.
CanvasMode nativeImageFormatMode(NativeImageFormat format);
// Empty for Unknown and values outside the table.
QString nativeImageFormatName(NativeImageFormat format);

// The format a file of this load address and size is, or Unknown.
NativeImageFormat recognizeNativeImageFormat(quint16 loadAddress, qsizetype fileSize);

// The format the editor writes a canvas of this mode as: Koala Painter for multicolor,
// Art Studio for hires.
NativeImageFormat nativeImageExportFormat(CanvasMode mode);
// The suffix the export proposes for that format ("koa", "ocp").
QString nativeImageExportSuffix(CanvasMode mode);
// The writable format a file name suffix stands for, or Unknown. Case does not matter.
NativeImageFormat nativeImageFormatForSuffix(const QString& suffix);
