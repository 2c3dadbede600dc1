#include "formats/prg/emulator_launch.h"

#include "formats/atomic_file_write.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString findEmulator(const QString& chosen)
{
    const QString name
        = chosen.trimmed().isEmpty() ? QString::fromLatin1(defaultEmulatorName) : chosen.trimmed();
    if (name.contains(QLatin1Char('/')) || name.contains(QDir::separator())) {
        const QFileInfo file(name);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(name);
}

QString emulatorNotFoundMessage(const QString& chosen)
{
    if (chosen.trimmed().isEmpty())
        return QStringLiteral("No emulator found: %1 is not on PATH.")
            .arg(QLatin1String(defaultEmulatorName));
    return QStringLiteral("The emulator %1 was not found or cannot be run.")
        .arg(QDir::toNativeSeparators(chosen.trimmed()));
}

QStringList emulatorArguments(const QString& programPath)
{
    return {QStringLiteral("-autostart"), QDir::toNativeSeparators(programPath)};
}

QString writeProgramForEmulator(
    const QString& folder, const QString& baseName, const QByteArray& program, QString* error)
{
    const QString path = folder + QLatin1Char('/') + baseName + QStringLiteral(".prg");
    QString reason;
    if (!writeFileAtomically(path, program, &reason)) {
        if (error)
            *error = QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(path), reason);
        return {};
    }
    return path;
}

QString emulatorRunFailure(const QString& emulator, bool crashed, int exitCode, const QString& standardError)
{
    const QString name = QDir::toNativeSeparators(emulator);
    if (crashed)
        return QStringLiteral("The emulator %1 crashed.").arg(name);
    if (exitCode == 0)
        return {};
    // Its last line is where an emulator says why it gave up.
    const QString said = standardError.trimmed().section(QLatin1Char('\n'), -1);
    return QStringLiteral("The emulator %1 stopped with exit code %2%3")
        .arg(name)
        .arg(exitCode)
        .arg(said.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + said);
}

EmulatorRun runEmulatorAndWait(const QString& emulator, const QString& programPath)
{
    EmulatorRun run;
    QProcess process;
    process.setProgram(emulator);
    process.setArguments(emulatorArguments(programPath));
    process.setWorkingDirectory(QFileInfo(programPath).absolutePath());
    // The emulator's own output is the user's to see; only its complaints are kept.
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process.start();
    const QString name = QDir::toNativeSeparators(emulator);
    if (!process.waitForStarted(-1)) {
        run.error = QStringLiteral("Could not start the emulator %1: %2").arg(name, process.errorString());
        return run;
    }
    process.waitForFinished(-1);
    run.error = emulatorRunFailure(emulator, process.exitStatus() != QProcess::NormalExit, process.exitCode(),
        QString::fromLocal8Bit(process.readAllStandardError()));
    run.ok = run.error.isEmpty();
    return run;
}
