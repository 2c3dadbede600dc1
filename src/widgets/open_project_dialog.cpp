#include "widgets/open_project_dialog.h"

#include "formats/project/project_preview.h"

#include <QFileInfo>

OpenProjectDialog::OpenProjectDialog(const Palette& palette, const QString& startDir, QWidget* parent)
    : ImportFileDialog(parent, tr("Open Project"), startDir,
        tr("KROMEL Project (*.%1);;All Files (*)").arg(QStringLiteral("krm")))
    , m_palette(palette)
{
}

void OpenProjectDialog::updatePreview(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        showPreview(QImage(), tr("Select a project to preview it."));
        return;
    }
    ProjectFilePreview preview;
    QString error;
    if (!readProjectFilePreview(path, &preview, &error)) {
        showPreview(QImage(), error);
        return;
    }
    const QImage image = projectFilePreviewImage(preview, m_palette);
    showPreview(image, projectFilePreviewCaption(preview, image.size()));
}
