#pragma once

#include "app/document_prompts.h"

#include <QObject>
#include <QString>

class MainWindow;
class QTimer;
class RecoveryWriter;
struct Preferences;
struct RecoveryClaim;

// The window's crash recovery. Off until started (the program starts it; a test starts it
// on a folder of its own): then a modified document is copied into the folder at the
// autosave interval and when the program loses the focus, and the copies of crashed
// editors are offered once the event loop runs.
class CrashRecovery : public QObject {
public:
    explicit CrashRecovery(MainWindow& window);

    void start(const QString& folderPath);
    void applyAutosavePreferences(const Preferences& preferences);
    // Writes the copy now if the document changed since the last one.
    void autosaveNow();
    // The document was saved or let go: its copy has nothing left to keep.
    void discardCopy();
    void offerCopies();
    RecoveryWriter* writer() const { return m_recovery; }

private:
    RecoveryAnswer ask(const RecoveryCopyInfo& copy);
    bool restore(const RecoveryClaim& claim);

    MainWindow& m_window;
    RecoveryWriter* m_recovery = nullptr;
    QTimer* m_autosaveTimer = nullptr;
    bool m_autosaveEnabled = true;
    // Counts document replacements, so a new document's first state is never taken for
    // one the copy already holds.
    quint64 m_documentGeneration = 0;
};
