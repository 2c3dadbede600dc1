// The command-line tool, run in-process over the committed sample projects.
#include "cli/cli.h"
#include "model/palette.h"

#include <QFile>
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

QString sample(const char* name)
{
    return QStringLiteral(KROMEL_TEST_DATA_DIR "/projects/") + QLatin1String(name);
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void infoPrintsOneKeyPerLine_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version 11") << sample("multicolor_side_borders.krm")
                                    << "mode: multicolor\nlayout: side-borders\nsize: 208x200\nscreens: 1\n"
                                       "slots: 9 0 4 10 0 4 10 0 4 10\nsprite-count-policy: enforce\n"
                                       "hires-clash-resolution: preserve-most-used\ntop-alignment: left\n"
                                       "bottom-alignment: right\nhistory-length: 12\nhistory-index: 11\n";
        QTest::newRow("version 10") << sample("hires_bitmap_v10.krm")
                                    << "mode: hires\nlayout: bitmap-only\nsize: 320x200\nscreens: 1\n"
                                       "slots: 6 3 2 3 0 4 10 0 4 10\nsprite-count-policy: flag\n"
                                       "hires-clash-resolution: replace-overwritten\ntop-alignment: left\n"
                                       "bottom-alignment: left\nhistory-length: 2\nhistory-index: 2\n";
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
        const QString hires = dir.filePath(QStringLiteral("hires.png"));
        const QString multicolor = dir.filePath(QStringLiteral("multicolor.png"));
        QCOMPARE(run({QStringLiteral("render"), sample("hires_bitmap_v10.krm"), hires}).exitCode, 0);
        QCOMPARE(run({QStringLiteral("render"), sample("multicolor_side_borders_v10.krm"), multicolor,
                         QStringLiteral("--palette"), QStringLiteral("high-contrast")})
                     .exitCode,
            0);

        // Both samples are colour 6 with colour 1 at (1, 1).
        const QImage hiresImage(hires);
        QCOMPARE(hiresImage.size(), QSize(320, 200));
        QCOMPARE(hiresImage.pixel(1, 1), Palette().colorAt(1));
        QCOMPARE(hiresImage.pixel(0, 0), Palette().colorAt(6));
        const QImage multicolorImage(multicolor);
        const Palette highContrast(PaletteVariant::HighContrast);
        QCOMPARE(multicolorImage.size(), QSize(416, 200));
        QCOMPARE(multicolorImage.pixel(2, 1), highContrast.colorAt(1));
        QCOMPARE(multicolorImage.pixel(3, 1), highContrast.colorAt(1));
        QCOMPARE(multicolorImage.pixel(4, 1), highContrast.colorAt(6));
    }

    void errorsExplainThemselves_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString krm = sample("hires_bitmap.krm");
        QTest::newRow("nothing") << QStringList {} << 2 << "no command given";
        QTest::newRow("unknown command") << QStringList {"show", krm} << 2 << "unknown command \"show\"";
        QTest::newRow("info without file") << QStringList {"info"} << 2 << "info takes one project file";
        QTest::newRow("render without image")
            << QStringList {"render", krm} << 2 << "render takes a project file";
        QTest::newRow("palette without name")
            << QStringList {"render", krm, "x.png", "--palette"} << 2 << "--palette needs a name";
        QTest::newRow("unknown palette") << QStringList {"render", krm, "x.png", "--palette", "Vic II"} << 2
                                         << "unknown palette \"Vic II\"";
        QTest::newRow("missing file")
            << QStringList {"info", "/nonexistent/a.krm"} << 1
            << "Could not open /nonexistent/a.krm: cannot read /nonexistent/a.krm: ";
        QTest::newRow("not a project")
            << QStringList {"info", QStringLiteral(KROMEL_TEST_DATA_DIR)} << 1 << "Could not open";
        QTest::newRow("unwritable image") << QStringList {"render", krm, "/nonexistent/a.png"} << 1
                                          << "Could not export /nonexistent/a.png as PNG.";
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

    void helpAndVersion()
    {
        const Run version = run({QStringLiteral("--version")});
        QCOMPARE(version.out, QStringLiteral("kromel-cli 3.2.0\n"));
        const Run help = run({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains(QLatin1String("kromel-cli render FILE.krm OUT.png [--palette NAME]")));
        QVERIFY(help.out.contains(QLatin1String("High Contrast")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
