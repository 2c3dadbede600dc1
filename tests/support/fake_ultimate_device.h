#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

// An HTTP server on 127.0.0.1 that plays an Ultimate device for the tests: it answers
// each path with a chosen status, or stalls, or hangs up, and keeps every request it saw.
// It listens on the loopback address only.
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
    // Paths without a status answer 200.
    void setStatus(const QByteArray& path, int status) { m_status.insert(path, status); }
    const QList<Request>& requests() const { return m_requests; }

private:
    void readFrom(QTcpSocket* socket);

    QTcpServer* m_server = nullptr;
    Behaviour m_behaviour = Behaviour::Answer;
    QHash<QByteArray, int> m_status;
    QHash<QTcpSocket*, QByteArray> m_pending;
    QList<Request> m_requests;
};
