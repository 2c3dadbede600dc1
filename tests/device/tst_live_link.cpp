// The live link against a fake device on 127.0.0.1 that runs the programs it gets on our
// C64 model: after edits of every kind the device's memory holds the current canvas's
// encoding, an edit costs few bytes and bursts few requests, and every failure ends the
// link with its message while the document stays as it was.
#include "device/live_link.h"
#include "document/project.h"
#include "formats/prg/live_memory_image.h"
#include "support/fake_ultimate_device.h"
#include "support/paint_driver.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

namespace {

constexpr int settledFrames = 40;
constexpr int waitMs = 10000;

LiveLink::Settings settingsFor(const QString& host, double timeoutSeconds = 2)
{
    LiveLink::Settings settings;
    settings.host = host;
    settings.timeoutSeconds = timeoutSeconds;
    settings.startDelayMs = 20;
    return settings;
}

// The first address where the device's memory and the canvas's encoding part, or -1.
int firstMismatch(const FakeUltimateDevice& device, const Project& project)
{
    const LiveMemoryImage image = encodeLiveMemoryImage(project.colormap(), project.mode(), project.layout(),
        PrgExportColors::fromSlots(project.colorSlots()), nullptr);
    if (image.isEmpty())
        return 0x10000;
    for (const MemorySpan& span : image.spans) {
        for (int i = 0; i < span.bytes.size(); ++i) {
            if (device.memory()[span.address + i] != span.bytes[i])
                return span.address + i;
        }
    }
    return -1;
}

int requestsTo(const FakeUltimateDevice& device, const QByteArray& method, const QByteArray& path)
{
    int count = 0;
    for (const FakeUltimateDevice::Request& request : device.requests())
        count += request.method == method && request.path.startsWith(path);
    return count;
}

} // namespace

