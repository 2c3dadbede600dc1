#include "formats/prg/prg_cruncher.h"

#include "formats/atomic_file_write.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

using namespace std::chrono_literals;

QString cruncherExecutableName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("exomizer.exe");
#else
    return QStringLiteral("exomizer");
#endif
}

QString bundledCruncherPath(const QString& programDir)
{
    return QDir(programDir).filePath(cruncherExecutableName());
}

QString findCruncher(const QString& programDir)
{
    const QFileInfo bundled(bundledCruncherPath(programDir));
    if (bundled.isFile() && bundled.isExecutable())
        return bundled.absoluteFilePath();
    return QStandardPaths::findExecutable(cruncherExecutableName());
}

CrunchResult crunchPrgInPlace(
    const QString& cruncher, const QString& path, int sysAddress, const CrunchOptions& options)
{
    // Exomizer writes its output over its input, so a run that fails half-way leaves half
    // a program there; the original goes back then.
    QFile input(path);
    const QByteArray program = input.open(QIODevice::ReadOnly) ? input.readAll() : QByteArray();
    input.close();

    QProcess process;
    QEventLoop loop;
    bool cancelled = false;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (options.cancelled && options.cancelled()) {
            cancelled = true;
            loop.quit();
        }
    });

    process.start(cruncher,
        {QStringLiteral("sfx"), QString::number(sysAddress), path, QStringLiteral("-o"), path,
            QStringLiteral("-n")});
    if (process.state() != QProcess::NotRunning || process.error() != QProcess::FailedToStart) {
        deadline.start(options.timeout);
        poll.start(50ms);
        // A caller that can cancel shows something to cancel with, which needs the input;
        // without one nothing may start meanwhile.
        if (process.state() != QProcess::NotRunning)
            loop.exec(options.cancelled ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    poll.stop();
    deadline.stop();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }

    CrunchResult result;
    result.errorOutput = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (cancelled)
        result.outcome = CrunchResult::Outcome::Cancelled;
    else if (process.exitStatus() == QProcess::NormalExit && process.error() == QProcess::UnknownError
        && process.exitCode() == 0)
        result.outcome = CrunchResult::Outcome::Crunched;
    QString error;
    if (result.outcome != CrunchResult::Outcome::Crunched && !program.isEmpty()
        && !writeFileAtomically(path, program, &error)) {
        const QString lost = QStringLiteral("the uncompressed program could not be put back: %1").arg(error);
        result.errorOutput = result.errorOutput.isEmpty() ? lost : result.errorOutput + "\n" + lost;
    }
    return result;
}

QString uncrunchedFallbackMessage(int sysAddress)
{
    return QStringLiteral("The file is exported uncompressed instead; start it with SYS %1 rather than RUN.")
        .arg(sysAddress);
}
