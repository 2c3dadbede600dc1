#pragma once

#include <QStringList>

class QTextStream;

// The command-line tool: `info`, `render` and `export` over a project file and `import`
// of a C64 picture, built on the core library alone so that scripts and build pipelines
// need no display. `arguments` are those after the program name. Every problem is one
// line on `err`. Returns the exit code: 0 done, 1 a file could not be read or written or
// the canvas cannot be exported as asked, 2 the command line was wrong.
int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err);
