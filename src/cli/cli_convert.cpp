#include "cli/cli_convert.h"

#include "cli/cli_errors.h"
#include "cli/cli_names.h"
#include "convert/adjustment_curves_file.h"
#include "convert/display_image.h"
#include "convert/image_conversion.h"
#include "document/project.h"
#include "formats/project/project_file_writer.h"

#include <QDir>
#include <QImageReader>
#include <QTextStream>

#include <optional>

namespace {

struct ConvertOptions {
    QStringList files;
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayout layout = CanvasLayout::BitmapOnly;
    DitherMethod dither = DitherMethod::None;
    PaletteVariant palette = PaletteVariant::Pixcen;
    // The conversion dialog starts on Weighted too.
    ColorDistanceMetric distance = ColorDistanceMetric::Weighted;
    ConversionMethod method = ConversionMethod::Classic;
    // A colour index, or nothing for the canvas's own background.
    std::optional<uchar> background;
    bool automaticBackground = false;
    bool keepAspect = false;
    QString curvesPath;
};

// "auto" or a colour index 0-15.
QString setBackground(ConvertOptions* options, const QString& value)
{
    if (nameKey(value) == nameKey(QStringLiteral("auto"))) {
        options->automaticBackground = true;
        return {};
    }
    bool ok = false;
    const int index = value.toInt(&ok);
    if (!ok || index < 0 || index > 15)
        return QStringLiteral("unknown background \"%1\" (known: auto, 0-15)").arg(value);
    options->automaticBackground = false;
    options->background = uchar(index);
    return {};
}

// The value among `names` (each with its spellings) that `name` spells, or nothing.
template <typename T>
std::optional<T> valueNamed(const QString& name, const QList<QPair<QStringList, T>>& names)
{
    for (const auto& [spellings, value] : names) {
        for (const QString& spelling : spellings) {
            if (nameKey(spelling) == nameKey(name))
                return value;
        }
    }
    return std::nullopt;
}

template <typename T>
QString setNamed(
    T* target, const QString& option, const QString& name, const QList<QPair<QStringList, T>>& names)
{
    const std::optional<T> value = valueNamed(name, names);
    if (!value) {
        QStringList known;
        for (const auto& entry : names)
            known << entry.first.constFirst();
        return QStringLiteral("unknown %1 \"%2\" (known: %3)")
            .arg(option, name, known.join(QStringLiteral(", ")));
    }
    *target = *value;
    return {};
}

QString parseConvertOptions(const QStringList& arguments, ConvertOptions* options)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            options->files << argument;
            continue;
        }
        if (argument == QLatin1String("--keep-aspect")) {
            options->keepAspect = true;
            continue;
        }
        static const QStringList valued {QStringLiteral("--mode"), QStringLiteral("--layout"),
            QStringLiteral("--dither"), QStringLiteral("--palette"), QStringLiteral("--distance"),
            QStringLiteral("--curves"), QStringLiteral("--method"), QStringLiteral("--background")};
        if (!valued.contains(argument))
            return QStringLiteral("convert does not take %1").arg(argument);
        if (++i == arguments.size())
            return QStringLiteral("%1 needs a name").arg(argument);
        const QString& value = arguments.at(i);
        QString problem;
        if (argument == QLatin1String("--mode")) {
            problem = setNamed<CanvasMode>(&options->mode, QStringLiteral("mode"), value,
                {{{QStringLiteral("hires")}, CanvasMode::Hires},
                    {{QStringLiteral("multicolor")}, CanvasMode::Multicolor}});
        } else if (argument == QLatin1String("--layout")) {
            problem = setNamed<CanvasLayout>(&options->layout, QStringLiteral("layout"), value,
                {{{QStringLiteral("bitmap"), QStringLiteral("bitmap-only")}, CanvasLayout::BitmapOnly},
                    {{QStringLiteral("side-borders")}, CanvasLayout::SideBorders},
                    {{QStringLiteral("top-bottom-borders")}, CanvasLayout::TopBottomBorders}});
        } else if (argument == QLatin1String("--dither")) {
            problem = setNamed<DitherMethod>(&options->dither, QStringLiteral("dither"), value,
                {{{QStringLiteral("none")}, DitherMethod::None},
                    {{QStringLiteral("ordered")}, DitherMethod::Ordered},
                    {{QStringLiteral("diffusion"), QStringLiteral("error-diffusion")},
                        DitherMethod::ErrorDiffusion}});
        } else if (argument == QLatin1String("--distance")) {
            problem = setNamed<ColorDistanceMetric>(&options->distance, QStringLiteral("distance"), value,
                {{{QStringLiteral("euclidean")}, ColorDistanceMetric::Euclidean},
                    {{QStringLiteral("weighted")}, ColorDistanceMetric::Weighted},
                    {{QStringLiteral("perceptual")}, ColorDistanceMetric::Perceptual}});
        } else if (argument == QLatin1String("--method")) {
            problem = setNamed<ConversionMethod>(&options->method, QStringLiteral("method"), value,
                {{{QStringLiteral("classic")}, ConversionMethod::Classic},
                    {{QStringLiteral("cells"), QStringLiteral("cell-aware")}, ConversionMethod::CellAware}});
        } else if (argument == QLatin1String("--background")) {
            problem = setBackground(options, value);
        } else if (argument == QLatin1String("--palette")) {
            const std::optional<PaletteVariant> named = paletteNamed(value);
            if (!named)
                problem = QStringLiteral("unknown palette \"%1\"").arg(value);
            else
                options->palette = *named;
        } else {
            options->curvesPath = value;
        }
        if (!problem.isEmpty())
            return problem;
    }
    if (options->files.size() != 2)
        return QStringLiteral("convert takes an image file and a project file");
    return {};
}

} // namespace

