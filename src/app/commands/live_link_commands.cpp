// The Live Link command: the device shows the canvas while the artist paints.
#include "app/main_window.h"

#include "app/live_link_controller.h"
#include "app/preferences.h"
#include "app/settings_keys.h"
#include "document/project.h"
#include "formats/prg/executable_prg.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QSettings>
#include <QSignalBlocker>

#include <chrono>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};

} // namespace

void MainWindow::toggleLiveLink(bool on)
{
    const auto uncheck = [this] {
        const QSignalBlocker blocker(m_liveLinkAction);
        m_liveLinkAction->setChecked(false);
    };
    if (!on) {
        m_liveLink->stop();
        showStatusMessage(tr("Live Link stopped."), statusTimeout);
        refreshCommandStates();
        return;
    }
    if (!prgExportSupported(
            m_project->mode(), m_project->size(), m_project->layout(), m_project->screensAcross())) {
        uncheck();
        return;
    }
    QSettings settings;
    const Preferences preferences = readPreferences(settings);
    QString host = preferences.ultimateHost.trimmed();
    if (host.isEmpty()) {
        bool ok = false;
        host = QInputDialog::getText(this, tr("Live Link to Ultimate Device"),
            tr("Address of the Ultimate device:"), QLineEdit::Normal, {}, &ok)
                   .trimmed();
        if (!ok || host.isEmpty()) {
            uncheck();
            showStatusMessage(tr("Live Link cancelled."), statusTimeout);
            return;
        }
        settings.setValue(settingsKey::ultimateHost, host);
    }
    QString error;
    if (!m_liveLink->start(host, preferences.ultimateTimeoutSeconds, &error)) {
        uncheck();
        warnUser(tr("Could not start the Live Link to the Ultimate device at %1.").arg(host), error);
        return;
    }
    showStatusMessage(tr("Live Link to the Ultimate device at %1 started.").arg(host), statusTimeout);
}

void MainWindow::liveLinkStopped(const QString& message)
{
    {
        const QSignalBlocker blocker(m_liveLinkAction);
        m_liveLinkAction->setChecked(false);
    }
    refreshCommandStates();
    showStatusMessage(message, statusTimeout);
}
