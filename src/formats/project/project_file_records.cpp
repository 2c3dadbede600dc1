#include "formats/project/project_file_records.h"

#include <QIODevice>

#include <cstring>

namespace {

// Reads in slices, so that a damaged size field costs at most what the device really
// holds. A large claim on a file is first checked against the file's length; small reads
// skip that check, which costs a system call per record.
constexpr qint64 readSlice = qint64(1) << 20;

bool readExactly(QIODevice* device, qint64 count, QByteArray* bytes)
{
    if (count > readSlice && !device->isSequential() && device->size() - device->pos() < count)
        return false;
    bytes->resize(0);
    while (bytes->size() < count) {
        const qint64 start = bytes->size();
        const qint64 slice = std::min(count - start, readSlice);
        bytes->resize(start + slice);
        const qint64 got = device->read(bytes->data() + start, slice);
        if (got < 0)
            return false;
        bytes->resize(start + got);
        if (got == 0 && !device->waitForReadyRead(-1))
            return false;
    }
    return true;
}

quint32 littleEndian32(const char* bytes)
{
    const auto* data = reinterpret_cast<const uchar*>(bytes);
    return quint32(data[0]) | (quint32(data[1]) << 8) | (quint32(data[2]) << 16) | (quint32(data[3]) << 24);
}

} // namespace

bool readProjectFileHeader(QIODevice* device, int* version, QString* error)
{
    QByteArray header;
    if (!readExactly(device, projectFileHeaderSize, &header)
        || std::memcmp(header.constData(), projectFileSignature, projectFileSignatureSize) != 0) {
        *error = QStringLiteral("not a KROMEL project");
        return false;
    }
    *version = quint8(header.at(projectFileSignatureSize));
    if (*version < oldestProjectFileVersion) {
        *error
            = QStringLiteral("file version %1 was written by the GTK version of KROMEL and is not supported")
                  .arg(*version);
        return false;
    }
    if (*version > projectFileVersion) {
        *error = QStringLiteral("file version %1 is newer than this KROMEL understands (version %2)")
                     .arg(*version)
                     .arg(projectFileVersion);
        return false;
    }
    return true;
}

bool readProjectFileRecord(QIODevice* device, ProjectFileRecord* record, QString* error)
{
    QByteArray header;
    if (!readExactly(device, projectRecordHeaderSize, &header)) {
        *error = QStringLiteral("unexpected end of file in a record header");
        return false;
    }
    const quint32 size = littleEndian32(header.constData());
    if (size < 2 || size > maxProjectRecordSize) {
        *error = QStringLiteral("record size %1 is out of range").arg(size);
        return false;
    }
    record->type = qint16(quint16(quint8(header.at(4))) | quint16(quint8(header.at(5)) << 8));
    if (!readExactly(device, qint64(size) - 2, &record->payload)) {
        *error = QStringLiteral("unexpected end of file inside a record");
        return false;
    }
    return true;
}

bool writeProjectFileRecord(QIODevice* device, ProjectRecordType type, const QByteArray& payload)
{
    const quint32 size = quint32(payload.size()) + 2;
    const quint16 typeValue = quint16(type);
    const char header[projectRecordHeaderSize] = {char(size & 0xFF), char((size >> 8) & 0xFF),
        char((size >> 16) & 0xFF), char((size >> 24) & 0xFF), char(typeValue & 0xFF), char(typeValue >> 8)};
    return device->write(header, projectRecordHeaderSize) == projectRecordHeaderSize
        && device->write(payload) == payload.size();
}
