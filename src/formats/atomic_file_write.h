#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Writes into a temporary file that replaces `path` only once `write` has succeeded, so
// a failure leaves whatever was at `path` as it was. `write` reports its own error text;
// otherwise `error` gets the file system's.
bool writeFileAtomically(
    const QString& path, const std::function<bool(QIODevice& device, QString* error)>& write, QString* error);
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);
