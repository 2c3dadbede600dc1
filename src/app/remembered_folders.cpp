#include "app/remembered_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString lastDirForKey(const QSettings& settings, QAnyStringView key)
{
    const QString stored = settings.value(key).toString();
    if (!stored.isEmpty() && QFileInfo(stored).isDir())
        return stored;
    return QDir::currentPath();
}

void rememberDirForKey(QSettings& settings, QAnyStringView key, const QString& filePath)
{
    settings.setValue(key, QFileInfo(filePath).absolutePath());
}
