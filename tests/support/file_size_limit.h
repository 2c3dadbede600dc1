#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// What a write reported: whether it claims success, and its message.
struct WriteOutcome {
    bool ok = false;
    QString message;
};

// Runs `write` in a child process whose files cannot grow beyond `limitBytes`, as on a
// full disk or over a quota: SIGXFSZ is ignored there, so a write past the limit fails
// with EFBIG ("File too large") instead of killing the child. Returns what `write`
// reported; a child that did not finish normally reports not ok with the reason.
WriteOutcome runWithFileSizeLimit(qint64 limitBytes, const std::function<WriteOutcome()>& write);

// Runs `program` with `arguments` under the same limit, as a fresh process (nothing of
// this test's threads comes along). ok is exit code 0; the message is the exit code, a
// blank and what the program wrote on standard error.
WriteOutcome runProgramWithFileSizeLimit(
    qint64 limitBytes, const QString& program, const QStringList& arguments);

// The system's text for a file grown past its limit, as a write reports it.
QString fileTooLargeText();

// Every name in `folder`, sorted, hidden files included: where a write left a temporary file.
QStringList folderEntries(const QString& folder);

QByteArray fileBytes(const QString& path);
bool writeFileBytes(const QString& path, const QByteArray& bytes);
