#include "cli/cli.h"

#include "formats/project/project_file_reader.h"
#include "model/palette.h"
#include "model/project.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTextStream>

#include <optional>

namespace {

constexpr int exitOk = 0;
constexpr int exitFileError = 1;
constexpr int exitUsageError = 2;

QString usage()
{
    return QStringLiteral("Usage: kromel-cli info FILE.krm\n"
                          "       kromel-cli render FILE.krm OUT.png [--palette NAME]\n"
                          "       kromel-cli --help | --version\n"
                          "\n"
                          "  info     print the project's settings, one \"key: value\" line each\n"
                          "  render   write the canvas as the C64 shows it (multicolor pixels twice as\n"
                          "           wide, no border frame) to an image file; the suffix picks the format\n"
                          "\n"
                          "Palettes for --palette (case, spaces and dashes do not matter; default %2):\n"
                          "  %1\n");
}

QString paletteList()
{
    QStringList names;
    for (PaletteVariant variant : allPaletteVariants())
        names << paletteVariantName(variant);
    return names.join(QStringLiteral(", "));
}

// "High Contrast", "high-contrast" and "HIGHCONTRAST" all name the same palette.
QString paletteKey(const QString& name)
{
    QString key = name.toLower();
    key.remove(QLatin1Char(' '));
    key.remove(QLatin1Char('-'));
    key.remove(QLatin1Char('_'));
    return key;
}

std::optional<PaletteVariant> paletteNamed(const QString& name)
{
    for (PaletteVariant variant : allPaletteVariants()) {
        if (paletteKey(paletteVariantName(variant)) == paletteKey(name))
            return variant;
    }
    return std::nullopt;
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

int usageError(QTextStream& err, const QString& message)
{
    err << "kromel-cli: " << message << "\n"
        << "Try 'kromel-cli --help'.\n";
    return exitUsageError;
}

// The editor's own message for a file it cannot open.
bool loadProject(const QString& path, Project* project, QTextStream& err)
{
    const ProjectFileResult result = loadProjectFile(path, project, {});
    if (!result.ok)
        err << QStringLiteral("Could not open %1: %2").arg(QDir::toNativeSeparators(path), result.error)
            << "\n";
    return result.ok;
}

int printInfo(const QString& path, QTextStream& out, QTextStream& err)
{
    Project project;
    if (!loadProject(path, &project, err))
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

int render(const QString& path, const QString& imagePath, PaletteVariant variant, QTextStream& err)
{
    Project project;
    if (!loadProject(path, &project, err))
        return exitFileError;
    QImage image = project.colormap().toImage(Palette(variant));
    // A multicolor pixel is two screen pixels wide on the C64.
    if (isMulticolor(project.mode()))
        image
            = image.scaled(image.width() * 2, image.height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!image.save(imagePath)) {
        const QString format = QFileInfo(imagePath).suffix().toUpper();
        err << QStringLiteral("Could not export %1 as %2.").arg(QDir::toNativeSeparators(imagePath), format)
            << "\n";
        return exitFileError;
    }
    return exitOk;
}

} // namespace

int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty())
        return usageError(err, QStringLiteral("no command given"));
    const QString& command = arguments.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << usage().arg(paletteList(), paletteVariantName(PaletteVariant::Pixcen));
        return exitOk;
    }
    if (command == QLatin1String("--version")) {
        out << "kromel-cli " << KROMEL_VERSION << "\n";
        return exitOk;
    }
    if (command == QLatin1String("info")) {
        if (arguments.size() != 2)
            return usageError(err, QStringLiteral("info takes one project file"));
        return printInfo(arguments.at(1), out, err);
    }
    if (command == QLatin1String("render")) {
        QStringList files;
        PaletteVariant variant = PaletteVariant::Pixcen;
        for (int i = 1; i < arguments.size(); ++i) {
            if (arguments.at(i) != QLatin1String("--palette")) {
                files << arguments.at(i);
                continue;
            }
            if (++i == arguments.size())
                return usageError(err, QStringLiteral("--palette needs a name"));
            const std::optional<PaletteVariant> named = paletteNamed(arguments.at(i));
            if (!named) {
                return usageError(err,
                    QStringLiteral("unknown palette \"%1\" (known: %2)").arg(arguments.at(i), paletteList()));
            }
            variant = *named;
        }
        if (files.size() != 2)
            return usageError(err, QStringLiteral("render takes a project file and an image file"));
        return render(files.at(0), files.at(1), variant, err);
    }
    return usageError(err, QStringLiteral("unknown command \"%1\"").arg(command));
}
