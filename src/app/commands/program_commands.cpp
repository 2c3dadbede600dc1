// Programs for the C64 itself: Export to PRG File As..., Export to Ultimate Device, and
// Import Sprites, which takes sprite data (an exported program's included) back in.

#include "app/main_window.h"

#include "app/commands/file_command_steps.h"

#include "app/application_input_blocker.h"
#include "app/preferences.h"
#include "app/remembered_folders.h"
#include "app/settings_keys.h"
#include "device/ultimate_client.h"
#include "document/project.h"
#include "formats/atomic_file_write.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg/prg_cruncher.h"
#include "formats/prg_export_colors.h"
#include "formats/sprites/sprite_placement.h"
#include "view/canvas_area.h"
#include "widgets/import_options_dialog.h"
#include "widgets/import_sprites_dialog.h"
#include "widgets/sprite_import_options_widget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};
// Exomizer crunches a picture program in a second or two; a cruncher still busy after
// this long has hung.
constexpr std::chrono::milliseconds crunchTimeLimit {30000};

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Writes the whole program, flushed, or says why not.
bool writeProgram(const QString& path, const QByteArray& prg, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(prg) != prg.size() || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool postProcessExportedPrg(MainWindow& window, const QString& path, int sysAddress, QProgressDialog* dialog)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString cruncher = window.documentPrompts().locateCruncher
        ? window.documentPrompts().locateCruncher()
        : findCruncher(programDir);
    const QString fallback = uncrunchedFallbackMessage(sysAddress);
    if (cruncher.isEmpty()) {
        window.warnUser(
            MainWindow::tr("Could not compress the export: the bundled Exomizer is missing (%1).\n%2")
                .arg(nativePath(bundledCruncherPath(programDir)), fallback));
        return false;
    }
    std::unique_ptr<QProgressDialog> own;
    if (!dialog) {
        own = std::make_unique<QProgressDialog>(
            MainWindow::tr("Compressing %1...").arg(QFileInfo(path).fileName()), QString(), 0, 0, &window);
        own->setWindowModality(Qt::WindowModal);
        own->setMinimumDuration(400);
        // Without a cancel button, the close button and Esc are the way out.
        QObject::connect(own.get(), &QDialog::rejected, own.get(), &QProgressDialog::cancel);
        own->setValue(0);
        dialog = own.get();
    }
    const CrunchResult result = crunchPrgInPlace(cruncher, path, sysAddress,
        {window.documentPrompts().crunchTimeout.value_or(crunchTimeLimit),
            [dialog] { return dialog->wasCanceled(); }});
    if (result.outcome == CrunchResult::Outcome::Crunched)
        return dialog->wasCanceled();
    if (result.outcome == CrunchResult::Outcome::Cancelled || dialog->wasCanceled())
        return true;
    const QString said = result.errorOutput.isEmpty() ? QStringLiteral(".") : ":\n" + result.errorOutput;
    window.warnUser(MainWindow::tr("Could not compress the export%1\n%2").arg(said, fallback));
    return false;
}

std::optional<SpriteImportChoice> chooseSpritesToImport(MainWindow& window, const QString& startDir)
{
    if (window.documentPrompts().chooseSpritesToImport)
        return window.documentPrompts().chooseSpritesToImport(startDir);
    const uchar pen = window.canvasArea()->penIndex();
    if (window.useNativeFileDialogs()) {
        const QString path = QFileDialog::getOpenFileName(&window, MainWindow::tr("Import Sprites"), startDir,
            MainWindow::tr("Sprite Files (*.prg *.pmap);;All Files (*)"));
        if (path.isEmpty())
            return std::nullopt;
        auto* options = new SpriteImportOptionsWidget(window.project(), pen);
        ImportOptionsDialog dialog(MainWindow::tr("Import Sprites"), options, &window);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return SpriteImportChoice {path, options->importOptions()};
    }
    ImportSpritesDialog dialog(window.project(), pen, startDir, &window);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return SpriteImportChoice {dialog.selectedFiles().constFirst(), dialog.options()->importOptions()};
}

} // namespace

void MainWindow::exportPrg()
{
    if (!m_guard.mayExport())
        return;
    const QString cancelled = tr("Export to PRG cancelled.");
    if (exportBlockedByClashes(*this, tr("an executable PRG file"), cancelled))
        return;
    QByteArray prg;
    {
        const auto busy = m_guard.busyScope();
        prg = encodeExecutablePrgOrWarn(*this, tr("Could not export an executable PRG file."));
    }
    if (prg.isEmpty())
        return;

    QSettings settings;
    const QString proposed = lastDirForKey(settings, settingsKey::lastPrgExportDir) + QLatin1Char('/')
        + suggestedExportBaseName(*this) + QStringLiteral(".prg");
    const QString path = chooseExportPath(
        *this, tr("Export to PRG File As"), proposed, tr("PRG Files (*.prg);;All Files (*)"));
    if (path.isEmpty()) {
        showStatusMessage(cancelled, statusTimeout);
        return;
    }

    // The cruncher works on a copy, so a cancelled or failed run never touches the target.
    QTemporaryDir temporary;
    const QString work = temporary.filePath(QFileInfo(path).fileName());
    QString error;
    if (!temporary.isValid() || !writeProgram(work, prg, &error)) {
        warnUser(tr("Could not write %1: %2")
                     .arg(nativePath(work), temporary.isValid() ? error : temporary.errorString()));
        return;
    }
    if (postProcessExportedPrg(*this, work, executablePrgLoadAddress(m_project->layout()), nullptr)) {
        showStatusMessage(cancelled, statusTimeout);
        return;
    }
    QFile result(work);
    // Replaced in one step: the previous file stays whole if anything goes wrong.
    if (!result.open(QIODevice::ReadOnly) || !writeFileAtomically(path, result.readAll(), &error)) {
        warnUser(tr("Could not write %1.").arg(nativePath(path)), error);
        return;
    }
    rememberDirForKey(settings, settingsKey::lastPrgExportDir, path);
    showStatusMessage(tr("Exported %1.").arg(QFileInfo(path).fileName()), statusTimeout);
}

