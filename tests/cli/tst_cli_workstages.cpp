// kromel-cli workstages: the same frames as Save Workstages... from a saved project. The
// one-line messages for a command it cannot carry out are rows of tst_cli's
// errorsExplainThemselves.
#include "cli/cli_workstages.h"
#include "document/project.h"
#include "formats/project/project_file_writer.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

class TestCliWorkstages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Three edits on a multicolor screen, the border changing at the last one.
        Project project(CanvasMode::Multicolor);
        project.clearCanvas(6);
        project.assignBackgroundIndex(2);
        project.assignBorderIndex(7);
        QVERIFY(saveProjectFile(project, m_dir.filePath("piece.krm"), {}).ok);
    }

    void writesTheFrames_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("note");
        const QStringList all {
            "piece-000000.png", "piece-000001.png", "piece-000002.png", "piece-000003.png"};
        QTest::newRow("every stage") << QStringList {} << all << QSize(320, 200) << QString();
        QTest::newRow("more than there are")
            << QStringList {"--count", "9", "--smart"} << all << QSize(320, 200)
            << " (the project has 4 workstages, fewer than the 9 asked for)";
        QTest::newRow("framed, named")
            << QStringList {"--frame", "--base", "lapse"}
            << QStringList {"lapse-000000.png", "lapse-000001.png", "lapse-000002.png", "lapse-000003.png"}
            << QSize(416, 301) << QString();
    }
    void writesTheFrames()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, files);
        QFETCH(QSize, size);
        QFETCH(QString, note);
        const QString folder = m_dir.filePath(QString("out-%1").arg(QTest::currentDataTag()));
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int code
            = runWorkstagesCommand(QStringList {"workstages", m_dir.filePath("piece.krm"), folder} + options,
                outStream, errStream, false);
        QCOMPARE(code, 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        outStream.flush();
        QCOMPARE(out,
            QStringLiteral("Saved %1 workstage frames to %2%3\n")
                .arg(files.size())
                .arg(QDir::toNativeSeparators(folder), note));
        QCOMPARE(QDir(folder).entryList(QDir::Files), files);
        const QImage last(QDir(folder).filePath(files.last()));
        QCOMPARE(last.size(), size);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliWorkstages)
#include "tst_cli_workstages.moc"
