// The cruncher runs as a child process with its fixed command line; every way it can go
// wrong (missing, failing, hanging, cancelled) comes back as an outcome, never a hang.
#include "formats/prg/prg_cruncher.h"

#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPrgCruncher : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { qunsetenv("FAKE_EXOMIZER_MODE"); }

    void foundBesideTheProgramThenOnThePath()
    {
        QTemporaryDir programDir;
        QTemporaryDir pathDir;
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", pathDir.path().toLocal8Bit());
        QVERIFY(findCruncher(programDir.path()).isEmpty());

        const QString onPath = pathDir.filePath(cruncherExecutableName());
        QVERIFY(QFile::copy(QStringLiteral(KROMEL_FAKE_CRUNCHER), onPath));
        QCOMPARE(findCruncher(programDir.path()), onPath);
        const QString bundled = bundledCruncherPath(programDir.path());
        QVERIFY(QFile::copy(QStringLiteral(KROMEL_FAKE_CRUNCHER), bundled));
        QCOMPARE(findCruncher(programDir.path()), bundled);
        qputenv("PATH", savedPath);
    }

    void crunchesInPlaceWithItsCommandLine()
    {
        QTemporaryDir dir;
        const QString prg = dir.filePath(QStringLiteral("art.prg"));
        const QString log = dir.filePath(QStringLiteral("arguments"));
        QVERIFY(writeFileBytes(prg, QByteArray::fromHex("001e") + "program"));
        qputenv("FAKE_EXOMIZER_LOG", log.toLocal8Bit());
        const CrunchResult result = crunchPrgInPlace(QStringLiteral(KROMEL_FAKE_CRUNCHER), prg, 7680, {});
        qunsetenv("FAKE_EXOMIZER_LOG");
        QCOMPARE(result.outcome, CrunchResult::Outcome::Crunched);
        QCOMPARE(QString::fromUtf8(fileBytes(log)).split('\n', Qt::SkipEmptyParts),
            QStringList({"sfx", "7680", prg, "-o", prg, "-n"}));
        QCOMPARE(fileBytes(prg),
            QByteArray::fromHex("0108") + "SFX" + QByteArray::fromHex("001e001e") + "program");
    }

    void failuresComeBackAsOutcomes()
    {
        QTemporaryDir dir;
        const QString prg = dir.filePath(QStringLiteral("art.prg"));
        QVERIFY(writeFileBytes(prg, "program"));

        qputenv("FAKE_EXOMIZER_MODE", "fail");
        CrunchResult result = crunchPrgInPlace(QStringLiteral(KROMEL_FAKE_CRUNCHER), prg, 13312, {});
        QCOMPARE(result.outcome, CrunchResult::Outcome::Failed);
        QCOMPARE(result.errorOutput, QStringLiteral("error: the fake cruncher was told to fail"));
        QCOMPARE(fileBytes(prg), QByteArray("program"));

        // Half-written output is replaced by the program that went in.
        qputenv("FAKE_EXOMIZER_MODE", "fail-garbage");
        result = crunchPrgInPlace(QStringLiteral(KROMEL_FAKE_CRUNCHER), prg, 13312, {});
        QCOMPARE(result.outcome, CrunchResult::Outcome::Failed);
        QCOMPARE(fileBytes(prg), QByteArray("program"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"art.prg"});

        result = crunchPrgInPlace(dir.filePath(QStringLiteral("no-such-cruncher")), prg, 13312, {});
        QCOMPARE(result.outcome, CrunchResult::Outcome::Failed);

        // A cruncher that never ends is killed at the deadline.
        qputenv("FAKE_EXOMIZER_MODE", "hang");
        result = crunchPrgInPlace(
            QStringLiteral(KROMEL_FAKE_CRUNCHER), prg, 13312, {std::chrono::milliseconds(200), {}});
        QCOMPARE(result.outcome, CrunchResult::Outcome::Failed);

        // Cancelling stops it at the next poll.
        int polls = 0;
        result = crunchPrgInPlace(QStringLiteral(KROMEL_FAKE_CRUNCHER), prg, 13312,
            {std::chrono::minutes(1), [&polls] { return ++polls == 2; }});
        QCOMPARE(result.outcome, CrunchResult::Outcome::Cancelled);
        QCOMPARE(polls, 2);
    }
};

QTEST_GUILESS_MAIN(TestPrgCruncher)
#include "tst_prg_cruncher.moc"
