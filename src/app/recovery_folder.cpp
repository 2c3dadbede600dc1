#include "app/recovery_folder.h"

#include "formats/atomic_file_write.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>
#include <QUuid>

#include <optional>
#include <utility>

namespace {

const QLatin1String copySuffix(".krm");

std::optional<RecoveryCopyInfo> readInfo(const QString& path, const QString& id)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    RecoveryCopyInfo info;
    info.id = id;
    info.originalFile = object.value(QLatin1String("originalFile")).toString();
    info.pendingName = object.value(QLatin1String("pendingName")).toString();
    info.savedAt = QDateTime::fromString(object.value(QLatin1String("savedAt")).toString(), Qt::ISODate);
    return info;
}

} // namespace

RecoveryFolder::RecoveryFolder(QString path)
    : m_path(std::move(path))
{
}

QString RecoveryFolder::copyPath(const QString& id) const
{
    return m_path + QLatin1Char('/') + id + copySuffix;
}

QString RecoveryFolder::infoPath(const QString& id) const
{
    return m_path + QLatin1Char('/') + id + QLatin1String(".info");
}

QString RecoveryFolder::lockPath(const QString& id) const
{
    return m_path + QLatin1Char('/') + id + QLatin1String(".lock");
}

QString RecoveryFolder::newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

std::shared_ptr<QLockFile> RecoveryFolder::lock(const QString& id) const
{
    QDir().mkpath(m_path);
    auto lock = std::make_shared<QLockFile>(lockPath(id));
    // Only a dead owner makes a lock stale: an editor left open for days keeps its copy.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

std::vector<RecoveryClaim> RecoveryFolder::claimAbandonedCopies() const
{
    std::vector<RecoveryClaim> claims;
    const QFileInfoList copies = QDir(m_path).entryInfoList(
        {QStringLiteral("*") + copySuffix}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& copy : copies) {
        const QString id = copy.completeBaseName();
        std::shared_ptr<QLockFile> held = lock(id);
        if (!held)
            continue;
        // A copy written before its description (a crash between the two) still holds the work.
        RecoveryCopyInfo info = readInfo(infoPath(id), id).value_or(RecoveryCopyInfo {id, {}, {}, {}});
        if (!info.savedAt.isValid())
            info.savedAt = copy.lastModified();
        claims.push_back({std::move(info), std::move(held)});
    }
    return claims;
}

bool RecoveryFolder::writeInfo(const RecoveryCopyInfo& info) const
{
    if (!QDir().mkpath(m_path))
        return false;
    QJsonObject object;
    object.insert(QLatin1String("originalFile"), info.originalFile);
    object.insert(QLatin1String("pendingName"), info.pendingName);
    object.insert(QLatin1String("savedAt"), info.savedAt.toString(Qt::ISODateWithMs));
    return writeFileAtomically(infoPath(info.id), QJsonDocument(object).toJson(), nullptr);
}

void RecoveryFolder::remove(const QString& id) const
{
    // The copy first: a description without its copy is ignored, a copy without its
    // description is still offered.
    QFile::remove(copyPath(id));
    QFile::remove(infoPath(id));
}

bool RecoveryFolder::move(const QString& from, const RecoveryCopyInfo& info) const
{
    if (!writeInfo(info))
        return false;
    QFile::remove(copyPath(info.id));
    if (!QFile::rename(copyPath(from), copyPath(info.id))) {
        QFile::remove(infoPath(info.id));
        return false;
    }
    QFile::remove(infoPath(from));
    return true;
}

QString defaultRecoveryFolderPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
        + QStringLiteral("/recovery");
}
