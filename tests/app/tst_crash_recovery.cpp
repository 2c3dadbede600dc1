#include "app/recovery_writer.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "support/test_data.h"
#include "window_test_kit.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The recovery copy of a modified document: when it is written, when it goes away, and
// how a later start brings it back. One test kills a real editor process.
class TestCrashRecovery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useOwnSettings(QStringLiteral("KROMEL-recovery")); }
    void init();
    void copyFollowsTheDocumentAndCleanEndsRemoveIt();
    void twoEditorsKeepTheirOwnCopies();
    void killedEditorLeavesACopyThatIsRestoredWithItsHistory();
    void discardAndLaterDecideAboutACopy();

private:
    // A window that autosaves into the test's folder every second and answers the
    // recovery question with `answer`, counting the questions.
    void startRecovery(MainWindow& window, RecoveryAnswer answer);
    QStringList copies() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
    int m_questions = 0;
    QList<RecoveryCopyInfo> m_asked;
};

namespace {

// Every test answers every other question, so nothing modal is ever shown.
void answerSaveQuestions(MainWindow& window, SaveChangesAnswer answer, const QString& savePath)
{
    DocumentPrompts& prompts = window.documentPrompts();
    prompts.askToSaveChanges = [answer] { return answer; };
    prompts.chooseProjectSavePath = [savePath](const QString&) { return savePath; };
    prompts.warn = [](const QString& text) { QFAIL(qPrintable(text)); };
}

} // namespace

void TestCrashRecovery::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = m_dir->filePath(QStringLiteral("recovery"));
    m_questions = 0;
    m_asked.clear();
    QSettings settings;
    settings.setValue(QStringLiteral("general/autosave"), true);
    settings.setValue(QStringLiteral("general/autosaveIntervalSeconds"), 1);
}

void TestCrashRecovery::startRecovery(MainWindow& window, RecoveryAnswer answer)
{
    window.documentPrompts().askAboutRecoveryCopy = [this, answer](const RecoveryCopyInfo& copy) {
        ++m_questions;
        m_asked << copy;
        return answer;
    };
    window.startCrashRecovery(m_folder);
}

QStringList TestCrashRecovery::copies() const
{
    return QDir(m_folder).entryList({QStringLiteral("*.krm")}, QDir::Files);
}

void TestCrashRecovery::copyFollowsTheDocumentAndCleanEndsRemoveIt()
{
    const QString saved = m_dir->filePath(QStringLiteral("art.krm"));
    {
        MainWindow window;
        answerSaveQuestions(window, SaveChangesAnswer::Discard, saved);
        startRecovery(window, RecoveryAnswer::Later);
        QSignalSpy written(window.recoveryWriter(), &RecoveryWriter::copyWritten);

        // A clean document is never copied.
        window.autosaveNow();
        QCOMPARE(written.count(), 0);

        // Within the interval, without any other prompting.
        editDocument(window, 2);
        QTRY_COMPARE_WITH_TIMEOUT(written.count(), 1, 5000);
        QVERIFY(written.constFirst().constFirst().toBool());
        QCOMPARE(copies().size(), 1);
        Project copy;
        QVERIFY(loadProjectFile(QDir(m_folder).filePath(copies().constFirst()), &copy, {}).ok);
        QCOMPARE(copy.colormap(), window.project().colormap());
        QCOMPARE(copy.history().count(), 1);

        // The same revision is not written twice, however often the moment comes.
        const int writes = written.count();
        window.autosaveNow();
        window.autosaveNow();
        QTest::qWait(50);
        QCOMPARE(written.count(), writes);

        QVERIFY(window.saveProjectTo(saved));
        QVERIFY(copies().isEmpty());

        // Discarding the changes on close leaves nothing behind, the lock included.
        editDocument(window, 4);
        QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 1, 5000);
        QVERIFY(window.close());
        QVERIFY(copies().isEmpty());
    }
    QVERIFY(QDir(m_folder).entryList(QDir::Files).isEmpty());
    QCOMPARE(m_questions, 0);

    // With the switch off nothing is written at all.
    QSettings().setValue(QStringLiteral("general/autosave"), false);
    MainWindow window;
    answerSaveQuestions(window, SaveChangesAnswer::Discard, saved);
    startRecovery(window, RecoveryAnswer::Later);
    editDocument(window, 5);
    window.autosaveNow();
    QTest::qWait(1500);
    QVERIFY(copies().isEmpty());
}

void TestCrashRecovery::twoEditorsKeepTheirOwnCopies()
{
    MainWindow first;
    MainWindow second;
    answerSaveQuestions(first, SaveChangesAnswer::Discard, {});
    answerSaveQuestions(second, SaveChangesAnswer::Discard, {});
    startRecovery(first, RecoveryAnswer::Restore);
    startRecovery(second, RecoveryAnswer::Restore);
    editDocument(first, 2);
    editDocument(second, 7);
    first.autosaveNow();
    second.autosaveNow();
    QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 2, 5000);
    QVERIFY(first.recoveryWriter()->id() != second.recoveryWriter()->id());

    // A running editor's copy is its own: another start does not offer it.
    MainWindow third;
    startRecovery(third, RecoveryAnswer::Restore);
    QTest::qWait(100);
    QCOMPARE(m_questions, 0);
    QVERIFY(!third.project().isModified());

    Project copy;
    QVERIFY(
        loadProjectFile(first.recoveryWriter()->folder().copyPath(first.recoveryWriter()->id()), &copy, {})
            .ok);
    QCOMPARE(copy.colormap(), first.project().colormap());
    QVERIFY(copy.colormap() != second.project().colormap());
}

