#include "support/fake_ultimate_device.h"

#include "support/c64_model.h"

#include "document/project.h"
#include "formats/prg/live_memory_image.h"
#include "formats/prg_export_colors.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>

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
    const int status = handle(request);
    socket->write(QByteArray("HTTP/1.1 ") + QByteArray::number(status) + " X\r\nContent-Length: 2\r\n"
        + "Connection: close\r\n\r\nok");
    socket->disconnectFromHost();
}

int FakeUltimateDevice::writeRequests() const
{
    int count = 0;
    for (const Request& request : m_requests)
        count += request.path.startsWith("/v1/machine:writemem");
    return count;
}

int FakeUltimateDevice::handle(const Request& request)
{
    const qsizetype question = request.path.indexOf('?');
    const QByteArray path = question < 0 ? request.path : request.path.left(question);
    const int status = m_status.value(path, 200);
    if (status >= 400)
        return status;
    if (path == "/v1/runners:run_prg" && request.method == "POST") {
        runProgram(request.body);
        return status;
    }
    if (path != "/v1/machine:writemem")
        return status;

    const QUrlQuery query(QString::fromLatin1(request.path.mid(question + 1)));
    bool addressOk = false;
    const int address = query.queryItemValue(QStringLiteral("address")).toInt(&addressOk, 16);
    QByteArray data;
    if (request.method == "PUT") {
        const QString hex = query.queryItemValue(QStringLiteral("data"));
        data = QByteArray::fromHex(hex.toLatin1());
        if (hex.size() != 2 * data.size() || data.isEmpty())
            return 400;
    } else if (request.method == "POST") {
        data = request.body;
    } else {
        return 405;
    }
    if (question < 0 || !addressOk || address < 0 || address + data.size() > m_memory.size()
        || data.isEmpty())
        return 400;
    std::copy(data.begin(), data.end(), m_memory.begin() + address);
    m_bytesWritten += data.size();
    return status;
}

void FakeUltimateDevice::runProgram(const QByteArray& program)
{
    if (program.size() < 3)
        return;
    const int load = uchar(program[0]) | uchar(program[1]) << 8;
    if (load + program.size() - 2 > m_memory.size())
        return;
    std::copy(program.begin() + 2, program.end(), m_memory.begin() + load);
    if (m_runFrames <= 0)
        return;
    C64Model c64(C64Model::Video::Pal);
    c64.loadPrg(program);
    c64.setPc(quint16(load));
    c64.runUntilFrame(m_runFrames);
    for (int address = 0; address < 0x10000; ++address)
        m_memory[address] = char(c64.ram(quint16(address)));
    for (int reg = 0; reg < 0x2F; ++reg)
        m_memory[0xD000 + reg] = char(c64.vicRegister(reg));
    for (int i = 0; i < 0x400; ++i)
        m_memory[0xD800 + i] = char(c64.colorRam(i) & 15);
}

bool deviceShows(const FakeUltimateDevice& device, const Project& project)
{
    const LiveMemoryImage image = encodeLiveMemoryImage(project.colormap(), project.mode(), project.layout(),
        PrgExportColors::fromSlots(project.colorSlots()), nullptr);
    for (const MemorySpan& span : image.spans) {
        if (device.memory().mid(span.address, span.bytes.size()) != span.bytes)
            return false;
    }
    return !image.isEmpty();
}
