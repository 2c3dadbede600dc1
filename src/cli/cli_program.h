#pragma once

#include <QString>
#include <QStringList>

class Project;
class QTextStream;

// How a program for the C64 is made on the command line.
struct ProgramOptions {
    // Pack it with Exomizer when one is found (see cruncherForCli).
    bool crunch = true;
    // Sweep the canvas's clashes first instead of refusing it.
    bool resolve = false;
};

// The cruncher kromel-cli uses: KROMEL_EXOMIZER when set, else the editor's search
// (beside the program, then on PATH).
QString cruncherForCli();

// `kromel-cli export FILE.krm OUT.prg`: the ready-to-run program, replaced at `target`
// only when it is complete. Returns the exit code.
int exportProgram(Project& project, const QString& target, const ProgramOptions& options, QTextStream& err);

// `kromel-cli send FILE.krm --host HOST [--timeout S] [--no-crunch] [--resolve]`: the
// program sent to an Ultimate device, which runs it. `arguments` start with "send".
int runSendCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
