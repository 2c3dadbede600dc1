#pragma once

#include "cli/cli.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

// One kromel-cli command run in the test's own process, with what it printed.
struct CliRun {
    int exitCode = 0;
    QString out;
    QString err;
};

inline CliRun runCliInProcess(const QStringList& arguments)
{
    CliRun result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.exitCode = runCli(arguments, out, err);
    out.flush();
    err.flush();
    return result;
}
