#pragma once

#include <QAnyStringView>
#include <QString>

class QSettings;

// The folder a file dialog opens in: the one remembered under the key ("files/last…Dir")
// if it still exists, otherwise the process's current directory.
QString lastDirForKey(const QSettings& settings, QAnyStringView key);

// Remembers the folder that holds the file a dialog just chose, as an absolute path.
void rememberDirForKey(QSettings& settings, QAnyStringView key, const QString& filePath);
