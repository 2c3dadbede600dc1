#pragma once

#include <QString>

#include <optional>

class Project;
class QTextStream;

// Whether `name` is one of the exports for programmers: "raw" (or "bin") and the
// assembler sources ("acme", "64tass", "ca65", "kickass").
bool isProgramDataFormat(const QString& name);

// "2000", "$2000" and "0x2000" all mean $2000; nothing for anything outside $0000-$FFFF.
std::optional<int> parseLoadAddress(const QString& text);

// `kromel-cli export FILE.krm OUT --format raw|acme|64tass|ca65|kickass
// [--load-address HEX] [--resolve]`; `pictureName` heads the sources. Returns the exit
// code as runCli does.
int exportProgramData(Project& project, const QString& pictureName, const QString& format,
    const QString& target, std::optional<int> loadAddress, bool resolve, QTextStream& err);
