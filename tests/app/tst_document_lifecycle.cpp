#include "app/settings_keys.h"
#include "document/project.h"
#include "formats/project/project_file_writer.h"
#include "window_test_kit.h"

#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(SaveChangesAnswer)

// The window runs offscreen with every question answered by the test: file choosers
// return paths, the unsaved-changes box returns a scripted answer, and warnings are
// collected instead of shown.
class TestDocumentLifecycle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void titleFollowsEditsSavesAndUndo();
    void saveThenOpenRestoresTheDocument();
    void failedSaveKeepsThePreviousFile();
    void replacingAModifiedDocumentAsksFirst_data();
    void replacingAModifiedDocumentAsksFirst();
    void recentMenuListsExistingProjects();

private:
    struct Prompted {
        QStringList warnings;
        int saveQuestions = 0;
        QStringList proposals;
    };

    // A window whose prompts answer with `answer` and choose `savePath` / `openPath`.
    void script(MainWindow& window, SaveChangesAnswer answer, const QString& savePath,
        const QString& openPath = QString());
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    Prompted m_prompted;
};

void TestDocumentLifecycle::initTestCase()
{
    // A store of its own, so the recent list starts empty and no other test sees it.
    useOwnSettings(QStringLiteral("KROMEL-document"));
}

void TestDocumentLifecycle::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompted = {};
    QSettings settings;
    settings.clear();
    settings.setValue(settingsKey::lastProjectDir, m_dir->path());
}

void TestDocumentLifecycle::script(
    MainWindow& window, SaveChangesAnswer answer, const QString& savePath, const QString& openPath)
{
    DocumentPrompts& prompts = window.documentPrompts();
    prompts.warn = [this](const QString& text) { m_prompted.warnings << text; };
    prompts.askToSaveChanges = [this, answer] {
        ++m_prompted.saveQuestions;
        return answer;
    };
    prompts.chooseProjectSavePath = [this, savePath](const QString& proposed) {
        m_prompted.proposals << proposed;
        return savePath;
    };
    prompts.chooseProjectToOpen = [openPath](const QString&) { return openPath; };
}

void TestDocumentLifecycle::titleFollowsEditsSavesAndUndo()
{
    MainWindow window;
    script(window, SaveChangesAnswer::Cancel, path(QStringLiteral("mypic")));
    QCOMPARE(window.windowTitle(), QStringLiteral("Untitled[*] - KROMEL"));
    QVERIFY(!window.isWindowModified());

    editDocument(window, 5);
    QVERIFY(window.isWindowModified());
    QVERIFY(window.saveProject());
    QCOMPARE(m_prompted.proposals, QStringList {path(QStringLiteral("untitled.krm"))});
    QCOMPARE(window.windowTitle(), QStringLiteral("mypic.krm[*] - KROMEL"));
    QVERIFY(!window.isWindowModified());
    QCOMPARE(statusMessage(window), QStringLiteral("Saved mypic.krm."));

    window.undo();
    QVERIFY(window.isWindowModified());
    window.redo();
    QVERIFY(!window.isWindowModified());
    // Back at the saved state, closing does not ask.
    QVERIFY(window.close());
    QCOMPARE(m_prompted.saveQuestions, 0);
}

void TestDocumentLifecycle::saveThenOpenRestoresTheDocument()
{
    const QString file = path(QStringLiteral("art.krm"));
    MainWindow window;
    script(window, SaveChangesAnswer::Cancel, file, file);
    window.newMulticolorSpritesCanvas();
    editDocument(window, 3);
    editDocument(window, 7);
    const Colormap saved = window.project().colormap();
    QVERIFY(window.saveProjectAs());

    window.newHiresCanvas();

    window.openProject();
    QCOMPARE(window.project().mode(), CanvasMode::Multicolor);
    QCOMPARE(window.project().layout().layout, CanvasLayout::SideBorders);
    QVERIFY(window.project().colormap() == saved);
    QCOMPARE(window.project().history().count(), 2);
    QVERIFY(!window.isWindowModified());
    QCOMPARE(window.canvasArea()->project().colormap(), window.project().colormap());
    QCOMPARE(window.windowTitle(), QStringLiteral("art.krm[*] - KROMEL"));

    // Cancelling an open leaves everything as it was.
    window.documentPrompts().chooseProjectToOpen = [](const QString&) { return QString(); };
    const Project* before = &window.project();
    window.openProject();
    QCOMPARE(&window.project(), before);
}

void TestDocumentLifecycle::failedSaveKeepsThePreviousFile()
{
    const QString file = path(QStringLiteral("art.krm"));
    MainWindow window;
    script(window, SaveChangesAnswer::Cancel, file);
    editDocument(window, 2);
    QVERIFY(window.saveProject());
    const QByteArray bytes = fileBytes(file);
    QVERIFY(!bytes.isEmpty());

    // A folder that cannot exist: one step of its path is the project file itself.
    const QString impossible = file + QStringLiteral("/inner.krm");
    editDocument(window, 4);
    QVERIFY(!window.saveProjectTo(impossible));
    QCOMPARE(m_prompted.warnings.size(), 1);
    QVERIFY2(m_prompted.warnings.constFirst().startsWith(
                 QStringLiteral("Could not save %1: ").arg(QDir::toNativeSeparators(impossible))),
        qPrintable(m_prompted.warnings.constFirst()));
    QCOMPARE(window.currentFile(), file);
    QVERIFY(window.isWindowModified());
    QCOMPARE(fileBytes(file), bytes);
}

