#include "cli/cli_open_project.h"

#include "cli/cli_errors.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_format.h"
#include "formats/project/project_file_reader.h"

#include <QDir>
#include <QImageReader>
#include <QTextStream>

bool openProjectForCli(const QString& path, Project* project, QTextStream& err)
{
    const ProjectFileResult result = loadProjectFile(path, project, {});
    if (result.ok)
        return true;
    QString message
        = QStringLiteral("Could not open %1: %2").arg(QDir::toNativeSeparators(path), result.error);
    NativeImage picture;
    if (readNativeImageFile(path, &picture, nullptr)) {
        message += QStringLiteral(". It is a %1 picture: kromel-cli import makes a project of it.")
                       .arg(nativeImageFormatName(picture.format));
    } else if (const QString hint = ordinaryImageHint(path); !hint.isEmpty()) {
        message += QLatin1Char('.') + hint;
    }
    fileError(err, message);
    return false;
}

QString ordinaryImageHint(const QString& path)
{
    const QByteArray format = QImageReader::imageFormat(path);
    if (format.isEmpty())
        return {};
    return QStringLiteral(" It is a %1 image: kromel-cli convert makes a project of it.")
        .arg(QString::fromLatin1(format).toUpper());
}
