#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>

class MainWindow;
struct NativeImage;

// Steps the file commands share across their files: choosing where an export goes and
// what it is called, refusing one the canvas cannot hold yet, the questions about borders
// and replaced files, and the picture and program encodings another command reuses. Each
// asks through the window's prompts, so a test answers without a dialog.

QString chooseExportPath(MainWindow& window, const QString& title, const QString& proposedPath,
    const QString& filter, QString* selectedFilter = nullptr);
// The base name exports propose: the project's file, the imported image's, or "untitled".
QString suggestedExportBaseName(const MainWindow& window);
// Offers to sweep the clashes a native export cannot hold; true when it must stop.
bool exportBlockedByClashes(MainWindow& window, const QString& noun, const QString& cancelMessage);
// Answered, and whether to include them.
std::pair<bool, bool> askIncludeBorders(
    MainWindow& window, const QString& title, const QString& cancelMessage);
// An export that writes several files asks once about those it would replace.
bool confirmReplacingFiles(MainWindow& window, const QStringList& existing);

// A C64 picture handed over from outside: a fresh canvas of its mode, the picture imported
// as one undoable edit, named after the file.
void openNativeImage(MainWindow& window, const QString& path, const NativeImage& image);
// Raw planes ("raw") or assembler source (an assembler's key) for a programmer.
void exportProgramDataFiles(MainWindow& window, const QString& format);
// The program of the canvas, or empty after a warning that starts with `headline`.
QByteArray encodeExecutablePrgOrWarn(MainWindow& window, const QString& headline);