void TestDocumentLifecycle::replacingAModifiedDocumentAsksFirst_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<SaveChangesAnswer>("answer");
    QTest::addColumn<bool>("hasFile");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<int>("questions");

    QTest::newRow("clean: no question") << false << SaveChangesAnswer::Cancel << false << true << 0;
    QTest::newRow("discard") << true << SaveChangesAnswer::Discard << false << true << 1;
    QTest::newRow("cancel keeps the document") << true << SaveChangesAnswer::Cancel << false << false << 1;
    QTest::newRow("save to the current file") << true << SaveChangesAnswer::Save << true << true << 1;
    QTest::newRow("save as, then cancelled") << true << SaveChangesAnswer::Save << false << false << 1;
}

void TestDocumentLifecycle::replacingAModifiedDocumentAsksFirst()
{
    QFETCH(bool, modified);
    QFETCH(SaveChangesAnswer, answer);
    QFETCH(bool, hasFile);
    QFETCH(bool, replaced);
    QFETCH(int, questions);

    const QString file = path(QStringLiteral("work.krm"));
    MainWindow window;
    script(window, answer, hasFile ? file : QString());
    if (hasFile)
        QVERIFY(window.saveProjectTo(file));
    if (modified)
        editDocument(window, 6);
    const Project* before = &window.project();

    window.newMulticolorCanvas();
    QCOMPARE(m_prompted.saveQuestions, questions);
    QCOMPARE(&window.project() != before, replaced);
    QCOMPARE(window.project().mode(), replaced ? CanvasMode::Multicolor : CanvasMode::Hires);
    QCOMPARE(window.isWindowModified(), modified && !replaced);
    if (answer == SaveChangesAnswer::Save && hasFile) {
        MainWindow reader;
        QCOMPARE(reader.loadProjectFromFile(file), ProjectLoadResult::Opened);
        QCOMPARE(reader.project().history().count(), 1);
    }
    if (answer == SaveChangesAnswer::Save && !hasFile)
        QCOMPARE(statusMessage(window), QStringLiteral("Save cancelled."));

    // The dialog is asked only once the question is settled, and its Cancel says so.
    bool dialogAsked = false;
    window.documentPrompts().chooseNewCanvas = [&] {
        dialogAsked = true;
        return std::optional<NewCanvasChoice>();
    };
    window.newCanvasFromDialog();
    QCOMPARE(dialogAsked, replaced);
    if (dialogAsked)
        QCOMPARE(statusMessage(window), QStringLiteral("New canvas cancelled."));
}

void TestDocumentLifecycle::recentMenuListsExistingProjects()
{
    QDir(m_dir->path()).mkdir(QStringLiteral("a"));
    QDir(m_dir->path()).mkdir(QStringLiteral("b"));
    const QString inA = path(QStringLiteral("a/art.krm"));
    const QString inB = path(QStringLiteral("b/art.krm"));
    const QString deleted = path(QStringLiteral("gone.krm"));
    const QString corrupt = path(QStringLiteral("bad & broken.krm"));
    for (const QString& file : {inA, inB, deleted})
        QVERIFY(saveProjectFile(Project(), file, {}).ok);
    QVERIFY(writeFileBytes(corrupt, "KRM?"));

    MainWindow window;
    script(window, SaveChangesAnswer::Cancel, QString());
    for (const QString& file : {deleted, inA, inB, corrupt})
        window.rememberRecentProject(file);
    QFile::remove(deleted);

    QMenu menu;
    window.updateRecentProjectsMenu(&menu);
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << action->text();
    QCOMPARE(texts,
        QStringList(
            {"&1  bad && broken.krm", "&2  art.krm (b)", "&3  art.krm (a)", "", "Clear Recent File List"}));
    QCOMPARE(window.recentProjects(), QStringList({corrupt, inB, inA}));

    // A corrupt entry is reported and forgotten.
    menu.actions().at(0)->trigger();
    QCOMPARE(m_prompted.warnings.size(), 1);
    QVERIFY(m_prompted.warnings.constFirst().startsWith(QStringLiteral("Could not open ")));
    QCOMPARE(window.recentProjects(), QStringList({inB, inA}));

    menu.actions().at(2)->trigger();
    QCOMPARE(window.currentFile(), inA);
    QCOMPARE(window.recentProjects(), QStringList({inA, inB}));

    menu.actions().constLast()->trigger();
    QVERIFY(window.recentProjects().isEmpty());
    QVERIFY(!menu.isEnabled());
}

QTEST_MAIN(TestDocumentLifecycle)
#include "tst_document_lifecycle.moc"
