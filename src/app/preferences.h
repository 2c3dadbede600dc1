#pragma once

#include "widgets/preference_values.h"

class QSettings;

// A missing key gives its default; a value of the wrong type converts as the store
// converts it (false, 0, empty).
Preferences readPreferences(const QSettings& settings);

// Writes every preference in the order the Settings dialog's OK commits them: the four
// "general/" switches, the Ultimate host (without surrounding blanks) and time-out, the
// emulator program, then the two flyout timings.
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
