// The command-line tool, run in-process over the committed sample projects.
#include "document/project.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "formats/project/project_file_writer.h"
#include "model/palette.h"

#include "support/cli_run.h"
#include "support/fake_ultimate_device.h"
#include "support/file_size_limit.h"
#include "support/test_data.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <QTest>

namespace {

Colormap pictureColormap(const QString& path)
{
    NativeImage image;
    if (!readNativeImageFile(path, &image, nullptr))
        return {};
    return nativeImageToColormap(image);
}

// A hires project whose first cell holds three colours, as an old file may.
QString saveClashingProject(const QTemporaryDir& dir)
{
    Project project;
    project.colormap().setPixel(0, 0, 1);
    project.colormap().setPixel(1, 0, 2);
    project.colormap().setPixel(2, 0, 2);
    const QString path = dir.filePath(QStringLiteral("clashing.krm"));
    return saveProjectFile(project, path, {}).ok ? path : QString();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void infoPrintsOneKeyPerLine()
    {
        const CliRun result
            = runCliInProcess({QStringLiteral("info"), sampleProjectPath("multicolor_side_borders.krm")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out,
            QStringLiteral("mode: multicolor\nlayout: side-borders\nsize: 208x200\nscreens: 1\n"
                           "slots: 9 0 4 10 0 4 10 0 4 10\nsprite-count-policy: enforce\n"
                           "hires-clash-resolution: preserve-most-used\ntop-alignment: left\n"
                           "bottom-alignment: right\nhistory-length: 12\nhistory-index: 11\n"));
        QVERIFY(result.err.isEmpty());
    }

    void renderShowsTheCanvasAsTheC64Does()
    {
        QTemporaryDir dir;
        const QString multicolor = dir.filePath(QStringLiteral("multicolor.png"));
        QCOMPARE(
            runCliInProcess({QStringLiteral("render"), sampleProjectPath("multicolor_side_borders_v10.krm"),
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

    // Through a project and back into the picture's own mode, every picture keeps every
    // pixel and its background. The .koa and .ocp suffixes are written elsewhere in this
    // file; these rows take the other names of those formats.
    void importThenExportKeepsThePicture_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("exported");
        QTest::newRow("Interpaint") << "interpaint.iph"
                                    << "out.art";
        QTest::newRow("Vidcom 64") << "vidcom-64.vid"
                                   << "out.kla";
    }

    void importThenExportKeepsThePicture()
    {
        QFETCH(QString, picture);
        QFETCH(QString, exported);
        QTemporaryDir dir;
        const QString project = dir.filePath(QStringLiteral("picture.krm"));
        const QString out = dir.filePath(exported);
        const CliRun imported = runCliInProcess({QStringLiteral("import"), c64PicturePath(picture), project});
        QVERIFY2(imported.exitCode == 0, qPrintable(imported.err));
        const CliRun result = runCliInProcess({QStringLiteral("export"), project, out});
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));

        NativeImage original;
        NativeImage copy;
        QVERIFY(readNativeImageFile(c64PicturePath(picture), &original, nullptr));
        QVERIFY(readNativeImageFile(out, &copy, nullptr));
        QVERIFY(nativeImageToColormap(copy) == nativeImageToColormap(original));
        QCOMPARE(copy.background, original.background);
        QVERIFY(result.out.isEmpty() && result.err.isEmpty());
    }

    void exportWritesWhatItIsAskedFor_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QSize>("imageSize");
        const QString dual = sampleProjectPath("multicolor_dual_screen.krm");
        const QString hires = sampleProjectPath("hires_bitmap.krm");
        QTest::newRow("format by name")
            << hires << QStringList {"art", "--format", "art-studio"} << QStringList {"art"} << QSize();
        QTest::newRow("image") << hires << QStringList {"art.png"} << QStringList {"art.png"}
                               << QSize(320, 200);
        QTest::newRow("framed image")
            << hires << QStringList {"art.png", "--frame"} << QStringList {"art.png"} << QSize(416, 301);
        QTest::newRow("image by format") << dual << QStringList {"art.koa", "--format", "BMP"}
                                         << QStringList {"art.koa"} << QSize(640, 200);
    }

    void exportWritesWhatItIsAskedFor()
    {
        QFETCH(QString, project);
        QFETCH(QStringList, options);
        QFETCH(QStringList, written);
        QFETCH(QSize, imageSize);
        QTemporaryDir dir;
        options[0] = dir.filePath(options.at(0));
        const CliRun result = runCliInProcess(QStringList {QStringLiteral("export"), project} + options);
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, written);
        if (imageSize.isValid())
            QCOMPARE(QImage(dir.filePath(written.first())).size(), imageSize);
        else
            QVERIFY(!pictureColormap(dir.filePath(written.first())).isEmpty());
    }

    void clashesBlockAPictureUntilResolved()
    {
        QTemporaryDir dir;
        const QString project = saveClashingProject(dir);
        const QString out = dir.filePath(QStringLiteral("art.ocp"));
        const CliRun refused = runCliInProcess({QStringLiteral("export"), project, out});
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(refused.err,
            QStringLiteral("Could not export a native image: the canvas holds unresolved color clashes.\n"));
        QVERIFY(!QFile::exists(out));

        QCOMPARE(
            runCliInProcess({QStringLiteral("export"), project, out, QStringLiteral("--resolve")}).exitCode,
            0);
        const Colormap written = pictureColormap(out);
        QCOMPARE(written.distinctIndices(QRect(0, 0, 8, 8), 4).size(), 2);
        // The project file is not the export's to change.
        QCOMPARE(runCliInProcess({QStringLiteral("export"), project, out}).exitCode, 1);
    }

    void programsAndSending()
    {
        QTemporaryDir dir;
        const QString hires = sampleProjectPath("hires_bitmap.krm");
        const QString plain = dir.filePath(QStringLiteral("plain.prg"));
        CliRun result = runCliInProcess({"export", hires, plain, "--no-crunch"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(fileBytes(plain).startsWith(QByteArray::fromHex("001e")));

        // Packed by the cruncher it finds, here the tests' stand-in.
        qputenv("KROMEL_EXOMIZER", KROMEL_FAKE_CRUNCHER);
        const QString packed = dir.filePath(QStringLiteral("packed.prg"));
        QCOMPARE(runCliInProcess({"export", hires, packed}).exitCode, 0);
        QCOMPARE(fileBytes(packed).left(5), QByteArray::fromHex("0108") + "SFX");

        // A cruncher that fails half-way leaves no half program: the plain one goes out.
        qputenv("FAKE_EXOMIZER_MODE", "fail-garbage");
        const QString fallback = dir.filePath(QStringLiteral("fallback.prg"));
        result = runCliInProcess({"export", hires, fallback});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err,
            QStringLiteral("kromel-cli: Could not compress the program: error: the fake cruncher was told to "
                           "fail; it stays uncompressed, so start it with SYS 7680 rather than RUN\n"));
        QCOMPARE(fileBytes(fallback), fileBytes(plain));
        qunsetenv("FAKE_EXOMIZER_MODE");

        FakeUltimateDevice device;
        result = runCliInProcess({"send", hires, "--host", device.host()});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QStringLiteral("Sent to the Ultimate device at %1.\n").arg(device.host()));
        QCOMPARE(device.requests().size(), 2);
        QCOMPARE(device.requests().at(1).body.left(5), QByteArray::fromHex("0108") + "SFX");

        device.setStatus("/v1/runners:run_prg", 500);
        result = runCliInProcess({"send", hires, "--host", device.host(), "--no-crunch", "--timeout", "1"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
            QStringLiteral(
                "Could not send to the Ultimate device at %1: Device reported an error (HTTP 500).\n")
                .arg(device.host()));
        QCOMPARE(device.requests().constLast().body.size(), 9515);
        qunsetenv("KROMEL_EXOMIZER");
        QCOMPARE(runCliInProcess({"send", hires}).exitCode, 2);
    }

    // A disk that takes only part of a file: every command that writes says the system's
    // reason, fails, keeps the old file and leaves no temporary file. The writers under
    // import and the image commands also pass on the failures of errorsExplainThemselves,
    // and every writer is cut short in tst_atomic_file_write.
    void cutShortWritesFail_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("target");
        const QString hires = sampleProjectPath("hires_bitmap.krm");
        QTest::newRow("convert") << QStringList {"convert", "@PHOTO@", "@DIR@/art.krm"} << "art.krm";
        QTest::newRow("C64 picture") << QStringList {"export", "@PICTURE@", "@DIR@/art.koa"} << "art.koa";
        QTest::newRow("program") << QStringList {"export", hires, "@DIR@/art.prg", "--no-crunch"}
                                 << "art.prg";
        QTest::newRow("workstages") << QStringList {"workstages", "@PICTURE@", "@DIR@", "--base", "art"}
                                    << "art-000000.png";
    }

    void cutShortWritesFail()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, target);
        QTemporaryDir sources;
        const QString picture = sources.filePath(QStringLiteral("picture.krm"));
        QCOMPARE(runCliInProcess({"import", c64PicturePath("koala-painter.koa"), picture}).exitCode, 0);
        const QString photo = sources.filePath(QStringLiteral("photo.png"));
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(qRgb(200, 80, 40));
        QVERIFY(image.save(photo));
        arguments.replaceInStrings(QStringLiteral("@PICTURE@"), picture);
        arguments.replaceInStrings(QStringLiteral("@PHOTO@"), photo);

