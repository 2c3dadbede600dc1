// Images in and out: Import Image, Export to Image As... in the C64's own formats or as
// an ordinary image, and Print.

#include "app/main_window.h"

#include "app/commands/file_command_steps.h"

#include "app/remembered_folders.h"
#include "app/settings_keys.h"
#include "document/project.h"
#include "formats/image/canvas_export_image.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_encoder.h"
#include "formats/native/native_image_export.h"
#include "formats/native/native_image_import.h"
#include "formats/program_data/raw_planes.h"
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

std::optional<ImageImportChoice> chooseImageToImport(MainWindow& window, const QString& startDir)
{
    if (window.documentPrompts().chooseImageToImport)
        return window.documentPrompts().chooseImageToImport(startDir);
    const QString title = MainWindow::tr("Import Image");
    const QString filter = MainWindow::tr("All Files (*)");
    if (window.useNativeFileDialogs()) {
        const QString path = QFileDialog::getOpenFileName(&window, title, startDir, filter);
        if (path.isEmpty())
            return std::nullopt;
        if (!ImageImportOptionsWidget::isNeededFor(window.project()))
            return ImageImportChoice {path, 0};
        auto* options = new ImageImportOptionsWidget(window.project().screensAcross());
        ImportOptionsDialog dialog(title, options, &window);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return ImageImportChoice {path, options->targetScreen()};
    }
    ImportImageDialog dialog(window.project().palette(), window.project().mode(),
        window.project().screensAcross(), startDir, &window);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ImageImportChoice {dialog.selectedFiles().constFirst(), dialog.targetScreen()};
}

void finishNativeImageImport(
    MainWindow& window, const QString& path, const NativeImage& image, const QRect& changed)
{
    if (window.currentFile().isEmpty())
        window.setPendingName(QFileInfo(path).completeBaseName());
    window.finishDocumentEdit(changed);
    window.showStatusMessage(
        MainWindow::tr("Imported %1 (%2).").arg(fileNameOf(path), nativeImageFormatName(image.format)),
        statusTimeout);
}

void exportNativeImageFiles(MainWindow& window)
{
    const QString cancelled = MainWindow::tr("Export to image cancelled.");
    if (exportBlockedByClashes(window, MainWindow::tr("a native image"), cancelled))
        return;
    const NativeImageFormat format = nativeImageExportFormat(window.project().mode());
    const QString refusal = nativeImageExportRefusal(window.project(), format);
    if (!refusal.isEmpty()) {
        window.warnUser(refusal);
        return;
    }
    const QString suffix = nativeImageExportSuffix(window.project().mode());
    QSettings settings;
    const QString proposed = lastDirForKey(settings, settingsKey::lastExportDir) + QLatin1Char('/')
        + suggestedExportBaseName(window) + '.' + suffix;
    const QString path = chooseExportPath(window, MainWindow::tr("Export to Image As"), proposed,
        MainWindow::tr("%1 Files (*.%2);;All Files (*)").arg(nativeImageFormatName(format), suffix));
    if (path.isEmpty()) {
        window.showStatusMessage(cancelled, statusTimeout);
        return;
    }
    const QStringList targets = nativeImageExportTargets(path, window.project().screensAcross());
    if (targets.size() >= 2) {
        QStringList existing;
        for (const QString& target : targets) {
            if (QFileInfo::exists(target))
                existing << nativePath(target);
        }
        if (!existing.isEmpty()) {
            if (!confirmReplacingFiles(window, existing)) {
                window.showStatusMessage(cancelled, statusTimeout);
                return;
            }
        }
    }
    rememberDirForKey(settings, settingsKey::lastExportDir, path);
    const NativeImageExportResult written = writeNativeImageFiles(window.project(), path);
    if (!written.ok) {
        window.warnUser(written.error);
        return;
    }
    if (written.written.size() == 1) {
        window.showStatusMessage(
            MainWindow::tr("Exported %1.").arg(fileNameOf(written.written.constFirst())), statusTimeout);
        return;
    }
    window.showStatusMessage(
        MainWindow::tr("Exported %1 screens: %2 ... %3.")
            .arg(written.written.size())
            .arg(fileNameOf(written.written.constFirst()), fileNameOf(written.written.constLast())),
        statusTimeout);
}

