#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

// Opens an address in the desktop's web browser and says whether it really opened. On
// Linux the toolkit only reports that it could start the desktop's opener, which then
// fails on its own when no browser is set up; running the opener here lets its exit
// status reach the user.
class ExternalUrlOpener : public QObject {
    Q_OBJECT

public:
    explicit ExternalUrlOpener(QObject* parent = nullptr);

    // The opener program, given the address as its one argument. Empty leaves the job to
    // the toolkit.
    QString program() const { return m_program; }
    void setProgram(const QString& program) { m_program = program; }

    // Reports through `finished`, at once or when the opener has answered.
    void open(const QUrl& url);

Q_SIGNALS:
    void finished(const QUrl& url, bool opened);

private:
    QString m_program;
};
