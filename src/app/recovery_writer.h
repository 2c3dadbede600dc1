#pragma once

#include "app/recovery_folder.h"

#include <QFutureWatcher>
#include <QObject>

#include <memory>
#include <optional>
#include <utility>

class Project;
class QLockFile;

// Which state of which document a copy holds: a copy is written at most once per state.
struct RecoveryRevision {
    quint64 document = 0;
    int revision = 0;
    int index = 0;

    friend bool operator==(const RecoveryRevision&, const RecoveryRevision&) = default;
};

// Writes this editor's recovery copy through the project writer on a worker thread, so
// painting goes on while the history is written. The copy is always a whole, readable
// project: the writer replaces the previous copy only once the new one is complete.
class RecoveryWriter : public QObject {
    Q_OBJECT

public:
    explicit RecoveryWriter(RecoveryFolder folder, QObject* parent = nullptr);
    ~RecoveryWriter() override;

    const RecoveryFolder& folder() const { return m_folder; }
    QString id() const { return m_id; }
    bool hasCopy() const { return m_written.has_value(); }

    // Writes a copy of `project` unless the copy already holds that revision. While a write
    // runs, the newest request waits for it.
    void write(std::shared_ptr<const Project> project, const RecoveryCopyInfo& names,
        const RecoveryRevision& revision);
    // Removes the copy (after a write in flight has finished, so none reappears).
    void remove();
    // Takes over a claimed copy of a crashed editor as this editor's own; it stays on disk
    // under this editor's lock until this editor removes it.
    bool adopt(const RecoveryClaim& claim, const RecoveryCopyInfo& names, const RecoveryRevision& revision);

Q_SIGNALS:
    // A copy was written (ok) or could not be (the folder is not writable).
    void copyWritten(bool ok);

private:
    struct Request {
        std::shared_ptr<const Project> project;
        RecoveryCopyInfo info;
        RecoveryRevision revision;
    };

    void start(Request request);
    void finished();
    bool ensureLock();

    RecoveryFolder m_folder;
    QString m_id;
    std::shared_ptr<QLockFile> m_lock;
    QFutureWatcher<bool> m_watcher;
    std::optional<Request> m_running;
    std::optional<Request> m_waiting;
    std::optional<RecoveryRevision> m_written;
};