class TestLiveLink : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mirrorsEveryKindOfEdit_data() { addEveryModeAndLayout(); }
    void mirrorsEveryKindOfEdit()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        FakeUltimateDevice device;
        device.setRunFrames(settledFrames);
        PaintDriver driver(mode, layout);
        Project& project = driver.project();
        LiveLink link;
        QString error;
        QVERIFY2(link.start(settingsFor(device.host()), liveCanvasOf(project), &error), qPrintable(error));
        QTRY_VERIFY_WITH_TIMEOUT(link.isCaughtUp(), waitMs);
        QCOMPARE(requestsTo(device, "GET", "/v1/version"), 1);
        QCOMPARE(requestsTo(device, "POST", "/v1/runners:run_prg"), 1);
        QCOMPARE(firstMismatch(device, project), -1);

        connect(&driver.area(), &CanvasArea::historyChanged, &link,
            [&] { link.showCanvas(liveCanvasOf(project)); });
        const auto settle = [&](const QString& step) {
            link.showCanvas(liveCanvasOf(project));
            QTRY_VERIFY2_WITH_TIMEOUT(
                link.isCaughtUp(), qPrintable(step + QStringLiteral(": ") + link.message()), waitMs);
            const int mismatch = firstMismatch(device, project);
            QVERIFY2(mismatch < 0,
                qPrintable(
                    QStringLiteral("%1: device memory differs at $%2").arg(step).arg(mismatch, 4, 16)));
        };

        const QPoint at = driver.target();
        driver.area().setPenIndex(2);
        driver.area().setPenWidth(3);
        driver.stroke({at - QPoint(20, 4), at, at + QPoint(15, 6)});
        settle("stroke");
        paintBands(driver, project.rect().center());
        settle("bands");
        driver.area().setFillToolActive(true);
        driver.area().setPenIndex(5);
        // A whole top border would be over the sprite budget; its corner is not.
        driver.stroke({layout == CanvasLayout::TopBottomBorders
                ? QPoint(1, 1) + canvasBitmapRect(mode, project.size(), project.layout()).topLeft()
                : QPoint(1, 1)});
        settle("fill");
        driver.area().setFillToolActive(false);
        driver.area().undo();
        settle("undo");
        project.assignBorderIndex(4);
        project.assignBackgroundIndex(9);
        project.assignSpriteMc0Index(13);
        project.assignTopBorderBackgroundIndex(8);
        settle("colour slots");
        Colormap imported(project.size().width(), project.size().height());
        for (int y = 0; y < imported.height(); ++y) {
            for (int x = 0; x < imported.width(); ++x)
                imported.setPixel(x, y, uchar((x / 7 + y / 5) % 16));
        }
        project.applyImageImport(imported, 0, 6, 0, true);
        if (layout == CanvasLayout::TopBottomBorders)
            project.reduceBorderSpritesToBudget();
        settle("import");

        // Short runs go in the URL, a whole new picture as a body.
        QVERIFY(requestsTo(device, "PUT", "/v1/machine:writemem?address=") > 0);
        QVERIFY(requestsTo(device, "POST", "/v1/machine:writemem?address=") > 0);
        QCOMPARE(requestsTo(device, "POST", "/v1/runners:run_prg"), 1);
        QCOMPARE(link.state(), LiveLink::State::Live);
    }

    void editsCostFewBytesAndBurstsFewRequests()
    {
        FakeUltimateDevice device;
        device.setRunFrames(settledFrames);
        Project project(CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {CanvasLayout::SideBorders});
        LiveLink link;
        QVERIFY(link.start(settingsFor(device.host()), liveCanvasOf(project), nullptr));
        QTRY_VERIFY_WITH_TIMEOUT(link.isCaughtUp(), waitMs);

        // One cell: a bitmap run, the screen's two copies and the colour RAM.
        const qsizetype before = device.bytesWritten();
        project.colormap().fillRect(QRect(40, 80, 4, 8), 7);
        link.showCanvas(liveCanvasOf(project));
        QTRY_VERIFY_WITH_TIMEOUT(link.isCaughtUp(), waitMs);
        QVERIFY2(device.bytesWritten() - before <= 64,
            qPrintable(QString::number(device.bytesWritten() - before)));
        QCOMPARE(firstMismatch(device, project), -1);

        // 100 edits as fast as a hand paints: a cell each, with events between them.
        const int writesBefore = device.writeRequests();
        for (int edit = 0; edit < 100; ++edit) {
            project.colormap().fillRect(
                QRect(4 * (edit % 40), 8 * (edit / 40) + 40, 4, 8), uchar(2 + edit % 5));
            link.showCanvas(liveCanvasOf(project));
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY_WITH_TIMEOUT(link.isCaughtUp(), waitMs);
        QCOMPARE(firstMismatch(device, project), -1);
        const int writes = device.writeRequests() - writesBefore;
        QVERIFY2(writes <= 40, qPrintable(QString::number(writes)));

        // Another layout cannot be written over the running program: it is sent anew.
        Project other(CanvasMode::Hires, 0, 0, CanvasLayoutSpec {CanvasLayout::BitmapOnly});
        other.colormap().fillRect(QRect(10, 10, 50, 50), 3);
        link.showCanvas(liveCanvasOf(other));
        QTRY_VERIFY_WITH_TIMEOUT(link.isCaughtUp(), waitMs);
        QCOMPARE(requestsTo(device, "POST", "/v1/runners:run_prg"), 2);
        QCOMPARE(firstMismatch(device, other), -1);
    }

    void aCanvasOverTheBudgetIsHeldBack()
    {
        FakeUltimateDevice device;
        device.setRunFrames(settledFrames);
        Project project(CanvasMode::Hires, 0, 0, CanvasLayoutSpec {CanvasLayout::TopBottomBorders});
        LiveLink link;
        QVERIFY(link.start(settingsFor(device.host()), liveCanvasOf(project), nullptr));
        QTRY_VERIFY_WITH_TIMEOUT(link.isCaughtUp(), waitMs);

        // Sprites in every column of the top border: no program can show that, so the
        // device keeps the last picture and the link says why.
        const Colormap shown = project.colormap();
        project.colormap().fillRect(QRect(0, 0, project.size().width(), 21), 1);
        link.showCanvas(liveCanvasOf(project));
        QTRY_VERIFY_WITH_TIMEOUT(link.message().startsWith(QStringLiteral("Over the sprite budget")), waitMs);
        QTRY_VERIFY_WITH_TIMEOUT(link.isCaughtUp(), waitMs);
        QCOMPARE(link.state(), LiveLink::State::Live);
        Project before(CanvasMode::Hires, 0, 0, CanvasLayoutSpec {CanvasLayout::TopBottomBorders});
        before.colormap() = shown;
        QCOMPARE(firstMismatch(device, before), -1);

        project.colormap().fillRect(QRect(30, 0, project.size().width(), 21), 0);
        link.showCanvas(liveCanvasOf(project));
        QTRY_VERIFY_WITH_TIMEOUT(link.message().isEmpty() && link.isCaughtUp(), waitMs);
        QCOMPARE(firstMismatch(device, project), -1);
    }

    void failuresEndTheLink_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("message");
        QTest::newRow("stall") << "stall" << QStringLiteral("Timeout connecting to device.");
        QTest::newRow("refused") << "refused" << QStringLiteral("Could not connect to device.");
        QTest::newRow("500") << "500" << QStringLiteral("Device reported an error (HTTP 500).");
    }
    void failuresEndTheLink()
    {
        QFETCH(QString, failure);
        QFETCH(QString, message);
        FakeUltimateDevice device;
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        Project& project = driver.project();
        LiveLink link;
        QVERIFY(link.start(settingsFor(device.host(), 0.5), liveCanvasOf(project), nullptr));
        QTRY_VERIFY_WITH_TIMEOUT(link.isCaughtUp(), waitMs);

        QString host = device.host();
        QTcpServer closed;
        if (failure == "stall") {
            device.setBehaviour(FakeUltimateDevice::Behaviour::Stall);
        } else if (failure == "refused") {
            // The device goes away: start again on a port nobody listens on.
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            host = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
            closed.close();
        } else {
            device.setStatus("/v1/machine:writemem", failure.toInt());
            device.setStatus("/v1/version", failure.toInt());
        }
        QSignalSpy failed(&link, &LiveLink::failed);
        QElapsedTimer clock;
        clock.start();
        if (failure == "refused") {
            QVERIFY(link.start(settingsFor(host, 0.5), liveCanvasOf(project), nullptr));
        } else {
            driver.area().setPenIndex(6);
            driver.stroke({QPoint(10, 10), QPoint(60, 40)});
            link.showCanvas(liveCanvasOf(project));
        }
        const Colormap edited = project.colormap();
        const int entries = project.history().count();
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 3000);
        // Within the half-second time-out, with room for a loaded machine.
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(link.state(), LiveLink::State::Failed);
        QCOMPARE(failed.first().first().toString(),
            QStringLiteral("The Live Link to %1 stopped: %2").arg(host, message));
        QCOMPARE(link.message(), failed.first().first().toString());

        // The document keeps every edit, and a failed link sends nothing more.
        QVERIFY(project.colormap() == edited);
        QCOMPARE(project.history().count(), entries);
        const qsizetype requests = device.requests().size();
        link.showCanvas(liveCanvasOf(project));
        QTest::qWait(50);
        QCOMPARE(device.requests().size(), requests);
    }
};

QTEST_MAIN(TestLiveLink)
#include "tst_live_link.moc"
