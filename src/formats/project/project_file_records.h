#pragma once

#include "formats/project/project_file_format.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// One record as read from the file: its type and its payload bytes.
struct ProjectFileRecord {
    qint16 type = 0;
    QByteArray payload;
};

// Reads the 8-byte header and checks the signature and that the version is one this
// program reads.
bool readProjectFileHeader(QIODevice* device, int* version, QString* error);

// Reads the next record. Only one record's payload is in memory at a time, and a size
// field that promises more than the device holds fails before anything is allocated.
bool readProjectFileRecord(QIODevice* device, ProjectFileRecord* record, QString* error);

// Writes one record; false when the device took fewer bytes.
bool writeProjectFileRecord(QIODevice* device, ProjectRecordType type, const QByteArray& payload);
