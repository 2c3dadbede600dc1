#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One file of a multi-file export, complete in memory before anything is written.
struct ExportFile {
    QString path;
    QByteArray bytes;
};

struct ExportFilesResult {
    bool ok = false;
    QString error;
    // The files written, in order; on a failure those written before it, which stay.
    QStringList written;
};

// Writes each file whole or not at all, stopping at the first failure with
// "Could not write PATH: REASON".
ExportFilesResult writeExportFiles(const QList<ExportFile>& files);

// The paths of `files`, to ask before replacing any of them.
QStringList exportFilePaths(const QList<ExportFile>& files);
