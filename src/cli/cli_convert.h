#pragma once

#include <QStringList>

class QTextStream;

// `kromel-cli convert IMAGE OUT.krm [options]`: a new project of the mode's default size
// for the layout with the image converted into it, as Convert Image... does on OK.
// `arguments` start with "convert". Returns the exit code as runCli does.
int runConvertCommand(const QStringList& arguments, QTextStream& err);
