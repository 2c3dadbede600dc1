#include "support/fake_ultimate_device.h"

#include <QTcpServer>
#include <QTcpSocket>

FakeUltimateDevice::FakeUltimateDevice()
    : m_server(new QTcpServer(this))
{
    if (!m_server->listen(QHostAddress::LocalHost))
        qFatal("the fake device could not listen on 127.0.0.1");
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            if (m_behaviour == Behaviour::HangUp) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this, [this, socket] { m_pending.remove(socket); });
        }
    });
}

FakeUltimateDevice::~FakeUltimateDevice() = default;

QString FakeUltimateDevice::host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_server->serverPort());
}

void FakeUltimateDevice::readFrom(QTcpSocket* socket)
{
    QByteArray& buffer = m_pending[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    Request request {requestLine.value(0), requestLine.value(1), {}, {}};
    for (const QByteArray& line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return;
    request.body = buffer.mid(headerEnd + 4, length);
    m_pending.remove(socket);
    m_requests.append(request);
    if (m_behaviour == Behaviour::Stall)
        return;
    const int status = m_status.value(request.path, 200);
    socket->write(QByteArray("HTTP/1.1 ") + QByteArray::number(status) + " X\r\nContent-Length: 2\r\n"
        + "Connection: close\r\n\r\nok");
    socket->disconnectFromHost();
}
