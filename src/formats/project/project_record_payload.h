#pragma once

#include <QByteArray>
#include <QtGlobal>

// The little-endian fields of one record's payload. Each payload is decoded from its own
// buffer, so a field that runs past the payload's end cannot reach into the next record:
// the reader fails instead, and stays failed, reading zeros from then on.
class RecordPayloadReader {
public:
    explicit RecordPayloadReader(const QByteArray& payload)
        : m_payload(payload)
    {
    }

    qint8 readI8() { return qint8(readUnsigned(1)); }
    qint16 readI16() { return qint16(readUnsigned(2)); }
    qint32 readI32() { return qint32(readUnsigned(4)); }
    QByteArray readBytes(qsizetype count);
    void skip(qsizetype count);

    bool failed() const { return m_failed; }
    qsizetype remaining() const { return m_payload.size() - m_position; }

private:
    quint32 readUnsigned(int width);
    bool take(qsizetype count);

    const QByteArray& m_payload;
    qsizetype m_position = 0;
    bool m_failed = false;
};

class RecordPayloadWriter {
public:
    void writeI8(int value) { m_bytes.append(char(value)); }
    void writeI16(int value) { writeUnsigned(quint32(value), 2); }
    void writeI32(qint32 value) { writeUnsigned(quint32(value), 4); }
    void writeBytes(const QByteArray& bytes) { m_bytes.append(bytes); }
    void writeBytes(const char* data, qsizetype size) { m_bytes.append(data, size); }

    const QByteArray& bytes() const { return m_bytes; }
    void clear() { m_bytes.clear(); }

private:
    void writeUnsigned(quint32 value, int width);

    QByteArray m_bytes;
};
