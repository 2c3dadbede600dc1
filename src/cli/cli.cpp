#include "cli/cli.h"

#include "cli/cli_convert.h"
#include "cli/cli_errors.h"
#include "cli/cli_live.h"
#include "cli/cli_names.h"
#include "cli/cli_open_project.h"
#include "cli/cli_program.h"
#include "cli/cli_program_data.h"
#include "cli/cli_run.h"
#include "cli/cli_workstages.h"
#include "document/project.h"
#include "formats/image/canvas_export_image.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_export.h"
#include "formats/native/native_image_import.h"
#include "formats/project/project_file_writer.h"
#include "model/palette.h"
#include "rules/unresolved_clashes.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <optional>

#include <unistd.h>

namespace {

QString usage()
{
    return QStringLiteral(
        "Usage: kromel-cli info FILE.krm\n"
        "       kromel-cli render FILE.krm OUT.png [--palette NAME]\n"
        "       kromel-cli import PICTURE OUT.krm\n"
        "       kromel-cli export FILE.krm OUT [--format NAME] [--frame] [--resolve] [--palette NAME]\n"
        "       kromel-cli export FILE.krm OUT.prg [--no-crunch] [--resolve]\n"
        "       kromel-cli export FILE.krm OUT --format raw|acme|64tass|ca65|kickass\n"
        "                [--load-address HEX] [--resolve]\n"
        "       kromel-cli run FILE.krm [--emulator PROGRAM] [--resolve]\n"
        "       kromel-cli send FILE.krm --host HOST [--timeout SECONDS] [--no-crunch] [--resolve]\n"
        "       kromel-cli live FILE.krm --host HOST [--timeout SECONDS]\n"
        "       kromel-cli convert IMAGE OUT.krm [--mode hires|multicolor]\n"
        "                [--layout bitmap|side-borders|top-bottom-borders]\n"
        "                [--dither none|ordered|diffusion] [--palette NAME]\n"
        "                [--distance weighted|euclidean|perceptual] [--method classic|cells]\n"
        "                [--background auto|0-15] [--keep-aspect] [--curves FILE]\n"
        "       kromel-cli workstages FILE.krm OUTDIR [--count N] [--smart] [--frame] [--base NAME]\n"
        "       kromel-cli --help | --version\n"
        "\n"
        "  info     print the project's settings, one \"key: value\" line each\n"
        "  render   write the canvas as the C64 shows it (multicolor pixels twice as\n"
        "           wide, no border frame) to an image file; the suffix picks the format\n"
        "  import   make a one-screen project of a C64 picture file, taking the picture's\n"
        "           colours as Import Image does on a new canvas. Read: Art Studio,\n"
        "           Interpaint, Image System, Doodle, Vidcom 64, Koala Painter, Artist 64,\n"
        "           Advanced Art Studio, Blazing Paddles, recognised by load address and size\n"
        "  export   write the canvas as a C64 picture or as an ordinary image. The format\n"
        "           is --format NAME, else OUT's suffix: koala (.koa, .kla) for multicolor,\n"
        "           art-studio (.ocp, .art) for hires, or an image format:\n"
        "           %3.\n"
        "           C64 pictures need a canvas of whole bitmap-only screens; one of several\n"
        "           screens becomes OUT-0, OUT-1, ... numbered from the left.\n"
        "    --frame     put the C64 border frame around an ordinary image\n"
        "    --resolve   merge clashing colours into their nearest survivors before writing\n"
        "                a C64 picture (the project file stays as it is); without it a\n"
        "                canvas with clashes is refused\n"
        "           prg (.prg) writes a program the C64 runs: one screen of any layout, packed\n"
        "           with Exomizer when it is found (KROMEL_EXOMIZER, beside kromel-cli, or on\n"
        "           PATH) so that it starts with RUN; unpacked (no Exomizer, or Exomizer\n"
        "           failed) it starts with SYS 7680 (bitmap only) or SYS 13312 (border sprites)\n"
        "    --no-crunch write the program unpacked\n"
        "           raw (.bin) writes the C64 memory blocks for your own program, named after\n"
        "           OUT's base name: NAME-bitmap.bin (8000 bytes), NAME-screen.bin (1000),\n"
        "           NAME-colors.bin (1000, multicolor), NAME-sprites.bin (the border sprites,\n"
        "           64 bytes each, in the program's order) and NAME-registers.bin (border,\n"
        "           background); several screens give NAME-0-bitmap.bin, ... The bytes are\n"
        "           those of the Koala Painter / Art Studio export and of the program.\n"
        "           acme, 64tass, ca65 or kickass writes OUT as assembler source with the\n"
        "           labels bitmap, screen, colors, border, background and sprites, which\n"
        "           assembles to the same bytes in that order; from $2000 (ca65: in the\n"
        "           RODATA segment, placed by your linker)\n"
        "    --load-address HEX  raw: start each file with this load address; source: put\n"
        "                the data there instead of $2000\n"
        "  send     send the program to an Ultimate 64 or 1541 Ultimate at HOST (an address,\n"
        "           with :PORT if needed), which runs it at once; --timeout is per request\n"
        "           (default 2.5 s)\n"
        "  run      start the picture's program (unpacked) in a C64 emulator with -autostart\n"
        "           and wait for it to close: --emulator PROGRAM, else KROMEL_EMULATOR, else\n"
        "           x64sc on PATH. The temporary program is removed afterwards\n"
        "  live     show the canvas on an Ultimate 64 or 1541 Ultimate at HOST and keep it\n"
        "           there as you work: the program is sent once, then every time FILE is\n"
        "           saved only the changed bytes are written into the running C64. Runs\n"
        "           until Ctrl+C (or SIGTERM); a device that stops answering within\n"
        "           --timeout (default 2.5 s per request) ends it with exit code 1\n"
        "  convert  make a one-screen project (hires bitmap unless told) of an ordinary\n"
        "           image, converted as Convert Image... does: stretched to the canvas, or\n"
        "           with --keep-aspect scaled to fit and centred on black; no dither and\n"
        "           the weighted distance unless told; --palette is the one the colours are\n"
        "           matched in. --method classic (the default) matches every pixel and\n"
        "           then keeps each cell's most-used colours; cells first chooses each\n"
        "           cell's best colours and dithers within them. --distance perceptual\n"
        "           matches as the eye sees (OKLab). --background sets the multicolor\n"
        "           background to a colour 0-15, or auto searches the one (and the\n"
        "           colours border sprites share) that fits the picture best.\n"
        "           --curves names a text file of tone curves, one per line: a channel\n"
        "           (rgb, r, g, b) and its points x,y from x 0 to x 255, e.g.\n"
        "           \"rgb 0,0 64,90 255,255\"; lines starting with '#' are comments\n"
        "  workstages  replay the recorded edits as numbered PNG frames OUTDIR/NAME-000000.png,\n"
        "           ... for a time-lapse, as Save Workstages... does: every stage from the\n"
        "           canvas before the first edit to the current one, or --count N of them\n"
        "           spread evenly (--smart: crowded towards the start), at most one per\n"
        "           stage; --frame adds the border frame in each stage's border colour;\n"
        "           NAME is --base or the project's file name. A progress line shows on a\n"
        "           terminal\n"
        "\n"
        "Palettes for --palette (case, spaces and dashes do not matter; default %2):\n"
        "  %1\n");
}

QString imageFormatList()
{
    QStringList names;
    for (const QByteArray& format : QImageWriter::supportedImageFormats())
        names << QString::fromLatin1(format);
    return names.join(QStringLiteral(", "));
}

QString paletteList()
{
    QStringList names;
    for (PaletteVariant variant : allPaletteVariants())
        names << paletteVariantName(variant);
    return names.join(QStringLiteral(", "));
}

QString modeKey(CanvasMode mode)
{
    return isMulticolor(mode) ? QStringLiteral("multicolor") : QStringLiteral("hires");
}

QString layoutKey(CanvasLayout layout)
{
    switch (layout) {
    case CanvasLayout::BitmapOnly:
        return QStringLiteral("bitmap-only");
    case CanvasLayout::SideBorders:
        return QStringLiteral("side-borders");
    case CanvasLayout::TopBottomBorders:
        return QStringLiteral("top-bottom-borders");
    }
    return {};
}

QString policyKey(SpriteCountPolicy policy)
{
    return policy == SpriteCountPolicy::Enforce ? QStringLiteral("enforce") : QStringLiteral("flag");
}

QString clashResolutionKey(HiresClashResolution resolution)
{
    switch (resolution) {
    case HiresClashResolution::ReplaceOverwritten:
        return QStringLiteral("replace-overwritten");
    case HiresClashResolution::PreserveBorder:
        return QStringLiteral("preserve-border");
    case HiresClashResolution::PreserveMostUsed:
        return QStringLiteral("preserve-most-used");
    }
    return {};
}

QString alignmentKey(SpriteAlignment alignment)
{
    return alignment == SpriteAlignment::Right ? QStringLiteral("right") : QStringLiteral("left");
}

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

struct Options {
    QStringList files;
    PaletteVariant palette = PaletteVariant::Pixcen;
    QString format;
    bool frame = false;
    bool resolve = false;
    bool noCrunch = false;
    std::optional<int> loadAddress;
};

// Splits a command's arguments into files and the options it takes; returns what is
// wrong, or nothing.
QString parseOptions(const QStringList& arguments, const QStringList& allowed, Options* options)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            options->files << argument;
            continue;
        }
        if (!allowed.contains(argument))
            return QStringLiteral("%1 does not take %2").arg(arguments.first(), argument);
        if (argument == QLatin1String("--frame")) {
            options->frame = true;
            continue;
        }
        if (argument == QLatin1String("--resolve")) {
            options->resolve = true;
            continue;
        }
        if (argument == QLatin1String("--no-crunch")) {
            options->noCrunch = true;
            continue;
        }
        if (++i == arguments.size())
            return QStringLiteral("%1 needs a name").arg(argument);
        if (argument == QLatin1String("--format")) {
            options->format = arguments.at(i);
            continue;
        }
        if (argument == QLatin1String("--load-address")) {
            options->loadAddress = parseLoadAddress(arguments.at(i));
            if (!options->loadAddress)
                return QStringLiteral("--load-address takes a hex address from 0000 to FFFF, not \"%1\"")
                    .arg(arguments.at(i));
            continue;
        }
        const std::optional<PaletteVariant> named = paletteNamed(arguments.at(i));
        if (!named)
            return QStringLiteral("unknown palette \"%1\" (known: %2)").arg(arguments.at(i), paletteList());
        options->palette = *named;
    }
    return {};
}

