#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The Open Recent list: absolute, cleaned paths, newest first. Paths are compared
// ignoring case, so a project reached through two spellings on a case-insensitive disk
// is listed once.
namespace RecentFiles {

inline constexpr int maxEntries = 10;

// Empty stays empty; anything else becomes absolute and loses redundant separators,
// "." and "..".
QString normalize(const QString& path);
bool isSamePath(const QString& a, const QString& b);
// The list without `path`, and without empty entries.
QStringList remove(const QStringList& list, const QString& path);
// Normalised, each path once (the first occurrence kept), at most `max` entries.
QStringList sanitize(const QStringList& list, int max);
// `path` moved (or added) to the front.
QStringList promote(const QStringList& list, const QString& path, int max);
// File names, each followed by its folder's name where two entries share a file name.
QStringList menuLabels(const QStringList& list);

// The list as stored under "files/recentProjects", sanitised.
QStringList read(const QSettings& settings);
void write(QSettings& settings, const QStringList& list);

} // namespace RecentFiles
