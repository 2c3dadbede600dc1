// Export to Image's choices for programmers: the picture's C64 memory blocks as raw files
// or as assembler source.
#include "app/main_window.h"

#include "app/commands/file_command_steps.h"

#include "app/remembered_folders.h"
#include "app/settings_keys.h"
#include "document/project.h"
#include "formats/prg_export_colors.h"
#include "formats/program_data/assembler_source.h"
#include "formats/program_data/raw_plane_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <chrono>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};

} // namespace

void exportProgramDataFiles(MainWindow& window, const QString& format)
{
    const QString cancelled = MainWindow::tr("Export to image cancelled.");
    if (exportBlockedByClashes(window, MainWindow::tr("data for programmers"), cancelled))
        return;
    const Project& project = window.project();
    const RawPlanesResult planes = encodeRawPlanes(project.colormap(), project.mode(), project.layout(),
        project.screensAcross(), PrgExportColors::fromSlots(project.colorSlots()));
    if (!planes.ok) {
        window.warnUser(planes.error);
        return;
    }
    const AssemblerDialectRow* dialect = assemblerDialectNamed(format);
    const QString suffix = dialect ? QLatin1String(dialect->suffix) : QStringLiteral("bin");
    const QString filter = dialect
        ? MainWindow::tr("%1 Source (*.%2);;All Files (*)").arg(QLatin1String(dialect->name), suffix)
        : MainWindow::tr("Raw Planes (*.bin);;All Files (*)");
    QSettings settings;
    const QString proposed = lastDirForKey(settings, settingsKey::lastExportDir) + QLatin1Char('/')
        + suggestedExportBaseName(window) + QLatin1Char('.') + suffix;
    const QString path = chooseExportPath(window, MainWindow::tr("Export to Image As"), proposed, filter);
    if (path.isEmpty()) {
        window.showStatusMessage(cancelled, statusTimeout);
        return;
    }
    const QList<ExportFile> files = dialect
        ? assemblerSourceFiles(path, planes.screens, *dialect,
            {QFileInfo(window.currentFile().isEmpty() ? suggestedExportBaseName(window)
                                                      : window.currentFile())
                    .fileName(),
                project.mode(), project.layout().layout},
            std::nullopt)
        : rawPlaneFiles(path, planes.screens);
    // The file chooser asked about the chosen name only; the files beside it are ours to ask about.
    QStringList existing;
    for (const QString& target : exportFilePaths(files)) {
        if (QFileInfo::exists(target) && QFileInfo(target) != QFileInfo(path))
            existing << QDir::toNativeSeparators(target);
    }
    if (!existing.isEmpty()) {
        if (!confirmReplacingFiles(window, existing)) {
            window.showStatusMessage(cancelled, statusTimeout);
            return;
        }
    }
    rememberDirForKey(settings, settingsKey::lastExportDir, path);
    const ExportFilesResult written = writeExportFiles(files);
    if (!written.ok) {
        window.warnUser(written.error);
        return;
    }
    const auto name = [](const QString& file) { return QFileInfo(file).fileName(); };
    window.showStatusMessage(written.written.size() == 1
            ? MainWindow::tr("Exported %1.").arg(name(written.written.constFirst()))
            : MainWindow::tr("Exported %1 files: %2 ... %3.")
                  .arg(written.written.size())
                  .arg(name(written.written.constFirst()), name(written.written.constLast())),
        statusTimeout);
}
