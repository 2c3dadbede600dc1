#include "app/recovery_writer.h"

#include "document/project.h"
#include "formats/project/project_file_writer.h"

#include <QLockFile>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

RecoveryWriter::RecoveryWriter(RecoveryFolder folder, QObject* parent)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_id(RecoveryFolder::newId())
{
    connect(&m_watcher, &QFutureWatcher<bool>::finished, this, &RecoveryWriter::finished);
}

RecoveryWriter::~RecoveryWriter()
{
    // The worker holds no reference to this object, but the copy it writes must not
    // outlive the lock that marks it as this editor's.
    m_watcher.waitForFinished();
}

bool RecoveryWriter::ensureLock()
{
    // Taken at the first write, so an editor that never needs a copy leaves no trace.
    if (!m_lock)
        m_lock = m_folder.lock(m_id);
    return m_lock != nullptr;
}

void RecoveryWriter::write(
    std::shared_ptr<const Project> project, const RecoveryCopyInfo& names, const RecoveryRevision& revision)
{
    if ((m_written == revision && !m_running) || (m_running && m_running->revision == revision))
        return;
    RecoveryCopyInfo info = names;
    info.id = m_id;
    info.savedAt = QDateTime::currentDateTimeUtc();
    Request request {std::move(project), std::move(info), revision};
    if (m_running) {
        m_waiting = std::move(request);
        return;
    }
    start(std::move(request));
}

void RecoveryWriter::start(Request request)
{
    if (!ensureLock()) {
        Q_EMIT copyWritten(false);
        return;
    }
    m_running = std::move(request);
    m_watcher.setFuture(QtConcurrent::run(QThreadPool::globalInstance(),
        [folder = m_folder, project = m_running->project, info = m_running->info] {
            // The description first: a copy is never left describing another document.
            if (!folder.writeInfo(info))
                return false;
            return saveProjectFile(*project, folder.copyPath(info.id), [](int, int) { return true; }).ok;
        }));
}

void RecoveryWriter::finished()
{
    if (!m_running)
        return;
    const bool ok = m_watcher.result();
    if (ok)
        m_written = m_running->revision;
    m_running.reset();
    Q_EMIT copyWritten(ok);
    if (m_waiting) {
        Request next = std::move(*m_waiting);
        m_waiting.reset();
        write(std::move(next.project), next.info, next.revision);
    }
}

void RecoveryWriter::remove()
{
    m_waiting.reset();
    if (m_running) {
        m_watcher.waitForFinished();
        m_running.reset();
    }
    m_written.reset();
    m_folder.remove(m_id);
}

bool RecoveryWriter::adopt(
    const RecoveryClaim& claim, const RecoveryCopyInfo& names, const RecoveryRevision& revision)
{
    remove();
    if (!ensureLock())
        return false;
    RecoveryCopyInfo info = names;
    info.id = m_id;
    info.savedAt = claim.info.savedAt;
    if (!m_folder.move(claim.info.id, info))
        return false;
    m_written = revision;
    return true;
}
