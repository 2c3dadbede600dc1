#include "formats/project/project_record_payload.h"

QByteArray RecordPayloadReader::readBytes(qsizetype count)
{
    const qsizetype start = m_position;
    if (!take(count))
        return {};
    return m_payload.mid(start, count);
}

void RecordPayloadReader::skip(qsizetype count)
{
    take(count);
}

quint32 RecordPayloadReader::readUnsigned(int width)
{
    const qsizetype start = m_position;
    if (!take(width))
        return 0;
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | quint8(m_payload.at(start + i));
    return value;
}

bool RecordPayloadReader::take(qsizetype count)
{
    if (m_failed || count < 0 || count > remaining()) {
        m_failed = true;
        return false;
    }
    m_position += count;
    return true;
}

void RecordPayloadWriter::writeUnsigned(quint32 value, int width)
{
    for (int i = 0; i < width; ++i)
        m_bytes.append(char((value >> (8 * i)) & 0xFF));
}
