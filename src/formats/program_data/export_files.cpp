#include "formats/program_data/export_files.h"

#include "formats/atomic_file_write.h"

#include <QDir>

ExportFilesResult writeExportFiles(const QList<ExportFile>& files)
{
    ExportFilesResult result;
    for (const ExportFile& file : files) {
        QString error;
        if (!writeFileAtomically(file.path, file.bytes, &error)) {
            result.error
                = QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(file.path), error);
            return result;
        }
        result.written << file.path;
    }
    result.ok = true;
    return result;
}

QStringList exportFilePaths(const QList<ExportFile>& files)
{
    QStringList paths;
    for (const ExportFile& file : files)
        paths << file.path;
    return paths;
}