void TestCrashRecovery::killedEditorLeavesACopyThatIsRestoredWithItsHistory()
{
    const QString picture = m_dir->filePath(QStringLiteral("sunset.koa"));
    QVERIFY(QFile::copy(c64PicturePath(QStringLiteral("koala-painter.koa")), picture));

    // The editor gets a home of its own with a one-second interval.
    const QString home = m_dir->filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home + QStringLiteral("/.config/kromelstudio")));
    {
        QSettings settings(home + QStringLiteral("/.config/kromelstudio/KROMEL.conf"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("general/autosaveIntervalSeconds"), 1);
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    m_folder = home + QStringLiteral("/.local/share/kromelstudio/KROMEL/recovery");

    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    editor.start(QStringLiteral(KROMEL_EDITOR), {picture});
    QVERIFY(editor.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 1, 30000);
    // The copy is replaced atomically, so the first sight of it is a whole file.
    editor.kill();
    QVERIFY(editor.waitForFinished());

    // The next start offers the copy and brings back the picture as it was opened: one
    // undoable import in a multicolor canvas named after the file.
    MainWindow restored;
    answerSaveQuestions(restored, SaveChangesAnswer::Cancel, {});
    startRecovery(restored, RecoveryAnswer::Restore);
    QTRY_COMPARE(m_questions, 1);
    QCOMPARE(m_asked.constFirst().pendingName, QStringLiteral("sunset"));
    QTRY_VERIFY(restored.project().isModified());
    QCOMPARE(restored.project().mode(), CanvasMode::Multicolor);
    QCOMPARE(restored.pendingName(), QStringLiteral("sunset"));
    QCOMPARE(restored.windowTitle(), QStringLiteral("sunset[*] - KROMEL"));
    QCOMPARE(restored.project().history().count(), 1);

    MainWindow opened;
    answerSaveQuestions(opened, SaveChangesAnswer::Cancel, {});
    opened.openProjectFromDesktop(picture);
    QTRY_VERIFY(opened.project().isModified());
    QCOMPARE(restored.project().colormap(), opened.project().colormap());
    const Colormap blank = Project(CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {}, 1).colormap();
    QVERIFY(restored.project().colormap() != blank);

    // Until it is saved the copy stays, now held by the editor that restored it, so a
    // second crash cannot lose it.
    QCOMPARE(copies(), QStringList {restored.recoveryWriter()->id() + QStringLiteral(".krm")});
    QVERIFY(RecoveryFolder(m_folder).claimAbandonedCopies().empty());

    restored.undo();
    QCOMPARE(restored.project().colormap(), blank);
    // Undone to before the import is not the saved state: the document came from no file.
    QVERIFY(restored.project().isModified());
}

void TestCrashRecovery::discardAndLaterDecideAboutACopy()
{
    // A crashed editor's files: a copy, its description and a lock no process holds.
    const RecoveryFolder folder(m_folder);
    const QString crashed = RecoveryFolder::newId();
    Project project(CanvasMode::Hires, 0, 0, CanvasLayoutSpec {}, 1);
    project.clearCanvas(9);
    const auto leaveCopy = [&](const QDateTime& savedAt) {
        QVERIFY(folder.writeInfo({crashed, m_dir->filePath(QStringLiteral("a.krm")), {}, savedAt}));
        QVERIFY(saveProjectFile(project, folder.copyPath(crashed), {}).ok);
    };
    leaveCopy(QDateTime::currentDateTimeUtc());

    {
        MainWindow later;
        startRecovery(later, RecoveryAnswer::Later);
        QTRY_COMPARE(m_questions, 1);
        QCOMPARE(m_asked.constFirst().originalFile, m_dir->filePath(QStringLiteral("a.krm")));
        QVERIFY(!later.project().isModified());
    }
    QCOMPARE(copies().size(), 1);

    {
        MainWindow discard;
        startRecovery(discard, RecoveryAnswer::Discard);
        QTRY_COMPARE(m_questions, 2);
        QVERIFY(!discard.project().isModified());
    }
    QVERIFY(QDir(m_folder).entryList(QDir::Files).isEmpty());

    // A restored copy keeps the name of the file it was made from.
    leaveCopy({});
    MainWindow restore;
    answerSaveQuestions(restore, SaveChangesAnswer::Discard, {});
    startRecovery(restore, RecoveryAnswer::Restore);
    QTRY_VERIFY(restore.project().isModified());
    QCOMPARE(restore.currentFile(), m_dir->filePath(QStringLiteral("a.krm")));
    QCOMPARE(restore.windowTitle(), QStringLiteral("a.krm[*] - KROMEL"));
    QCOMPARE(restore.project().colormap(), project.colormap());
}

QTEST_MAIN(TestCrashRecovery)
#include "tst_crash_recovery.moc"
