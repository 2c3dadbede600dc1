// The Help menu: the built-in manual, the online one, and the About box.

#include "app/main_window.h"

#include "app/about_dialog.h"
#include "app/external_url_opener.h"
#include "app/user_manual_window.h"

#include <QMessageBox>
#include <QUrl>

using namespace std::chrono_literals;

namespace {

const QString onlineManualAddress = QStringLiteral("https://kromel.app/manual");

} // namespace

void MainWindow::showUserManual()
{
    if (!m_userManualWindow)
        m_userManualWindow = new UserManualWindow(this);
    m_userManualWindow->show();
    m_userManualWindow->raise();
    m_userManualWindow->activateWindow();
}

void MainWindow::showOnlineUserManual()
{
    m_urlOpener->open(QUrl(onlineManualAddress));
}

void MainWindow::onlineUserManualOpened(bool opened)
{
    if (opened) {
        showStatusMessage(tr("Opened the online user manual in your web browser."), 5000ms);
        return;
    }
    const QString text = tr("Could not open %1 in a web browser.").arg(onlineManualAddress);
    if (m_prompts.warn) {
        m_prompts.warn(text);
        return;
    }
    QMessageBox::warning(this, tr("Online User Manual"), text);
}

void MainWindow::about()
{
    AboutDialog dialog(this);
    dialog.exec();
}
