#include "app/qmain.h"
#include "app/theme.h"

#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void projectPathFromArguments_data();
    void projectPathFromArguments();
    void themeIsDarkFusion();
    void menusAreTranslucentAndOtherWidgetsAreNot();
};

void TestStartup::projectPathFromArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("program only") << QStringList {"kromel"} << QString();
    QTest::newRow("first of two projects") << QStringList {"kromel", "-a", "-b", "x.krm", "y.krm"} << "x.krm";
    QTest::newRow("lone dash is an option") << QStringList {"kromel", "-", "x.krm"} << "x.krm";
    QTest::newRow("program name is never a project") << QStringList {"x.krm"} << QString();
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
    const QString sheet = qApp->styleSheet();
    QVERIFY(!sheet.trimmed().isEmpty());
    // A style sheet wraps the style in an anonymous one; without it the style shows its name.
    qApp->setStyleSheet(QString());
    QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    qApp->setStyleSheet(sheet);

    // Light text on dark ground in every state of a window, not only the active one.
    const QPalette palette = QApplication::palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const int text = palette.color(group, QPalette::Text).lightness();
        QVERIFY(palette.color(group, QPalette::Window).lightness() < text);
        QVERIFY(palette.color(group, QPalette::Base).lightness() < text);
    }
}

void TestStartup::menusAreTranslucentAndOtherWidgetsAreNot()
{
    theme::apply(*qApp);

    QMenu menu;
    menu.ensurePolished();
    QVERIFY(menu.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(menu.testAttribute(Qt::WA_TranslucentBackground));

    QWidget window;
    window.ensurePolished();
    QVERIFY(!window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!window.testAttribute(Qt::WA_TranslucentBackground));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
