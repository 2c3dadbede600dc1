#include "app/recent_files.h"

#include <QDir>
#include <QTest>

class TestRecentFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listRules_data();
    void listRules();
};

namespace {

QStringList paths(const char* spaced)
{
    return QString::fromLatin1(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

void TestRecentFiles::listRules_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("max");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("promote moves without duplicating")
        << "promote" << paths("/a/x.krm /a/y.krm /a/z.krm") << "/a/z.krm" << 10
        << paths("/a/z.krm /a/x.krm /a/y.krm");
    QTest::newRow("promote matches ignoring case and cleans")
        << "promote" << paths("/a/X.krm /a/y.krm") << "/a/./b/../x.krm" << 10 << paths("/a/x.krm /a/y.krm");
    QTest::newRow("promote caps the list")
        << "promote" << paths("/1 /2 /3") << "/0" << 3 << paths("/0 /1 /2");
    QTest::newRow("sanitize keeps the first of each path")
        << "sanitize" << paths("/a/x.krm /A/X.KRM /a/y.krm") << "" << 10 << paths("/a/x.krm /a/y.krm");
    QTest::newRow("sanitize makes relative paths absolute")
        << "sanitize" << paths("art.krm") << "" << 10 << QStringList {QDir::current().filePath("art.krm")};
    QTest::newRow("remove drops every spelling")
        << "remove" << paths("/a/x.krm /a/y.krm /a/b/../X.krm") << "/a/x.krm" << 10 << paths("/a/y.krm");
    QTest::newRow("labels name the folder of twins")
        << "labels" << paths("/p/a/art.krm /p/b/ART.krm /p/c/sky.krm") << "" << 10
        << QStringList({"art.krm (a)", "ART.krm (b)", "sky.krm"});
}

void TestRecentFiles::listRules()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, list);
    QFETCH(QString, path);
    QFETCH(int, max);
    QFETCH(QStringList, expected);

    QStringList actual;
    if (operation == QLatin1String("promote"))
        actual = RecentFiles::promote(list, path, max);
    else if (operation == QLatin1String("sanitize"))
        actual = RecentFiles::sanitize(list, max);
    else if (operation == QLatin1String("labels"))
        actual = RecentFiles::menuLabels(list);
    else
        actual = RecentFiles::remove(list, path);
    QCOMPARE(actual, expected);
}

QTEST_MAIN(TestRecentFiles)
#include "tst_recent_files.moc"
