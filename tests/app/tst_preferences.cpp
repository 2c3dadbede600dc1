#include "app/preferences.h"
#include "app/session_settings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Every test works on an INI file of its own, never on the user's settings.
class TestPreferences : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void valuesSurviveWriteAndRead();
    void generalValuesSurviveARestart();
    void sessionRestoresInDependencyOrder();

private:
    QString iniPath() const { return m_dir->filePath(QStringLiteral("settings.ini")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

// Records what a restore does, one word per step.
class RecordingTarget : public SessionRestoreTarget {
public:
    QStringList steps;

    void applySettingsPreferences() override { steps << QStringLiteral("preferences"); }
    void setToggleChecked(SessionToggle toggle, bool on) override
    {
        steps << QStringLiteral("t%1=%2").arg(int(toggle)).arg(on);
    }
    void setReferenceLayerOpacity(int percent) override
    {
        steps << QStringLiteral("opacity=%1").arg(percent);
    }
    void setDisplayPixelAspect(double aspect) override { steps << QStringLiteral("aspect=%1").arg(aspect); }
    void restoreGeometries(const QByteArray& window, const QByteArray& preview) override
    {
        steps << QStringLiteral("geometry=") + QString::fromLatin1(window + preview);
    }
};

Preferences unusualPreferences()
{
    Preferences preferences;
    preferences.invertZoomWheel = true;
    preferences.bindZoomToCanvas = true;
    preferences.smoothImageScaling = true;
    preferences.nativeFileDialogs = true;
    preferences.toolFlyoutHoverDelaySeconds = 1.2;
    preferences.toolFlyoutLeaveGraceSeconds = 0.0;
    preferences.ultimateHost = QStringLiteral("10.0.0.7");
    preferences.ultimateTimeoutSeconds = 12.5;
    preferences.emulatorProgram = QStringLiteral("/opt/vice/bin/x64sc");
    preferences.autosave = false;
    preferences.autosaveIntervalSeconds = 300;
    return preferences;
}

} // namespace

void TestPreferences::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestPreferences::valuesSurviveWriteAndRead()
{
    Preferences preferences = unusualPreferences();
    preferences.ultimateHost = QStringLiteral("  10.0.0.7\t");
    SessionSettings session;
    for (int i = 0; i < sessionToggleCount; ++i)
        session.setToggle(SessionToggle(i), i % 2 == 0);
    session.referenceLayerOpacity = 35;
    session.displayPixelAspect = 0.9375;
    session.windowGeometry = QByteArray("\x01\x02window", 8);
    session.previewGeometry = QByteArray("preview");
    {
        QSettings settings(iniPath(), QSettings::IniFormat);
        writePreferences(settings, preferences);
        writeSessionSettings(settings, session);
    }
    QSettings settings(iniPath(), QSettings::IniFormat);
    QCOMPARE(readPreferences(settings), unusualPreferences());
    QCOMPARE(readSessionSettings(settings), session);
}

void TestPreferences::generalValuesSurviveARestart()
{
    // What the store writes for the "general/" keys, as a later run finds it on disk.
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[%General]\ninvertZoomWheel=true\nautosave=false\nautosaveIntervalSeconds=300\n");
    }
    const QSettings settings(iniPath(), QSettings::IniFormat);
    const Preferences read = readPreferences(settings);
    QVERIFY(read.invertZoomWheel);
    QVERIFY(!read.autosave);
    QCOMPARE(read.autosaveIntervalSeconds, 300);
}

void TestPreferences::sessionRestoresInDependencyOrder()
{
    SessionSettings session;
    session.referenceLayerOpacity = 40;
    session.displayPixelAspect = 0.75;
    session.windowGeometry = "W";
    session.previewGeometry = "P";
    session.setToggle(SessionToggle::ShowPreviewWindow, true);

    RecordingTarget target;
    restoreSession(session, target);

    // Preferences first, the preview's own toggles after the geometry, its visibility last.
    QCOMPARE(target.steps.join(QLatin1Char(' ')),
        QStringLiteral("preferences t0=0 t1=0 t2=0 t3=0 t4=0 t5=1 t6=0 opacity=40 aspect=0.75 geometry=WP "
                       "t7=0 t8=0 t9=0 t10=1"));
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
