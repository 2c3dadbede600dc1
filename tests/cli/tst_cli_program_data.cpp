// kromel-cli's exports for programmers and its run command, in-process, with a stand-in
// emulator that records what it was started with. Their refusals of a mistaken command
// line are rows of tst_cli's errorsExplainThemselves.
#include "support/cli_run.h"
#include "support/file_size_limit.h"
#include "support/test_data.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCliProgramData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid() && m_files.isValid());
        // The run command's temporary program goes here, so the test sees it removed.
        qputenv("TMPDIR", m_temp.path().toLocal8Bit());
        qunsetenv("KROMEL_EMULATOR");
    }

    void init()
    {
        qunsetenv("FAKE_EMULATOR_MODE");
        qputenv("FAKE_EMULATOR_LOG", m_files.filePath(QStringLiteral("args.txt")).toLocal8Bit());
        qputenv("FAKE_EMULATOR_COPY", m_files.filePath(QStringLiteral("given.prg")).toLocal8Bit());
        QFile::remove(m_files.filePath(QStringLiteral("args.txt")));
        QFile::remove(m_files.filePath(QStringLiteral("given.prg")));
    }

    void rawAndSourceExportsWriteTheirFiles()
    {
        const QString project = sampleProjectPath("multicolor_dual_screen.krm");
        const QString raw = m_files.filePath(QStringLiteral("dual.bin"));
        CliRun result = runCliInProcess({"export", project, raw, "--load-address", "$6000", "--resolve"});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.exitCode, 0);
        for (const char* plane : {"bitmap", "screen", "colors", "registers"}) {
            for (int screen : {0, 1}) {
                const QString path = m_files.filePath(
                    QStringLiteral("dual-%1-%2.bin").arg(screen).arg(QLatin1String(plane)));
                QCOMPARE(fileBytes(path).left(2), QByteArray::fromHex("0060"));
            }
        }
        QVERIFY(!QFile::exists(raw));

        const QString source = m_files.filePath(QStringLiteral("sides.asm"));
        result = runCliInProcess({"export", sampleProjectPath("hires_side_borders.krm"), source, "--format",
            "KickAssembler", "--load-address", "4000", "--resolve"});
        QCOMPARE(result.err, QString());
        const QByteArray text = fileBytes(source);
        QVERIFY(text.startsWith("// KROMEL picture data for KickAssembler: hires_side_borders.krm\n"));
        QVERIFY(text.contains("\n* = $4000\n"));
        QVERIFY(text.contains("\nsprites:\n"));
        QVERIFY(!text.contains("\ncolors:\n"));
    }

    void runHandsTheEmulatorTheUncrunchedProgram()
    {
        const QString project = sampleProjectPath("multicolor_top_bottom_borders.krm");
        const QString exported = m_files.filePath(QStringLiteral("exported.prg"));
        QCOMPARE(runCliInProcess({"export", project, exported, "--no-crunch"}).exitCode, 0);

        const CliRun result = runCliInProcess({"run", project, "--emulator", KROMEL_FAKE_EMULATOR});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.exitCode, 0);
        const QStringList arguments
            = QString::fromUtf8(fileBytes(m_files.filePath(QStringLiteral("args.txt"))))
                  .split(QLatin1Char('\n'));
        QCOMPARE(arguments.size(), 3);
        QCOMPARE(arguments.at(0), QStringLiteral("-autostart"));
        QVERIFY(arguments.at(1).endsWith(QLatin1String("/multicolor_top_bottom_borders.prg")));
        QCOMPARE(fileBytes(m_files.filePath(QStringLiteral("given.prg"))), fileBytes(exported));
        // Waited for, then cleaned up.
        QVERIFY(!QFile::exists(arguments.at(1)));
        QCOMPARE(QDir(m_temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

        // KROMEL_EMULATOR does what --emulator does.
        QFile::remove(m_files.filePath(QStringLiteral("given.prg")));
        qputenv("KROMEL_EMULATOR", KROMEL_FAKE_EMULATOR);
        QCOMPARE(runCliInProcess({"run", project}).exitCode, 0);
        qunsetenv("KROMEL_EMULATOR");
        QCOMPARE(fileBytes(m_files.filePath(QStringLiteral("given.prg"))), fileBytes(exported));
    }

    void runReportsAMissingOrFailingEmulator()
    {
        const QString project = sampleProjectPath("hires_bitmap.krm");
        const QString missing = m_files.filePath(QStringLiteral("no-such-emulator"));
        CliRun result = runCliInProcess({"run", project, "--emulator", missing});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
            QStringLiteral("The emulator %1 was not found or cannot be run. Give --emulator PROGRAM or set "
                           "KROMEL_EMULATOR.\n")
                .arg(QDir::toNativeSeparators(missing)));

        // x64sc missing from PATH, the other way of finding none, is checked through the
        // window in tst_programmer_commands.
        qputenv("FAKE_EMULATOR_MODE", "fail");
        result = runCliInProcess({"run", project, "--emulator", KROMEL_FAKE_EMULATOR});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
            QStringLiteral(
                "The emulator %1 stopped with exit code 3: fake emulator: cannot open the display\n")
                .arg(QDir::toNativeSeparators(KROMEL_FAKE_EMULATOR)));
        QCOMPARE(QDir(m_temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

private:
    QTemporaryDir m_temp;
    QTemporaryDir m_files;
};

QTEST_GUILESS_MAIN(TestCliProgramData)
#include "tst_cli_program_data.moc"
