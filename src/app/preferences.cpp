#include "app/preferences.h"

#include "app/settings_keys.h"

#include <QCoreApplication>
#include <QSettings>

#include <cmath>

namespace {

// The store's INI files write the group "general" as "%General", which a later run reads
// back as "General": without this second look every value of the group would fall back
// to its default at the next start.
QVariant storedValue(const QSettings& settings, const char* key, const QVariant& fallback)
{
    const QString name = QString::fromLatin1(key);
    if (settings.contains(name) || !name.startsWith(QLatin1String("general/")))
        return settings.value(name, fallback);
    return settings.value(QLatin1Char('G') + name.mid(1), fallback);
}

} // namespace

Preferences readPreferences(const QSettings& settings)
{
    const Preferences defaults;
    Preferences read;
    read.invertZoomWheel
        = storedValue(settings, settingsKey::invertZoomWheel, defaults.invertZoomWheel).toBool();
    read.bindZoomToCanvas
        = storedValue(settings, settingsKey::bindZoomToCanvas, defaults.bindZoomToCanvas).toBool();
    read.smoothImageScaling
        = storedValue(settings, settingsKey::smoothImageScaling, defaults.smoothImageScaling).toBool();
    read.nativeFileDialogs
        = storedValue(settings, settingsKey::nativeFileDialogs, defaults.nativeFileDialogs).toBool();
    read.toolFlyoutHoverDelaySeconds = storedValue(
        settings, settingsKey::toolFlyoutHoverDelaySeconds, defaults.toolFlyoutHoverDelaySeconds)
                                           .toDouble();
    read.toolFlyoutLeaveGraceSeconds = storedValue(
        settings, settingsKey::toolFlyoutLeaveGraceSeconds, defaults.toolFlyoutLeaveGraceSeconds)
                                           .toDouble();
    read.ultimateHost = storedValue(settings, settingsKey::ultimateHost, defaults.ultimateHost).toString();
    read.ultimateTimeoutSeconds
        = storedValue(settings, settingsKey::ultimateTimeoutSeconds, defaults.ultimateTimeoutSeconds)
              .toDouble();
    read.emulatorProgram
        = storedValue(settings, settingsKey::emulatorProgram, defaults.emulatorProgram).toString();
    read.autosave = storedValue(settings, settingsKey::autosave, defaults.autosave).toBool();
    read.autosaveIntervalSeconds
        = storedValue(settings, settingsKey::autosaveIntervalSeconds, defaults.autosaveIntervalSeconds)
              .toInt();
    return read;
}

void writePreferences(QSettings& settings, const Preferences& preferences)
{
    settings.setValue(settingsKey::invertZoomWheel, preferences.invertZoomWheel);
    settings.setValue(settingsKey::bindZoomToCanvas, preferences.bindZoomToCanvas);
    settings.setValue(settingsKey::smoothImageScaling, preferences.smoothImageScaling);
    settings.setValue(settingsKey::nativeFileDialogs, preferences.nativeFileDialogs);
    settings.setValue(settingsKey::ultimateHost, preferences.ultimateHost.trimmed());
    settings.setValue(settingsKey::ultimateTimeoutSeconds, preferences.ultimateTimeoutSeconds);
    settings.setValue(settingsKey::emulatorProgram, preferences.emulatorProgram.trimmed());
    settings.setValue(settingsKey::toolFlyoutHoverDelaySeconds, preferences.toolFlyoutHoverDelaySeconds);
    settings.setValue(settingsKey::toolFlyoutLeaveGraceSeconds, preferences.toolFlyoutLeaveGraceSeconds);
    settings.setValue(settingsKey::autosave, preferences.autosave);
    settings.setValue(settingsKey::autosaveIntervalSeconds, preferences.autosaveIntervalSeconds);
}

int flyoutIntervalMs(double seconds)
{
    return int(std::round(seconds * 1000.0));
}

void applyFileDialogPreference(const Preferences& preferences)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, !preferences.nativeFileDialogs);
}
