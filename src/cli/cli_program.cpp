#include "cli/cli_program.h"

#include "cli/cli_errors.h"
#include "cli/cli_open_project.h"
#include "device/ultimate_client.h"
#include "document/project.h"
#include "formats/atomic_file_write.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg/prg_cruncher.h"
#include "formats/prg_export_colors.h"
#include "rules/unresolved_clashes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <optional>

namespace {

// The program, crunched when asked and possible; nothing after a one-line message.
std::optional<QByteArray> buildProgram(
    Project& project, const ProgramOptions& options, const QString& noun, QTextStream& err)
{
    if (options.resolve)
        project.resolveAllClashes();
    if (canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap())) {
        fileError(
            err, QStringLiteral("Could not export %1: the canvas holds unresolved color clashes.").arg(noun));
        return std::nullopt;
    }
    QString error;
    const QByteArray prg = encodeExecutablePrg(project.colormap(), project.mode(), project.layout(),
        PrgExportColors::fromSlots(project.colorSlots()), &error);
    if (prg.isEmpty()) {
        fileError(err, error);
        return std::nullopt;
    }
    if (!options.crunch)
        return prg;
    const int sys = executablePrgLoadAddress(project.layout());
    const QString cruncher = cruncherForCli();
    if (cruncher.isEmpty()) {
        err << "kromel-cli: Exomizer was not found, so the program is not compressed; start it with SYS "
            << sys << " rather than RUN (or pass --no-crunch)\n";
        return prg;
    }
    // Exomizer crunches a file in place; a copy keeps the caller's files out of it.
    QTemporaryDir temporary;
    const QString work = temporary.filePath(QStringLiteral("program.prg"));
    if (!temporary.isValid() || !writeFileAtomically(work, prg, &error)) {
        fileError(err, QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(work), error));
        return std::nullopt;
    }
    const CrunchResult crunched = crunchPrgInPlace(cruncher, work, sys, {});
    QFile result(work);
    if (crunched.outcome == CrunchResult::Outcome::Crunched && result.open(QIODevice::ReadOnly)) {
        const QByteArray packed = result.readAll();
        if (result.error() == QFileDevice::NoError)
            return packed;
    }
    // Whatever the cruncher left is no program; the one encoded above still is.
    const QString said = crunched.errorOutput.isEmpty()
        ? QString()
        : ": " + QString(crunched.errorOutput).replace(QLatin1Char('\n'), QLatin1String("; "));
    err << "kromel-cli: Could not compress the program" << said << "; it stays uncompressed, so start "
        << "it with SYS " << sys << " rather than RUN\n";
    return prg;
}

} // namespace

QString cruncherForCli()
{
    const QString chosen = qEnvironmentVariable("KROMEL_EXOMIZER");
    return chosen.isEmpty() ? findCruncher(QCoreApplication::applicationDirPath()) : chosen;
}

int exportProgram(Project& project, const QString& target, const ProgramOptions& options, QTextStream& err)
{
    const std::optional<QByteArray> program
        = buildProgram(project, options, QStringLiteral("an executable PRG file"), err);
    if (!program)
        return exitFileError;
    QString error;
    if (!writeFileAtomically(target, *program, &error))
        return fileError(
            err, QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(target), error));
    return exitOk;
}

int runSendCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList files;
    QString host;
    double timeout = 2.5;
    ProgramOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--no-crunch")) {
            options.crunch = false;
        } else if (argument == QLatin1String("--resolve")) {
            options.resolve = true;
        } else if (argument == QLatin1String("--host") || argument == QLatin1String("--timeout")) {
            if (++i == arguments.size())
                return usageError(err, QStringLiteral("%1 needs a value").arg(argument));
            if (argument == QLatin1String("--host")) {
                host = arguments.at(i).trimmed();
                continue;
            }
            bool number = false;
            timeout = arguments.at(i).toDouble(&number);
            if (!number)
                return usageError(
                    err, QStringLiteral("--timeout takes seconds, not \"%1\"").arg(arguments.at(i)));
        } else if (argument.startsWith(QLatin1String("--"))) {
            return usageError(err, QStringLiteral("send does not take %1").arg(argument));
        } else {
            files << argument;
        }
    }
    if (files.size() != 1)
        return usageError(err, QStringLiteral("send takes one project file"));
    if (host.isEmpty())
        return usageError(err, QStringLiteral("send needs --host, the device's address"));

    Project project;
    if (!openProjectForCli(files.first(), &project, err))
        return exitFileError;
    const std::optional<QByteArray> program
        = buildProgram(project, options, QStringLiteral("to the Ultimate device"), err);
    if (!program)
        return exitFileError;
    QString error;
    if (!pollUltimateDevice(host, timeout, &error, {})
        || !sendPrgToUltimateDevice(*program, host, timeout, &error, {}))
        return fileError(
            err, QStringLiteral("Could not send to the Ultimate device at %1: %2").arg(host, error));
    out << "Sent to the Ultimate device at " << host << ".\n";
    return exitOk;
}
