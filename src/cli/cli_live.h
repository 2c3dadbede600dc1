#pragma once

#include <QStringList>

class QTextStream;

// `kromel-cli live FILE.krm --host HOST [--timeout S]`: sends the project's program to an
// Ultimate device, then watches the file and writes every saved change into the running
// machine. Runs until SIGINT or SIGTERM (exit 0) or until the device fails (exit 1).
// `arguments` start with "live".
int runLiveCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
