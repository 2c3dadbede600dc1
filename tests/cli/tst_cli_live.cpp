// `kromel-cli live` as a process against a fake device on 127.0.0.1: it shows the project,
// mirrors a re-saved file into the running machine and stops at once on SIGTERM.
#include "device/live_link.h"
#include "document/project.h"
#include "formats/project/project_file_writer.h"

#include "support/fake_ultimate_device.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCliLive : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mirrorsSavesUntilTerminated()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("live.krm"));
        Project project(CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {CanvasLayout::SideBorders});
        project.colormap().fillRect(QRect(20, 30, 40, 50), 5);
        QVERIFY(saveProjectFile(project, path, {}).ok);

        FakeUltimateDevice device;
        device.setRunFrames(40);
        QProcess cli;
        cli.start(QStringLiteral(KROMEL_CLI), {"live", path, "--host", device.host(), "--timeout", "2"});
        QVERIFY(cli.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(deviceShows(device, project), 10000);
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += cli.readAllStandardOutput()).startsWith("Showing "), 5000);
        const int programs = int(device.requests().size());

        // A save, as the editor makes it: a new file renamed over the old one.
        project.colormap().fillRect(QRect(60, 100, 8, 16), 2);
        project.assignBackgroundIndex(6);
        QVERIFY(saveProjectFile(project, path, {}).ok);
        QTRY_VERIFY_WITH_TIMEOUT(deviceShows(device, project), 10000);
        int runs = 0;
        for (const FakeUltimateDevice::Request& request : device.requests().mid(programs))
            runs += request.path.startsWith("/v1/runners:run_prg");
        QCOMPARE(runs, 0);
        project.colormap().fillRect(QRect(0, 0, 12, 200), 9);
        QVERIFY(saveProjectFile(project, path, {}).ok);
        QTRY_VERIFY_WITH_TIMEOUT(deviceShows(device, project), 10000);

        QElapsedTimer clock;
        clock.start();
        cli.terminate();
        QVERIFY(cli.waitForFinished(1000));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 0);
    }

    void aFailingDeviceEndsIt()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("live.krm"));
        QVERIFY(saveProjectFile(Project(), path, {}).ok);
        FakeUltimateDevice device;
        device.setStatus("/v1/runners:run_prg", 500);
        QProcess cli;
        cli.start(QStringLiteral(KROMEL_CLI), {"live", path, "--host", device.host(), "--timeout", "1"});
        QVERIFY(cli.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(cli.state(), QProcess::NotRunning, 5000);
        QCOMPARE(cli.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardError()),
            QStringLiteral("The Live Link to %1 stopped: Device reported an error (HTTP 500).\n")
                .arg(device.host()));
    }
};

QTEST_GUILESS_MAIN(TestCliLive)
#include "tst_cli_live.moc"
