#include "formats/project/project_preview.h"

#include "formats/project/project_file_format.h"
#include "formats/project/project_file_records.h"
#include "formats/project/project_state_record.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

bool readProjectFilePreview(QIODevice* device, ProjectFilePreview* preview, QString* error)
{
    int version = 0;
    ProjectFileRecord record;
    ProjectStateRecord state;
    if (!readProjectFileHeader(device, &version, error) || !readProjectFileRecord(device, &record, error))
        return false;
    if (record.type != qint16(ProjectRecordType::ProjectState)) {
        *error = QStringLiteral("the first record is not the project state");
        return false;
    }
    if (!parseProjectStateRecord(record.payload, version, &state, error))
        return false;
    if (!state.canvas.inflate()) {
        *error = QStringLiteral("the canvas pixel data is corrupt");
        return false;
    }
    preview->mode = state.mode;
    preview->colormap = state.canvas.pixels();
    preview->screensAcross = state.screensAcross;
    preview->recordCount = state.recordCount;
    preview->historyIndex = state.historyIndex;
    return true;
}

bool readProjectFilePreview(const QString& path, ProjectFilePreview* preview, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    return readProjectFilePreview(&file, preview, error);
}

QImage projectFilePreviewImage(const ProjectFilePreview& preview, const Palette& palette)
{
    const QImage image = preview.colormap.toImage(palette);
    if (!isMulticolor(preview.mode) || image.isNull())
        return image;
    return image.scaled(image.width() * 2, image.height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QSize previewDisplaySize(const QSize& image, const QSize& available)
{
    if (image.width() < 1 || image.height() < 1)
        return image;
    const int factor = std::min(available.height() / image.height(), available.width() / image.width());
    if (factor < 1)
        return image.scaled(available, Qt::KeepAspectRatio);
    return image * factor;
}

QImage scaledPreviewImage(const QImage& image, const QSize& size)
{
    if (image.isNull() || image.size() == size)
        return image;
    const bool shrinking = image.width() > size.width() || image.height() > size.height();
    return image.scaled(
        size, Qt::IgnoreAspectRatio, shrinking ? Qt::SmoothTransformation : Qt::FastTransformation);
}

namespace {

// The plural comes from the translation; without one loaded the source text would read
// "1 workstage(s)", so English gets its plural here.
QString workstageCount(int count)
{
    const QString translated
        = QCoreApplication::translate("ProjectPreview", "%n workstage(s)", nullptr, count);
    if (!translated.endsWith(QLatin1String("workstage(s)")))
        return translated;
    return count == 1 ? QStringLiteral("1 workstage") : QStringLiteral("%1 workstages").arg(count);
}

} // namespace

QString projectFilePreviewCaption(const ProjectFilePreview& preview, const QSize& displaySize)
{
    QStringList parts;
    parts << (isMulticolor(preview.mode) ? QCoreApplication::translate("ProjectPreview", "Multicolor")
                                         : QCoreApplication::translate("ProjectPreview", "Hires"));
    parts << QCoreApplication::translate("ProjectPreview", "%1 x %2")
                 .arg(displaySize.width())
                 .arg(displaySize.height());
    if (preview.screensAcross > 1)
        parts << QCoreApplication::translate("ProjectPreview", "%1 screens").arg(preview.screensAcross);
    parts << workstageCount(preview.historyIndex + 1);
    return parts.join(QStringLiteral(", "));
}
