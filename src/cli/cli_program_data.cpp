#include "cli/cli_program_data.h"

#include "cli/cli_errors.h"
#include "document/project.h"
#include "formats/prg_export_colors.h"
#include "formats/program_data/assembler_source.h"
#include "formats/program_data/raw_plane_files.h"
#include "rules/unresolved_clashes.h"

namespace {

bool isRaw(const QString& name)
{
    return name.compare(QLatin1String("raw"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("bin"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool isProgramDataFormat(const QString& name)
{
    return isRaw(name) || assemblerDialectNamed(name);
}

std::optional<int> parseLoadAddress(const QString& text)
{
    QString digits = text.trimmed();
    if (digits.startsWith(QLatin1Char('$')))
        digits.remove(0, 1);
    else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits.remove(0, 2);
    bool ok = false;
    const int value = digits.toInt(&ok, 16);
    if (!ok || digits.isEmpty() || value < 0 || value > 0xFFFF)
        return std::nullopt;
    return value;
}

int exportProgramData(Project& project, const QString& pictureName, const QString& format,
    const QString& target, std::optional<int> loadAddress, bool resolve, QTextStream& err)
{
    const QString refusal
        = rawPlanesRefusal(project.mode(), project.size(), project.layout(), project.screensAcross());
    if (!refusal.isEmpty())
        return fileError(err, refusal);
    if (resolve)
        project.resolveAllClashes();
    // Like the picture formats, the planes have no room for a cell's surplus colour.
    if (canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap()))
        return fileError(err,
            QStringLiteral("Could not export for programmers: the canvas holds unresolved color clashes."));
    const RawPlanesResult planes = encodeRawPlanes(project.colormap(), project.mode(), project.layout(),
        project.screensAcross(), PrgExportColors::fromSlots(project.colorSlots()));
    if (!planes.ok)
        return fileError(err, planes.error);

    QList<ExportFile> files;
    if (isRaw(format)) {
        files = rawPlaneFiles(target, planes.screens, loadAddress);
    } else {
        const AssemblerDialectRow& dialect = *assemblerDialectNamed(format);
        const QString originRefusal = assemblerOriginRefusal(dialect, planes.screens, loadAddress);
        if (!originRefusal.isEmpty())
            return fileError(err, originRefusal);
        const AssemblerSourceHead head {pictureName, project.mode(), project.layout().layout};
        files = assemblerSourceFiles(target, planes.screens, dialect, head, loadAddress);
    }
    const ExportFilesResult written = writeExportFiles(files);
    return written.ok ? exitOk : fileError(err, written.error);
}
