// The reference layer: drawn over the artwork at its opacity, never part of the picture
// or the history, gone with the document it was laid over.
#include "document/project.h"
#include "support/window_actions.h"
#include "view/canvas_area.h"
#include "widgets/reference_opacity_dialog.h"
#include "window_test_kit.h"

#include <QAction>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

class TestReferenceLayer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        useOwnSettings(QStringLiteral("KROMEL-reference"));
        QImage screen(320, 200, QImage::Format_RGB32);
        screen.fill(qRgb(250, 0, 0));
        QVERIFY(screen.save(m_dir.filePath("screen.png")));
        QImage tall(100, 200, QImage::Format_RGB32);
        tall.fill(qRgb(0, 0, 250));
        QVERIFY(tall.save(m_dir.filePath("tall.png")));
        QVERIFY(writeFileBytes(m_dir.filePath("broken.png"), "not a picture"));
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
        m_window->newMulticolorCanvas();
        m_window->project().clearCanvas(5);
        m_window->canvasArea()->refreshCanvasImage();
        m_window->resize(900, 700);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // Over the artwork at its opacity, with its transparent bands showing the artwork;
    // the picture and its history never change.
    void drawsOverTheArtworkOnly()
    {
        MainWindow& window = *m_window;
        CanvasArea& canvas = *window.canvasArea();
        const Colormap artwork = window.project().colormap();
        const int entries = window.project().history().count();
        const QRgb green = window.project().palette().colorAt(5);

        importReference("screen.png");
        QVERIFY(m_questions.isEmpty());
        QVERIFY(action("Show Reference Layer")->isChecked());
        QVERIFY(action("Reference Layer Opacity...")->isEnabled());
        canvas.setReferenceLayerOpacity(100);
        QCOMPARE(colorAt(QPointF(80, 100)), QColor(250, 0, 0));
        canvas.setReferenceLayerOpacity(0);
        QCOMPARE(colorAt(QPointF(80, 100)), QColor(green));
        canvas.setReferenceLayerOpacity(50);
        const QColor half = colorAt(QPointF(80, 100));
        QVERIFY(qAbs(half.red() - (250 + qRed(green)) / 2) <= 2);
        action("Show Reference Layer")->setChecked(false);
        QCOMPARE(colorAt(QPointF(80, 100)), QColor(green));

        // A tall picture kept in proportion leaves transparent bands left and right.
        importReference("tall.png");
        QCOMPARE(m_questions.size(), 1);
        QVERIFY(action("Show Reference Layer")->isChecked());
        canvas.setReferenceLayerOpacity(100);
        QCOMPARE(colorAt(QPointF(5, 100)), QColor(green));
        QCOMPARE(colorAt(QPointF(80, 100)), QColor(0, 0, 250));

        QVERIFY(window.project().colormap() == artwork);
        QCOMPARE(window.project().history().count(), entries);
        QVERIFY(canvas.displayImage() == artwork.toImage(window.project().palette()));
    }

    void goesWithTheDocument()
    {
        MainWindow& window = *m_window;
        importReference("screen.png");
        QVERIFY(!window.canvasArea()->referenceImage().isNull());
        window.newHiresCanvas();
        QVERIFY(window.canvasArea()->referenceImage().isNull());
        QVERIFY(!action("Show Reference Layer")->isChecked());
        QVERIFY(!action("Show Reference Layer")->isEnabled());
        QVERIFY(!action("Reference Layer Opacity...")->isEnabled());
    }

    void refusesWhatItCannotRead()
    {
        MainWindow& window = *m_window;
        importReference("broken.png");
        QCOMPARE(m_warnings.size(), 1);
        QVERIFY(m_warnings.first().startsWith("Could not load "));
        QVERIFY(window.canvasArea()->referenceImage().isNull());
        window.documentPrompts().chooseReferenceImage = [](const QString&) { return QString(); };
        window.importReferenceImage();
        QCOMPARE(statusMessage(window), QStringLiteral("Reference image import cancelled."));
    }

    // The canvas follows the slider; Cancel returns it to the opening value, OK keeps it.
    void opacityDialogFollowsAndRestores()
    {
        CanvasArea& canvas = *m_window->canvasArea();
        canvas.setReferenceLayerOpacity(40);
        for (bool accept : {false, true}) {
            ReferenceOpacityDialog dialog(canvas.referenceLayerOpacity());
            connect(&dialog, &ReferenceOpacityDialog::opacityChanged, &canvas,
                &CanvasArea::setReferenceLayerOpacity);
            dialog.slider()->setValue(80);
            QCOMPARE(canvas.referenceLayerOpacity(), 80);
            if (accept)
                dialog.accept();
            else
                dialog.reject();
            QCOMPARE(canvas.referenceLayerOpacity(), accept ? 80 : 40);
        }
    }

private:
    void importReference(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        m_window->documentPrompts().chooseReferenceImage = [path](const QString&) { return path; };
        m_window->importReferenceImage();
    }

    QAction* action(const QString& text) const { return findAction(*m_window, text); }

    // The canvas view's colour at a point in stored canvas pixels.
    QColor colorAt(const QPointF& canvasPoint) const
    {
        CanvasArea& canvas = *m_window->canvasArea();
        const QPoint at = canvas.project().transform().canvasToView(canvasPoint).toPoint();
        return QColor(canvas.grab().toImage().pixel(at));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_questions;
    QStringList m_warnings;
};

QTEST_MAIN(TestReferenceLayer)
#include "tst_reference_layer.moc"
