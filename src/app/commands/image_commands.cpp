// Images in and out: Import Image, Export to Image As... in the C64's own formats or as
// an ordinary image, and Print.

#include "app/main_window.h"

#include "app/remembered_folders.h"
#include "app/settings_keys.h"
#include "document/project.h"
#include "formats/image/canvas_export_image.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_encoder.h"
#include "formats/native/native_image_export.h"
#include "formats/native/native_image_import.h"
#include "model/canvas_region.h"
#include "rules/unresolved_clashes.h"
#include "view/canvas_area.h"
#include "view/tools/select_tool.h"
#include "widgets/export_image_dialog.h"
#include "widgets/image_import_options_widget.h"
#include "widgets/import_image_dialog.h"
#include "widgets/import_options_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>

#include <chrono>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString fileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

// "PNG Files (*.png);;BMP Files (*.bmp);;...", one entry per format the toolkit writes.
QStringList modernImageFilters()
{
    QStringList filters;
    for (const QByteArray& format : QImageWriter::supportedImageFormats()) {
        const QString name = QString::fromLatin1(format);
        filters << QObject::tr("%1 Files (*.%2)").arg(name.toUpper(), name.toLower());
    }
    return filters;
}

// The suffix of the chosen file when the toolkit writes it, else the chosen filter's.
QByteArray modernImageFormatFor(const QString& path, const QString& selectedFilter)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (!suffix.isEmpty() && QImageWriter::supportedImageFormats().contains(suffix))
        return suffix;
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)\\)")).match(selectedFilter);
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArrayLiteral("png");
}

} // namespace

void MainWindow::importImage()
{
    if (!m_guard.mayEditDocument())
        return;
    QSettings settings;
    const std::optional<ImageImportChoice> choice
        = chooseImageToImport(lastDirForKey(settings, settingsKey::lastImportImageDir));
    if (!choice || choice->path.isEmpty()) {
        showStatusMessage(tr("Image import cancelled."), statusTimeout);
        return;
    }
    NativeImage image;
    QString error;
    if (!readNativeImageFile(choice->path, &image, &error)) {
        warnUser(tr("Could not load %1: %2").arg(nativePath(choice->path), error));
        return;
    }
    rememberDirForKey(settings, settingsKey::lastImportImageDir, choice->path);
    const QString mismatch = nativeImageModeMismatch(image.format, m_project->mode());
    if (!mismatch.isEmpty()) {
        warnUser(mismatch);
        return;
    }
    const NativeImageImportResult imported = importNativeImage(*m_project, image, choice->targetScreen);
    if (!imported.ok) {
        warnUser(imported.error);
        return;
    }
    finishNativeImageImport(choice->path, image, imported.changed);
}

void MainWindow::openNativeImage(const QString& path, const NativeImage& image)
{
    const NativeImageFormatRow* row = nativeImageFormatRow(image.format);
    if (!row)
        return;
    createCanvas(row->mode, CanvasLayoutSpec {CanvasLayout::BitmapOnly}, 1, QSize());
    const NativeImageImportResult imported = importNativeImage(*m_project, image, 0);
    if (!imported.ok) {
        warnUser(imported.error);
        return;
    }
    finishNativeImageImport(path, image, imported.changed);
}

void MainWindow::finishNativeImageImport(const QString& path, const NativeImage& image, const QRect& changed)
{
    if (m_currentFile.isEmpty())
        setPendingName(QFileInfo(path).completeBaseName());
    finishDocumentEdit(changed);
    showStatusMessage(
        tr("Imported %1 (%2).").arg(fileNameOf(path), nativeImageFormatName(image.format)), statusTimeout);
}

