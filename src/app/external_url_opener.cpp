#include "app/external_url_opener.h"

#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

namespace {

// Some openers run the browser in the foreground and return only when it closes; one
// still running after this long has found something to open the page with.
constexpr auto openerAnswerTime = 3s;

QString desktopOpener()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
#else
    return {};
#endif
}

} // namespace

ExternalUrlOpener::ExternalUrlOpener(QObject* parent)
    : QObject(parent)
    , m_program(desktopOpener())
{
}

void ExternalUrlOpener::open(const QUrl& url)
{
    if (m_program.isEmpty()) {
        Q_EMIT finished(url, QDesktopServices::openUrl(url));
        return;
    }
    auto* process = new QProcess(this);
    auto reported = std::make_shared<bool>(false);
    const auto report = [this, url, reported](bool opened) {
        if (*reported)
            return;
        *reported = true;
        Q_EMIT finished(url, opened);
    };
    connect(process, &QProcess::errorOccurred, this, [process, report](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            report(false);
            process->deleteLater();
        }
    });
    connect(process, &QProcess::finished, this, [process, report](int exitCode, QProcess::ExitStatus status) {
        report(status == QProcess::NormalExit && exitCode == 0);
        process->deleteLater();
    });
    QTimer::singleShot(openerAnswerTime, this, [process = QPointer<QProcess>(process), report] {
        if (!process || process->state() == QProcess::NotRunning)
            return;
        report(true);
        // Deleting a running process kills it, and with it a browser it runs in the
        // foreground; let it end on its own instead.
        process->setParent(nullptr);
    });
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(m_program, {url.toString()});
}
