// Renders KROMEL's artwork sources into the PNG files kept under resources/.
//
//   kromel-artwork <sources dir> <resources dir>
//
// The sources dir holds manifest.txt, one picture per line:
//
//   pixels <map.txt> <output.png> [scale=N] [crop=N] [canvas=WxH] [at=X,Y]
//   svg    <drawing.svg> <output.png> size=N or size=WxH
//
// "pixels" draws a pixel map (see pixel_map.h) at an integer scale, optionally trims crop
// pixels from every edge and places the result at (X, Y) on a transparent canvas; "svg"
// renders a drawing at that size.

#include "pixel_map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace {

struct Job {
    QString kind;
    QString source;
    QString output;
    QHash<QString, QString> options;
};

std::optional<QSize> parseSize(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    bool okW = false;
    bool okH = true;
    const int w = parts.value(0).toInt(&okW);
    int h = w;
    if (parts.size() > 1)
        h = parts.at(1).toInt(&okH);
    if (!okW || !okH || w <= 0 || h <= 0)
        return std::nullopt;
    return QSize(w, h);
}

QImage renderPixels(const Job& job, const QDir& sources, QString* error)
{
    QFile file(sources.filePath(job.source));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read %1").arg(file.fileName());
        return {};
    }
    const PixelMap map = PixelMap::parse(QString::fromUtf8(file.readAll()), error);
    if (map.isNull())
        return {};

    QImage image = map.toImage(job.options.value(QStringLiteral("scale"), QStringLiteral("1")).toInt());
    const int crop = job.options.value(QStringLiteral("crop")).toInt();
    if (crop > 0)
        image = image.copy(crop, crop, image.width() - 2 * crop, image.height() - 2 * crop);

    if (job.options.contains(QStringLiteral("canvas"))) {
        const auto canvasSize = parseSize(job.options.value(QStringLiteral("canvas")));
        const QStringList at
            = job.options.value(QStringLiteral("at"), QStringLiteral("0,0")).split(QLatin1Char(','));
        if (!canvasSize || at.size() != 2) {
            *error = QStringLiteral("bad canvas or position");
            return {};
        }
        QImage canvas(*canvasSize, QImage::Format_ARGB32);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.drawImage(at.at(0).toInt(), at.at(1).toInt(), image);
        painter.end();
        image = canvas;
    }
    return image;
}

QImage renderSvg(const Job& job, const QDir& sources, QString* error)
{
    QSvgRenderer renderer(sources.filePath(job.source));
    const auto size = parseSize(job.options.value(QStringLiteral("size")));
    if (!renderer.isValid() || !size) {
        *error = QStringLiteral("cannot render %1").arg(job.source);
        return {};
    }
    QImage image(*size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

std::optional<Job> parseJob(const QString& line)
{
    const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() < 3)
        return std::nullopt;
    Job job {parts.at(0), parts.at(1), parts.at(2), {}};
    for (int i = 3; i < parts.size(); ++i) {
        const qsizetype eq = parts.at(i).indexOf(QLatin1Char('='));
        if (eq <= 0)
            return std::nullopt;
        job.options.insert(parts.at(i).left(eq), parts.at(i).mid(eq + 1));
    }
    return job;
}

} // namespace

int main(int argc, char** argv)
{
    // A renderer for files, never a window: run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <sources dir> <resources dir>\n", argv[0]);
        return 2;
    }
    const QDir sources(QString::fromLocal8Bit(argv[1]));
    const QDir resources(QString::fromLocal8Bit(argv[2]));

    QFile manifest(sources.filePath(QStringLiteral("manifest.txt")));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "kromel-artwork: cannot read %s\n", qPrintable(manifest.fileName()));
        return 1;
    }

    int failures = 0;
    QTextStream in(&manifest);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const auto job = parseJob(line);
        QString error = QStringLiteral("unknown picture kind");
        QImage image;
        if (job && job->kind == QLatin1String("pixels"))
            image = renderPixels(*job, sources, &error);
        else if (job && job->kind == QLatin1String("svg"))
            image = renderSvg(*job, sources, &error);

        const QString output = job ? resources.filePath(job->output) : QString();
        if (image.isNull() || !resources.mkpath(QFileInfo(output).path()) || !image.save(output, "PNG")) {
            std::fprintf(stderr, "kromel-artwork: %s: %s\n", qPrintable(line), qPrintable(error));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
