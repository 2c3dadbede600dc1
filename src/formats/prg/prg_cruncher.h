#pragma once

#include <QString>

#include <chrono>
#include <functional>

// Exomizer turns an exported program into a self-extracting one that starts with RUN; it
// is not part of KROMEL, so every caller must cope with it being absent or failing.

// The cruncher's file name on this platform.
QString cruncherExecutableName();

// Where the cruncher is looked for first: beside the program that runs.
QString bundledCruncherPath(const QString& programDir);

// The cruncher to run: beside the program, else the first one on PATH; empty when there
// is none.
QString findCruncher(const QString& programDir);

struct CrunchOptions {
    // A cruncher that has not finished by then is killed.
    std::chrono::milliseconds timeout {30000};
    // Asked every 50 ms while the cruncher runs; true stops it.
    std::function<bool()> cancelled;
};

struct CrunchResult {
    enum class Outcome { Crunched, Failed, Cancelled };
    Outcome outcome = Outcome::Failed;
    // What the cruncher said on its standard error, trimmed.
    QString errorOutput;
};

// Crunches the program at `path` in place into a self-extracting program that jumps to
// `sysAddress`, waiting in a local event loop so the caller's window keeps painting. On
// a failure or a cancellation the file holds the program as it was, whatever the
// cruncher left there.
CrunchResult crunchPrgInPlace(
    const QString& cruncher, const QString& path, int sysAddress, const CrunchOptions& options);

// "The file is exported uncompressed instead; start it with SYS %1 rather than RUN."
QString uncrunchedFallbackMessage(int sysAddress);
