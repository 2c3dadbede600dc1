#pragma once

#include <QString>
#include <QTextStream>

// How every kromel-cli command ends: 0 done, 1 a file could not be read or written or the
// work cannot be done as asked, 2 the command line was wrong. Each problem is one line.
inline constexpr int exitOk = 0;
inline constexpr int exitFileError = 1;
inline constexpr int exitUsageError = 2;

inline int usageError(QTextStream& err, const QString& message)
{
    err << "kromel-cli: " << message << " (see kromel-cli --help)\n";
    return exitUsageError;
}

// The editor's messages may span lines; a script reads one.
inline int fileError(QTextStream& err, const QString& message)
{
    err << QString(message).replace(QLatin1Char('\n'), QLatin1String("; ")) << "\n";
    return exitFileError;
}
