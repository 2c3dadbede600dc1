#pragma once

#include <QStringList>

class QTextStream;

// `kromel-cli run FILE.krm [--emulator PROGRAM] [--resolve]`: the unpacked program started
// in a C64 emulator (--emulator, else KROMEL_EMULATOR, else x64sc on PATH), waited for,
// and removed afterwards. `arguments` start with "run". Returns the exit code as runCli does.
int runRunCommand(const QStringList& arguments, QTextStream& err);