void MainWindow::sendToUltimate()
{
    if (!m_guard.mayExport())
        return;
    const QString cancelled = tr("Send to the Ultimate device cancelled.");
    if (exportBlockedByClashes(*this, tr("to the Ultimate device"), cancelled))
        return;
    const auto busy = m_guard.busyScope();
    const QByteArray prg = encodeExecutablePrgOrWarn(*this, tr("Could not send to the Ultimate device."));
    if (prg.isEmpty())
        return;
    const Preferences preferences = readPreferences(QSettings());
    const QString host = preferences.ultimateHost;
    const double timeout = preferences.ultimateTimeoutSeconds;

    QProgressDialog dialog(tr("Sending to the Ultimate device at %1...").arg(host), tr("Cancel"), 0, 3, this);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(400);
    connect(&dialog, &QDialog::rejected, &dialog, &QProgressDialog::cancel);
    dialog.setValue(0);

    // Everything lives in this folder, which goes when the send is over, however it ends.
    QTemporaryDir temporary;
    const QString file = temporary.filePath(suggestedExportBaseName(*this) + QStringLiteral(".prg"));
    QString error;
    [&] {
        if (!temporary.isValid() || !writeProgram(file, prg, &error)) {
            dialog.reset();
            warnUser(tr("Could not write %1: %2")
                         .arg(nativePath(file), temporary.isValid() ? error : temporary.errorString()));
            return;
        }
        if (postProcessExportedPrg(*this, file, executablePrgLoadAddress(m_project->layout()), &dialog)) {
            showStatusMessage(cancelled, statusTimeout);
            return;
        }
        dialog.setValue(1);
        QFile crunched(file);
        if (!crunched.open(QIODevice::ReadOnly)) {
            dialog.reset();
            warnUser(tr("Could not read back %1: %2").arg(nativePath(file), crunched.errorString()));
            return;
        }
        const QByteArray program = crunched.readAll();
        const auto wasCancelled = [&dialog] { return dialog.wasCanceled(); };
        bool sent = false;
        {
            // Only the dialog takes input while the requests wait; the window keeps painting.
            ApplicationInputBlocker blocker(&dialog);
            sent = pollUltimateDevice(host, timeout, &error, wasCancelled);
            if (sent) {
                dialog.setValue(2);
                sent = sendPrgToUltimateDevice(program, host, timeout, &error, wasCancelled);
            }
        }
        if (sent) {
            dialog.setValue(3);
            showStatusMessage(tr("Sent to the Ultimate device at %1.").arg(host), statusTimeout);
            return;
        }
        const bool userCancelled = dialog.wasCanceled();
        dialog.reset();
        if (userCancelled)
            showStatusMessage(cancelled, statusTimeout);
        else
            warnUser(tr("Could not send to the Ultimate device at %1.\n%2").arg(host, error));
    }();
}

void MainWindow::importSprites()
{
    if (!m_guard.mayEditDocument())
        return;
    QSettings settings;
    const std::optional<SpriteImportChoice> choice
        = chooseSpritesToImport(*this, lastDirForKey(settings, settingsKey::lastImportSpritesDir));
    if (!choice || choice->path.isEmpty()) {
        showStatusMessage(tr("Sprite import cancelled."), statusTimeout);
        return;
    }
    NativeSpriteData data;
    QString error;
    if (!readNativeSpriteFile(choice->path, &data, &error)) {
        warnUser(tr("Could not load %1: %2").arg(nativePath(choice->path), error));
        return;
    }
    rememberDirForKey(settings, settingsKey::lastImportSpritesDir, choice->path);
    const int capacity = nativeSpriteCapacity(m_project->layout().layout);
    if (data.records.size() > capacity) {
        warnUser(tr("The file holds %1 sprites; this canvas takes at most %2.")
                     .arg(data.records.size())
                     .arg(capacity));
        return;
    }
    Colormap placed = m_project->colormap();
    placeNativeSprites(
        data, placed, m_project->mode(), m_project->layout(), m_project->colorSlots(), choice->options);
    finishDocumentEdit(m_project->applySpriteImport(placed));
    showStatusMessage(
        tr("Imported %1 sprites from %2.").arg(data.records.size()).arg(QFileInfo(choice->path).fileName()),
        statusTimeout);
}

QByteArray encodeExecutablePrgOrWarn(MainWindow& window, const QString& headline)
{
    QString error;
    const QByteArray prg = encodeExecutablePrg(window.project().colormap(), window.project().mode(),
        window.project().layout(), PrgExportColors::fromSlots(window.project().colorSlots()), &error);
    if (prg.isEmpty()) {
        window.warnUser(MainWindow::tr(
            "%1\n%2\nOptions -> Border Sprites -> Reduce Borders to 8 Sprites trims the strips as one "
            "undoable edit.")
                            .arg(headline, error));
    }
    return prg;
}