int printInfo(const QString& path, QTextStream& out, QTextStream& err)
{
    Project project;
    if (!openProjectForCli(path, &project, err))
        return exitFileError;
    QStringList slots;
    for (uchar slot : project.colorSlots().values)
        slots << QString::number(slot);
    out << "mode: " << modeKey(project.mode()) << "\n"
        << "layout: " << layoutKey(project.layout().layout) << "\n"
        << "size: " << project.size().width() << "x" << project.size().height() << "\n"
        << "screens: " << project.screensAcross() << "\n"
        << "slots: " << slots.join(QLatin1Char(' ')) << "\n"
        << "sprite-count-policy: " << policyKey(project.spriteCountPolicy()) << "\n"
        << "hires-clash-resolution: " << clashResolutionKey(project.hiresClashResolution()) << "\n"
        << "top-alignment: " << alignmentKey(project.layout().topAlignment) << "\n"
        << "bottom-alignment: " << alignmentKey(project.layout().bottomAlignment) << "\n"
        << "history-length: " << project.history().count() << "\n"
        << "history-index: " << project.history().index() << "\n";
    return exitOk;
}

int writeCanvasImage(const Project& project, const Options& options, const QString& imagePath,
    const QByteArray& format, QTextStream& err)
{
    const QImage image = canvasExportImage(project, Palette(options.palette), options.frame);
    QString reason;
    if (!writeImageFile(image, imagePath, format, &reason)) {
        return fileError(err,
            QStringLiteral("Could not export %1 as %2: %3")
                .arg(nativePath(imagePath), QString::fromLatin1(format).toUpper(), reason));
    }
    return exitOk;
}

