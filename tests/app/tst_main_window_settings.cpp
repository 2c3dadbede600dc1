#include "app/main_window.h"
#include "app/settings_keys.h"
#include "document/project.h"
#include "support/window_actions.h"
#include "view/canvas_area.h"
#include "view/preview_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestMainWindowSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void sessionWrittenAtCloseComesBackAtStart();

private:
    std::unique_ptr<QTemporaryDir> m_settingsDir;
};

// Every test starts from an empty store of its own, never the user's.
void TestMainWindowSettings::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    QCoreApplication::setOrganizationName(QStringLiteral("kromelstudio-test"));
    QCoreApplication::setApplicationName(QStringLiteral("KROMEL-settings"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir->path());
}

void TestMainWindowSettings::cleanup()
{
    m_settingsDir.reset();
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

QTEST_MAIN(TestMainWindowSettings)
#include "tst_main_window_settings.moc"
