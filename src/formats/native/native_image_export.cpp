#include "formats/native/native_image_export.h"

#include "document/project.h"
#include "formats/atomic_file_write.h"
#include "formats/native/native_image_encoder.h"
#include "formats/native/native_image_import.h"
#include "formats/prg_export_colors.h"

#include <QDir>
#include <QFileInfo>

QStringList nativeImageExportTargets(const QString& path, int screens)
{
    if (screens < 2)
        return {path};
    const QFileInfo chosen(path);
    const QString suffix = chosen.suffix().isEmpty() ? QString() : QLatin1Char('.') + chosen.suffix();
    QStringList targets;
    for (int screen = 0; screen < screens; ++screen) {
        targets << chosen.path() + QLatin1Char('/') + chosen.completeBaseName() + QLatin1Char('-')
                + QString::number(screen) + suffix;
    }
    return targets;
}

QString nativeImageExportRefusal(const Project& project, NativeImageFormat format)
{
    const NativeImageFormatRow* row = nativeImageFormatRow(format);
    if (!row || !row->isWritable())
        return QStringLiteral("%1 pictures can be read but not written.").arg(nativeImageFormatName(format));
    const QString mismatch = nativeImageModeMismatch(format, project.mode());
    if (!mismatch.isEmpty())
        return mismatch;
    if (!nativeImageExportSupported(
            project.mode(), project.size(), project.layout(), project.screensAcross()))
        return QStringLiteral("Only a canvas of whole bitmap-only screens can be written as %1.")
            .arg(nativeImageFormatName(format));
    return {};
}

NativeImageExportResult writeNativeImageFiles(const Project& project, const QString& path)
{
    NativeImageExportResult result;
    const PrgExportColors colors = PrgExportColors::fromSlots(project.colorSlots());
    const QStringList targets = nativeImageExportTargets(path, project.screensAcross());
    for (int screen = 0; screen < targets.size(); ++screen) {
        const QString& target = targets.at(screen);
        const QByteArray bytes = encodeNativeImage(project.colormap(), project.mode(), colors, screen);
        QString error = QStringLiteral("the canvas has no screen %1 of that format").arg(screen + 1);
        if (bytes.isEmpty() || !writeFileAtomically(target, bytes, &error)) {
            result.error
                = QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(target), error);
            return result;
        }
        result.written << target;
    }
    result.ok = true;
    return result;
}
