#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Writes into a temporary file that replaces `path` only once `write` has succeeded and
// every byte has reached the disk, so a failure leaves whatever was at `path` as it was
// and no temporary file behind. When the file itself failed, `error` gets the system's
// reason ("File too large", "No space left on device"); otherwise the text `write`
// reported.
bool writeFileAtomically(
    const QString& path, const std::function<bool(QIODevice& device, QString* error)>& write, QString* error);
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);
