// The reference layer: a tracing image laid over the canvas view.
#include "app/main_window.h"

#include "app/readable_images.h"
#include "app/remembered_folders.h"
#include "app/settings_keys.h"
#include "document/project.h"
#include "view/canvas_area.h"
#include "widgets/reference_opacity_dialog.h"

#include <QAction>
#include <QFileDialog>
#include <QSettings>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};

} // namespace

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
    const std::optional<QImage> composed = readImageAtDisplaySize(
        path, settingsKey::lastReferenceImageDir, tr("empty"), Qt::transparent, cancelled);
    if (!composed)
        return;
    m_canvas->setReferenceImage(*composed);
    syncReferenceLayerActions();
    m_referenceLayerAction->setChecked(true);
}

void MainWindow::syncReferenceLayerActions()
{
    refreshCommandStates();
    if (m_canvas->referenceImage().isNull())
        m_referenceLayerAction->setChecked(false);
}

void MainWindow::showReferenceOpacityDialog()
{
    ReferenceOpacityDialog dialog(m_canvas->referenceLayerOpacity(), this);
    connect(
        &dialog, &ReferenceOpacityDialog::opacityChanged, m_canvas, &CanvasArea::setReferenceLayerOpacity);
    dialog.exec();
}
