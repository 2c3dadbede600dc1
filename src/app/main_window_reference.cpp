// The reference layer: a tracing image laid over the canvas view.
#include "app/main_window.h"

#include "app/readable_images.h"
#include "app/remembered_folders.h"
#include "app/settings_keys.h"
#include "convert/display_image.h"
#include "convert/image_conversion.h"
#include "document/project.h"
#include "view/canvas_area.h"
#include "widgets/reference_opacity_dialog.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QSettings>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};

} // namespace

void MainWindow::connectReferenceLayerActions()
{
    connect(m_importReferenceAction, &QAction::triggered, this, &MainWindow::importReferenceImage);
    connect(m_referenceLayerAction, &QAction::toggled, m_canvas, &CanvasArea::setReferenceLayerVisible);
    connect(m_referenceOpacityAction, &QAction::triggered, this, &MainWindow::showReferenceOpacityDialog);
    connect(this, &MainWindow::documentReplaced, this, &MainWindow::syncReferenceLayerActions);
}

void MainWindow::importReferenceImage()
{
    const QString cancelled = tr("Reference image import cancelled.");
    QSettings settings;
    const QString startDir = lastDirForKey(settings, settingsKey::lastReferenceImageDir);
    const QString path = m_prompts.chooseReferenceImage
        ? m_prompts.chooseReferenceImage(startDir)
        : QFileDialog::getOpenFileName(this, tr("Import Reference Image"), startDir, readableImageFilter());
    if (path.isEmpty()) {
        showStatusMessage(cancelled, statusTimeout);
        return;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        warnUser(tr("Could not load %1: %2").arg(QDir::toNativeSeparators(path), reader.errorString()));
        return;
    }
    rememberDirForKey(settings, settingsKey::lastReferenceImageDir, path);

    const QSize required = imageConversionRequiredSize(m_project->mode(), m_project->size());
    bool keepAspect = false;
    if (image.size() != required
        && !askImageScalingChoice(
            QFileInfo(path).fileName(), image.size(), required, tr("empty"), &keepAspect)) {
        showStatusMessage(cancelled, statusTimeout);
        return;
    }
    m_canvas->setReferenceImage(
        composeImageToDisplaySize(image, required, keepAspect, Qt::transparent, smoothImageScaling()));
    syncReferenceLayerActions();
    m_referenceLayerAction->setChecked(true);
}

void MainWindow::syncReferenceLayerActions()
{
    const bool present = !m_canvas->referenceImage().isNull();
    m_referenceLayerAction->setEnabled(present);
    m_referenceOpacityAction->setEnabled(present);
    if (!present)
        m_referenceLayerAction->setChecked(false);
}

void MainWindow::showReferenceOpacityDialog()
{
    ReferenceOpacityDialog dialog(m_canvas->referenceLayerOpacity(), this);
    connect(
        &dialog, &ReferenceOpacityDialog::opacityChanged, m_canvas, &CanvasArea::setReferenceLayerOpacity);
    dialog.exec();
}
