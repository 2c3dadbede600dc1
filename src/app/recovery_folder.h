#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <vector>

class QLockFile;

// What a recovery copy says about the document it holds, so a restored document gets its
// name back.
struct RecoveryCopyInfo {
    // Names the copy's files; unique to the editor that wrote it.
    QString id;
    // The project file the document came from; empty for a document never saved.
    QString originalFile;
    // The name of a document without a file (see MainWindow::pendingName).
    QString pendingName;
    QDateTime savedAt;
};

// A recovery copy whose editor is gone, held so that no other editor offers it meanwhile.
// Letting go of the claim (destroying it) leaves the copy for a later start.
struct RecoveryClaim {
    RecoveryCopyInfo info;
    std::shared_ptr<QLockFile> lock;
};

// The per-user folder of recovery copies. Every running editor writes under an id of its
// own and holds the lock file of that id, so two editors never write the same files and a
// copy whose lock is not held belongs to an editor that crashed. Per id it holds
// "<id>.krm" (the project, history included), "<id>.info" (a RecoveryCopyInfo) and
// "<id>.lock".
class RecoveryFolder {
public:
    explicit RecoveryFolder(QString path);

    QString path() const { return m_path; }
    QString copyPath(const QString& id) const;
    QString infoPath(const QString& id) const;
    QString lockPath(const QString& id) const;

    // A fresh id, never used by a running editor.
    static QString newId();
    // Holds the id's lock: null when a running editor holds it.
    std::shared_ptr<QLockFile> lock(const QString& id) const;

    // The copies of editors that are gone, oldest first, each claimed for the caller.
    std::vector<RecoveryClaim> claimAbandonedCopies() const;

    // Written atomically; false when the folder cannot be written.
    bool writeInfo(const RecoveryCopyInfo& info) const;
    // Removes the copy and its description (not the lock).
    void remove(const QString& id) const;
    // Makes the copy `from` the copy of `info.id`, each file replaced atomically; false
    // when the copy could not be moved, and then `from` is left as it was.
    bool move(const QString& from, const RecoveryCopyInfo& info) const;

private:
    QString m_path;
};

// The folder every editor of this user shares, in the per-user data folder.
QString defaultRecoveryFolderPath();
