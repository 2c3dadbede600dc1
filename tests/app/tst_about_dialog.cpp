#include "app/about_dialog.h"

#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QTest>

class TestAboutDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decemberLogoWearsTheHat_data();
    void decemberLogoWearsTheHat();
    void plainLogoOutsideDecember_data();
    void plainLogoOutsideDecember();
    void versionLine_data();
    void versionLine();
    void runtimeLineNamesTheBuildToolkitOnlyWhenItDiffers();
    void dialogShowsTheApplicationVersion();
};

void TestAboutDialog::decemberLogoWearsTheHat_data()
{
    QTest::addColumn<QDate>("date");
    QTest::newRow("1 December") << QDate(2026, 12, 1);
    QTest::newRow("15 December") << QDate(2026, 12, 15);
    QTest::newRow("31 December") << QDate(2026, 12, 31);
}

// Where the hat is solid the hat shows, where it is clear the logo shows at (48, 26), and
// where neither is the picture stays clear: placement and drawing order in one sweep.
void TestAboutDialog::decemberLogoWearsTheHat()
{
    QFETCH(QDate, date);
    const QImage logo = QImage(QStringLiteral(":/about/logo.png")).convertToFormat(QImage::Format_ARGB32);
    const QImage hat = QImage(QStringLiteral(":/about/santa-hat.png")).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!logo.isNull());
    QVERIFY(!hat.isNull());

    const QImage art = AboutDialog::logoArt(date).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(art.size(), QSize(200, 154));
    QVERIFY(art.hasAlphaChannel());

    int logoPixelsChecked = 0;
    int hatPixelsChecked = 0;
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const QRgb hatPixel = hat.rect().contains(x, y) ? hat.pixel(x, y) : 0;
            const QPoint inLogo(x - 48, y - 26);
            if (qAlpha(hatPixel) == 255) {
                QCOMPARE(art.pixel(x, y), hatPixel);
                ++hatPixelsChecked;
            } else if (qAlpha(hatPixel) == 0 && logo.rect().contains(inLogo)
                && qAlpha(logo.pixel(inLogo)) == 255) {
                QCOMPARE(art.pixel(x, y), logo.pixel(inLogo));
                ++logoPixelsChecked;
            } else if (qAlpha(hatPixel) == 0 && !logo.rect().contains(inLogo)) {
                QCOMPARE(qAlpha(art.pixel(x, y)), 0);
            }
        }
    }
    QVERIFY(logoPixelsChecked > 0);
    QVERIFY(hatPixelsChecked > 0);
}

void TestAboutDialog::plainLogoOutsideDecember_data()
{
    QTest::addColumn<QDate>("date");
    QTest::newRow("30 November") << QDate(2026, 11, 30);
    QTest::newRow("1 January") << QDate(2027, 1, 1);
    QTest::newRow("midsummer") << QDate(2026, 6, 21);
}

void TestAboutDialog::plainLogoOutsideDecember()
{
    QFETCH(QDate, date);
    const QImage logo(QStringLiteral(":/about/logo.png"));
    QVERIFY(!logo.isNull());
    QCOMPARE(AboutDialog::logoArt(date), logo);
}

void TestAboutDialog::versionLine_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("html");
    QTest::newRow("release") << "3.2.0"
                             << "KROMEL 3.2.0";
    QTest::newRow("pre-release") << "3.2.0-beta2"
                                 << "KROMEL 3.2.0-<span style=\"color:#F6811A;\">beta2</span>";
    QTest::newRow("only the first dash splits") << "3.2.0-rc-1"
                                                << "KROMEL 3.2.0-<span style=\"color:#F6811A;\">rc-1</span>";
    QTest::newRow("markup is escaped on both sides")
        << "3<2-a<b&c"
        << "KROMEL 3&lt;2-<span style=\"color:#F6811A;\">a&lt;b&amp;c</span>";
    QTest::newRow("trailing dash") << "3.2.0-"
                                   << "KROMEL 3.2.0-<span style=\"color:#F6811A;\"></span>";
}

void TestAboutDialog::versionLine()
{
    QFETCH(QString, version);
    QFETCH(QString, html);
    QCOMPARE(AboutDialog::versionHtml(version), html);
}

void TestAboutDialog::runtimeLineNamesTheBuildToolkitOnlyWhenItDiffers()
{
    const QStringList same = AboutDialog::buildInfoLines(QStringLiteral("6.4.2"), QStringLiteral("6.4.2"));
    QCOMPARE(same.size(), 3);
    QVERIFY(same.at(0).startsWith(QStringLiteral("Compiled on: ")));
    QVERIFY(same.at(1).startsWith(QStringLiteral("Compiled with ")));
    QVERIFY(!same.at(0).contains(QStringLiteral("  ")));
    QCOMPARE(same.at(2), QStringLiteral("Qt runtime in use: 6.4.2"));

    const QStringList differ = AboutDialog::buildInfoLines(QStringLiteral("6.5.0"), QStringLiteral("6.4.2"));
    QCOMPARE(differ.at(2), QStringLiteral("Qt runtime in use: 6.5.0 (built against 6.4.2)"));
    QCOMPARE(differ.mid(0, 2), same.mid(0, 2));
}

void TestAboutDialog::dialogShowsTheApplicationVersion()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("3.2.0-beta2"));
    AboutDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About KROMEL"));
    const auto* version = dialog.findChild<QLabel*>(QStringLiteral("aboutVersion"));
    QVERIFY(version);
    QCOMPARE(version->text(), AboutDialog::versionHtml(QStringLiteral("3.2.0-beta2")));
    const auto* logo = dialog.findChild<QLabel*>(QStringLiteral("aboutLogo"));
    QVERIFY(logo);
    QVERIFY(!logo->pixmap().isNull());
    QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("aboutTagline")));
    QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("aboutBuildInfo")));
}

QTEST_MAIN(TestAboutDialog)
#include "tst_about_dialog.moc"
