// Export to PRG, Export to Ultimate Device and Import Sprites from the window, with a
// stand-in cruncher and a fake device on 127.0.0.1: what lands where, every message, and
// that nothing is left behind.
#include "app/settings_keys.h"
#include "document/project.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg_export_colors.h"
#include "support/fake_ultimate_device.h"
#include "window_test_kit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Cancels the window's progress dialog once it is up, as the user's Cancel would.
void cancelProgressLater(MainWindow& window, int afterMs)
{
    QTimer::singleShot(afterMs, &window, [&window] {
        for (QProgressDialog* dialog : window.findChildren<QProgressDialog*>())
            dialog->cancel();
    });
}

} // namespace

class TestPrgCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_tempDir.isValid());
        useOwnSettings(QStringLiteral("KROMEL-prg"));
        // Temporary folders go here, so the tests can see that none is left behind.
        qputenv("TMPDIR", m_tempDir.path().toLocal8Bit());
    }

    void init()
    {
        qunsetenv("FAKE_EXOMIZER_MODE");
        m_warnings.clear();
        m_window = quietWindow(&m_warnings);
        DocumentPrompts& prompts = m_window->documentPrompts();
        prompts.locateCruncher = [] { return QStringLiteral(KROMEL_FAKE_CRUNCHER); };
        prompts.chooseExportPath = [this](const QString&, const QString&) { return m_target; };
    }

    void exportCrunchesIntoTheTarget()
    {
        m_window->newHiresCanvas();
        m_target = m_files.filePath(QStringLiteral("art.prg"));
        m_window->exportPrg();
        QVERIFY(m_warnings.isEmpty());
        const QByteArray written = fileBytes(m_target);
        // The stand-in's self-extracting header, jumping to $1E00, then the program.
        QCOMPARE(written.left(7), QByteArray::fromHex("0108") + "SFX" + QByteArray::fromHex("001e"));
        QCOMPARE(written.size(), 7 + 9515);
        QCOMPARE(statusMessage(*m_window), QStringLiteral("Exported art.prg."));
        QVERIFY(!m_window->isWindowModified());
        QVERIFY(QDir(m_tempDir.path()).isEmpty());
    }

    void crunchingProblemsLeaveARunnableProgram()
    {
        m_window->newMulticolorSpritesCanvas();
        m_target = m_files.filePath(QStringLiteral("sprites.prg"));
        const QString sys = QStringLiteral(
            "\nThe file is exported uncompressed instead; start it with SYS 13312 rather than RUN.");

        m_window->documentPrompts().locateCruncher = [] { return QString(); };
        m_window->exportPrg();
        QVERIFY(m_warnings.value(0).startsWith(
            QStringLiteral("Could not compress the export: the bundled Exomizer is missing (")));
        QVERIFY(m_warnings.value(0).endsWith(sys));
        QCOMPARE(fileBytes(m_target).size(), 15874);

        m_window->documentPrompts().locateCruncher = [] { return QStringLiteral(KROMEL_FAKE_CRUNCHER); };
        qputenv("FAKE_EXOMIZER_MODE", "fail");
        m_window->exportPrg();
        QCOMPARE(m_warnings.value(1),
            QStringLiteral("Could not compress the export:\nerror: the fake cruncher was told to fail")
                + sys);

        // What a failing cruncher left half-written is not what lands at the target.
        QFile::remove(m_target);
        qputenv("FAKE_EXOMIZER_MODE", "fail-garbage");
        m_window->exportPrg();
        QCOMPARE(m_warnings.value(2), m_warnings.value(1));
        const QByteArray fallback = fileBytes(m_target);
        QCOMPARE(fallback.size(), 15874);
        QCOMPARE(fallback.left(2), QByteArray::fromHex("0034"));

        // A cruncher that hangs is killed at the time limit (shortened here).
        qputenv("FAKE_EXOMIZER_MODE", "hang");
        m_window->documentPrompts().crunchTimeout = std::chrono::milliseconds(300);
        m_window->exportPrg();
        QCOMPARE(m_warnings.value(3), QStringLiteral("Could not compress the export.") + sys);
        QCOMPARE(fileBytes(m_target).size(), 15874);

        // Cancelling writes nothing at the target.
        QFile::remove(m_target);
        m_window->documentPrompts().crunchTimeout = std::chrono::seconds(20);
        cancelProgressLater(*m_window, 600);
        m_window->exportPrg();
        QCOMPARE(statusMessage(*m_window), QStringLiteral("Export to PRG cancelled."));
        QVERIFY(!QFileInfo::exists(m_target));
        QCOMPARE(m_warnings.size(), 4);
        QVERIFY(QDir(m_tempDir.path()).isEmpty());
    }

    void overTheSpriteBudgetNamesTheWayOut()
    {
        m_window->newHiresTopBottomSpritesCanvas();
        Project& project = m_window->project();
        project.setSpriteCountPolicy(SpriteCountPolicy::Flag);
        // One pixel in each of the top border's 14 columns: more than 8 sprites.
        for (int column = 0; column < 14; ++column)
            project.colormap().setPixel(column * 24 + 2, 2, 1);
        m_window->exportPrg();
        QCOMPARE(m_warnings.size(), 1);
        QVERIFY(m_warnings.constFirst().startsWith(
            QStringLiteral("Could not export an executable PRG file.\nOver the sprite budget: the top border "
                           "holds sprites in 14")));
        QVERIFY(m_warnings.constFirst().endsWith(
            QStringLiteral("Options -> Border Sprites -> Reduce Borders to 8 Sprites trims the strips as one "
                           "undoable edit.")));
    }

    void sendsToTheDevice()
    {
        FakeUltimateDevice device;
        QSettings().setValue(settingsKey::ultimateHost, device.host());
        QSettings().setValue(settingsKey::ultimateTimeoutSeconds, 2.0);
        m_window->newHiresCanvas();
        m_window->sendToUltimate();
        QVERIFY(m_warnings.isEmpty());
        QCOMPARE(statusMessage(*m_window),
            QStringLiteral("Sent to the Ultimate device at %1.").arg(device.host()));
        QCOMPARE(device.requests().size(), 2);
        QCOMPARE(device.requests().at(1).body.left(5), QByteArray::fromHex("0108") + "SFX");
        QCOMPARE(device.requests().at(1).body.size(), 7 + 9515);

        // A device that does not know the version request gets no program.
        device.setStatus("/v1/version", 404);
        m_window->sendToUltimate();
        QCOMPARE(m_warnings,
            QStringList({QStringLiteral("Could not send to the Ultimate device at %1.\n"
                                        "Device reported an error (HTTP 404).")
                             .arg(device.host())}));
        QCOMPARE(device.requests().size(), 3);

        // Cancelling a stalled request is a status message, not a warning.
        device.setBehaviour(FakeUltimateDevice::Behaviour::Stall);
        QSettings().setValue(settingsKey::ultimateTimeoutSeconds, 30.0);
        cancelProgressLater(*m_window, 700);
        m_window->sendToUltimate();
        QCOMPARE(statusMessage(*m_window), QStringLiteral("Send to the Ultimate device cancelled."));
        QCOMPARE(m_warnings.size(), 1);
        QVERIFY(!m_window->isFileTaskRunning());
        QVERIFY(QDir(m_tempDir.path()).isEmpty());
    }

    void exportedSpritesImportBack()
    {
        m_window->newMulticolorTopBottomSpritesCanvas();
        Project& project = m_window->project();
        project.colormap().fillRect(QRect(30, 3, 5, 30), 2);
        const Colormap drawn = project.colormap();
        QString error;
        const QByteArray prg = encodeExecutablePrg(project.colormap(), project.mode(), project.layout(),
            PrgExportColors::fromSlots(project.colorSlots()), &error);
        const QString sprites = m_files.filePath(QStringLiteral("border.prg"));
        QVERIFY(writeFileBytes(sprites, QByteArray("\x00\x68", 2) + prg.mid(0x6800 - 0x3400 + 2, 32 * 64)));

        project.clearCanvas(project.slotIndex(HistoryColorSlot::Background));
        m_window->documentPrompts().chooseSpritesToImport = [&](const QString&) {
            return std::optional(SpriteImportChoice {sprites, {SpriteAttributeMode::ColorAndPosition, 1}});
        };
        m_window->importSprites();
        QCOMPARE(statusMessage(*m_window), QStringLiteral("Imported 32 sprites from border.prg."));
        QCOMPARE(project.history().entries().constLast().kind, HistoryEntryKind::SpriteImport);
        QCOMPARE(project.colormap().snapshotRegion(QRect(0, 0, 160, 42)),
            drawn.snapshotRegion(QRect(0, 0, 160, 42)));

        // The whole program holds far more records than the strips take.
        const QString program = m_files.filePath(QStringLiteral("whole.prg"));
        QVERIFY(writeFileBytes(program, prg));
        m_window->documentPrompts().chooseSpritesToImport = [&](const QString&) {
            return std::optional(SpriteImportChoice {program, {}});
        };
        m_window->importSprites();
        QCOMPARE(m_warnings, QStringList({"The file holds 248 sprites; this canvas takes at most 32."}));
    }

private:
    QTemporaryDir m_tempDir;
    QTemporaryDir m_files {QDir::currentPath() + QStringLiteral("/prg-XXXXXX")};
    std::unique_ptr<MainWindow> m_window;
    QStringList m_warnings;
    QString m_target;
};

QTEST_MAIN(TestPrgCommands)
#include "tst_prg_commands.moc"
