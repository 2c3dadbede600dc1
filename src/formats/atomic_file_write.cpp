#include "formats/atomic_file_write.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

// Writes straight to the save file's descriptor. QSaveFile buffers small writes and
// writes the last block inside commit(), which then renames the partial file over the
// target even when that write failed (a full disk, a quota, a file-size limit); and a
// write the system cuts short is no error to its file engine, which then only knows
// "Unknown error". Unbuffered, every failing call is seen at once, with its errno.
class DirectFileWriter : public QIODevice {
public:
    explicit DirectFileWriter(int descriptor)
        : m_descriptor(descriptor)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    int failure() const { return m_failure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::write(m_descriptor, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_failure = n < 0 ? errno : EIO;
                setErrorString(QString::fromLocal8Bit(std::strerror(m_failure)));
                return -1;
            }
            done += n;
        }
        return done;
    }

private:
    int m_descriptor;
    int m_failure = 0;
};

} // namespace

bool writeFileAtomically(
    const QString& path, const std::function<bool(QIODevice& device, QString* error)>& write, QString* error)
{
    QSaveFile file(path);
    QString message;
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    DirectFileWriter writer(file.handle());
    if (!write(writer, &message) || writer.failure() != 0) {
        // The system's reason (e.g. "No space left on device") comes first; a writer's
        // message stands only when the file saw nothing wrong.
        if (writer.failure() != 0 || message.isEmpty())
            message = writer.errorString();
        file.cancelWriting();
    } else if (!file.commit()) {
        message = file.errorString();
    } else {
        return true;
    }
    if (error)
        *error = message;
    return false;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    return writeFileAtomically(
        path, [&bytes](QIODevice& device, QString*) { return device.write(bytes) == bytes.size(); }, error);
}
