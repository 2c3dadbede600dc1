#include "widgets/import_image_dialog.h"

#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "formats/native/native_image_import.h"
#include "widgets/image_import_options_widget.h"

#include <QFileInfo>

ImportImageDialog::ImportImageDialog(const Palette& palette, CanvasMode canvasMode, int screensAcross,
    const QString& startDir, QWidget* parent)
    : ImportFileDialog(parent, tr("Import Image"), startDir, tr("All Files (*)"))
    , m_palette(palette)
    , m_canvasMode(canvasMode)
{
    if (screensAcross > 1) {
        m_options = new ImageImportOptionsWidget(screensAcross, this);
        addToPreviewPane(m_options);
    }
}

void ImportImageDialog::updatePreview(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        showPreview(QImage(), tr("Select a file to preview it."));
        return;
    }
    NativeImage image;
    QString error;
    if (!readNativeImageFile(path, &image, &error)) {
        showPreview(QImage(), error);
        return;
    }
    const QString mismatch = nativeImageModeMismatch(image.format, m_canvasMode);
    showPreview(nativeImagePreview(image, m_palette),
        mismatch.isEmpty() ? nativeImageFormatName(image.format) : mismatch);
}

int ImportImageDialog::targetScreen() const
{
    return m_options ? m_options->targetScreen() : 0;
}
