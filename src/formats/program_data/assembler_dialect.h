#pragma once

#include <QString>

#include <span>

enum class AssemblerDialect { Acme, Tass64, Ca65, KickAssembler };

// How one assembler spells what the picture source needs.
struct AssemblerDialectRow {
    AssemblerDialect dialect;
    // The name on the command line and in the file chooser.
    const char* key;
    const char* name;
    const char* suffix;
    const char* comment;
    // What follows a label's name where it is defined.
    const char* labelEnd;
    const char* byteDirective;
    // The line that sets the program counter, %1 being four hex digits; null when the
    // assembler places code through its linker instead.
    const char* origin;
    // Lines the source needs before the data, or null.
    const char* preamble;
};

std::span<const AssemblerDialectRow> assemblerDialects();

// The dialect named by its key ("acme", "64tass", "ca65", "kickass") or its name
// ("KickAssembler"), in any case; null for any other.
const AssemblerDialectRow* assemblerDialectNamed(const QString& key);