int runConvertCommand(const QStringList& arguments, QTextStream& err)
{
    ConvertOptions options;
    const QString problem = parseConvertOptions(arguments, &options);
    if (!problem.isEmpty()) {
        err << "kromel-cli: " << problem << " (see kromel-cli --help)\n";
        return exitUsageError;
    }
    ImageAdjustment curves;
    if (!options.curvesPath.isEmpty()) {
        const AdjustmentCurvesResult read = readAdjustmentCurvesFile(options.curvesPath);
        if (!read.ok)
            return fileError(err,
                QStringLiteral("Could not read curves %1: %2")
                    .arg(QDir::toNativeSeparators(options.curvesPath), read.error));
        curves = read.adjustment;
    }
    const QString& imagePath = options.files.at(0);
    QImageReader reader(imagePath);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return fileError(err,
            QStringLiteral("Could not load %1: %2")
                .arg(QDir::toNativeSeparators(imagePath), reader.errorString()));

    Project project(options.mode, 0, 0, CanvasLayoutSpec {options.layout});
    ImageConversionSettings settings;
    settings.mode = project.mode();
    settings.layout = project.layout();
    settings.paletteVariant = options.palette;
    settings.dither = options.dither;
    settings.distance = options.distance;
    settings.method = options.method;
    settings.automaticBackground = options.automaticBackground;
    settings.slots = project.colorSlots();
    if (options.background)
        settings.slots[HistoryColorSlot::Background] = *options.background;
    // Scripts have no smoothing preference; photographs are what they convert, and those
    // scale best smoothly.
    const QImage display = composeImageToDisplaySize(image,
        imageConversionRequiredSize(project.mode(), project.size()), options.keepAspect, Qt::black, true);
    const ImageConversionResult converted = convertImageWithColors(display, project.size(), curves, settings);
    project.applyImageConversion(
        converted.colormap, {converted.slots, settings.layout.topAlignment, settings.layout.bottomAlignment});

    const QString& projectPath = options.files.at(1);
    const ProjectFileResult saved = saveProjectFile(project, projectPath, {});
    if (!saved.ok)
        return fileError(err,
            QStringLiteral("Could not save %1: %2").arg(QDir::toNativeSeparators(projectPath), saved.error));
    return exitOk;
}
