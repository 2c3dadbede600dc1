// Convert Image...: an ordinary picture fitted to the canvas and converted into clash-free
// artwork in the conversion dialog, adopted as one undoable edit.

#include "app/main_window.h"

#include "app/readable_images.h"
#include "app/remembered_folders.h"
#include "app/settings_keys.h"
#include "convert/display_image.h"
#include "document/project.h"
#include "view/canvas_area.h"
#include "widgets/convert_image_dialog.h"

#include <QActionGroup>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include <chrono>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};

} // namespace

void MainWindow::convertImage()
{
    if (!m_guard.mayEditDocument())
        return;
    const QString cancelled = tr("Image conversion cancelled.");
    QSettings settings;
    const QString startDir = lastDirForKey(settings, settingsKey::lastConvertImageDir);
    const QString path = m_prompts.chooseImageToConvert
        ? m_prompts.chooseImageToConvert(startDir)
        : QFileDialog::getOpenFileName(this, tr("Convert Image"), startDir, readableImageFilter());
    if (path.isEmpty()) {
        showStatusMessage(cancelled, statusTimeout);
        return;
    }
    const std::optional<QImage> display
        = readImageAtDisplaySize(path, settingsKey::lastConvertImageDir, tr("black"), Qt::black, cancelled);
    if (!display)
        return;
    const QString fileName = QFileInfo(path).fileName();

    ConvertImageDialog dialog(*display, m_project.get(), this);
    dialog.setDitherChoice(settings.value(settingsKey::convertImageDialogDither, 0).toInt());
    dialog.setMethodChoice(settings.value(settingsKey::convertImageDialogMethod, 0).toInt());
    dialog.setDistanceChoice(settings.value(settingsKey::convertImageDialogDistance, 1).toInt());
    dialog.setAutomaticBackground(
        settings.value(settingsKey::convertImageDialogAutomaticBackground, false).toBool());
    dialog.restoreGeometry(settings.value(settingsKey::convertImageDialogGeometry).toByteArray());
    const bool accepted = m_prompts.runConvertImageDialog ? m_prompts.runConvertImageDialog(dialog)
                                                          : dialog.exec() == QDialog::Accepted;
    settings.setValue(settingsKey::convertImageDialogGeometry, dialog.saveGeometry());
    settings.setValue(settingsKey::convertImageDialogDither, dialog.ditherChoice());
    settings.setValue(settingsKey::convertImageDialogMethod, dialog.methodChoice());
    settings.setValue(settingsKey::convertImageDialogDistance, dialog.distanceChoice());
    settings.setValue(settingsKey::convertImageDialogAutomaticBackground, dialog.automaticBackground());
    if (!accepted) {
        showStatusMessage(cancelled, statusTimeout);
        return;
    }

    // The colormap first: finishing a waiting conversion may choose the shared colours.
    const Colormap converted = dialog.convertedColormap();
    m_project->applyImageConversion(converted, dialog.conversionState());
    syncBorderSpritesMenu();
    if (m_currentFile.isEmpty())
        setPendingName(QFileInfo(path).completeBaseName());
    if (dialog.paletteVariant() != m_project->palette().variant()) {
        for (QAction* action : m_paletteGroup->actions()) {
            if (PaletteVariant(action->data().toInt()) == dialog.paletteVariant()) {
                action->setChecked(true);
                setPaletteVariant(action);
            }
        }
    }
    // The shared colours may have changed too, which shows beyond the changed pixels.
    finishDocumentEdit(m_project->rect());
    showStatusMessage(tr("Converted %1.").arg(fileName), statusTimeout);
}

std::optional<QImage> MainWindow::readImageAtDisplaySize(const QString& path, const char* folderKey,
    const QString& leftoverText, const QColor& leftover, const QString& cancelled)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        warnUser(tr("Could not load %1: %2").arg(QDir::toNativeSeparators(path), reader.errorString()));
        return std::nullopt;
    }
    QSettings settings;
    rememberDirForKey(settings, folderKey, path);
    const QSize required = imageConversionRequiredSize(m_project->mode(), m_project->size());
    // Only an exact fit skips the question: any other size is a choice between two looks.
    bool keepAspect = false;
    if (image.size() != required
        && !askImageScalingChoice(
            QFileInfo(path).fileName(), image.size(), required, leftoverText, &keepAspect)) {
        showStatusMessage(cancelled, statusTimeout);
        return std::nullopt;
    }
    return composeImageToDisplaySize(image, required, keepAspect, leftover, smoothImageScaling());
}

bool MainWindow::askImageScalingChoice(const QString& fileName, const QSize& imageSize,
    const QSize& displaySize, const QString& leftoverText, bool* keepAspect)
{
    const QString text
        = tr("%1 is %2 x %3 pixels; the canvas displays at %4 x %5 pixels.\n\nStretch the image to "
             "fill the canvas, or scale it keeping its aspect ratio, centered with the leftover "
             "area %6?")
              .arg(fileName)
              .arg(imageSize.width())
              .arg(imageSize.height())
              .arg(displaySize.width())
              .arg(displaySize.height())
              .arg(leftoverText);
    std::optional<bool> answer;
    if (m_prompts.askImageScaling) {
        answer = m_prompts.askImageScaling(text);
    } else {
        QMessageBox box(QMessageBox::Question, tr("KROMEL"), text, QMessageBox::NoButton, this);
        QPushButton* stretch = box.addButton(tr("Stretch to Fit"), QMessageBox::AcceptRole);
        QPushButton* keep = box.addButton(tr("Keep Aspect Ratio"), QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(keep);
        box.exec();
        if (box.clickedButton() == stretch || box.clickedButton() == keep)
            answer = box.clickedButton() == keep;
    }
    if (!answer)
        return false;
    *keepAspect = *answer;
    return true;
}
