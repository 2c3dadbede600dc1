#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkReply;

// The HTTP interface of an Ultimate 64 or a 1541 Ultimate cartridge: plain requests on
// the local network, where only the status code matters.

// Asked every 50 ms while a request waits; true stops it.
using RequestCancel = std::function<bool()>;

// The per-request transfer time-out in milliseconds: the setting clamped to 0.1 to 60 s.
int ultimateTimeoutMs(double timeoutSeconds);

// "http://HOST/PATH": the host as the user typed it, port included if they gave one.
QUrl ultimateDeviceUrl(const QString& host, const QString& pathAndQuery);

// What a finished reply means: empty for an HTTP status below 400, otherwise the message
// (an error status, a time-out, or no connection at all).
QString ultimateReplyError(const QNetworkReply& reply);

// GET without a body, POST of the body as application/octet-stream otherwise. Waits in a
// local event loop; without a cancel callable it takes no user input meanwhile. True for
// an HTTP status below 400; otherwise `error` says why ("Cancelled.", "Device reported an
// error (HTTP %1).", "Timeout connecting to device.", "Could not connect to device.").
bool performRequest(const QUrl& url, const QByteArray* body, double timeoutSeconds, QString* error,
    const RequestCancel& cancel);

// Whether the device answers at all: asked first, so a wrong address fails quickly.
bool pollUltimateDevice(
    const QString& host, double timeoutSeconds, QString* error, const RequestCancel& cancel);

// Loads the program (load address first) into the device's memory and runs it.
bool sendPrgToUltimateDevice(const QByteArray& prg, const QString& host, double timeoutSeconds,
    QString* error, const RequestCancel& cancel);
