#include "app/recent_files.h"

#include "app/settings_keys.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSettings>

#include <algorithm>

namespace RecentFiles {

QString normalize(const QString& path)
{
    if (path.isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool isSamePath(const QString& a, const QString& b)
{
    const QString first = normalize(a);
    const QString second = normalize(b);
    return !first.isEmpty() && !second.isEmpty() && first.compare(second, Qt::CaseInsensitive) == 0;
}

QStringList remove(const QStringList& list, const QString& path)
{
    QStringList kept;
    for (const QString& entry : list) {
        const QString normalized = normalize(entry);
        if (!normalized.isEmpty() && !isSamePath(normalized, path))
            kept.append(normalized);
    }
    return kept;
}

QStringList sanitize(const QStringList& list, int max)
{
    QStringList kept;
    for (const QString& entry : list) {
        if (kept.size() >= max)
            break;
        const QString normalized = normalize(entry);
        if (normalized.isEmpty())
            continue;
        const bool seen = std::any_of(
            kept.cbegin(), kept.cend(), [&](const QString& other) { return isSamePath(other, normalized); });
        if (!seen)
            kept.append(normalized);
    }
    return kept;
}

QStringList promote(const QStringList& list, const QString& path, int max)
{
    const QString front = normalize(path);
    if (front.isEmpty())
        return sanitize(list, max);
    return sanitize(QStringList {front} + remove(list, front), max);
}

QStringList menuLabels(const QStringList& list)
{
    QHash<QString, int> nameCounts;
    for (const QString& entry : list)
        ++nameCounts[QFileInfo(entry).fileName().toCaseFolded()];

    QStringList labels;
    for (const QString& entry : list) {
        const QFileInfo info(entry);
        if (nameCounts.value(info.fileName().toCaseFolded()) > 1)
            labels.append(QStringLiteral("%1 (%2)").arg(info.fileName(), info.dir().dirName()));
        else
            labels.append(info.fileName());
    }
    return labels;
}

QStringList read(const QSettings& settings)
{
    return sanitize(settings.value(settingsKey::recentProjects).toStringList(), maxEntries);
}

void write(QSettings& settings, const QStringList& list)
{
    settings.setValue(settingsKey::recentProjects, list);
}

} // namespace RecentFiles
