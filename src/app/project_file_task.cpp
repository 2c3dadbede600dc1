#include "app/project_file_task.h"

#include "app/application_input_blocker.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QPromise>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// Shorter tasks finish before a dialog would be noticed; showing one would only flicker.
constexpr int progressDialogDelayMs = 400;

} // namespace

ProjectFileResult runProjectFileTaskBlocking(
    QWidget* parent, const QString& label, const ProjectFileTask& task)
{
    QProgressDialog dialog(label, QObject::tr("Cancel"), 0, 0, parent);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(progressDialogDelayMs);
    // Starts the delay now: the dialog shows after it unless the task is done by then.
    dialog.setValue(0);

    const ApplicationInputBlocker blocker(&dialog);

    // The task's own result is kept here rather than in the future, which drops a result
    // reported after a cancellation.
    ProjectFileResult result = ProjectFileResult::cancellation();
    QFuture<void> future
        = QtConcurrent::run(QThreadPool::globalInstance(), [&task, &result](QPromise<void>& promise) {
              bool rangeSet = false;
              const ProjectFileProgress progress = [&promise, &rangeSet](int done, int total) {
                  if (!rangeSet) {
                      promise.setProgressRange(0, total);
                      rangeSet = true;
                  }
                  promise.setProgressValue(done);
                  return !promise.isCanceled();
              };
              result = task(progress);
          });

    QFutureWatcher<void> watcher;
    QEventLoop loop;
    QObject::connect(
        &watcher, &QFutureWatcherBase::progressRangeChanged, &dialog, &QProgressDialog::setRange);
    QObject::connect(
        &watcher, &QFutureWatcherBase::progressValueChanged, &dialog, &QProgressDialog::setValue);
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    // Once cancelled the dialog stays away: reports still arriving while the task winds
    // down to its next progress call would show it again.
    const auto cancel = [&watcher, &dialog] {
        QObject::disconnect(&watcher, nullptr, &dialog, nullptr);
        watcher.cancel();
    };
    QObject::connect(&dialog, &QProgressDialog::canceled, &watcher, cancel);
    QObject::connect(&dialog, &QDialog::rejected, &watcher, cancel);
    watcher.setFuture(future);
    if (!future.isFinished())
        loop.exec();
    future.waitForFinished();

    // A task that completed its work keeps its result even if the cancel came too late
    // to stop it: a save that has already replaced the file must not be reported as
    // cancelled.
    if (watcher.isCanceled() && !result.ok)
        return ProjectFileResult::cancellation();
    return result;
}
