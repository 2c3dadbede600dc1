#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class Project;
class QTcpServer;
class QTcpSocket;

// An HTTP server on 127.0.0.1 that plays an Ultimate device for the tests: it answers
// each path with a chosen status, or stalls, or hangs up, and keeps every request it saw.
// It listens on the loopback address only.
//
// Like the device it keeps the C64's 64 KB: a program sent to run is loaded at its load
// address and, when asked to, run on the C64 model for a while, after which the memory
// is what the program left (RAM, colour RAM under $D800 and the VIC's registers under
// $D000, as the I/O area shows them). Memory writes go straight into that image.
class FakeUltimateDevice : public QObject {
    Q_OBJECT

public:
    enum class Behaviour { Answer, Stall, HangUp };

    struct Request {
        QByteArray method;
        QByteArray path;
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    FakeUltimateDevice();
    ~FakeUltimateDevice() override;

    // "127.0.0.1:PORT", as the host setting holds it.
    QString host() const;
    void setBehaviour(Behaviour behaviour) { m_behaviour = behaviour; }
    // Paths (without the query) that have no status answer 200.
    void setStatus(const QByteArray& path, int status) { m_status.insert(path, status); }
    // Frames to run a received program on the C64 model before answering; 0 only loads it.
    void setRunFrames(int frames) { m_runFrames = frames; }
    const QByteArray& memory() const { return m_memory; }
    int writeRequests() const;
    qsizetype bytesWritten() const { return m_bytesWritten; }
    const QList<Request>& requests() const { return m_requests; }

private:
    void readFrom(QTcpSocket* socket);
    int handle(const Request& request);
    void runProgram(const QByteArray& program);

    QTcpServer* m_server = nullptr;
    Behaviour m_behaviour = Behaviour::Answer;
    QHash<QByteArray, int> m_status;
    QHash<QTcpSocket*, QByteArray> m_pending;
    QList<Request> m_requests;
    QByteArray m_memory = QByteArray(0x10000, '\0');
    int m_runFrames = 0;
    qsizetype m_bytesWritten = 0;
};

// Whether the device's memory holds the project's picture as the live link keeps it there.
bool deviceShows(const FakeUltimateDevice& device, const Project& project);
