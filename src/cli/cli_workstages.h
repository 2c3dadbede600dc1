#pragma once

#include <QStringList>

class QTextStream;

// `kromel-cli workstages IN.krm OUTDIR [--count N] [--smart] [--frame] [--base NAME]`:
// the frames Save Workstages... writes, from the project's recorded history. With
// `showProgress` a running "frame N of M" line is kept on `err`, which only makes sense
// on a terminal. `arguments` start with "workstages". Returns the exit code as runCli does.
int runWorkstagesCommand(const QStringList& arguments, QTextStream& out, QTextStream& err, bool showProgress);
