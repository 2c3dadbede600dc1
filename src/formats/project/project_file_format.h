#pragma once

#include <QByteArray>
#include <QtGlobal>

// The fixed facts of the ".krm" layout: an 8-byte header (signature and version) and
// then length-prefixed records, all little-endian.

inline constexpr char projectFileSignature[] = "\xFEkrprj"; // the terminating zero is the 7th byte
inline constexpr int projectFileSignatureSize = 7;
inline constexpr int projectFileHeaderSize = 8;

// Version 10 files come from before border alignments and the sprite count policy were
// stored; versions 9 and older are the GTK editor's and use another layout altogether.
inline constexpr int projectFileVersion = 11;
inline constexpr int oldestProjectFileVersion = 10;

// A record's size counts its 2-byte type and its payload. The cap keeps a damaged size
// field from asking for gigabytes; a 4096 x 4096 canvas stored raw is well below it.
inline constexpr quint32 maxProjectRecordSize = 1u << 28;
inline constexpr qint32 maxPixelBlobLength = 1 << 28;
inline constexpr int projectRecordHeaderSize = 6;

inline constexpr int maxCanvasDimension = 4096;
inline constexpr int maxStoredScreensAcross = 8;
// Version 10 kept only background, border and the two side sprite multicolours.
inline constexpr int projectFileVersion10SlotCount = 4;

enum class ProjectRecordType : qint16 {
    ProjectState = 1,
    HistoryNode = 2,
    RegionChange = 3,
    ColorIndexChange = 4,
    BorderAlignmentChange = 5,
};

enum class PixelBlobEncoding : qint8 {
    Raw = 0,
    Compressed = 1,
};

inline QByteArray projectFileHeader()
{
    QByteArray header(projectFileSignature, projectFileSignatureSize);
    header.append(char(projectFileVersion));
    return header;
}
