#include "formats/program_data/assembler_dialect.h"

#include <array>

namespace {

// ca65 exports the labels so a program in another module can reach them, and puts the
// data in RODATA, which every linker configuration of cc65 places.
constexpr std::array<AssemblerDialectRow, 4> dialects {{
    {AssemblerDialect::Acme, "acme", "ACME", "a", ";", "", "!byte", "* = $%1", nullptr},
    {AssemblerDialect::Tass64, "64tass", "64tass", "asm", ";", "", ".byte", "* = $%1", nullptr},
    {AssemblerDialect::Ca65, "ca65", "ca65", "s", ";", ":", ".byte", nullptr,
        ".export %1\n.segment \"RODATA\""},
    {AssemblerDialect::KickAssembler, "kickass", "KickAssembler", "asm", "//", ":", ".byte", "* = $%1",
        nullptr},
}};

} // namespace

std::span<const AssemblerDialectRow> assemblerDialects()
{
    return dialects;
}

const AssemblerDialectRow* assemblerDialectNamed(const QString& key)
{
    for (const AssemblerDialectRow& row : dialects) {
        if (key.compare(QLatin1String(row.key), Qt::CaseInsensitive) == 0
            || key.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0)
            return &row;
    }
    return nullptr;
}
