// Import Image and the native export as the window and the command-line tool run them:
// a picture into one screen of a project, every screen of a project into picture files.
#include "document/project.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "formats/native/native_image_export.h"
#include "formats/native/native_image_import.h"
#include "rules/unresolved_clashes.h"

#include "support/canvas_picture.h"
#include "support/test_data.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

NativeImage fixture(const char* name)
{
    NativeImage image;
    readNativeImageFile(c64PicturePath(QLatin1String(name)), &image, nullptr);
    return image;
}

} // namespace

class TestNativeImageTransfer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // On a blank canvas the picture's colours win; beside artwork on another screen the
    // canvas keeps its own, and the picture gives up what its cells then cannot show.
    void importTakesColoursAsTheDocumentPromises_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("screens");
        QTest::addColumn<int>("targetScreen");
        QTest::addColumn<bool>("artworkBeside");
        QTest::addColumn<int>("background");
        QTest::addColumn<int>("border");
        QTest::newRow("multicolor with border")
            << QByteArray("advanced-art-studio.ocp") << 1 << 0 << false << 11 << 11;
        QTest::newRow("dual multicolor, blank beside")
            << QByteArray("koala-painter.koa") << 2 << 1 << false << 11 << 2;
        QTest::newRow("dual multicolor, artwork beside")
            << QByteArray("artist-64.a64") << 2 << 0 << true << 5 << 2;
        QTest::newRow("hires with border") << QByteArray("art-studio.ocp") << 1 << 0 << false << 5 << 0;
        QTest::newRow("dual hires, blank beside")
            << QByteArray("interpaint.iph") << 2 << 1 << false << 5 << 2;
    }

    void importTakesColoursAsTheDocumentPromises()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, screens);
        QFETCH(int, targetScreen);
        QFETCH(bool, artworkBeside);
        QFETCH(int, background);
        QFETCH(int, border);
        const NativeImage image = fixture(file.constData());
        const CanvasMode mode = nativeImageFormatMode(image.format);
        Project project(mode, 0, 0, {}, screens);
        project.assignBackgroundIndex(5);
        project.assignBorderIndex(2);
        project.clearCanvas(5);
        const int besideScreen = 1 - targetScreen;
        if (artworkBeside)
            project.colormap().fillRect(project.screenRect(besideScreen).adjusted(0, 0, 0, -100), 9);
        const int entries = project.history().count();

        const NativeImageImportResult result = importNativeImage(project, image, targetScreen);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(project.history().count(), entries + 1);
        QCOMPARE(int(project.slotIndex(HistoryColorSlot::Background)), background);
        QCOMPARE(int(project.slotIndex(HistoryColorSlot::Border)), border);
        const QRect target = project.screenRect(targetScreen);
        QVERIFY(result.changed.contains(target) || artworkBeside);
        QVERIFY(!canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap()));
        if (!artworkBeside) {
            QCOMPARE(canvasToRows(project.colormap(), target), canvasToRows(nativeImageToColormap(image)));
            if (screens > 1)
                QCOMPARE(project.colormap().distinctIndices(project.screenRect(besideScreen), 2),
                    QList<uchar> {uchar(background)});
        } else {
            QCOMPARE(project.colormap().pixel(project.screenRect(besideScreen).left(), 0), uchar(9));
        }
    }

    void importRefusesAndChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("targetScreen");
        QTest::addColumn<QString>("error");
        QTest::newRow("multicolor into hires")
            << QByteArray("koala-painter.koa") << int(CanvasMode::Hires) << 0
            << "Koala Painter is a multicolor format; this canvas is hires.";
        QTest::newRow("hires into multicolor")
            << QByteArray("interpaint.iph") << int(CanvasMode::Multicolor) << 0
            << "Interpaint is a hires format; this canvas is multicolor.";
        QTest::newRow("screen the canvas lacks")
            << QByteArray("art-studio.ocp") << int(CanvasMode::Hires) << 1 << "The canvas has no screen 2.";
    }

    void importRefusesAndChangesNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, mode);
        QFETCH(int, targetScreen);
        QFETCH(QString, error);
        Project project {CanvasMode(mode)};
        const Colormap before = project.colormap();
        const NativeImageImportResult result
            = importNativeImage(project, fixture(file.constData()), targetScreen);
        QVERIFY(!result.ok);
        QCOMPARE(result.error, error);
        QCOMPARE(project.history().count(), 0);
        QVERIFY(project.colormap() == before);
    }

    // The plain cases are those dualCanvasExportsOneFilePerScreen writes; these are the
    // names without a suffix or with more than one dot.
    void exportTargetsNumberTheScreens_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("screens");
        QTest::addColumn<QStringList>("targets");
        QTest::newRow("no suffix") << "/pics/art" << 2 << QStringList {"/pics/art-0", "/pics/art-1"};
        QTest::newRow("dotted name") << "/pics/my.art.ocp" << 2
                                     << QStringList {"/pics/my.art-0.ocp", "/pics/my.art-1.ocp"};
    }

    void exportTargetsNumberTheScreens()
    {
        QFETCH(QString, path);
        QFETCH(int, screens);
        QFETCH(QStringList, targets);
        QCOMPARE(nativeImageExportTargets(path, screens), targets);
    }

    void dualCanvasExportsOneFilePerScreen()
    {
        Project project(CanvasMode::Multicolor, 0, 0, {}, 2);
        project.assignBackgroundIndex(6);
        project.colormap().fillRect(QRect(0, 0, 160, 8), 1);
        project.colormap().fillRect(QRect(160, 192, 160, 8), 2);
        QTemporaryDir dir;
        const NativeImageExportResult result = writeNativeImageFiles(project, dir.filePath("art.koa"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.written, QStringList({dir.filePath("art-0.koa"), dir.filePath("art-1.koa")}));
        QVERIFY(!QFile::exists(dir.filePath("art.koa")));
        for (int screen = 0; screen < 2; ++screen) {
            NativeImage image;
            QVERIFY(readNativeImageFile(result.written.at(screen), &image, nullptr));
            QCOMPARE(image.background, uchar(6));
            QCOMPARE(canvasToRows(nativeImageToColormap(image)),
                canvasToRows(project.colormap(), project.screenRect(screen)));
        }
    }

    void exportStopsAtTheFirstFileItCannotWrite()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing/art.ocp");
        const NativeImageExportResult result = writeNativeImageFiles(Project(), missing);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.startsWith(
                     QStringLiteral("Could not write %1: ").arg(QDir::toNativeSeparators(missing))),
            qPrintable(result.error));
        QVERIFY(result.written.isEmpty());
    }

    void exportRefusesWhatTheFormatCannotHold_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("layout");
        QTest::addColumn<NativeImageFormat>("format");
        QTest::addColumn<QString>("refusal");
        const int plain = int(CanvasLayout::BitmapOnly);
        QTest::newRow("hires as Koala Painter")
            << int(CanvasMode::Hires) << plain << NativeImageFormat::KoalaPainter
            << "Koala Painter is a multicolor format; this canvas is hires.";
        QTest::newRow("side borders")
            << int(CanvasMode::Multicolor) << int(CanvasLayout::SideBorders)
            << NativeImageFormat::KoalaPainter
            << "Only a canvas of whole bitmap-only screens can be written as Koala Painter.";
        QTest::newRow("read-only format") << int(CanvasMode::Hires) << plain << NativeImageFormat::Doodle
                                          << "Doodle pictures can be read but not written.";
    }

    void exportRefusesWhatTheFormatCannotHold()
    {
        QFETCH(int, mode);
        QFETCH(int, layout);
        QFETCH(NativeImageFormat, format);
        QFETCH(QString, refusal);
        QCOMPARE(nativeImageExportRefusal(Project(CanvasMode(mode), 0, 0, {CanvasLayout(layout)}), format),
            refusal);
    }
};

QTEST_APPLESS_MAIN(TestNativeImageTransfer)
#include "tst_native_image_transfer.moc"
