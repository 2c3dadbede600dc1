// Options > Live Link to Ultimate Device against a fake device on 127.0.0.1: it sends the
// picture, follows window commands, shows its state in the status bar, and unchecks itself
// with a message when the device fails.
#include "app/settings_keys.h"
#include "document/project.h"
#include "support/fake_ultimate_device.h"
#include "support/window_actions.h"
#include "window_test_kit.h"

#include <QLabel>
#include <QSettings>
#include <QTest>

class TestLiveLinkCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useOwnSettings(QStringLiteral("KROMEL-live")); }

    void mirrorsTheCanvasUntilTheDeviceFails()
    {
        FakeUltimateDevice device;
        device.setRunFrames(40);
        QSettings().setValue(settingsKey::ultimateHost, device.host());
        QSettings().setValue(settingsKey::ultimateTimeoutSeconds, 1.0);
        MainWindow window;
        window.documentPrompts().askToSaveChanges = [] { return SaveChangesAnswer::Discard; };
        window.newMulticolorSpritesCanvas();

        QAction* live = findAction(window, QStringLiteral("Live Link to Ultimate Device"));
        QVERIFY(live->isCheckable() && live->isEnabled());
        auto* indicator = window.findChild<QLabel*>(QStringLiteral("liveLinkIndicator"));
        QVERIFY(indicator && indicator->isHidden());

        live->trigger();
        QVERIFY(live->isChecked());
        QVERIFY(!indicator->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(indicator->text(), QStringLiteral("Live: connected"), 10000);
        QVERIFY(deviceShows(device, window.project()));

        // Window commands reach the device without anyone waiting for it.
        window.project().colormap().fillRect(QRect(10, 20, 30, 40), 5);
        window.flipCanvas(Qt::Horizontal);
        QTRY_VERIFY_WITH_TIMEOUT(deviceShows(device, window.project()), 10000);

        device.setStatus("/v1/machine:writemem", 500);
        window.flipCanvas(Qt::Vertical);
        QTRY_VERIFY_WITH_TIMEOUT(!live->isChecked(), 5000);
        QCOMPARE(indicator->text(), QStringLiteral("Live: failed"));
        QCOMPARE(statusMessage(window),
            QStringLiteral("The Live Link to %1 stopped: Device reported an error (HTTP 500).")
                .arg(device.host()));

        // Only a canvas that can become a program can be shown.
        window.newDualHiresCanvas();
        QVERIFY(!live->isEnabled());
    }
};

QTEST_MAIN(TestLiveLinkCommand)
#include "tst_live_link_command.moc"
