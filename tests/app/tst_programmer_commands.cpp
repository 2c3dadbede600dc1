// The window's commands for coders: Export to Image's raw planes and assembler source,
// and Run in Emulator with a stand-in emulator that records what it got.
#include "app/settings_keys.h"
#include "document/project.h"
#include "formats/native/native_image_encoder.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg_export_colors.h"
#include "formats/program_data/raw_planes.h"
#include "support/window_actions.h"
#include "window_test_kit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestProgrammerCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_tempDir.isValid() && m_files.isValid());
        useOwnSettings(QStringLiteral("KROMEL-programmer"));
        qputenv("TMPDIR", m_tempDir.path().toLocal8Bit());
        qputenv("FAKE_EMULATOR_LOG", m_files.filePath(QStringLiteral("args.txt")).toLocal8Bit());
        qputenv("FAKE_EMULATOR_COPY", m_files.filePath(QStringLiteral("given.prg")).toLocal8Bit());
        qputenv("FAKE_EMULATOR_RELEASE", m_files.filePath(QStringLiteral("release")).toLocal8Bit());
    }

    void init()
    {
        QSettings().setValue(settingsKey::emulatorProgram, QStringLiteral(KROMEL_FAKE_EMULATOR));
        m_warnings.clear();
        m_window = quietWindow(&m_warnings);
        DocumentPrompts& prompts = m_window->documentPrompts();
        prompts.chooseExportPath = [this](const QString&, const QString&) { return m_target; };
        prompts.confirmReplace = [](const QStringList&) { return true; };
    }

    void exportToImageOffersTheProgrammersChoices()
    {
        m_window->newDualMulticolorCanvas();
        Project& project = m_window->project();
        project.colormap().fillRect(QRect(170, 10, 20, 30), 5);
        QString format = QStringLiteral("raw");
        m_window->documentPrompts().chooseExportFamily = [&format](bool) {
            return ExportFamilyChoice {true, false, format};
        };

        m_target = m_files.filePath(QStringLiteral("dual.bin"));
        m_window->exportImage();
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join(QLatin1Char('\n'))));
        const PrgExportColors colors = PrgExportColors::fromSlots(project.colorSlots());
        for (int screen : {0, 1}) {
            const QByteArray native = encodeNativeImage(project.colormap(), project.mode(), colors, screen);
            QCOMPARE(fileBytes(m_files.filePath(QStringLiteral("dual-%1-bitmap.bin").arg(screen))),
                native.mid(2, 8000));
            QCOMPARE(fileBytes(m_files.filePath(QStringLiteral("dual-%1-colors.bin").arg(screen))),
                native.mid(9002, 1000));
        }
        QCOMPARE(statusMessage(*m_window),
            QStringLiteral("Exported 8 files: dual-0-bitmap.bin ... dual-1-registers.bin."));
        QCOMPARE(QSettings().value(settingsKey::exportProgrammerFormat).toString(), QStringLiteral("raw"));

        format = QStringLiteral("acme");
        m_target = m_files.filePath(QStringLiteral("dual.a"));
        m_window->exportImage();
        QVERIFY(fileBytes(m_files.filePath(QStringLiteral("dual-1.a")))
                    .startsWith("; KROMEL picture data for ACME: "));
        QCOMPARE(statusMessage(*m_window), QStringLiteral("Exported 2 files: dual-0.a ... dual-1.a."));
        QVERIFY(!m_window->isWindowModified());

        // A screen with border sprites: the sprites as the program stores them.
        m_window->newHiresSpritesCanvas();
        m_window->project().colormap().fillRect(QRect(2, 30, 12, 12), 7);
        format = QStringLiteral("raw");
        m_target = m_files.filePath(QStringLiteral("sides.bin"));
        m_window->exportImage();
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join(QLatin1Char('\n'))));
        const RawPlanesResult planes = encodeRawPlanes(m_window->project().colormap(),
            m_window->project().mode(), m_window->project().layout(), 1,
            PrgExportColors::fromSlots(m_window->project().colorSlots()));
        QVERIFY(planes.ok && !planes.screens.constFirst().sprites.isEmpty());
        QCOMPARE(fileBytes(m_files.filePath(QStringLiteral("sides-sprites.bin"))),
            planes.screens.constFirst().sprites);
        QCOMPARE(fileBytes(m_files.filePath(QStringLiteral("sides-bitmap.bin"))),
            planes.screens.constFirst().bitmap);
    }

    // Offered exactly where a program can be made.
    void runInEmulatorNeedsOneScreen()
    {
        QAction* run = findAction(*m_window, QStringLiteral("Run in Emulator"));
        m_window->newDualHiresCanvas();
        QVERIFY(!run->isEnabled());
        m_window->newMulticolorTopBottomSpritesCanvas();
        QVERIFY(run->isEnabled());
    }

    void runInEmulatorNeverWaitsForIt()
    {
        m_window->newHiresSpritesCanvas();
        Project& project = m_window->project();
        project.colormap().fillRect(QRect(40, 40, 16, 16), 2);
        qputenv("FAKE_EMULATOR_MODE", "wait");
        QElapsedTimer clock;
        clock.start();
        findAction(*m_window, QStringLiteral("Run in Emulator"))->trigger();
        // The stand-in stays until released; the window must be free long before that.
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(m_warnings.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(fileBytes(m_files.filePath(QStringLiteral("given.prg"))),
            encodeExecutablePrg(project.colormap(), project.mode(), project.layout(),
                PrgExportColors::fromSlots(project.colorSlots()), nullptr),
            10000);
        const QStringList arguments
            = QString::fromUtf8(fileBytes(m_files.filePath(QStringLiteral("args.txt"))))
                  .split(QLatin1Char('\n'));
        QCOMPARE(arguments.value(0), QStringLiteral("-autostart"));
        QVERIFY(arguments.value(1).endsWith(QLatin1String("/untitled.prg")));
        QVERIFY(QFile::exists(arguments.value(1)));
        QVERIFY(statusMessage(*m_window).startsWith(QStringLiteral("Started fake_emulator")));
        const QString release = m_files.filePath(QStringLiteral("release"));
        QVERIFY(writeFileBytes(release, {}));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(release), 10000);
        qunsetenv("FAKE_EMULATOR_MODE");
        // The program goes with the window.
        m_window.reset();
        QVERIFY(!QFile::exists(arguments.value(1)));
        QVERIFY(QDir(m_tempDir.path()).isEmpty());
    }

    void runInEmulatorReportsAnEmulatorThatGivesUp()
    {
        m_window->newHiresCanvas();
        qputenv("FAKE_EMULATOR_MODE", "fail");
        m_window->runInEmulator();
        qunsetenv("FAKE_EMULATOR_MODE");
        QVERIFY(statusMessage(*m_window).startsWith(QStringLiteral("Started fake_emulator")));
        QTRY_COMPARE_WITH_TIMEOUT(m_warnings.size(), 1, 10000);
        QCOMPARE(m_warnings.constFirst(),
            QStringLiteral("The emulator %1 stopped with exit code 3: fake emulator: cannot open the display")
                .arg(QDir::toNativeSeparators(QStringLiteral(KROMEL_FAKE_EMULATOR))));

        // Closing the window closes an emulator still open, and that is nobody's failure.
        qputenv("FAKE_EMULATOR_MODE", "wait");
        m_window->runInEmulator();
        qunsetenv("FAKE_EMULATOR_MODE");
        QElapsedTimer clock;
        clock.start();
        m_window.reset();
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(m_warnings.size(), 1);
        QVERIFY(QDir(m_tempDir.path()).isEmpty());
    }

    void runInEmulatorSaysHowToChooseOne()
    {
        QSettings().setValue(settingsKey::emulatorProgram, QString());
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_files.path().toLocal8Bit());
        m_window->newHiresCanvas();
        m_window->runInEmulator();
        qputenv("PATH", path);
        QCOMPARE(m_warnings,
            QStringList {
                QStringLiteral("No emulator found: x64sc is not on PATH.\nChoose the emulator program "
                               "under Edit -> Settings... -> Emulator.")});

        const QString notAProgram = m_files.filePath(QStringLiteral("args.txt"));
        QVERIFY(writeFileBytes(notAProgram, {}));
        QSettings().setValue(settingsKey::emulatorProgram, notAProgram);
        m_window->runInEmulator();
        QCOMPARE(m_warnings.value(1),
            QStringLiteral(
                "The emulator %1 was not found or cannot be run.\nChoose the emulator program under "
                "Edit -> Settings... -> Emulator.")
                .arg(QDir::toNativeSeparators(notAProgram)));
    }

    void cleanup() { m_window.reset(); }

private:
    QTemporaryDir m_tempDir;
    QTemporaryDir m_files;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_warnings;
    QString m_target;
};

QTEST_MAIN(TestProgrammerCommands)
#include "tst_programmer_commands.moc"
