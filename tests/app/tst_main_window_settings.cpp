#include "app/settings_keys.h"
#include "document/project.h"
#include "support/window_actions.h"
#include "view/canvas_area.h"
#include "view/preview_area.h"
#include "view/preview_window.h"
#include "window_test_kit.h"

#include <QAction>
#include <QScreen>
#include <QSettings>
#include <QTest>

class TestMainWindowSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void sessionWrittenAtCloseComesBackAtStart();
    void previewOpensAtAUsefulSizeAndOnlyAShownOneIsSaved();
};

// Every test starts from an empty store of its own, never the user's.
void TestMainWindowSettings::init()
{
    useOwnSettings(QStringLiteral("KROMEL-settings"));
    QSettings().clear();
}

void TestMainWindowSettings::sessionWrittenAtCloseComesBackAtStart()
{
    {
        QSettings settings;
        settings.setValue(settingsKey::referenceLayerOpacity, 30);
    }
    {
        // The first start, with no geometry saved, opens over most of the screen.
        MainWindow window;
        const QRect available = window.screen()->availableGeometry();
        QCOMPARE(window.size(), QSize(qRound(available.width() * 0.8), qRound(available.height() * 0.8)));
        QCOMPARE(window.geometry().center(), available.center());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        findAction(window, "Pixel-Perfect Strokes")->setChecked(true);
        findAction(window, "Pressure-Widened Strokes")->setChecked(false);
        findAction(window, "PAL Pixels")->trigger();
        window.resize(640, 480);
        findAction(window, "Show Preview Window")->setChecked(true);
        window.previewWindow()->resize(333, 222);
        QVERIFY(window.close());
    }
    {
        const QSettings settings;
        QCOMPARE(settings.value(settingsKey::displayPixelAspect).toDouble(), 0.9375);
        QCOMPARE(settings.value(settingsKey::pressureWidening).toBool(), false);
        // Values this window does not own yet are kept as they were.
        QCOMPARE(settings.value(settingsKey::referenceLayerOpacity).toInt(), 30);
    }

    MainWindow window;
    QVERIFY(window.canvasArea()->brush().pixelPerfect());
    QVERIFY(!window.canvasArea()->pressureWidening());
    QVERIFY(findAction(window, "PAL Pixels")->isChecked());
    QCOMPARE(window.project().transform().displayPixelAspect(), 0.9375);
    QCOMPARE(window.size(), QSize(640, 480));
    QCOMPARE(window.previewWindow()->size(), QSize(333, 222));
}

// A run that never shows the preview saves no geometry for it: its size then is the
// toolkit's placeholder. The first open, and an open after an older run saved such a
// sliver, shows the canvas in its frame at twice its size, within the screen.
void TestMainWindowSettings::previewOpensAtAUsefulSizeAndOnlyAShownOneIsSaved()
{
    QByteArray sliver;
    {
        MainWindow window;
        sliver = window.previewWindow()->saveGeometry();
        QVERIFY(window.close());
    }
    QVERIFY(QSettings().value(settingsKey::previewGeometry).toByteArray().isEmpty());

    const auto verifyUsefulFirstOpen = [](MainWindow& window) {
        PreviewWindow* preview = window.previewWindow();
        findAction(window, "Show Preview Window")->setChecked(true);
        QVERIFY(preview->isVisible());
        // The hires canvas in its frame, 416 x 301, at twice its size, kept within 90 %
        // of the screen with its shape.
        QCOMPARE(preview->area()->sizeHint(), QSize(832, 602));
        const QSize room = window.screen()->availableGeometry().size() * 0.9;
        QSize expected(832, 602);
        if (expected.width() > room.width() || expected.height() > room.height())
            expected.scale(room, Qt::KeepAspectRatio);
        QCOMPARE(preview->size(), expected);
    };
    {
        MainWindow window;
        verifyUsefulFirstOpen(window);
    }
    QSettings().setValue(settingsKey::previewGeometry, sliver);
    MainWindow window;
    verifyUsefulFirstOpen(window);
}

QTEST_MAIN(TestMainWindowSettings)
#include "tst_main_window_settings.moc"
