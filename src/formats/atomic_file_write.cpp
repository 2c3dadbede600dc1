#include "formats/atomic_file_write.h"

#include <QSaveFile>

bool writeFileAtomically(
    const QString& path, const std::function<bool(QIODevice& device, QString* error)>& write, QString* error)
{
    QSaveFile file(path);
    QString message;
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok && !write(file, &message)) {
        file.cancelWriting();
        ok = false;
    }
    ok = ok && file.commit();
    if (!ok && error)
        *error = message.isEmpty() ? file.errorString() : message;
    return ok;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    return writeFileAtomically(
        path, [&bytes](QIODevice& device, QString*) { return device.write(bytes) == bytes.size(); }, error);
}
