#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A C64 emulator is not part of KROMEL: the user names one, or VICE's x64sc is taken
// from PATH, and every caller must cope with it being absent or failing.

inline constexpr char defaultEmulatorName[] = "x64sc";

// The emulator to start: `chosen` when set (a path, or a name looked up on PATH), else
// x64sc on PATH. Empty when there is none.
QString findEmulator(const QString& chosen);

// Why there is no emulator to start, in one line, without the caller's hint on how to
// name one.
QString emulatorNotFoundMessage(const QString& chosen);

// Load the program and run it at once: x64sc's option, which VICE's other emulators share.
QStringList emulatorArguments(const QString& programPath);

// Writes the program as BASE.prg into `folder` and returns its path; empty with a
// one-line message on a failure.
QString writeProgramForEmulator(
    const QString& folder, const QString& baseName, const QByteArray& program, QString* error);

// Why a finished run of the emulator failed, in one line, with the last line it wrote on
// standard error; empty when it ended well (exit code 0).
QString emulatorRunFailure(const QString& emulator, bool crashed, int exitCode, const QString& standardError);

struct EmulatorRun {
    bool ok = false;
    QString error;
};

// Runs the emulator and waits until it exits; a start failure, a crash or an exit code
// other than 0 is a failure, reported with what the emulator said on standard error.
EmulatorRun runEmulatorAndWait(const QString& emulator, const QString& programPath);
