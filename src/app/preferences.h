#pragma once

#include <QString>

class QSettings;

// What the Settings dialog edits. The member initialisers are the defaults for keys the
// store does not hold yet.
struct Preferences {
    bool invertZoomWheel = false;
    bool bindZoomToCanvas = false;
    bool smoothImageScaling = false;
    bool nativeFileDialogs = false;
    double toolFlyoutHoverDelaySeconds = 0.5;
    double toolFlyoutLeaveGraceSeconds = 0.5;
    // The address an Ultimate 64 commonly gets on a home network; the user sets the real one.
    QString ultimateHost = QStringLiteral("192.168.1.64");
    double ultimateTimeoutSeconds = 2.5;

    friend bool operator==(const Preferences&, const Preferences&) = default;
};

// A missing key gives its default; a value of the wrong type converts as the store
// converts it (false, 0, empty).
Preferences readPreferences(const QSettings& settings);

// Writes every preference in the order the Settings dialog's OK commits them: the four
// "general/" switches, the Ultimate host (without surrounding blanks) and time-out, then
// the two flyout timings.
void writePreferences(QSettings& settings, const Preferences& preferences);

// A flyout timing in whole milliseconds, rounded half away from zero.
int flyoutIntervalMs(double seconds);

// With the default the program's own file choosers are used, which preview the
// highlighted project, image or sprite file; the system's choosers cannot.
void applyFileDialogPreference(const Preferences& preferences);

// Applying the preferences (at start-up, and again after the Settings dialog's OK) is the
// window's applySettingsPreferences, in this order:
// 1. the canvas view gets bindZoomToCanvas and invertZoomWheel; the preview area gets the
//    same invert flag;
// 2. the canvas view gets smoothImageScaling;
// 3. the flyout timers get flyoutIntervalMs of the hover delay and the leave grace;
// 4. applyFileDialogPreference.