int render(const Options& options, QTextStream& err)
{
    Project project;
    if (!openProjectForCli(options.files.at(0), &project, err))
        return exitFileError;
    const QString& imagePath = options.files.at(1);
    return writeCanvasImage(
        project, options, imagePath, QFileInfo(imagePath).suffix().toLower().toLatin1(), err);
}

int importPicture(const QString& picturePath, const QString& projectPath, QTextStream& err)
{
    NativeImage image;
    QString error;
    if (!readNativeImageFile(picturePath, &image, &error))
        return fileError(err,
            QStringLiteral("Could not load %1: %2%3")
                .arg(nativePath(picturePath), error, ordinaryImageHint(picturePath)));
    Project project(nativeImageFormatMode(image.format));
    const NativeImageImportResult imported = importNativeImage(project, image, 0);
    if (!imported.ok)
        return fileError(err, imported.error);
    const ProjectFileResult saved = saveProjectFile(project, projectPath, {});
    if (!saved.ok)
        return fileError(
            err, QStringLiteral("Could not save %1: %2").arg(nativePath(projectPath), saved.error));
    return exitOk;
}

// A writable C64 format by name in any spelling ("Koala Painter", "koala-painter"), by
// the first word of its name ("koala") or by a suffix it is written under ("kla").
NativeImageFormat nativeFormatNamed(const QString& name)
{
    for (const NativeImageFormatRow& row : nativeImageFormatTable()) {
        const QString formatName = QString::fromLatin1(row.name);
        if (row.isWritable()
            && (nameKey(name) == nameKey(formatName)
                || nameKey(name) == nameKey(formatName.section(QLatin1Char(' '), 0, 0))))
            return row.format;
    }
    return nativeImageFormatForSuffix(name);
}

