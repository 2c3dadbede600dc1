#include "app/main_window.h"
#include "app/qmain.h"
#include "app/theme.h"
#include "formats/project/project_file_writer.h"
#include "model/project.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void projectPathFromArguments_data();
    void projectPathFromArguments();
    void themeIsDarkFusion();
    void menusAreTranslucentAndOtherWidgetsAreNot();
    void mainWindowStandsAlone();
    void projectFromDesktopWaitsForTheEventLoop();
};

void TestStartup::projectPathFromArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("program only") << QStringList {"kromel"} << QString();
    QTest::newRow("empty list") << QStringList {} << QString();
    QTest::newRow("options only") << QStringList {"kromel", "-a", "--b"} << QString();
    QTest::newRow("first of two projects") << QStringList {"kromel", "-a", "-b", "x.krm", "y.krm"} << "x.krm";
    QTest::newRow("lone dash is an option") << QStringList {"kromel", "-", "x.krm"} << "x.krm";
    QTest::newRow("program name is never a project") << QStringList {"x.krm"} << QString();
    QTest::newRow("dash inside a name") << QStringList {"kromel", "my-art.krm"} << "my-art.krm";
    QTest::newRow("leading blank is not an option") << QStringList {"kromel", " -x.krm"} << " -x.krm";
}

void TestStartup::projectPathFromArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QCOMPARE(::projectPathFromArguments(arguments), path);
}

void TestStartup::themeIsDarkFusion()
{
    theme::apply(*qApp);
    QVERIFY(QFile::exists(QStringLiteral(":/styles/dark.qss")));
    const QString sheet = qApp->styleSheet();
    QVERIFY(!sheet.trimmed().isEmpty());
    // A style sheet wraps the style in an anonymous one; without it the style shows its name.
    qApp->setStyleSheet(QString());
    QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    qApp->setStyleSheet(sheet);

    const QPalette palette = QApplication::palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        QCOMPARE(palette.color(group, QPalette::Window), QColor(0x39, 0x39, 0x39));
        QCOMPARE(palette.color(group, QPalette::Base), QColor(0x2B, 0x2B, 0x2B));
        QCOMPARE(palette.color(group, QPalette::Highlight), QColor(0x0A, 0x84, 0xFF));
    }
    QCOMPARE(palette.color(QPalette::Active, QPalette::Text), QColor(0xEE, 0xEE, 0xEE));
    QCOMPARE(palette.color(QPalette::Disabled, QPalette::Text), QColor(0x99, 0x99, 0x99));
    QCOMPARE(palette.color(QPalette::Disabled, QPalette::WindowText), QColor(0x99, 0x99, 0x99));
    QCOMPARE(palette.color(QPalette::Disabled, QPalette::HighlightedText), QColor(0x99, 0x99, 0x99));
    QCOMPARE(palette.color(QPalette::Inactive, QPalette::HighlightedText), QColor(Qt::white));
}

void TestStartup::menusAreTranslucentAndOtherWidgetsAreNot()
{
    theme::apply(*qApp);

    QMenu menu;
    menu.ensurePolished();
    QVERIFY(menu.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(menu.windowFlags().testFlag(Qt::NoDropShadowWindowHint));
    QVERIFY(menu.windowFlags().testFlag(Qt::Popup));
    QVERIFY(menu.testAttribute(Qt::WA_TranslucentBackground));

    QWidget window;
    window.ensurePolished();
    QVERIFY(!window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!window.testAttribute(Qt::WA_TranslucentBackground));
}

void TestStartup::mainWindowStandsAlone()
{
    theme::apply(*qApp);
    MainWindow window;
    QVERIFY(!window.parentWidget());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), QSize(500, 500));
    QVERIFY(window.acceptDrops());
}

void TestStartup::projectFromDesktopWaitsForTheEventLoop()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("art.krm"));
    QVERIFY(saveProjectFile(Project(CanvasMode::Multicolor), path, {}).ok);

    MainWindow window;
    window.show();
    window.openProjectFromDesktop(QString());
    window.openProjectFromDesktop(path);
    QVERIFY(window.currentFile().isEmpty());
    QTRY_COMPARE(window.currentFile(), path);
    QCOMPARE(window.project().mode(), CanvasMode::Multicolor);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
