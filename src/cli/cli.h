#pragma once

#include <QStringList>

class QTextStream;

// The command-line tool: `info` and `render` over a project file, built on the core
// library alone so that scripts and build pipelines need no display. `arguments` are
// those after the program name. Returns the exit code: 0 done, 1 a file could not be
// read or written, 2 the command line was wrong.
int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err);
