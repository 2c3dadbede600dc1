#include "app/recent_project_tooltip.h"

#include "formats/project/project_preview.h"

#include <QBuffer>
#include <QFileInfo>

namespace {

// The space the Open dialog gives its preview, so both show the same picture.
constexpr QSize previewArea(416, 284);

} // namespace

QString recentProjectToolTip(const QString& path, const ProjectFilePreview& preview, const Palette& palette)
{
    Q_UNUSED(path);
    const QImage image = projectFilePreviewImage(preview, palette);
    const QString caption = projectFilePreviewCaption(preview, image.size()).toHtmlEscaped();
    const QImage shown = scaledPreviewImage(image, previewDisplaySize(image.size(), previewArea));

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (shown.isNull() || !shown.save(&buffer, "PNG"))
        return QStringLiteral("<p>%1</p>").arg(caption);
    return QStringLiteral("<img src='data:image/png;base64,%1'><br/>%2")
        .arg(QString::fromLatin1(png.toBase64()), caption);
}

QString recentProjectErrorToolTip(const QString& path, const QString& error)
{
    Q_UNUSED(path);
    return QStringLiteral("<p>%1</p>").arg(error.toHtmlEscaped());
}

QString RecentProjectToolTipCache::toolTip(const QString& path, const Palette& palette)
{
    const QFileInfo info(path);
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    const auto found = m_entries.constFind(path);
    if (found != m_entries.cend() && found->modified == modified && found->size == size
        && found->palette == palette.variant())
        return found->text;

    ProjectFilePreview preview;
    QString error;
    const QString text = readProjectFilePreview(path, &preview, &error)
        ? recentProjectToolTip(path, preview, palette)
        : recentProjectErrorToolTip(path, error);
    m_entries.insert(path, Entry {modified, size, palette.variant(), text});
    return text;
}
