// Run in Emulator: the canvas's program, unpacked, started in a C64 emulator that the
// editor never waits for but hears from when it fails.
#include "app/main_window.h"

#include "app/commands/file_command_steps.h"

#include "app/emulator_runs.h"
#include "app/preferences.h"
#include "formats/prg/emulator_launch.h"

#include <QFileInfo>
#include <QSettings>

#include <chrono>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};

} // namespace

void MainWindow::runInEmulator()
{
    if (!m_guard.mayExport())
        return;
    const QString chosen = readPreferences(QSettings()).emulatorProgram;
    const QString emulator = findEmulator(chosen);
    if (emulator.isEmpty()) {
        warnUser(emulatorNotFoundMessage(chosen) + QLatin1Char('\n')
            + tr("Choose the emulator program under Edit -> Settings... -> Emulator."));
        return;
    }
    if (exportBlockedByClashes(*this, tr("to the emulator"), tr("Run in emulator cancelled.")))
        return;
    QByteArray prg;
    {
        const auto busy = m_guard.busyScope();
        prg = encodeExecutablePrgOrWarn(*this, tr("Could not run the picture in the emulator."));
    }
    if (prg.isEmpty())
        return;
    if (!m_emulatorRuns) {
        m_emulatorRuns = new EmulatorRuns(this);
        connect(m_emulatorRuns, &EmulatorRuns::failed, this,
            [this](const QString& message) { warnUser(message); });
    }
    QString program;
    QString error;
    if (!m_emulatorRuns->start(emulator, suggestedExportBaseName(*this), prg, &program, &error)) {
        warnUser(error);
        return;
    }
    showStatusMessage(
        tr("Started %1 with %2.").arg(QFileInfo(emulator).fileName(), QFileInfo(program).fileName()),
        statusTimeout);
}
