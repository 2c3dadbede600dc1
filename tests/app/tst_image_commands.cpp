// Import Image and Export to Image As... from the window: which questions each canvas
// asks, what lands in the document and on disk, and what every cancel leaves alone.
#include "document/project.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "support/test_data.h"
#include "window_test_kit.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

Colormap decodedPicture(const char* name)
{
    NativeImage image;
    QString error;
    if (!readNativeImageFile(c64PicturePath(name), &image, &error))
        qFatal("%s", qPrintable(error));
    return nativeImageToColormap(image);
}

// What the window asked, in order.
struct Asked {
    QStringList questions;
    QStringList warnings;
};

} // namespace

class TestImageCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());
        useOwnSettings(QStringLiteral("KROMEL-images"));
    }

    void init()
    {
        m_asked = {};
        m_window = quietWindow(&m_asked.warnings);
    }

    void importPlacesThePictureAsOneEntry()
    {
        MainWindow& window = *m_window;
        window.newMulticolorCanvas();
        window.documentPrompts().chooseImageToImport = [](const QString&) {
            return ImageImportChoice {c64PicturePath("koala-painter.koa"), 0};
        };
        window.importImage();
        QCOMPARE(window.project().history().count(), 1);
        QCOMPARE(window.project().history().entries().constFirst().kind, HistoryEntryKind::ImageImport);
        QCOMPARE(window.project().colormap(), decodedPicture("koala-painter.koa"));
        QCOMPARE(int(window.project().slotIndex(HistoryColorSlot::Background)), 11);
        QCOMPARE(statusMessage(window), QStringLiteral("Imported koala-painter.koa (Koala Painter)."));
        QCOMPARE(window.pendingName(), QStringLiteral("koala-painter"));
        QVERIFY(m_asked.warnings.isEmpty());

        // The second screen of a dual canvas takes the picture at its left edge.
        window.newDualHiresCanvas();
        window.documentPrompts().chooseImageToImport = [](const QString&) {
            return ImageImportChoice {c64PicturePath("art-studio.ocp"), 1};
        };
        window.importImage();
        const Colormap art = decodedPicture("art-studio.ocp");
        QCOMPARE(window.project().colormap().snapshotRegion(QRect(320, 0, 320, 200)), art);
    }

    void importFailuresChangeNothing()
    {
        MainWindow& window = *m_window;
        window.newHiresCanvas();
        const Colormap before = window.project().colormap();
        QString chosen;
        window.documentPrompts().chooseImageToImport = [&](const QString&) {
            return chosen.isEmpty() ? std::nullopt : std::optional(ImageImportChoice {chosen, 0});
        };

        window.importImage();
        QCOMPARE(statusMessage(window), QStringLiteral("Image import cancelled."));
        chosen = c64PicturePath("koala-painter.koa");
        window.importImage();
        chosen = c64PicturePath("README.md");
        window.importImage();
        QCOMPARE(m_asked.warnings,
            QStringList({"Koala Painter is a multicolor format; this canvas is hires.",
                QStringLiteral("Could not load %1: Unknown picture format.")
                    .arg(QDir::toNativeSeparators(chosen))}));
        QCOMPARE(window.project().colormap(), before);
        QCOMPARE(window.project().history().count(), 0);
    }

    void exportAsksWhatTheCanvasNeeds()
    {
        MainWindow& window = *m_window;
        DocumentPrompts& prompts = window.documentPrompts();
        prompts.chooseExportFamily = [this](bool offerBorders) {
            m_asked.questions << (offerBorders ? "family with borders" : "family");
            return std::optional<ExportFamilyChoice>();
        };
        prompts.askIncludeBorders = [this]() {
            m_asked.questions << "borders";
            return std::optional<bool>();
        };
        prompts.chooseExportPath = [this](const QString&, const QString&) {
            m_asked.questions << "path";
            return QString();
        };

        window.newMulticolorCanvas();
        window.exportImage();
        window.newDualMulticolorCanvas();
        window.exportImage();
        window.newMulticolorSpritesCanvas();
        window.exportImage();
        // Border sprites have no picture format, yet the programmers' choices are there.
        QCOMPARE(m_asked.questions, QStringList({"family with borders", "family", "family with borders"}));
        QCOMPARE(statusMessage(window), QStringLiteral("Export to image cancelled."));

        // A free-size canvas has no frame and no native format: straight to the file name.
        window.newCanvas(CanvasMode::Hires, {}, 1, QSize(100, 60));
        m_asked.questions.clear();
        window.exportImage();
        QCOMPARE(m_asked.questions, QStringList({"path"}));
    }

    void nativeExportWritesEveryScreen()
    {
        MainWindow& window = *m_window;
        DocumentPrompts& prompts = window.documentPrompts();
        prompts.chooseExportFamily = [](bool) { return std::optional(ExportFamilyChoice {true, false}); };
        const QString chosen = m_files.filePath(QStringLiteral("art.koa"));
        prompts.chooseExportPath = [&](const QString& proposed, const QString& filter) {
            m_asked.questions << QFileInfo(proposed).fileName() << filter;
            return chosen;
        };
        bool replace = false;
        prompts.confirmReplace = [&](const QStringList& existing) {
            m_asked.questions << existing;
            return replace;
        };

        window.newDualMulticolorCanvas();
        window.project().colormap().fill(3);
        window.exportImage();
        QCOMPARE(
            m_asked.questions, QStringList({"untitled.koa", "Koala Painter Files (*.koa);;All Files (*)"}));
        QCOMPARE(statusMessage(window), QStringLiteral("Exported 2 screens: art-0.koa ... art-1.koa."));
        const QString first = m_files.filePath(QStringLiteral("art-0.koa"));
        QCOMPARE(QFileInfo(first).size(), 10003);
        QVERIFY(QFileInfo::exists(m_files.filePath(QStringLiteral("art-1.koa"))));
        QVERIFY(!window.isWindowModified());

        // Written files are named before they are replaced; Cancel keeps them.
        m_asked.questions.clear();
        QFile::resize(first, 5);
        window.exportImage();
        QCOMPARE(m_asked.questions.mid(2).size(), 2);
        QCOMPARE(QFileInfo(first).size(), 5);
        replace = true;
        window.exportImage();
        QCOMPARE(QFileInfo(first).size(), 10003);
    }

    void clashesAreResolvedOrTheExportStops()
    {
        MainWindow& window = *m_window;
        DocumentPrompts& prompts = window.documentPrompts();
        prompts.chooseExportFamily = [](bool) { return std::optional(ExportFamilyChoice {true, false}); };
        const QString chosen = m_files.filePath(QStringLiteral("clash.ocp"));
        prompts.chooseExportPath = [&](const QString&, const QString&) { return chosen; };
        bool resolve = false;
        prompts.askResolveClashes = [&](const QString& text) {
            m_asked.questions << text;
            return resolve;
        };

        window.newHiresCanvas();
        // Three colours in the first cell: more than a hires cell can show.
        window.project().colormap().setPixel(0, 0, 2);
        window.project().colormap().setPixel(1, 0, 5);
        window.exportImage();
        QCOMPARE(m_asked.questions,
            QStringList({"Could not export a native image: the canvas holds unresolved color clashes."}));
        QCOMPARE(statusMessage(window), QStringLiteral("Export to image cancelled."));
        QVERIFY(!QFileInfo::exists(chosen));

        resolve = true;
        window.exportImage();
        QCOMPARE(window.project().history().count(), 1);
        QCOMPARE(QFileInfo(chosen).size(), 9009);
    }

    void modernExportKeepsTheC64Shape()
    {
        MainWindow& window = *m_window;
        DocumentPrompts& prompts = window.documentPrompts();
        std::optional<bool> borders;
        prompts.chooseExportFamily = [&](bool) -> std::optional<ExportFamilyChoice> {
            if (!borders)
                return std::nullopt;
            return ExportFamilyChoice {false, *borders};
        };
        const QString chosen = m_files.filePath(QStringLiteral("sides.png"));
        prompts.chooseExportPath = [&](const QString&, const QString&) { return chosen; };

        window.newMulticolorSpritesCanvas();
        window.exportImage();
        QVERIFY(!QFileInfo::exists(chosen));
        borders = false;
        window.exportImage();
        const QSize canvas = window.project().size();
        QCOMPARE(QImage(chosen).size(), QSize(canvas.width() * 2, canvas.height()));
        QCOMPARE(statusMessage(window), QStringLiteral("Exported sides.png."));
        QCOMPARE(QSettings().value("files/exportIncludeBorders").toBool(), false);

        // An unwritable place names the file and the format.
        const QString missing = m_files.filePath(QStringLiteral("gone/sides.png"));
        prompts.chooseExportPath = [&](const QString&, const QString&) { return missing; };
        window.exportImage();
        QCOMPARE(m_asked.warnings,
            QStringList(
                {QStringLiteral("Could not export %1 as PNG.").arg(QDir::toNativeSeparators(missing))}));
    }

private:
    QTemporaryDir m_files;
    std::unique_ptr<MainWindow> m_window;
    Asked m_asked;
};

QTEST_MAIN(TestImageCommands)
#include "tst_image_commands.moc"