        QTemporaryDir scratch;
        const CliRun unhindered
            = runCliInProcess(QStringList(arguments).replaceInStrings("@DIR@", scratch.path()));
        QVERIFY2(unhindered.exitCode == 0, qPrintable(unhindered.err));
        const qint64 newSize = QFile(scratch.filePath(target)).size();
        QVERIFY(newSize > 64);

        QTemporaryDir dir;
        const QByteArray old("kept\n");
        QFile oldFile(dir.filePath(target));
        QVERIFY(oldFile.open(QIODevice::WriteOnly) && oldFile.write(old) == old.size());
        oldFile.close();
        arguments.replaceInStrings(QStringLiteral("@DIR@"), dir.path());
        // When libpng gives up in the middle of a write, Qt's PNG writer leaks its row
        // buffer; under the leak checker that report would end the tool's one-line message.
        const QByteArray leakOptions = qgetenv("LSAN_OPTIONS");
        qputenv("LSAN_OPTIONS", "detect_leaks=0");
        const WriteOutcome outcome
            = runProgramWithFileSizeLimit(newSize / 2, QStringLiteral(KROMEL_CLI), arguments);
        qputenv("LSAN_OPTIONS", leakOptions);
        QVERIFY2(!outcome.ok, "a write cut short was reported as a success");
        QVERIFY2(outcome.message.startsWith(QStringLiteral("1 ")), qPrintable(outcome.message));
        QVERIFY2(outcome.message.endsWith(": " + fileTooLargeText() + '\n'), qPrintable(outcome.message));
        QCOMPARE(fileBytes(dir.filePath(target)), old);
        QCOMPARE(folderEntries(dir.path()), QStringList {target});
    }

    // Every failure is one line, leaves nothing at the target, and says what went wrong.
    void errorsExplainThemselves_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString hires = sampleProjectPath("hires_bitmap.krm");
        QTest::newRow("nothing") << QStringList {} << 2 << "no command given";
        QTest::newRow("missing file")
            << QStringList {"info", "/nonexistent/a.krm"} << 1
            << "Could not open /nonexistent/a.krm: cannot read /nonexistent/a.krm: ";
        QTest::newRow("import of no picture") << QStringList {"import", hires, "OUT"} << 1
                                              << QStringLiteral("Could not load %1: Unknown picture format.")
                                                     .arg(QDir::toNativeSeparators(hires));
        QTest::newRow("import into no folder") << QStringList {"import", c64PicturePath("art-studio.ocp"),
            "OUT/x/y.krm"} << 1 << "Could not save ";
        QTest::newRow("picture of the other mode") << QStringList {
            "export", hires, "OUT.koa"} << 1 << "Koala Painter is a multicolor format; this canvas is hires.";
        QTest::newRow("unknown format")
            << QStringList {"export", hires, "OUT.xyz"} << 2 << "unknown format \"xyz\"";
        QTest::newRow("no format") << QStringList {"export", hires, "OUT"} << 2 << "give --format";
        QTest::newRow("frame on a picture") << QStringList {"export", hires, "OUT.ocp", "--frame"} << 2
                                            << "--frame only applies to ordinary images";
        QTest::newRow("option of another command")
            << QStringList {"import", hires, "OUT", "--resolve"} << 2 << "import does not take --resolve";
        QTest::newRow("program with clashes") << QStringList {"export", "CLASHING", "OUT.prg",
            "--no-crunch"} << 1 << "Could not export an executable PRG file: the canvas holds";
        QTest::newRow("render into no folder")
            << QStringList {"render", hires, "OUT/x/y.png"} << 1 << "as PNG: No such file or directory";
        const QString koala = c64PicturePath("koala-painter.koa");
        const QString pictureHint
            = QStringLiteral("Could not open %1: not a KROMEL project. It is a Koala "
                             "Painter picture: kromel-cli import makes a project of it.")
                  .arg(QDir::toNativeSeparators(koala));
        QTest::newRow("info of a picture") << QStringList {"info", koala} << 1 << pictureHint;
        QTest::newRow("import of an ordinary image")
            << QStringList {"import", "@PHOTO@", "OUT.krm"} << 1
            << "Unknown picture format. It is a PNG image: kromel-cli convert makes a project of it.";
        QTest::newRow("info of an ordinary image")
            << QStringList {"info", "@PHOTO@"} << 1
            << "not a KROMEL project. It is a PNG image: kromel-cli convert makes a project of it.";
        // The exports for programmers and the run command.
        const QString dual = sampleProjectPath("multicolor_dual_screen.krm");
        QTest::newRow("bad address")
            << QStringList {"export", dual, "OUT.bin", "--load-address", "10000"} << 2
            << "kromel-cli: --load-address takes a hex address from 0000 to FFFF, not "
               "\"10000\" (see kromel-cli --help)";
        QTest::newRow("address for an image") << QStringList {"export", dual, "OUT.png", "--load-address",
            "2000"} << 2 << "kromel-cli: --load-address only applies to raw planes and assembler sources";
        QTest::newRow("ca65 has no origin")
            << QStringList {"export", dual, "OUT.s", "--format", "ca65", "--load-address", "2000"} << 1
            << "ca65 sources have no origin; place the RODATA segment in your linker configuration.";
        QTest::newRow("frame on raw planes") << QStringList {"export", dual, "OUT.bin", "--frame"} << 2
                                             << "kromel-cli: --frame only applies to ordinary images";
        QTest::newRow("run of no project")
            << QStringList {"run"} << 2 << "kromel-cli: run takes one project file (see kromel-cli --help)";
        // Workstages.
        QTest::newRow("workstages without a folder")
            << QStringList {"workstages", hires} << 2 << "a project file and an output folder";
        QTest::newRow("bad count") << QStringList {"workstages", hires, "OUT", "--count", "0"} << 2
                                   << "--count";
        QTest::newRow("missing value")
            << QStringList {"workstages", hires, "OUT", "--base"} << 2 << "--base needs a value";
        QTest::newRow("unknown option")
            << QStringList {"workstages", hires, "OUT", "--fast"} << 2 << "--fast";
        QTest::newRow("workstages of no history")
            << QStringList {"workstages", "CLASHING", "OUT"} << 1 << "no recorded edits";
    }

    void errorsExplainThemselves()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("out"));
        arguments.replaceInStrings(QStringLiteral("OUT"), target);
        QTemporaryDir sources;
        arguments.replaceInStrings(QStringLiteral("CLASHING"), saveClashingProject(sources));
        const QString photo = sources.filePath(QStringLiteral("photo.png"));
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(photo));
        arguments.replaceInStrings(QStringLiteral("@PHOTO@"), photo);
        const CliRun result = runCliInProcess(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
        QVERIFY(result.err.endsWith(QLatin1Char('\n')));
        QVERIFY(result.out.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
