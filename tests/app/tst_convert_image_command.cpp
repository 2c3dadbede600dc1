// Convert Image... from the window: when the scaling question comes up, what OK adopts
// as one undoable entry, and what every way out leaves alone.
#include "document/project.h"
#include "widgets/convert_image_dialog.h"
#include "window_test_kit.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)

class TestConvertImageCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());
        useOwnSettings(QStringLiteral("KROMEL-convert"));
    }

    void init()
    {
        m_questions.clear();
        m_warnings.clear();
        m_window = quietWindow(&m_warnings);
        DocumentPrompts& prompts = m_window->documentPrompts();
        prompts.askImageScaling = [this](const QString& text) {
            m_questions << text;
            return std::optional<bool>(true);
        };
        prompts.runConvertImageDialog = [](ConvertImageDialog&) { return true; };
    }

    // Only an image of exactly the display size skips the question.
    void scalingQuestionOnlyForOtherSizes_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<bool>("asked");
        QTest::newRow("hires exact") << CanvasMode::Hires << QSize(320, 200) << false;
        QTest::newRow("hires twice as large") << CanvasMode::Hires << QSize(640, 400) << true;
        QTest::newRow("multicolor display size") << CanvasMode::Multicolor << QSize(320, 200) << false;
        QTest::newRow("multicolor canvas size") << CanvasMode::Multicolor << QSize(160, 200) << true;
    }

    void scalingQuestionOnlyForOtherSizes()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(QSize, imageSize);
        QFETCH(bool, asked);
        MainWindow& window = *m_window;
        if (isMulticolor(mode))
            window.newMulticolorCanvas();
        else
            window.newHiresCanvas();
        const QString path = writeImage(imageSize, QStringLiteral("photo.png"));
        window.documentPrompts().chooseImageToConvert = [&](const QString&) { return path; };
        window.convertImage();
        QCOMPARE(m_questions.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(m_questions.constFirst(),
                QStringLiteral("photo.png is %1 x %2 pixels; the canvas displays at 320 x 200 pixels.\n\n"
                               "Stretch the image to fill the canvas, or scale it keeping its aspect ratio, "
                               "centered with the leftover area black?")
                    .arg(imageSize.width())
                    .arg(imageSize.height()));
        }
        QCOMPARE(window.project().history().count(), 1);
        QCOMPARE(window.project().history().entries().constFirst().kind, HistoryEntryKind::ImageConversion);
        QCOMPARE(statusMessage(window), QStringLiteral("Converted photo.png."));
        QCOMPARE(window.pendingName(), QStringLiteral("photo"));
        // The left half of the image is white, the right half black, whether it fills the
        // canvas or stands letter-boxed in its middle.
        const int width = window.project().size().width();
        QCOMPARE(int(window.project().colormap().pixel(width * 3 / 8, 100)), 1);
        QCOMPARE(int(window.project().colormap().pixel(width * 5 / 8, 100)), 0);
        window.undo();
        QCOMPARE(window.project().colormap().distinctIndices(window.project().rect(), 2).size(), 1);
    }

    void everyWayOutLeavesTheDocument()
    {
        MainWindow& window = *m_window;
        DocumentPrompts& prompts = window.documentPrompts();
        const QString cancelled = QStringLiteral("Image conversion cancelled.");
        QString chosen;
        prompts.chooseImageToConvert = [&](const QString&) { return chosen; };
        window.convertImage();
        QCOMPARE(statusMessage(window), cancelled);

        chosen = writeImage({100, 100}, QStringLiteral("square.png"));
        prompts.askImageScaling = [](const QString&) { return std::optional<bool>(); };
        window.convertImage();
        QCOMPARE(statusMessage(window), cancelled);

        chosen = writeImage({320, 200}, QStringLiteral("exact.png"));
        bool dialogRan = false;
        prompts.runConvertImageDialog = [&](ConvertImageDialog& dialog) {
            dialogRan = true;
            dialog.reject();
            return false;
        };
        window.convertImage();
        QVERIFY(dialogRan);
        QCOMPARE(statusMessage(window), cancelled);

        chosen = m_files.filePath(QStringLiteral("missing.png"));
        window.convertImage();
        QCOMPARE(m_warnings.size(), 1);
        QVERIFY(m_warnings.constFirst().startsWith(
            QStringLiteral("Could not load %1: ").arg(QDir::toNativeSeparators(chosen))));
        QCOMPARE(window.project().history().count(), 0);
        QVERIFY(window.pendingName().isEmpty());
    }

private:
    // Left half white, right half black.
    QString writeImage(const QSize& size, const QString& name)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::black);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width() / 2; ++x)
                image.setPixel(x, y, qRgb(255, 255, 255));
        }
        const QString path = m_files.filePath(name);
        if (!image.save(path))
            qFatal("could not write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_files;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_questions;
    QStringList m_warnings;
};

QTEST_MAIN(TestConvertImageCommand)
#include "tst_convert_image_command.moc"
