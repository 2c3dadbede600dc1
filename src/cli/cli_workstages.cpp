#include "cli/cli_workstages.h"

#include "cli/cli_errors.h"
#include "cli/cli_open_project.h"
#include "document/project.h"
#include "formats/image/workstage_frames.h"
#include "model/canvas_region.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

struct WorkstagesOptions {
    QStringList files;
    int count = 0; // 0: every stage
    WorkstageReduction reduction = WorkstageReduction::Uniform;
    bool frame = false;
    QString baseName;
};

QString parseWorkstagesOptions(const QStringList& arguments, WorkstagesOptions* options)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool takesValue = argument == QLatin1String("--count") || argument == QLatin1String("--base");
        if (takesValue && i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(argument);
        if (argument == QLatin1String("--count")) {
            bool ok = false;
            options->count = arguments.at(++i).toInt(&ok);
            if (!ok || options->count < 1)
                return QStringLiteral("--count needs a whole number of at least 1");
        } else if (argument == QLatin1String("--base")) {
            options->baseName = arguments.at(++i);
            if (options->baseName.isEmpty() || options->baseName.contains(QLatin1Char('/')))
                return QStringLiteral("--base needs a file name without a folder");
        } else if (argument == QLatin1String("--smart")) {
            options->reduction = WorkstageReduction::Smart;
        } else if (argument == QLatin1String("--frame")) {
            options->frame = true;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option \"%1\"").arg(argument);
        } else {
            options->files << argument;
        }
    }
    if (options->files.size() != 2)
        return QStringLiteral("workstages needs a project file and an output folder");
    return {};
}

} // namespace

int runWorkstagesCommand(const QStringList& arguments, QTextStream& out, QTextStream& err, bool showProgress)
{
    WorkstagesOptions options;
    const QString problem = parseWorkstagesOptions(arguments, &options);
    if (!problem.isEmpty())
        return usageError(err, problem);
    const QString& input = options.files.at(0);
    Project project;
    if (!openProjectForCli(input, &project, err))
        return exitFileError;
    const int total = project.history().index() + 1;
    if (total < 2) {
        return fileError(
            err, QStringLiteral("%1 has no recorded edits to replay").arg(QDir::toNativeSeparators(input)));
    }
    const QDir folder(options.files.at(1));
    if (!folder.mkpath(QStringLiteral(".")))
        return fileError(
            err, QStringLiteral("Could not create %1").arg(QDir::toNativeSeparators(folder.path())));

    const int count = options.count > 0 ? std::min(options.count, total) : total;
    const bool framed
        = options.frame && canvasShowsBorderFrame(project.mode(), project.size(), project.layout());
    const QString baseName
        = options.baseName.isEmpty() ? QFileInfo(input).completeBaseName() : options.baseName;
    const WorkstageFrameJob job
        = workstageFrameJob(project, count, options.reduction, framed, folder.path(), baseName);
    WorkstageReplayer replayer(project.colormap(), project.history(), workstageColorsOf(project));
    const auto progress = [&err, showProgress](int done, int planned) {
        if (showProgress) {
            err << "\rworkstages: frame " << done << " of " << planned;
            err.flush();
        }
        return true;
    };
    const WorkstageFramesResult result = writeWorkstageFrames(replayer, job, progress);
    if (showProgress)
        err << "\n";
    if (!result.ok()) {
        return fileError(err,
            QStringLiteral("Could not save %1: %2")
                .arg(QDir::toNativeSeparators(result.failedPath), result.error));
    }
    out << "Saved " << result.written << " workstage frames to " << QDir::toNativeSeparators(folder.path());
    if (options.count > total)
        out << " (the project has " << total << " workstages, fewer than the " << options.count
            << " asked for)";
    out << "\n";
    return exitOk;
}
