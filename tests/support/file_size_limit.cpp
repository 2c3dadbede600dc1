#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray readAllFrom(int fd)
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;
        bytes.append(buffer, n);
    }
}

} // namespace

WriteOutcome runWithFileSizeLimit(qint64 limitBytes, const std::function<WriteOutcome()>& write)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {false, QStringLiteral("pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno)))};
    const pid_t child = ::fork();
    if (child < 0)
        return {false, QStringLiteral("fork: %1").arg(QString::fromLocal8Bit(std::strerror(errno)))};
    if (child == 0) {
        ::close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit {rlim_t(limitBytes), rlim_t(limitBytes)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        const WriteOutcome outcome = write();
        // A pipe is no file, so the limit does not apply to the answer.
        const bool sent = writeAll(channel[1], (outcome.ok ? "1" : "0") + outcome.message.toUtf8());
        // No destructors or exit handlers: they belong to the parent's test run.
        ::_exit(sent ? 0 : 4);
    }
    ::close(channel[1]);
    const QByteArray answer = readAllFrom(channel[0]);
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer.isEmpty())
        return {false, QStringLiteral("the writing child ended abnormally (status %1)").arg(status)};
    return {answer.at(0) == '1', QString::fromUtf8(answer.mid(1))};
}

WriteOutcome runProgramWithFileSizeLimit(
    qint64 limitBytes, const QString& program, const QStringList& arguments)
{
    // Everything the child needs is made before the fork: it only calls async-signal-safe
    // functions.
    QList<QByteArray> words {program.toLocal8Bit()};
    for (const QString& argument : arguments)
        words << argument.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int channel[2];
    if (::pipe(channel) != 0)
        return {false, QStringLiteral("pipe failed")};
    const pid_t child = ::fork();
    if (child < 0)
        return {false, QStringLiteral("fork failed")};
    if (child == 0) {
        ::dup2(channel[1], STDERR_FILENO);
        ::close(channel[0]);
        ::close(channel[1]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit {rlim_t(limitBytes), rlim_t(limitBytes)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(126);
        ::execv(argv.front(), argv.data());
        ::_exit(127);
    }
    ::close(channel[1]);
    const QByteArray said = readAllFrom(channel[0]);
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (!WIFEXITED(status))
        return {false, QStringLiteral("the program ended abnormally (status %1)").arg(status)};
    return {
        WEXITSTATUS(status) == 0, QString::number(WEXITSTATUS(status)) + ' ' + QString::fromLocal8Bit(said)};
}

QString fileTooLargeText()
{
    return QString::fromLocal8Bit(std::strerror(EFBIG));
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
