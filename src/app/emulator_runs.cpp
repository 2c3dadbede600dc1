#include "app/emulator_runs.h"

#include "formats/prg/emulator_launch.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace {

// Enough of the end of what an emulator says to find its last complaint, however long
// it talks before it.
constexpr qsizetype keptErrorBytes = 4096;

} // namespace

EmulatorRuns::EmulatorRuns(QObject* parent)
    : QObject(parent)
{
}

EmulatorRuns::~EmulatorRuns()
{
    const QList<QProcess*> running = findChildren<QProcess*>(Qt::FindDirectChildrenOnly);
    for (QProcess* process : running) {
        // Closing them is the window's doing, not a failure to report.
        process->disconnect(this);
        process->terminate();
    }
    // A moment to close cleanly, shared by all; whatever is left is killed with its process.
    const QDeadlineTimer deadline(1000);
    for (QProcess* process : running)
        process->waitForFinished(int(qMax<qint64>(deadline.remainingTime(), 0)));
    qDeleteAll(running);
}

bool EmulatorRuns::start(const QString& emulator, const QString& baseName, const QByteArray& program,
    QString* programPath, QString* error)
{
    if (!m_folder || !m_folder->isValid())
        m_folder = std::make_unique<QTemporaryDir>();
    if (!m_folder->isValid()) {
        *error = tr("Could not make a temporary folder for the program: %1").arg(m_folder->errorString());
        return false;
    }
    const QString path = writeProgramForEmulator(m_folder->path(), baseName, program, error);
    if (path.isEmpty())
        return false;

    auto* process = new QProcess(this);
    process->setProgram(emulator);
    process->setArguments(emulatorArguments(path));
    process->setWorkingDirectory(QFileInfo(path).absolutePath());
    // An emulator talks a lot on its standard output; unread, a full pipe would stop it.
    process->setStandardOutputFile(QProcess::nullDevice());
    auto said = std::make_shared<QByteArray>();
    connect(process, &QProcess::readyReadStandardError, process, [process, said] {
        said->append(process->readAllStandardError());
        if (said->size() > keptErrorBytes)
            said->remove(0, said->size() - keptErrorBytes);
    });
    connect(process, &QProcess::finished, this,
        [this, process, emulator, said](int code, QProcess::ExitStatus status) {
            said->append(process->readAllStandardError());
            const QString failure = emulatorRunFailure(
                emulator, status != QProcess::NormalExit, code, QString::fromLocal8Bit(*said));
            process->deleteLater();
            if (!failure.isEmpty())
                Q_EMIT failed(failure);
        });
    process->start();
    // Returns once the program runs (or could not), not when it ends.
    if (!process->waitForStarted()) {
        *error = tr("Could not start the emulator %1: %2")
                     .arg(QDir::toNativeSeparators(emulator), process->errorString());
        process->disconnect(this);
        delete process;
        return false;
    }
    *programPath = path;
    return true;
}
