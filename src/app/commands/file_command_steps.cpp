// The steps several file commands share; see file_command_steps.h.

#include "app/commands/file_command_steps.h"

#include "app/main_window.h"
#include "app/settings_keys.h"
#include "document/project.h"
#include "rules/unresolved_clashes.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include <chrono>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};

} // namespace

bool confirmReplacingFiles(MainWindow& window, const QStringList& existing)
{
    if (window.documentPrompts().confirmReplace)
        return window.documentPrompts().confirmReplace(existing);
    return QMessageBox::question(&window, MainWindow::tr("KROMEL"),
               MainWindow::tr("The export would replace:\n%1\nContinue?")
                   .arg(existing.join(QLatin1Char('\n'))),
               QMessageBox::Yes | QMessageBox::Cancel)
        == QMessageBox::Yes;
}
bool exportBlockedByClashes(MainWindow& window, const QString& noun, const QString& cancelMessage)
{
    if (!canvasHasUnresolvedClashes(window.project().makeClashContext(), window.project().colormap()))
        return false;
    const QString text
        = MainWindow::tr("Could not export %1: the canvas holds unresolved color clashes.").arg(noun);
    bool resolve = false;
    if (window.documentPrompts().askResolveClashes) {
        resolve = window.documentPrompts().askResolveClashes(text);
    } else {
        QMessageBox box(QMessageBox::Warning, MainWindow::tr("KROMEL"), text, QMessageBox::NoButton, &window);
        box.setInformativeText(
            MainWindow::tr("Resolving merges the surplus colors into their nearest survivors across "
                           "the whole canvas, as one undoable edit."));
        QPushButton* resolveButton
            = box.addButton(MainWindow::tr("Resolve and Export"), QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(resolveButton);
        box.exec();
        resolve = box.clickedButton() == resolveButton;
    }
    if (resolve) {
        window.finishDocumentEdit(window.project().resolveAllClashes());
        if (!canvasHasUnresolvedClashes(window.project().makeClashContext(), window.project().colormap())) {
            window.showStatusMessage(
                MainWindow::tr("Resolved the color clashes as one undoable edit."), statusTimeout);
            return false;
        }
    }
    window.showStatusMessage(cancelMessage, statusTimeout);
    return true;
}

QString chooseExportPath(MainWindow& window, const QString& title, const QString& proposedPath,
    const QString& filter, QString* selectedFilter)
{
    if (window.documentPrompts().chooseExportPath)
        return window.documentPrompts().chooseExportPath(proposedPath, filter);
    return QFileDialog::getSaveFileName(&window, title, proposedPath, filter, selectedFilter);
}

QString suggestedExportBaseName(const MainWindow& window)
{
    if (!window.currentFile().isEmpty())
        return QFileInfo(window.currentFile()).completeBaseName();
    if (!window.pendingName().isEmpty())
        return window.pendingName();
    return QStringLiteral("untitled");
}

std::pair<bool, bool> askIncludeBorders(
    MainWindow& window, const QString& title, const QString& cancelMessage)
{
    QSettings settings;
    const bool remembered = settings.value(settingsKey::exportIncludeBorders, false).toBool();
    std::optional<bool> answer;
    if (window.documentPrompts().askIncludeBorders) {
        answer = window.documentPrompts().askIncludeBorders();
    } else {
        const QMessageBox::StandardButton button = QMessageBox::question(&window, title,
            MainWindow::tr("Include all borders?"), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            remembered ? QMessageBox::Yes : QMessageBox::No);
        if (button == QMessageBox::Yes || button == QMessageBox::No)
            answer = button == QMessageBox::Yes;
    }
    if (!answer) {
        window.showStatusMessage(cancelMessage, statusTimeout);
        return {false, false};
    }
    settings.setValue(settingsKey::exportIncludeBorders, *answer);
    return {true, *answer};
}