int exportNativeImage(Project& project, NativeImageFormat format, const Options& options, QTextStream& err)
{
    const QString refusal = nativeImageExportRefusal(project, format);
    if (!refusal.isEmpty())
        return fileError(err, refusal);
    if (options.resolve)
        project.resolveAllClashes();
    // The picture formats have no room for a cell's surplus colour.
    if (canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap()))
        return fileError(err,
            QStringLiteral("Could not export a native image: the canvas holds unresolved color clashes."));
    const NativeImageExportResult result = writeNativeImageFiles(project, options.files.at(1));
    return result.ok ? exitOk : fileError(err, result.error);
}

int exportCanvas(const Options& options, QTextStream& err)
{
    const QString& target = options.files.at(1);
    const QString formatName = options.format.isEmpty() ? QFileInfo(target).suffix() : options.format;
    if (formatName.isEmpty())
        return usageError(
            err, QStringLiteral("%1 has no suffix to tell the format by; give --format").arg(target));
    const bool program = nameKey(formatName) == QLatin1String("prg");
    if (options.noCrunch && !program)
        return usageError(err, QStringLiteral("--no-crunch only applies to programs (.prg)"));
    const bool programData = isProgramDataFormat(formatName);
    if (options.loadAddress && !programData)
        return usageError(
            err, QStringLiteral("--load-address only applies to raw planes and assembler sources"));
    if (programData) {
        if (options.frame)
            return usageError(err, QStringLiteral("--frame only applies to ordinary images"));
        Project project;
        if (!openProjectForCli(options.files.at(0), &project, err))
            return exitFileError;
        return exportProgramData(project, QFileInfo(options.files.at(0)).fileName(), formatName, target,
            options.loadAddress, options.resolve, err);
    }
    if (program) {
        if (options.frame)
            return usageError(err, QStringLiteral("--frame only applies to ordinary images"));
        Project project;
        if (!openProjectForCli(options.files.at(0), &project, err))
            return exitFileError;
        return exportProgram(project, target, {!options.noCrunch, options.resolve}, err);
    }
    const NativeImageFormat native = nativeFormatNamed(formatName);
    const QByteArray imageFormat = formatName.toLower().toLatin1();
    if (native == NativeImageFormat::Unknown && !QImageWriter::supportedImageFormats().contains(imageFormat))
        return usageError(err, QStringLiteral("unknown format \"%1\"").arg(formatName));
    if (native != NativeImageFormat::Unknown && options.frame)
        return usageError(err, QStringLiteral("--frame only applies to ordinary images"));
    Project project;
    if (!openProjectForCli(options.files.at(0), &project, err))
        return exitFileError;
    if (native != NativeImageFormat::Unknown)
        return exportNativeImage(project, native, options, err);
    return writeCanvasImage(project, options, target, imageFormat, err);
}

} // namespace

int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty())
        return usageError(err, QStringLiteral("no command given"));
    const QString& command = arguments.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << usage().arg(paletteList(), paletteVariantName(PaletteVariant::Pixcen), imageFormatList());
        return exitOk;
    }
    if (command == QLatin1String("--version")) {
        out << "kromel-cli " << KROMEL_VERSION << "\n";
        return exitOk;
    }
    if (command == QLatin1String("convert"))
        return runConvertCommand(arguments, err);
    if (command == QLatin1String("send"))
        return runSendCommand(arguments, out, err);
    if (command == QLatin1String("run"))
        return runRunCommand(arguments, err);
    if (command == QLatin1String("live"))
        return runLiveCommand(arguments, out, err);
    if (command == QLatin1String("workstages"))
        return runWorkstagesCommand(arguments, out, err, isatty(fileno(stderr)) != 0);

    struct Command {
        const char* name;
        QStringList options;
        int fileCount;
        const char* files;
    };
    const QList<Command> commands {
        {"info", {}, 1, "one project file"},
        {"render", {QStringLiteral("--palette")}, 2, "a project file and an image file"},
        {"import", {}, 2, "a picture file and a project file"},
        {"export",
            {QStringLiteral("--format"), QStringLiteral("--frame"), QStringLiteral("--resolve"),
                QStringLiteral("--palette"), QStringLiteral("--no-crunch"), QStringLiteral("--load-address")},
            2, "a project file and an output file"},
    };
    const auto known = std::find_if(commands.begin(), commands.end(),
        [&command](const Command& candidate) { return command == QLatin1String(candidate.name); });
    if (known == commands.end())
        return usageError(err, QStringLiteral("unknown command \"%1\"").arg(command));
    Options options;
    const QString problem = parseOptions(arguments, known->options, &options);
    if (!problem.isEmpty())
        return usageError(err, problem);
    if (options.files.size() != known->fileCount)
        return usageError(err, QStringLiteral("%1 takes %2").arg(command, QLatin1String(known->files)));

    if (command == QLatin1String("info"))
        return printInfo(options.files.at(0), out, err);
    if (command == QLatin1String("render"))
        return render(options, err);
    if (command == QLatin1String("import"))
        return importPicture(options.files.at(0), options.files.at(1), err);
    return exportCanvas(options, err);
}
