#include "app/session_settings.h"

#include "app/settings_keys.h"

#include <QSettings>

namespace {

// The key of each toggle, in SessionToggle order.
constexpr std::array<const char*, sessionToggleCount> toggleKeys = {
    settingsKey::showReferenceGrid,
    settingsKey::showPixelGrid,
    settingsKey::showSafeFrames,
    settingsKey::bilinearFiltering,
    settingsKey::pixelPerfectStrokes,
    settingsKey::pressureWidening,
    settingsKey::disableFillPreview,
    settingsKey::previewStayOnTop,
    settingsKey::previewMirrorHorizontally,
    settingsKey::previewCrtEmulation,
    settingsKey::previewVisible,
};

constexpr int firstPreviewToggle = int(SessionToggle::PreviewStaysOnTop);

const char* keyOf(SessionToggle toggle)
{
    return toggleKeys[std::size_t(toggle)];
}

} // namespace

std::array<bool, sessionToggleCount> SessionSettings::defaultToggles()
{
    std::array<bool, sessionToggleCount> toggles {};
    toggles[std::size_t(SessionToggle::PressureWidenedStrokes)] = true;
    return toggles;
}

SessionSettings readSessionSettings(const QSettings& settings, const SessionSettings& defaults)
{
    SessionSettings read = defaults;
    for (int i = 0; i < sessionToggleCount; ++i) {
        const auto toggle = SessionToggle(i);
        read.setToggle(toggle, settings.value(keyOf(toggle), defaults.toggle(toggle)).toBool());
    }
    read.referenceLayerOpacity
        = settings.value(settingsKey::referenceLayerOpacity, defaults.referenceLayerOpacity).toInt();
    read.displayPixelAspect
        = settings.value(settingsKey::displayPixelAspect, defaults.displayPixelAspect).toDouble();
    read.windowGeometry = settings.value(settingsKey::windowGeometry, defaults.windowGeometry).toByteArray();
    read.previewGeometry
        = settings.value(settingsKey::previewGeometry, defaults.previewGeometry).toByteArray();
    return read;
}

void writeSessionSettings(QSettings& settings, const SessionSettings& session)
{
    const auto write
        = [&](SessionToggle toggle) { settings.setValue(keyOf(toggle), session.toggle(toggle)); };
    for (int i = 0; i < firstPreviewToggle; ++i)
        write(SessionToggle(i));
    settings.setValue(settingsKey::referenceLayerOpacity, session.referenceLayerOpacity);
    settings.setValue(settingsKey::displayPixelAspect, session.displayPixelAspect);
    settings.setValue(settingsKey::windowGeometry, session.windowGeometry);
    write(SessionToggle::ShowPreviewWindow);
    write(SessionToggle::PreviewStaysOnTop);
    write(SessionToggle::MirrorPreviewHorizontally);
    write(SessionToggle::CrtFilterInPreview);
    settings.setValue(settingsKey::previewGeometry, session.previewGeometry);
}

void restoreSession(const SessionSettings& session, SessionRestoreTarget& target)
{
    target.applySettingsPreferences();
    for (int i = 0; i < firstPreviewToggle; ++i)
        target.setToggleChecked(SessionToggle(i), session.toggle(SessionToggle(i)));
    target.setReferenceLayerOpacity(session.referenceLayerOpacity);
    target.setDisplayPixelAspect(session.displayPixelAspect);
    target.restoreGeometries(session.windowGeometry, session.previewGeometry);
    for (int i = firstPreviewToggle; i < sessionToggleCount; ++i)
        target.setToggleChecked(SessionToggle(i), session.toggle(SessionToggle(i)));
}
