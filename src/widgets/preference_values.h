#pragma once

#include <QString>

// What the Settings dialog edits, as a plain value: the application reads and writes it
// in the settings store and hands it to the dialog, which never touches the store. The
// member initialisers are the defaults for keys the store does not hold yet.
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
    // The C64 emulator Run in Emulator starts: a path or a name on PATH; empty for x64sc.
    QString emulatorProgram;
    // Recovery copies of a modified document, so a crash loses at most this much work.
    bool autosave = true;
    int autosaveIntervalSeconds = 120;

    friend bool operator==(const Preferences&, const Preferences&) = default;
};
