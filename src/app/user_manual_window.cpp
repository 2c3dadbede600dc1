#include "app/user_manual_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

UserManualWindow::UserManualWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("KROMEL User Manual"));
    resize(720, 640);

    auto* browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(true);
    // The manual's pictures are linked relative to it, so they show on the web too.
    browser->setSearchPaths({QStringLiteral(":/doc")});
    QFile manual(QStringLiteral(":/doc/user-manual.md"));
    if (manual.open(QIODevice::ReadOnly | QIODevice::Text))
        browser->setMarkdown(QString::fromUtf8(manual.readAll()));
    else
        browser->setPlainText(tr("The user manual is missing from this build."));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
}
