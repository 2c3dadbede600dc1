// The exports for programmers: raw planes and assembler sources. Their bytes are checked
// against the picture formats and the ready-to-run program, and the sources are put
// through the real assemblers.
#include "document/project.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "formats/native/native_image_encoder.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg_export_colors.h"
#include "formats/program_data/assembler_source.h"
#include "formats/program_data/raw_plane_files.h"
#include "formats/project/project_file_reader.h"
#include "model/canvas_region.h"
#include "model/colormap.h"

#include "support/file_size_limit.h"
#include "support/test_data.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Picture {
    Colormap colormap;
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayoutSpec layout;
    int screens = 1;
    PrgExportColors colors;
};

Picture fixturePicture(const QString& name)
{
    NativeImage image;
    if (!readNativeImageFile(c64PicturePath(name), &image, nullptr))
        qFatal("cannot read %s", qPrintable(name));
    Picture picture;
    picture.colormap = nativeImageToColormap(image);
    picture.mode = nativeImageFormatMode(image.format);
    picture.colors.indices[0] = image.background;
    // Pictures without a border byte get one that differs from the background, so a
    // mix-up of the two registers shows.
    picture.colors.indices[1] = image.hasBorder ? image.border : uchar((image.background + 7) & 15);
    return picture;
}

Picture samplePicture(const char* name)
{
    Project project;
    if (!loadProjectFile(sampleProjectPath(name), &project, {}).ok)
        qFatal("cannot load %s", name);
    return {project.colormap(), project.mode(), project.layout(), project.screensAcross(),
        PrgExportColors::fromSlots(project.colorSlots())};
}

RawPlanesResult encode(const Picture& picture)
{
    return encodeRawPlanes(picture.colormap, picture.mode, picture.layout, picture.screens, picture.colors);
}

// What an assembled source must hold, in the labels' order.
QByteArray assembledOrder(const RawPlanes& planes)
{
    return planes.bitmap + planes.screen + planes.colors + rawPlaneRegisters(planes) + planes.sprites;
}

// Runs one tool and says what went wrong in one line, for the failure message.
QString runTool(const QString& program, const QStringList& arguments)
{
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return program + QStringLiteral(" is not on PATH (scripts/test installs it)");
    QProcess process;
    process.start(found, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return {};
}

// The bytes of the source's data rows, read the way any of the assemblers would.
QByteArray listedBytes(const QString& source, const QString& directive)
{
    QByteArray bytes;
    static const QRegularExpression value(QStringLiteral("\\$([0-9A-F]{2})"));
    for (const QString& line : source.split(QLatin1Char('\n'))) {
        if (!line.trimmed().startsWith(directive + QLatin1Char(' ')))
            continue;
        for (const QRegularExpressionMatch& match : value.globalMatch(line))
            bytes.append(char(match.captured(1).toInt(nullptr, 16)));
    }
    return bytes;
}

} // namespace

