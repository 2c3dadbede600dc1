// Crash recovery: the autosaved copy of a modified document, and the offer to restore the
// copies that crashed editors left behind.

#include "app/main_window.h"

#include "app/recovery_writer.h"
#include "document/project.h"
#include "formats/project/project_file_reader.h"
#include "view/canvas_area.h"
#include "widgets/preference_values.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};
// A stroke in progress holds pixels its history entry does not hold yet; the copy waits
// for the release rather than a whole interval.
constexpr std::chrono::milliseconds busyRetry {2000};

QString documentName(const RecoveryCopyInfo& copy)
{
    if (!copy.originalFile.isEmpty())
        return QFileInfo(copy.originalFile).fileName();
    if (!copy.pendingName.isEmpty())
        return copy.pendingName;
    return QObject::tr("Untitled");
}

} // namespace

void MainWindow::startCrashRecovery(const QString& folderPath)
{
    if (m_recovery)
        return;
    m_recovery = new RecoveryWriter(RecoveryFolder(folderPath), this);
    m_autosaveTimer = new QTimer(this);
    connect(m_autosaveTimer, &QTimer::timeout, this, &MainWindow::autosaveNow);
    // Losing the focus is when the user may walk away, or when another program may take
    // the whole machine down.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            autosaveNow();
    });
    // The old document was saved or deliberately let go: its copy has nothing left to keep.
    connect(this, &MainWindow::documentReplaced, this, [this] {
        ++m_documentGeneration;
        discardRecoveryCopy();
    });
    applySettingsPreferences();
    QTimer::singleShot(0, this, &MainWindow::offerRecoveryCopies);
}

void MainWindow::applyAutosavePreferences(const Preferences& preferences)
{
    m_autosaveEnabled = preferences.autosave;
    if (!m_autosaveTimer)
        return;
    if (!m_autosaveEnabled) {
        m_autosaveTimer->stop();
        discardRecoveryCopy();
        return;
    }
    m_autosaveTimer->start(std::chrono::seconds(qMax(1, preferences.autosaveIntervalSeconds)));
}

void MainWindow::autosaveNow()
{
    if (!m_recovery || !m_autosaveEnabled)
        return;
    if (!m_project->isModified()) {
        // Undone back to the saved state: the file on disk holds it all.
        if (m_recovery->hasCopy())
            discardRecoveryCopy();
        return;
    }
    if (m_fileTaskRunning || !canvasIdle()) {
        QTimer::singleShot(busyRetry, this, &MainWindow::autosaveNow);
        return;
    }
    const RecoveryCopyInfo names {{}, m_currentFile, m_pendingName, {}};
    const RecoveryRevision revision {
        m_documentGeneration, m_project->history().revision(), m_project->history().index()};
    // History crops are shared, not copied, so the copy costs the canvas and little more.
    m_recovery->write(std::make_shared<const Project>(*m_project), names, revision);
}

void MainWindow::discardRecoveryCopy()
{
    if (m_recovery)
        m_recovery->remove();
}

void MainWindow::offerRecoveryCopies()
{
    if (!m_recovery || m_fileTaskRunning)
        return;
    std::vector<RecoveryClaim> claims = m_recovery->folder().claimAbandonedCopies();
    for (const RecoveryClaim& claim : claims) {
        switch (askAboutRecoveryCopy(claim.info)) {
        case RecoveryAnswer::Later:
            break;
        case RecoveryAnswer::Discard:
            m_recovery->folder().remove(claim.info.id);
            break;
        case RecoveryAnswer::Restore:
            // One document per window: the other copies wait for the next start, where
            // they are offered again.
            if (restoreRecoveryCopy(claim))
                return;
            break;
        }
    }
}

bool MainWindow::restoreRecoveryCopy(const RecoveryClaim& claim)
{
    if (!prepareForDocumentReplacement())
        return false;
    const QString path = m_recovery->folder().copyPath(claim.info.id);
    auto loaded = std::make_shared<Project>();
    const ProjectFileResult result = runProjectFileTask(tr("Restoring %1...").arg(documentName(claim.info)),
        [path, target = loaded.get()](
            const ProjectFileProgress& progress) { return loadProjectFile(path, target, progress); });
    if (!result.ok) {
        // The copy stays where it is; the next start offers it again.
        if (!result.cancelled)
            warnUser(tr("Could not open %1: %2").arg(QDir::toNativeSeparators(path), result.error));
        return false;
    }
    loaded->markModified();
    adoptProject(std::move(loaded));
    m_currentFile = claim.info.originalFile;
    m_pendingName = m_currentFile.isEmpty() ? claim.info.pendingName : QString();
    updateWindowTitle();
    // The copy becomes this editor's own, so a second crash before the next save still
    // leaves it behind.
    m_recovery->adopt(claim, {{}, m_currentFile, m_pendingName, {}},
        {m_documentGeneration, m_project->history().revision(), m_project->history().index()});
    showStatusMessage(tr("Restored %1.").arg(documentName(claim.info)), statusTimeout);
    return true;
}

RecoveryAnswer MainWindow::askAboutRecoveryCopy(const RecoveryCopyInfo& copy)
{
    if (m_prompts.askAboutRecoveryCopy)
        return m_prompts.askAboutRecoveryCopy(copy);
    QMessageBox box(QMessageBox::Question, tr("KROMEL"),
        tr("KROMEL did not close normally. A recovery copy of %1 was saved %2.\n"
           "Do you want to restore it?")
            .arg(documentName(copy), QLocale().toString(copy.savedAt.toLocalTime(), QLocale::ShortFormat)),
        QMessageBox::NoButton, this);
    QPushButton* restore = box.addButton(tr("Restore"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(tr("Discard"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(tr("Later"), QMessageBox::RejectRole);
    box.setInformativeText(tr("Later keeps the copy and asks again at the next start."));
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore)
        return RecoveryAnswer::Restore;
    if (box.clickedButton() == discard)
        return RecoveryAnswer::Discard;
    return RecoveryAnswer::Later;
}
