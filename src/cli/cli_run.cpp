#include "cli/cli_run.h"

#include "cli/cli_errors.h"
#include "cli/cli_open_project.h"
#include "document/project.h"
#include "formats/prg/emulator_launch.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg_export_colors.h"
#include "formats/project/project_file_reader.h"
#include "rules/unresolved_clashes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

int runRunCommand(const QStringList& arguments, QTextStream& err)
{
    QStringList files;
    QString chosen = qEnvironmentVariable("KROMEL_EMULATOR");
    bool resolve = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--emulator")) {
            if (++i == arguments.size())
                return usageError(err, QStringLiteral("--emulator needs a program"));
            chosen = arguments.at(i);
        } else if (argument == QLatin1String("--resolve")) {
            resolve = true;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return usageError(err, QStringLiteral("run does not take %1").arg(argument));
        } else {
            files << argument;
        }
    }
    if (files.size() != 1)
        return usageError(err, QStringLiteral("run takes one project file"));

    const QString emulator = findEmulator(chosen);
    if (emulator.isEmpty())
        return fileError(err,
            emulatorNotFoundMessage(chosen)
                + QStringLiteral(" Give --emulator PROGRAM or set KROMEL_EMULATOR."));
    Project project;
    if (!openProjectForCli(files.first(), &project, err))
        return exitFileError;
    if (resolve)
        project.resolveAllClashes();
    if (canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap()))
        return fileError(
            err, QStringLiteral("Could not run the picture: the canvas holds unresolved color clashes."));
    QString error;
    // Unpacked: an emulator loads it in a moment, and the cruncher would only slow that down.
    const QByteArray program = encodeExecutablePrg(project.colormap(), project.mode(), project.layout(),
        PrgExportColors::fromSlots(project.colorSlots()), &error);
    if (program.isEmpty())
        return fileError(err, error);
    QTemporaryDir folder;
    if (!folder.isValid())
        return fileError(
            err, QStringLiteral("Could not make a temporary folder: %1").arg(folder.errorString()));
    const QString path = writeProgramForEmulator(
        folder.path(), QFileInfo(files.first()).completeBaseName(), program, &error);
    if (path.isEmpty())
        return fileError(err, error);
    const EmulatorRun run = runEmulatorAndWait(emulator, path);
    return run.ok ? exitOk : fileError(err, run.error);
}