void exportModernImageFile(MainWindow& window, bool includeBorders)
{
    QSettings settings;
    const QString proposed = lastDirForKey(settings, settingsKey::lastExportDir) + QLatin1Char('/')
        + suggestedExportBaseName(window) + ".png";
    const QStringList filters = modernImageFilters();
    QString selectedFilter = filters.value(
        int(QImageWriter::supportedImageFormats().indexOf(QByteArrayLiteral("png"))), filters.value(0));
    const QString path = chooseExportPath(window, MainWindow::tr("Export to Image As"), proposed,
        filters.join(QStringLiteral(";;")), &selectedFilter);
    if (path.isEmpty()) {
        window.showStatusMessage(MainWindow::tr("Export to image cancelled."), statusTimeout);
        return;
    }
    const QByteArray format = modernImageFormatFor(path, selectedFilter);
    QString error;
    const bool selection = window.canvasArea()->selectionPresent();
    const bool written = selection
        ? writeImageFile(window.canvasArea()->selectTool().selectionToImage(), path, format, &error)
        : window.canvasArea()->saveImage(path, format, includeBorders, &error);
    if (!written) {
        window.warnUser(MainWindow::tr("Could not export %1 as %2.")
                            .arg(nativePath(path), QString::fromLatin1(format).toUpper()),
            error);
        return;
    }
    rememberDirForKey(settings, settingsKey::lastExportDir, path);
    window.showStatusMessage(selection ? MainWindow::tr("Exported the selection to %1.").arg(fileNameOf(path))
                                       : MainWindow::tr("Exported %1.").arg(fileNameOf(path)),
        statusTimeout);
}

} // namespace

void MainWindow::importImage()
{
    if (!m_guard.mayEditDocument())
        return;
    QSettings settings;
    const std::optional<ImageImportChoice> choice
        = chooseImageToImport(*this, lastDirForKey(settings, settingsKey::lastImportImageDir));
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
    finishNativeImageImport(*this, choice->path, image, imported.changed);
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
        exportModernImageFile(*this, false);
        return;
    }
    const bool native = nativeImageExportSupported(
        project.mode(), project.size(), project.layout(), project.screensAcross());
    // A screen with its border sprites has no picture format, but a programmer can take it.
    const bool forProgrammers
        = rawPlanesRefusal(project.mode(), project.size(), project.layout(), project.screensAcross())
              .isEmpty();
    if (native || forProgrammers) {
        QSettings settings;
        const bool preferNative = settings.value(settingsKey::exportPreferNative, true).toBool();
        const bool rememberedBorders = settings.value(settingsKey::exportIncludeBorders, false).toBool();
        std::optional<ExportFamilyChoice> choice;
        if (m_prompts.chooseExportFamily) {
            choice = m_prompts.chooseExportFamily(framed);
        } else {
            ExportImageDialog dialog(
                native ? nativeImageFormatName(nativeImageExportFormat(project.mode())) : QString(),
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
            exportProgramDataFiles(*this, choice->programmerFormat);
            return;
        }
        if (native)
            settings.setValue(settingsKey::exportPreferNative, choice->native);
        if (native && choice->native) {
            exportNativeImageFiles(*this);
            return;
        }
        if (framed)
            settings.setValue(settingsKey::exportIncludeBorders, choice->includeBorders);
        exportModernImageFile(*this, framed && choice->includeBorders);
        return;
    }
    if (framed) {
        const auto [answered, include] = askIncludeBorders(*this, tr("Export to Image"), cancelled);
        if (answered)
            exportModernImageFile(*this, include);
        return;
    }
    exportModernImageFile(*this, false);
}

void MainWindow::print()
{
    if (!m_guard.mayExport())
        return;
    m_canvas->print();
}

void openNativeImage(MainWindow& window, const QString& path, const NativeImage& image)
{
    const NativeImageFormatRow* row = nativeImageFormatRow(image.format);
    if (!row)
        return;
    window.createCanvas(row->mode, CanvasLayoutSpec {CanvasLayout::BitmapOnly}, 1, QSize());
    const NativeImageImportResult imported = importNativeImage(window.project(), image, 0);
    if (!imported.ok) {
        window.warnUser(imported.error);
        return;
    }
    finishNativeImageImport(window, path, image, imported.changed);
}
