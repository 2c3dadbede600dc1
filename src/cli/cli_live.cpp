#include "cli/cli_live.h"

#include "cli/cli_errors.h"
#include "cli/cli_open_project.h"
#include "device/live_link.h"
#include "document/project.h"
#include "formats/project/project_file_reader.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A signal handler may only write to a file descriptor; the event loop reads the other
// end. One per process, as the handlers are.
int signalPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

bool installStopSignals()
{
    if (signalPipe[0] < 0) {
        if (::pipe(signalPipe) != 0)
            return false;
        ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    }
    struct sigaction action { };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

// What tells one save from the next: a save replaces the file, so its time and size.
QString fileStamp(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char(':')
        + QString::number(info.size()) + QLatin1Char(':')
        + QString::number(info.metadataChangeTime().toMSecsSinceEpoch());
}

} // namespace

int runLiveCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList files;
    LiveLink::Settings settings;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--host") || argument == QLatin1String("--timeout")) {
            if (++i == arguments.size())
                return usageError(err, QStringLiteral("%1 needs a value").arg(argument));
            if (argument == QLatin1String("--host")) {
                settings.host = arguments.at(i).trimmed();
                continue;
            }
            bool number = false;
            settings.timeoutSeconds = arguments.at(i).toDouble(&number);
            if (!number)
                return usageError(
                    err, QStringLiteral("--timeout takes seconds, not \"%1\"").arg(arguments.at(i)));
        } else if (argument.startsWith(QLatin1String("--"))) {
            return usageError(err, QStringLiteral("live does not take %1").arg(argument));
        } else {
            files << argument;
        }
    }
    if (files.size() != 1)
        return usageError(err, QStringLiteral("live takes one project file"));
    if (settings.host.isEmpty())
        return usageError(err, QStringLiteral("live needs --host, the device's address"));

    const QString path = QFileInfo(files.first()).absoluteFilePath();
    const QString shownPath = QDir::toNativeSeparators(files.first());
    Project project;
    if (!openProjectForCli(path, &project, err))
        return exitFileError;
    if (!installStopSignals())
        return fileError(err, QStringLiteral("Could not watch for Ctrl+C."));

    LiveLink link;
    QString error;
    if (!link.start(settings, liveCanvasOf(project), &error))
        return fileError(err, QStringLiteral("Could not show %1 live: %2").arg(shownPath, error));

    QEventLoop loop;
    int exitCode = exitOk;
    QSocketNotifier stopSignal(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopSignal, &QSocketNotifier::activated, &loop, [&] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], &byte, 1);
        out << "Live Link stopped.\n";
        out.flush();
        loop.quit();
    });
    QObject::connect(&link, &LiveLink::failed, &loop, [&](const QString& message) {
        fileError(err, message);
        err.flush();
        exitCode = exitFileError;
        loop.quit();
    });
    bool announced = false;
    QObject::connect(&link, &LiveLink::caughtUp, &loop, [&] {
        if (!announced) {
            out << "Showing " << shownPath << " on " << settings.host
                << "; every save shows there. Ctrl+C stops.\n";
            announced = true;
        } else {
            out << "Updated from " << shownPath << ".\n";
        }
        out.flush();
    });

    // Editors save by writing a new file and renaming it over the old one, which a
    // watch on the file itself loses; the folder's watch sees every such save.
    QFileSystemWatcher watcher;
    watcher.addPath(QFileInfo(path).absolutePath());
    watcher.addPath(path);
    QString stamp = fileStamp(path);
    QTimer settle;
    settle.setSingleShot(true);
    settle.setInterval(100);
    const auto changed = [&] { settle.start(); };
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, changed);
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, changed);
    QObject::connect(&settle, &QTimer::timeout, &loop, [&] {
        if (!watcher.files().contains(path) && QFileInfo::exists(path))
            watcher.addPath(path);
        const QString now = fileStamp(path);
        if (now.isEmpty() || now == stamp)
            return;
        Project saved;
        const ProjectFileResult reloaded = loadProjectFile(path, &saved, {});
        if (!reloaded.ok) {
            // A save still on its way; the next change tries again.
            err << "kromel-cli: Could not open " << shownPath << ": " << reloaded.error << "\n";
            err.flush();
            return;
        }
        stamp = now;
        link.showCanvas(liveCanvasOf(saved));
    });

    loop.exec();
    link.stop();
    return exitCode;
}
