// kromel-cli convert: an ordinary image into a new project in one undoable entry, the
// curves file, and a one-line message for everything that can go wrong.
#include "convert/adjustment_curves_file.h"
#include "convert/display_image.h"
#include "convert/image_conversion.h"
#include "document/project.h"
#include "formats/project/project_file_reader.h"
#include "rules/unresolved_clashes.h"

#include "support/cli_run.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class TestCliConvert : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A tall image, so --keep-aspect leaves black bars at the sides.
        QImage image(100, 200, QImage::Format_RGB32);
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 100; ++x)
                image.setPixel(x, y, qRgb(255, y, x * 2));
        }
        QVERIFY(image.save(path("tall.png")));
        writeFile("curves.txt", "# brighter\nrgb 0,0 64,120 255,255\n\nb 0,30 255,255\n");
    }

    void convertsIntoANewProject()
    {
        const CliRun result = runCliInProcess({"convert", path("tall.png"), path("out.krm"), "--mode",
            "multicolor", "--layout", "top-bottom-borders", "--dither", "diffusion", "--palette", "colodore",
            "--distance", "euclidean", "--keep-aspect", "--curves", path("curves.txt")});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.exitCode, 0);
        Project project;
        QVERIFY(loadProjectFile(path("out.krm"), &project, {}).ok);
        QCOMPARE(project.mode(), CanvasMode::Multicolor);
        QCOMPARE(project.layout().layout, CanvasLayout::TopBottomBorders);
        QCOMPARE(project.history().count(), 1);
        QCOMPARE(project.history().entries().constFirst().kind, HistoryEntryKind::ImageConversion);
        QVERIFY(!canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap()));
        // Letter-boxed: black at the sides, the picture in the middle.
        const int middle = project.size().height() / 2;
        QCOMPARE(int(project.colormap().pixel(0, middle)), 0);
        QVERIFY(project.colormap().pixel(project.size().width() / 2, middle) != 0);
    }

    // The method, background and distance reach the conversion, and an automatic
    // background lands in the project's shared colours beside the picture made with it.
    void methodBackgroundAndDistance_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("background");
        QTest::addColumn<int>("distance");
        QTest::newRow("cells auto perceptual")
            << QStringList {"--method", "cells", "--background", "auto", "--distance", "perceptual"}
            << int(ConversionMethod::CellAware) << -1 << int(ColorDistanceMetric::Perceptual);
        QTest::newRow("classic fixed")
            << QStringList {"--method", "classic", "--background", "5"} << int(ConversionMethod::Classic) << 5
            << int(ColorDistanceMetric::Weighted);
        QTest::newRow("cells fixed euclidean")
            << QStringList {"--method", "cells", "--background", "14", "--distance", "euclidean"}
            << int(ConversionMethod::CellAware) << 14 << int(ColorDistanceMetric::Euclidean);
    }

    void methodBackgroundAndDistance()
    {
        QFETCH(QStringList, options);
        QFETCH(int, method);
        QFETCH(int, background);
        QFETCH(int, distance);
        const CliRun result = runCliInProcess(QStringList {"convert", path("tall.png"), path("chosen.krm"),
                                                  "--mode", "multicolor", "--dither", "diffusion"}
            + options);
        QCOMPARE(result.err, QString());
        QCOMPARE(result.exitCode, 0);
        Project project;
        QVERIFY(loadProjectFile(path("chosen.krm"), &project, {}).ok);

        const Project fresh(CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {});
        ImageConversionSettings settings;
        settings.mode = CanvasMode::Multicolor;
        settings.dither = DitherMethod::ErrorDiffusion;
        settings.method = ConversionMethod(method);
        settings.distance = ColorDistanceMetric(distance);
        settings.slots = fresh.colorSlots();
        settings.automaticBackground = background < 0;
        if (background >= 0)
            settings.slots[HistoryColorSlot::Background] = uchar(background);
        const QImage display = composeImageToDisplaySize(QImage(path("tall.png")),
            imageConversionRequiredSize(settings.mode, fresh.size()), false, Qt::black, true);
        const ImageConversionResult expected
            = convertImageWithColors(display, fresh.size(), ImageAdjustment(), settings);
        QCOMPARE(project.colorSlots(), expected.slots);
        QVERIFY(project.colormap() == expected.colormap);
        if (background >= 0)
            QCOMPARE(int(project.colorSlots()[HistoryColorSlot::Background]), background);
    }

    void problemsAreOneLine_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("image");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("dither") << QStringList {"--dither", "floyd"} << "tall.png" << 2
                                << "kromel-cli: unknown dither \"floyd\" (known: none, ordered, diffusion)";
        QTest::newRow("method") << QStringList {"--method", "best"} << "tall.png" << 2
                                << "kromel-cli: unknown method \"best\" (known: classic, cells)";
        QTest::newRow("distance")
            << QStringList {"--distance", "lab"} << "tall.png" << 2
            << "kromel-cli: unknown distance \"lab\" (known: euclidean, weighted, perceptual)";
        QTest::newRow("background out of range") << QStringList {"--background",
            "16"} << "tall.png" << 2 << "kromel-cli: unknown background \"16\" (known: auto, 0-15)";
        QTest::newRow("background name") << QStringList {"--background", "blue"} << "tall.png" << 2
                                         << "kromel-cli: unknown background \"blue\" (known: auto, 0-15)";
        QTest::newRow("option") << QStringList {"--frame"} << "tall.png" << 2
                                << "kromel-cli: convert does not take --frame";
        QTest::newRow("missing value")
            << QStringList {"--layout"} << "tall.png" << 2 << "kromel-cli: --layout needs a name";
        QTest::newRow("image") << QStringList {} << "missing.png" << 1 << "Could not load";
        QTest::newRow("curves") << QStringList {"--curves", "bad-curves.txt"} << "tall.png" << 1
                                << "Could not read curves";
        // A picture given by mistake is refused whole, without its bytes in the message.
        QTest::newRow("binary curves")
            << QStringList {"--curves", "tall.png"} << "tall.png" << 1 << "Could not read curves";
    }

    void problemsAreOneLine()
    {
        QFETCH(QStringList, extra);
        QFETCH(QString, image);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        writeFile("bad-curves.txt", "rgb 0,0 128,300 255,255\n");
        if (extra.size() == 2 && extra.at(0) == QLatin1String("--curves"))
            extra[1] = path(extra.at(1));
        const CliRun result
            = runCliInProcess(QStringList {"convert", path(image), path("never.krm")} + extra);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.startsWith(message), qPrintable(result.err));
        QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
        if (QTest::currentDataTag() == QLatin1String("binary curves"))
            QVERIFY2(result.err.endsWith(": not a text curves file\n"), qPrintable(result.err));
        QVERIFY(!QFile::exists(path("never.krm")));
    }

    void curvesFile_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("comments and blanks") << "# none\n\n  \n" << QString();
        QTest::newRow("all channels")
            << "rgb 0,0 255,255\nR 0,9 255,255\ng 0,0 255,200\nb 0,0 30,60 255,255" << QString();
        QTest::newRow("channel") << "rgb 0,0 255,255\nred 0,0 255,255"
                                 << "line 2: unknown channel \"red\" (known: rgb, r, g, b)";
        QTest::newRow("point") << "rgb 0,0 12;40 255,255"
                               << "line 1: \"12;40\" is not a point x,y";
        QTest::newRow("not from 0") << "g 5,0 255,255"
                                    << "line 1: a curve needs 2 to 32 points from x 0 to x 255 in ascending "
                                       "x, values 0-255";
        QTest::newRow("not ascending") << "g 0,0 90,10 90,20 255,255"
                                       << "line 1: a curve needs 2 to 32 points from x 0 to x 255 in "
                                          "ascending x, values 0-255";
    }

    void curvesFile()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        const AdjustmentCurvesResult parsed = parseAdjustmentCurves(text);
        QCOMPARE(parsed.error, error);
        QCOMPARE(parsed.ok, error.isEmpty());
    }

    void curvesFileShapesTheCurves()
    {
        const AdjustmentCurvesResult parsed = parseAdjustmentCurves("b 0,255 255,0\n");
        QVERIFY(parsed.ok);
        QCOMPARE(int(parsed.adjustment.adjustComponent(AdjustmentChannel::Blue, 10)), 245);
        QCOMPARE(int(parsed.adjustment.adjustComponent(AdjustmentChannel::Red, 10)), 10);
    }

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    void writeFile(const QString& name, const QByteArray& text)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliConvert)
#include "tst_cli_convert.moc"
