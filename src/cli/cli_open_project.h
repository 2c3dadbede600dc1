#pragma once

#include <QString>

class Project;
class QTextStream;

// Loads the project at `path` into `project`, or puts one line on `err` saying why not.
// A C64 picture given where a project belongs is named, with the command that makes a
// project of it.
bool openProjectForCli(const QString& path, Project* project, QTextStream& err);

// Why `path`, which is no C64 picture, may still be something kromel-cli can work with:
// " It is a PNG image: kromel-cli convert makes a project of it.", or empty.
QString ordinaryImageHint(const QString& path);
