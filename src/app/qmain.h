#pragma once

#include <QString>
#include <QStringList>

// The whole life of the process: identity, theme, the main window, the event loop.
int qMain(int argc, char** argv);

// The project named on the command line: the first argument after the program name that
// is not an option. Empty when there is none.
QString projectPathFromArguments(const QStringList& arguments);
