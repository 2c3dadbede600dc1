#include "app/preferences.h"

#include "app/settings_keys.h"

#include <QCoreApplication>
#include <QSettings>

#include <cmath>

Preferences readPreferences(const QSettings& settings)
{
    const Preferences defaults;
    Preferences read;
    read.invertZoomWheel = settings.value(settingsKey::invertZoomWheel, defaults.invertZoomWheel).toBool();
    read.bindZoomToCanvas = settings.value(settingsKey::bindZoomToCanvas, defaults.bindZoomToCanvas).toBool();
    read.smoothImageScaling
        = settings.value(settingsKey::smoothImageScaling, defaults.smoothImageScaling).toBool();
    read.nativeFileDialogs
        = settings.value(settingsKey::nativeFileDialogs, defaults.nativeFileDialogs).toBool();
    read.toolFlyoutHoverDelaySeconds
        = settings.value(settingsKey::toolFlyoutHoverDelaySeconds, defaults.toolFlyoutHoverDelaySeconds)
              .toDouble();
    read.toolFlyoutLeaveGraceSeconds
        = settings.value(settingsKey::toolFlyoutLeaveGraceSeconds, defaults.toolFlyoutLeaveGraceSeconds)
              .toDouble();
    read.ultimateHost = settings.value(settingsKey::ultimateHost, defaults.ultimateHost).toString();
    read.ultimateTimeoutSeconds
        = settings.value(settingsKey::ultimateTimeoutSeconds, defaults.ultimateTimeoutSeconds).toDouble();
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
    settings.setValue(settingsKey::toolFlyoutHoverDelaySeconds, preferences.toolFlyoutHoverDelaySeconds);
    settings.setValue(settingsKey::toolFlyoutLeaveGraceSeconds, preferences.toolFlyoutLeaveGraceSeconds);
}

int flyoutIntervalMs(double seconds)
{
    return int(std::round(seconds * 1000.0));
}

void applyFileDialogPreference(const Preferences& preferences)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, !preferences.nativeFileDialogs);
}
