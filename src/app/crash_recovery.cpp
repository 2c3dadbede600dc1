// Crash recovery: the autosaved copy of a modified document, and the offer to restore the
// copies that crashed editors left behind. A member object of the window.

#include "app/crash_recovery.h"

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

CrashRecovery::CrashRecovery(MainWindow& window)
    : QObject(&window)
    , m_window(window)
{
}

void CrashRecovery::start(const QString& folderPath)
{
    if (m_recovery)
        return;
    m_recovery = new RecoveryWriter(RecoveryFolder(folderPath), this);
    m_autosaveTimer = new QTimer(this);
    connect(m_autosaveTimer, &QTimer::timeout, this, &CrashRecovery::autosaveNow);
    // Losing the focus is when the user may walk away, or when another program may take
    // the whole machine down.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            autosaveNow();
    });
    // The old document was saved or deliberately let go: its copy has nothing left to keep.
    connect(&m_window, &MainWindow::documentReplaced, this, [this] {
        ++m_documentGeneration;
        discardCopy();
    });
    m_window.applySettingsPreferences();
    QTimer::singleShot(0, this, &CrashRecovery::offerCopies);
}

void CrashRecovery::applyAutosavePreferences(const Preferences& preferences)
{
    m_autosaveEnabled = preferences.autosave;
    if (!m_autosaveTimer)
        return;
    if (!m_autosaveEnabled) {
        m_autosaveTimer->stop();
        discardCopy();
        return;
    }
    m_autosaveTimer->start(std::chrono::seconds(qMax(1, preferences.autosaveIntervalSeconds)));
}

void CrashRecovery::autosaveNow()
{
    if (!m_recovery || !m_autosaveEnabled)
        return;
    if (!m_window.m_project->isModified()) {
        // Undone back to the saved state: the file on disk holds it all.
        if (m_recovery->hasCopy())
            discardCopy();
        return;
    }
    if (!m_window.m_guard.mayExport()) {
        QTimer::singleShot(busyRetry, this, &CrashRecovery::autosaveNow);
        return;
    }
    const RecoveryCopyInfo names {{}, m_window.m_currentFile, m_window.m_pendingName, {}};
    const RecoveryRevision revision {m_documentGeneration, m_window.m_project->history().revision(),
        m_window.m_project->history().index()};
    // History crops are shared, not copied, so the copy costs the canvas and little more.
    m_recovery->write(std::make_shared<const Project>(*m_window.m_project), names, revision);
}

void CrashRecovery::discardCopy()
{
    if (m_recovery)
        m_recovery->remove();
}

void CrashRecovery::offerCopies()
{
    if (!m_recovery || m_window.m_guard.busy())
        return;
    std::vector<RecoveryClaim> claims = m_recovery->folder().claimAbandonedCopies();
    for (const RecoveryClaim& claim : claims) {
        switch (ask(claim.info)) {
        case RecoveryAnswer::Later:
            break;
        case RecoveryAnswer::Discard:
            m_recovery->folder().remove(claim.info.id);
            break;
        case RecoveryAnswer::Restore:
            // One document per window: the other copies wait for the next start, where
            // they are offered again.
            if (restore(claim))
                return;
            break;
        }
    }
}

bool CrashRecovery::restore(const RecoveryClaim& claim)
{
    if (!m_window.prepareForDocumentReplacement())
        return false;
    const QString path = m_recovery->folder().copyPath(claim.info.id);
    auto loaded = std::make_shared<Project>();
    const ProjectFileResult result
        = m_window.runProjectFileTask(MainWindow::tr("Restoring %1...").arg(documentName(claim.info)),
            [path, target = loaded.get()](
                const ProjectFileProgress& progress) { return loadProjectFile(path, target, progress); });
    if (!result.ok) {
        // The copy stays where it is; the next start offers it again.
        if (!result.cancelled)
            m_window.warnUser(
                MainWindow::tr("Could not open %1: %2").arg(QDir::toNativeSeparators(path), result.error));
        return false;
    }
    loaded->markModified();
    m_window.adoptProject(std::move(loaded));
    m_window.m_currentFile = claim.info.originalFile;
    m_window.m_pendingName = m_window.m_currentFile.isEmpty() ? claim.info.pendingName : QString();
    m_window.updateWindowTitle();
    // The copy becomes this editor's own, so a second crash before the next save still
    // leaves it behind.
    m_recovery->adopt(claim, {{}, m_window.m_currentFile, m_window.m_pendingName, {}},
        {m_documentGeneration, m_window.m_project->history().revision(),
            m_window.m_project->history().index()});
    m_window.showStatusMessage(MainWindow::tr("Restored %1.").arg(documentName(claim.info)), statusTimeout);
    return true;
}

RecoveryAnswer CrashRecovery::ask(const RecoveryCopyInfo& copy)
{
    if (m_window.m_prompts.askAboutRecoveryCopy)
        return m_window.m_prompts.askAboutRecoveryCopy(copy);
    QMessageBox box(QMessageBox::Question, MainWindow::tr("KROMEL"),
        MainWindow::tr("KROMEL did not close normally. A recovery copy of %1 was saved %2.\n"
                       "Do you want to restore it?")
            .arg(documentName(copy), QLocale().toString(copy.savedAt.toLocalTime(), QLocale::ShortFormat)),
        QMessageBox::NoButton, &m_window);
    QPushButton* restore = box.addButton(MainWindow::tr("Restore"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(MainWindow::tr("Discard"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(MainWindow::tr("Later"), QMessageBox::RejectRole);
    box.setInformativeText(MainWindow::tr("Later keeps the copy and asks again at the next start."));
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore)
        return RecoveryAnswer::Restore;
    if (box.clickedButton() == discard)
        return RecoveryAnswer::Discard;
    return RecoveryAnswer::Later;
}