class TestProgramData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rawPlanesAreThePictureFormatsPlanes_data()
    {
        QTest::addColumn<QString>("fixture");
        // The planes come from the canvas, not the file: one picture of each mode will do.
        for (const char* name : {"art-studio.ocp", "koala-painter.koa"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void rawPlanesAreThePictureFormatsPlanes()
    {
        QFETCH(QString, fixture);
        const Picture picture = fixturePicture(fixture);
        const RawPlanesResult raw = encode(picture);
        QVERIFY2(raw.ok, qPrintable(raw.error));
        QCOMPARE(raw.screens.size(), 1);
        const RawPlanes& planes = raw.screens.first();
        const QByteArray native = encodeNativeImage(picture.colormap, picture.mode, picture.colors, 0);
        QCOMPARE(planes.bitmap, native.mid(2, 8000));
        QCOMPARE(planes.screen, native.mid(8002, 1000));
        if (isMulticolor(picture.mode)) {
            QCOMPARE(planes.colors, native.mid(9002, 1000));
            QCOMPARE(int(planes.background), int(uchar(native.at(10002))));
        } else {
            QVERIFY(planes.colors.isEmpty());
            QCOMPARE(int(planes.border), int(uchar(native.at(9002))));
        }
        QCOMPARE(rawPlaneRegisters(planes),
            QByteArray(1, char(picture.colors.border())) + char(picture.colors.background()));
        QVERIFY(planes.sprites.isEmpty());

        // On disk: named after the output, each with the load address when one is asked for.
        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("pic.bin"));
        for (std::optional<int> load : {std::optional<int>(), std::optional<int>(0x6000)}) {
            const ExportFilesResult written = writeExportFiles(rawPlaneFiles(output, raw.screens, load));
            QVERIFY2(written.ok, qPrintable(written.error));
            QStringList expected {QStringLiteral("pic-bitmap.bin"), QStringLiteral("pic-registers.bin"),
                QStringLiteral("pic-screen.bin")};
            if (isMulticolor(picture.mode))
                expected.insert(1, QStringLiteral("pic-colors.bin"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
            const QByteArray prefix = load ? QByteArray::fromHex("0060") : QByteArray();
            QCOMPARE(fileBytes(dir.filePath(QStringLiteral("pic-bitmap.bin"))), prefix + planes.bitmap);
            QCOMPARE(fileBytes(dir.filePath(QStringLiteral("pic-screen.bin"))), prefix + planes.screen);
            QCOMPARE(fileBytes(dir.filePath(QStringLiteral("pic-registers.bin"))),
                prefix + rawPlaneRegisters(planes));
        }
    }

    void severalScreensAreNumbered()
    {
        const Picture picture = samplePicture("multicolor_dual_screen.krm");
        const RawPlanesResult raw = encode(picture);
        QVERIFY2(raw.ok, qPrintable(raw.error));
        QCOMPARE(raw.screens.size(), 2);
        for (int screen = 0; screen < 2; ++screen) {
            const QByteArray native
                = encodeNativeImage(picture.colormap, picture.mode, picture.colors, screen);
            QCOMPARE(raw.screens.at(screen).bitmap, native.mid(2, 8000));
            QCOMPARE(raw.screens.at(screen).colors, native.mid(9002, 1000));
        }
        QVERIFY(raw.screens.at(0).bitmap != raw.screens.at(1).bitmap);

        // The raw files of several screens are those kromel-cli writes in tst_cli_program_data.
        const QList<ExportFile> sources = assemblerSourceFiles(QStringLiteral("/out/art.a"), raw.screens,
            *assemblerDialectNamed(QStringLiteral("acme")), {QStringLiteral("art.krm"), picture.mode, {}},
            std::nullopt);
        QCOMPARE(exportFilePaths(sources), QStringList({"/out/art-0.a", "/out/art-1.a"}));
        QVERIFY(sources.at(1).bytes.contains("screen 2 of 2"));
    }

    void spriteDataIsTheProgramsOwn_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<int>("records");
        QTest::newRow("hires side borders") << "hires_side_borders.krm" << 40;
        QTest::newRow("multicolor side borders") << "multicolor_side_borders.krm" << 40;
        QTest::newRow("multicolor top and bottom") << "multicolor_top_bottom_borders.krm" << 32;
    }

    void spriteDataIsTheProgramsOwn()
    {
        QFETCH(QString, project);
        QFETCH(int, records);
        const Picture picture = samplePicture(qPrintable(project));
        const RawPlanesResult raw = encode(picture);
        QVERIFY2(raw.ok, qPrintable(raw.error));
        const RawPlanes& planes = raw.screens.first();
        const QByteArray program
            = encodeExecutablePrg(picture.colormap, picture.mode, picture.layout, picture.colors, nullptr);
        // Offsets in the program file: its address minus the load address $3400, plus 2.
        const auto at = [&program](int address, int size) { return program.mid(address - 0x3400 + 2, size); };
        QCOMPARE(planes.sprites, at(0x6800, records * 64));
        QVERIFY(planes.sprites.count('\0') < planes.sprites.size());
        QCOMPARE(planes.bitmap, at(0x4000, 8000));
        QCOMPARE(planes.screen, at(0x5F40, 1000));
        if (isMulticolor(picture.mode))
            QCOMPARE(planes.colors, at(0x6328, 1000));

        QVERIFY(exportFilePaths(rawPlaneFiles(QStringLiteral("/out/art"), raw.screens))
                    .contains(QStringLiteral("/out/art-sprites.bin")));
    }

    void refusedCanvasesSayWhy()
    {
        const PrgExportColors colors;
        const Colormap freeSize(200, 120);
        RawPlanesResult raw = encodeRawPlanes(freeSize, CanvasMode::Hires, {}, 1, colors);
        QVERIFY(!raw.ok);
        QCOMPARE(raw.error,
            QStringLiteral("Only a canvas of whole bitmap-only screens can be exported for programmers; this "
                           "one is 200 x 120 pixels."));

        // Every column of the top border drawn: more sprites than the hardware shows.
        Picture crowded = samplePicture("multicolor_top_bottom_borders.krm");
        for (const CanvasRegion& region :
            canvasRegions(crowded.mode, crowded.colormap.size(), crowded.layout)) {
            if (region.side == SpriteStripSide::Top)
                crowded.colormap.fillRect(region.rect, uchar((crowded.colors.indices[4] + 1) & 15));
        }
        raw = encode(crowded);
        QVERIFY(!raw.ok);
        QVERIFY2(
            raw.error.startsWith(QStringLiteral("Over the sprite budget: the top border holds sprites in")),
            qPrintable(raw.error));

        const QList<RawPlanes> screens = encode(samplePicture("multicolor_top_bottom_borders.krm")).screens;
        QCOMPARE(assemblerOriginRefusal(*assemblerDialectNamed(QStringLiteral("ca65")), screens, 0x2000),
            QStringLiteral(
                "ca65 sources have no origin; place the RODATA segment in your linker configuration."));
        QCOMPARE(assemblerOriginRefusal(*assemblerDialectNamed(QStringLiteral("acme")), screens, 0xE000),
            QStringLiteral("The data (12050 bytes) does not fit between $E000 and $FFFF."));
        QVERIFY(assemblerOriginRefusal(*assemblerDialectNamed(QStringLiteral("acme")), screens, 0xC000)
                    .isEmpty());
        QVERIFY(assemblerOriginRefusal(*assemblerDialectNamed(QStringLiteral("ca65")), screens, std::nullopt)
                    .isEmpty());
    }

    void assembledSourcesYieldTheRawBytes_data()
    {
        QTest::addColumn<QString>("dialect");
        QTest::addColumn<QString>("picture");
        for (const char* dialect : {"acme", "64tass", "ca65", "kickass"}) {
            for (const char* picture : {"koala-painter.koa", "art-studio.ocp", "hires_side_borders.krm",
                     "multicolor_top_bottom_borders.krm"})
                QTest::addRow("%s %s", dialect, picture) << dialect << picture;
        }
    }

    void assembledSourcesYieldTheRawBytes()
    {
        QFETCH(QString, dialect);
        QFETCH(QString, picture);
        const Picture input = picture.endsWith(QLatin1String(".krm")) ? samplePicture(qPrintable(picture))
                                                                      : fixturePicture(picture);
        const RawPlanes planes = encode(input).screens.value(0);
        const AssemblerDialectRow& row = *assemblerDialectNamed(dialect);
        const AssemblerSourceHead head {picture, input.mode, input.layout.layout};
        const QString source = QString::fromUtf8(assemblerSource(planes, row, head, defaultAssemblerOrigin));
        QVERIFY(source.startsWith(QLatin1String(row.comment) + QStringLiteral(" KROMEL picture data for ")));
        QVERIFY(source.contains(
            isMulticolor(input.mode) ? QStringLiteral("Multicolor") : QStringLiteral("Hires")));
        const QString label = QStringLiteral("\nsprites") + QLatin1String(row.labelEnd) + QLatin1Char('\n');
        QCOMPARE(source.contains(label), !planes.sprites.isEmpty());

        QTemporaryDir dir;
        const QString sourcePath = dir.filePath(QStringLiteral("picture.src"));
        const QString out = dir.filePath(QStringLiteral("picture.bin"));
        QVERIFY(writeExportFiles({{sourcePath, source.toUtf8()}}).ok);
        QString problem;
        // acme and 64tass write the C64 program format, whose load address shows that the
        // origin took.
        QByteArray loadAddress;
        switch (row.dialect) {
        case AssemblerDialect::Acme:
            problem = runTool(QStringLiteral("acme"), {"-f", "cbm", "-o", out, sourcePath});
            loadAddress = QByteArray::fromHex("0020");
            break;
        case AssemblerDialect::Tass64:
            problem = runTool(QStringLiteral("64tass"), {"-q", "-o", out, sourcePath});
            loadAddress = QByteArray::fromHex("0020");
            break;
        case AssemblerDialect::Ca65: {
            const QString object = dir.filePath(QStringLiteral("picture.o"));
            const QString config = dir.filePath(QStringLiteral("picture.cfg"));
            QVERIFY(writeExportFiles({{config,
                                         "MEMORY { RAM: start = $2000, size = $E000, file = %O; }\n"
                                         "SEGMENTS { RODATA: load = RAM, type = ro; }\n"}})
                        .ok);
            problem = runTool(QStringLiteral("ca65"), {"-o", object, sourcePath});
            if (problem.isEmpty())
                problem = runTool(QStringLiteral("ld65"), {"-C", config, "-o", out, object});
            break;
        }
        case AssemblerDialect::KickAssembler:
            // No KickAssembler on Debian: read the rows the way it would.
            QVERIFY(writeExportFiles({{out, listedBytes(source, QStringLiteral(".byte"))}}).ok);
            QVERIFY(source.contains(QStringLiteral("\n* = $2000\n")));
            QVERIFY(!source.contains(QLatin1Char(';')));
            break;
        }
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const QByteArray assembled = fileBytes(out);
        const QByteArray expected = loadAddress + assembledOrder(planes);
        QCOMPARE(assembled.size(), expected.size());
        QCOMPARE(assembled, expected);
    }
};

QTEST_GUILESS_MAIN(TestProgramData)
#include "tst_program_data.moc"
