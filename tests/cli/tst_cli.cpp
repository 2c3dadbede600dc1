// The command-line tool, run in-process over the committed sample projects.
#include "cli/cli.h"
#include "model/palette.h"

#include "support/test_data.h"
#include <QImage>
#include <QTemporaryDir>

#include <QTest>
#include <QTextStream>

namespace {

struct Run {
    int exitCode = 0;
    QString out;
    QString err;
};

Run run(const QStringList& arguments)
{
    Run result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.exitCode = runCli(arguments, out, err);
    out.flush();
    err.flush();
    return result;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void infoPrintsOneKeyPerLine_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version 11") << sampleProjectPath("multicolor_side_borders.krm")
                                    << "mode: multicolor\nlayout: side-borders\nsize: 208x200\nscreens: 1\n"
                                       "slots: 9 0 4 10 0 4 10 0 4 10\nsprite-count-policy: enforce\n"
                                       "hires-clash-resolution: preserve-most-used\ntop-alignment: left\n"
                                       "bottom-alignment: right\nhistory-length: 12\nhistory-index: 11\n";
    }

    void infoPrintsOneKeyPerLine()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const Run result = run({QStringLiteral("info"), path});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, expected);
        QVERIFY(result.err.isEmpty());
    }

    void renderShowsTheCanvasAsTheC64Does()
    {
        QTemporaryDir dir;
        const QString multicolor = dir.filePath(QStringLiteral("multicolor.png"));
        QCOMPARE(run({QStringLiteral("render"), sampleProjectPath("multicolor_side_borders_v10.krm"),
                         multicolor, QStringLiteral("--palette"), QStringLiteral("high-contrast")})
                     .exitCode,
            0);

        // The sample is colour 6 with colour 1 at (1, 1), two screen pixels wide.
        const QImage multicolorImage(multicolor);
        const Palette highContrast(PaletteVariant::HighContrast);
        QCOMPARE(multicolorImage.size(), QSize(416, 200));
        QCOMPARE(multicolorImage.pixel(1, 1), highContrast.colorAt(6));
        QCOMPARE(multicolorImage.pixel(2, 1), highContrast.colorAt(1));
        QCOMPARE(multicolorImage.pixel(3, 1), highContrast.colorAt(1));
        QCOMPARE(multicolorImage.pixel(4, 1), highContrast.colorAt(6));
    }

    void errorsExplainThemselves_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << QStringList {} << 2 << "no command given";
        QTest::newRow("missing file")
            << QStringList {"info", "/nonexistent/a.krm"} << 1
            << "Could not open /nonexistent/a.krm: cannot read /nonexistent/a.krm: ";
    }

    void errorsExplainThemselves()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QVERIFY(result.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
