#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QTemporaryDir;

// The programs the window hands to an emulator and the emulators running them. The
// window never waits for an emulator, yet hears when one gives up (a crash, an exit code
// other than 0) and can say why. Both go with the window: the programs live in a folder
// of their own, kept because an emulator may read its file again (a reset with autostart)
// long after it started, and the emulators still open are closed.
class EmulatorRuns : public QObject {
    Q_OBJECT

public:
    explicit EmulatorRuns(QObject* parent = nullptr);
    ~EmulatorRuns() override;

    // Writes the program as BASE.prg and starts the emulator on it; false with a one-line
    // message when either fails. The file's path comes back in `programPath`.
    bool start(const QString& emulator, const QString& baseName, const QByteArray& program,
        QString* programPath, QString* error);

Q_SIGNALS:
    // A started emulator ended badly; the message says which and why in one line.
    void failed(const QString& message);

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};
