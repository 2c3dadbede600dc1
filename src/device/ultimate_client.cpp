#include "device/ultimate_client.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

using namespace std::chrono_literals;

namespace {

QUrl deviceUrl(const QString& host, const char* path)
{
    return ultimateDeviceUrl(host, QLatin1String(path));
}

} // namespace

QUrl ultimateDeviceUrl(const QString& host, const QString& pathAndQuery)
{
    return QUrl(QStringLiteral("http://%1%2").arg(host, pathAndQuery));
}

QString ultimateReplyError(const QNetworkReply& reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        if (status.toInt() < 400)
            return {};
        return QStringLiteral("Device reported an error (HTTP %1).").arg(status.toInt());
    }
    // The transfer time-out aborts the reply, which reports it as cancelled.
    const QNetworkReply::NetworkError code = reply.error();
    return code == QNetworkReply::TimeoutError || code == QNetworkReply::OperationCanceledError
        ? QStringLiteral("Timeout connecting to device.")
        : QStringLiteral("Could not connect to device.");
}

int ultimateTimeoutMs(double timeoutSeconds)
{
    const double clamped = std::clamp(std::isfinite(timeoutSeconds) ? timeoutSeconds : 60.0, 0.1, 60.0);
    return int(std::lround(clamped * 1000.0));
}

bool performRequest(const QUrl& url, const QByteArray* body, double timeoutSeconds, QString* error,
    const RequestCancel& cancel)
{
    error->clear();
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(ultimateTimeoutMs(timeoutSeconds));
    std::unique_ptr<QNetworkReply> reply;
    if (body) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
        reply.reset(manager.post(request, *body));
    } else {
        reply.reset(manager.get(request));
    }

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    bool cancelled = false;
    QTimer poll;
    if (cancel) {
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!cancelled && cancel()) {
                cancelled = true;
                reply->abort();
            }
        });
        poll.start(50ms);
    }
    if (!reply->isFinished())
        loop.exec(cancel ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    poll.stop();

    if (cancelled) {
        *error = QStringLiteral("Cancelled.");
        return false;
    }
    *error = ultimateReplyError(*reply);
    return error->isEmpty();
}

bool pollUltimateDevice(
    const QString& host, double timeoutSeconds, QString* error, const RequestCancel& cancel)
{
    return performRequest(deviceUrl(host, "/v1/version"), nullptr, timeoutSeconds, error, cancel);
}

bool sendPrgToUltimateDevice(const QByteArray& prg, const QString& host, double timeoutSeconds,
    QString* error, const RequestCancel& cancel)
{
    return performRequest(deviceUrl(host, "/v1/runners:run_prg"), &prg, timeoutSeconds, error, cancel);
}
