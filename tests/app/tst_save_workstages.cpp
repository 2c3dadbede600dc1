// File > Save Workstages... from the window: when it is offered, the frames it writes for
// the applied part of the history, and what every cancel and failure says.
#include "document/project.h"
#include "formats/image/canvas_export_image.h"
#include "support/window_actions.h"
#include "window_test_kit.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestSaveWorkstages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useOwnSettings(QStringLiteral("KROMEL-workstages")); }

    void init()
    {
        m_warnings.clear();
        m_window = quietWindow(&m_warnings);
        DocumentPrompts& prompts = m_window->documentPrompts();
        prompts.askIncludeBorders = [] { return std::optional<bool>(false); };
        prompts.chooseWorkstages = [](int total) { return std::optional(WorkstagesChoice {total, {}}); };
    }

    // Undone edits are not replayed: the last frame is the canvas on screen.
    void writesTheAppliedStages()
    {
        MainWindow& window = *m_window;
        window.newMulticolorCanvas();
        QAction* action = findAction(window, QStringLiteral("Save Workstages..."));
        QVERIFY(!action->isEnabled());
        for (uchar color : {2, 5, 7, 9})
            window.project().clearCanvas(color);
        window.project().undo();
        window.project().undo();
        window.refreshUndoActions();
        QVERIFY(action->isEnabled());

        QTemporaryDir folder;
        int offered = 0;
        window.documentPrompts().chooseWorkstages = [&offered](int total) {
            offered = total;
            return std::optional(WorkstagesChoice {total, WorkstageReduction::Uniform});
        };
        window.documentPrompts().chooseWorkstagesFolder = [&folder](const QString&) { return folder.path(); };
        action->trigger();
        QCOMPARE(offered, 3);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
            (QStringList {"untitled-000000.png", "untitled-000001.png", "untitled-000002.png"}));
        QCOMPARE(QImage(folder.filePath("untitled-000002.png")),
            canvasExportImage(window.project(), window.project().palette(), false)
                .convertToFormat(QImage::Format_RGB32));
        QCOMPARE(statusMessage(window),
            QStringLiteral("Saved 3 workstage frames to %1.").arg(QDir(folder.path()).dirName()));
        QCOMPARE(QSettings().value("files/lastWorkstagesDir").toString(), QDir(folder.path()).absolutePath());
        QVERIFY(m_warnings.isEmpty());
        // The document is only read.
        QCOMPARE(window.project().history().index(), 2);
        QCOMPARE(window.project().history().count(), 4);
    }

    void reportsCancelsAndFailures()
    {
        MainWindow& window = *m_window;
        window.newMulticolorCanvas();
        window.project().clearCanvas(3);
        window.refreshUndoActions();
        QTemporaryDir folder;
        DocumentPrompts& prompts = window.documentPrompts();
        prompts.chooseWorkstagesFolder = [&folder](const QString&) { return folder.path(); };

        prompts.chooseWorkstages = [](int) { return std::optional<WorkstagesChoice>(); };
        window.saveWorkstages();
        QCOMPARE(statusMessage(window), QStringLiteral("Saving workstages cancelled."));

        prompts.chooseWorkstages = [](int total) { return std::optional(WorkstagesChoice {total, {}}); };
        prompts.askIncludeBorders = [] { return std::optional<bool>(); };
        window.showStatusMessage({}, std::chrono::milliseconds(0));
        window.saveWorkstages();
        QCOMPARE(statusMessage(window), QStringLiteral("Saving workstages cancelled."));

        prompts.askIncludeBorders = [] { return std::optional<bool>(true); };
        prompts.chooseWorkstagesFolder = [](const QString&) { return QString(); };
        window.showStatusMessage({}, std::chrono::milliseconds(0));
        window.saveWorkstages();
        QCOMPARE(statusMessage(window), QStringLiteral("Saving workstages cancelled."));
        QVERIFY(QDir(folder.path()).isEmpty());

        // A folder that is not there cannot take the first frame.
        const QString missing = folder.filePath("gone/deeper");
        prompts.chooseWorkstagesFolder = [&missing](const QString&) { return missing; };
        window.saveWorkstages();
        QCOMPARE(m_warnings.size(), 1);
        QVERIFY2(m_warnings.first().startsWith("Could not save "), qPrintable(m_warnings.first()));
        QVERIFY(m_warnings.first().contains("untitled-000000.png"));
    }

private:
    std::unique_ptr<MainWindow> m_window;
    QStringList m_warnings;
};

QTEST_MAIN(TestSaveWorkstages)
#include "tst_save_workstages.moc"