std::optional<ImageImportChoice> MainWindow::chooseImageToImport(const QString& startDir)
{
    if (m_prompts.chooseImageToImport)
        return m_prompts.chooseImageToImport(startDir);
    const QString title = tr("Import Image");
    const QString filter = tr("All Files (*)");
    if (useNativeFileDialogs()) {
        const QString path = QFileDialog::getOpenFileName(this, title, startDir, filter);
        if (path.isEmpty())
            return std::nullopt;
        if (!ImageImportOptionsWidget::isNeededFor(*m_project))
            return ImageImportChoice {path, 0};
        auto* options = new ImageImportOptionsWidget(m_project->screensAcross());
        ImportOptionsDialog dialog(title, options, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return ImageImportChoice {path, options->targetScreen()};
    }
    ImportImageDialog dialog(
        m_project->palette(), m_project->mode(), m_project->screensAcross(), startDir, this);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ImageImportChoice {dialog.selectedFiles().constFirst(), dialog.targetScreen()};
}

void MainWindow::exportImage()
{
    if (!m_guard.mayExport())
        return;
    const Project& project = *m_project;
    const bool framed = canvasShowsBorderFrame(project.mode(), project.size(), project.layout());
    const QString cancelled = tr("Export to image cancelled.");
    // A selection skips both questions below and exports itself; borders never frame it.
    if (m_canvas->selectionPresent()) {
        exportModernImageFile(false);
        return;
    }
    if (nativeImageExportSupported(
            project.mode(), project.size(), project.layout(), project.screensAcross())) {
        QSettings settings;
        const bool preferNative = settings.value(settingsKey::exportPreferNative, true).toBool();
        const bool rememberedBorders = settings.value(settingsKey::exportIncludeBorders, false).toBool();
        std::optional<ExportFamilyChoice> choice;
        if (m_prompts.chooseExportFamily) {
            choice = m_prompts.chooseExportFamily(framed);
        } else {
            ExportImageDialog dialog(nativeImageFormatName(nativeImageExportFormat(project.mode())),
                preferNative, framed, rememberedBorders, this,
                settings.value(settingsKey::exportProgrammerFormat).toString());
            if (dialog.exec() == QDialog::Accepted)
                choice = ExportFamilyChoice {
                    dialog.nativeChosen(), dialog.includeBorders(), dialog.programmerFormat()};
        }
        if (!choice) {
            showStatusMessage(cancelled, statusTimeout);
            return;
        }
        settings.setValue(settingsKey::exportProgrammerFormat, choice->programmerFormat);
        if (!choice->programmerFormat.isEmpty()) {
            exportProgramDataFiles(choice->programmerFormat);
            return;
        }
        settings.setValue(settingsKey::exportPreferNative, choice->native);
        if (choice->native) {
            exportNativeImageFiles();
            return;
        }
        if (framed)
            settings.setValue(settingsKey::exportIncludeBorders, choice->includeBorders);
        exportModernImageFile(framed && choice->includeBorders);
        return;
    }
    if (framed) {
        const auto [answered, include] = askIncludeBorders(tr("Export to Image"), cancelled);
        if (answered)
            exportModernImageFile(include);
        return;
    }
    exportModernImageFile(false);
}

std::pair<bool, bool> MainWindow::askIncludeBorders(const QString& title, const QString& cancelMessage)
{
    QSettings settings;
    const bool remembered = settings.value(settingsKey::exportIncludeBorders, false).toBool();
    std::optional<bool> answer;
    if (m_prompts.askIncludeBorders) {
        answer = m_prompts.askIncludeBorders();
    } else {
        const QMessageBox::StandardButton button = QMessageBox::question(this, title,
            tr("Include all borders?"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            remembered ? QMessageBox::Yes : QMessageBox::No);
        if (button == QMessageBox::Yes || button == QMessageBox::No)
            answer = button == QMessageBox::Yes;
    }
    if (!answer) {
        showStatusMessage(cancelMessage, statusTimeout);
        return {false, false};
    }
    settings.setValue(settingsKey::exportIncludeBorders, *answer);
    return {true, *answer};
}

QString MainWindow::suggestedExportBaseName() const
{
    if (!m_currentFile.isEmpty())
        return QFileInfo(m_currentFile).completeBaseName();
    if (!m_pendingName.isEmpty())
        return m_pendingName;
    return QStringLiteral("untitled");
}

QString MainWindow::chooseExportPath(
    const QString& title, const QString& proposedPath, const QString& filter, QString* selectedFilter)
{
    if (m_prompts.chooseExportPath)
        return m_prompts.chooseExportPath(proposedPath, filter);
    return QFileDialog::getSaveFileName(this, title, proposedPath, filter, selectedFilter);
}

bool MainWindow::exportBlockedByClashes(const QString& noun, const QString& cancelMessage)
{
    if (!canvasHasUnresolvedClashes(m_project->makeClashContext(), m_project->colormap()))
        return false;
    const QString text = tr("Could not export %1: the canvas holds unresolved color clashes.").arg(noun);
    bool resolve = false;
    if (m_prompts.askResolveClashes) {
        resolve = m_prompts.askResolveClashes(text);
    } else {
        QMessageBox box(QMessageBox::Warning, tr("KROMEL"), text, QMessageBox::NoButton, this);
        box.setInformativeText(tr("Resolving merges the surplus colors into their nearest survivors across "
                                  "the whole canvas, as one undoable edit."));
        QPushButton* resolveButton = box.addButton(tr("Resolve and Export"), QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(resolveButton);
        box.exec();
        resolve = box.clickedButton() == resolveButton;
    }
    if (resolve) {
        finishDocumentEdit(m_project->resolveAllClashes());
        if (!canvasHasUnresolvedClashes(m_project->makeClashContext(), m_project->colormap())) {
            showStatusMessage(tr("Resolved the color clashes as one undoable edit."), statusTimeout);
            return false;
        }
    }
    showStatusMessage(cancelMessage, statusTimeout);
    return true;
}

void MainWindow::exportNativeImageFiles()
{
    const QString cancelled = tr("Export to image cancelled.");
    if (exportBlockedByClashes(tr("a native image"), cancelled))
        return;
    const NativeImageFormat format = nativeImageExportFormat(m_project->mode());
    const QString refusal = nativeImageExportRefusal(*m_project, format);
    if (!refusal.isEmpty()) {
        warnUser(refusal);
        return;
    }
    const QString suffix = nativeImageExportSuffix(m_project->mode());
    QSettings settings;
    const QString proposed = lastDirForKey(settings, settingsKey::lastExportDir) + QLatin1Char('/')
        + suggestedExportBaseName() + '.' + suffix;
    const QString path = chooseExportPath(tr("Export to Image As"), proposed,
        tr("%1 Files (*.%2);;All Files (*)").arg(nativeImageFormatName(format), suffix));
    if (path.isEmpty()) {
        showStatusMessage(cancelled, statusTimeout);
        return;
    }
    const QStringList targets = nativeImageExportTargets(path, m_project->screensAcross());
    if (targets.size() >= 2) {
        QStringList existing;
        for (const QString& target : targets) {
            if (QFileInfo::exists(target))
                existing << nativePath(target);
        }
        if (!existing.isEmpty()) {
            if (!confirmReplacingFiles(existing)) {
                showStatusMessage(cancelled, statusTimeout);
                return;
            }
        }
    }
    rememberDirForKey(settings, settingsKey::lastExportDir, path);
    const NativeImageExportResult written = writeNativeImageFiles(*m_project, path);
    if (!written.ok) {
        warnUser(written.error);
        return;
    }
    if (written.written.size() == 1) {
        showStatusMessage(tr("Exported %1.").arg(fileNameOf(written.written.constFirst())), statusTimeout);
        return;
    }
    showStatusMessage(
        tr("Exported %1 screens: %2 ... %3.")
            .arg(written.written.size())
            .arg(fileNameOf(written.written.constFirst()), fileNameOf(written.written.constLast())),
        statusTimeout);
}

void MainWindow::exportModernImageFile(bool includeBorders)
{
    QSettings settings;
    const QString proposed = lastDirForKey(settings, settingsKey::lastExportDir) + QLatin1Char('/')
        + suggestedExportBaseName() + ".png";
    const QStringList filters = modernImageFilters();
    QString selectedFilter = filters.value(
        int(QImageWriter::supportedImageFormats().indexOf(QByteArrayLiteral("png"))), filters.value(0));
    const QString path = chooseExportPath(
        tr("Export to Image As"), proposed, filters.join(QStringLiteral(";;")), &selectedFilter);
    if (path.isEmpty()) {
        showStatusMessage(tr("Export to image cancelled."), statusTimeout);
        return;
    }
    const QByteArray format = modernImageFormatFor(path, selectedFilter);
    QString error;
    const bool selection = m_canvas->selectionPresent();
    const bool written = selection
        ? writeImageFile(m_canvas->selectTool().selectionToImage(), path, format, &error)
        : m_canvas->saveImage(path, format, includeBorders, &error);
    if (!written) {
        warnUser(
            tr("Could not export %1 as %2.").arg(nativePath(path), QString::fromLatin1(format).toUpper()),
            error);
        return;
    }
    rememberDirForKey(settings, settingsKey::lastExportDir, path);
    showStatusMessage(selection ? tr("Exported the selection to %1.").arg(fileNameOf(path))
                                : tr("Exported %1.").arg(fileNameOf(path)),
        statusTimeout);
}

void MainWindow::print()
{
    if (!m_guard.mayExport())
        return;
    m_canvas->print();
}

bool MainWindow::confirmReplacingFiles(const QStringList& existing)
{
    if (m_prompts.confirmReplace)
        return m_prompts.confirmReplace(existing);
    return QMessageBox::question(this, tr("KROMEL"),
               tr("The export would replace:\n%1\nContinue?").arg(existing.join(QLatin1Char('\n'))),
               QMessageBox::Yes | QMessageBox::Cancel)
        == QMessageBox::Yes;
}
