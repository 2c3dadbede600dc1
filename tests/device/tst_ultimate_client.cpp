// The device link against a fake device on 127.0.0.1: the exact requests, every answer's
// message, and a Cancel that stops a stalled request at once.
#include "device/ultimate_client.h"
#include "support/fake_ultimate_device.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

class TestUltimateClient : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void timeoutsAreClamped()
    {
        QCOMPARE(ultimateTimeoutMs(0), 100);
        QCOMPARE(ultimateTimeoutMs(2.5), 2500);
        QCOMPARE(ultimateTimeoutMs(120), 60000);
    }

    void sendsTheProgramAsItIs()
    {
        FakeUltimateDevice device;
        const QByteArray prg = QByteArray::fromHex("001e") + QByteArray(9513, '\x42');
        QString error;
        QVERIFY(pollUltimateDevice(device.host(), 2, &error, {}));
        QVERIFY(sendPrgToUltimateDevice(prg, device.host(), 2, &error, {}));
        QVERIFY(error.isEmpty());
        QCOMPARE(device.requests().size(), 2);
        const FakeUltimateDevice::Request& version = device.requests().at(0);
        QCOMPARE(version.method + ' ' + version.path, QByteArray("GET /v1/version"));
        const FakeUltimateDevice::Request& run = device.requests().at(1);
        QCOMPARE(run.method + ' ' + run.path, QByteArray("POST /v1/runners:run_prg"));
        QCOMPARE(run.headers.value("content-type"), QByteArray("application/octet-stream"));
        QCOMPARE(run.body, prg);
    }

    void everyFailureHasItsMessage()
    {
        FakeUltimateDevice device;
        QString error;
        device.setStatus("/v1/runners:run_prg", 500);
        QVERIFY(!sendPrgToUltimateDevice("prg", device.host(), 2, &error, {}));
        QCOMPARE(error, QStringLiteral("Device reported an error (HTTP 500)."));

        device.setBehaviour(FakeUltimateDevice::Behaviour::HangUp);
        QVERIFY(!pollUltimateDevice(device.host(), 2, &error, {}));
        QCOMPARE(error, QStringLiteral("Could not connect to device."));

        device.setBehaviour(FakeUltimateDevice::Behaviour::Stall);
        QVERIFY(!pollUltimateDevice(device.host(), 0.2, &error, {}));
        QCOMPARE(error, QStringLiteral("Timeout connecting to device."));

        // A port nobody listens on refuses the connection.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const QString refusing = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
        closed.close();
        QVERIFY(!pollUltimateDevice(refusing, 2, &error, {}));
        QCOMPARE(error, QStringLiteral("Could not connect to device."));
    }

    void cancelStopsAStalledRequest()
    {
        FakeUltimateDevice device;
        device.setBehaviour(FakeUltimateDevice::Behaviour::Stall);
        bool cancelRequested = false;
        QElapsedTimer sinceCancel;
        QTimer::singleShot(200, [&] {
            cancelRequested = true;
            sinceCancel.start();
        });
        QString error;
        QVERIFY(!sendPrgToUltimateDevice("prg", device.host(), 30, &error, [&] { return cancelRequested; }));
        QCOMPARE(error, QStringLiteral("Cancelled."));
        // The cancel callable is asked every 50 ms; a stop takes at most one period more.
        QVERIFY2(sinceCancel.elapsed() < 100, qPrintable(QString::number(sinceCancel.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestUltimateClient)
#include "tst_ultimate_client.moc"
