#include "app/about_dialog.h"

#include <QDate>
#include <QImage>
#include <QTest>

class TestAboutDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decemberLogoWearsTheHat();
    void plainLogoOutsideDecember();
    void versionLine_data();
    void versionLine();
    void runtimeLineNamesTheBuildToolkitOnlyWhenItDiffers();
};

// Where the hat is solid the hat shows, where it is clear the logo shows at (48, 26), and
// where neither is the picture stays clear: placement and drawing order in one sweep.
void TestAboutDialog::decemberLogoWearsTheHat()
{
    const QImage logo = QImage(QStringLiteral(":/about/logo.png")).convertToFormat(QImage::Format_ARGB32);
    const QImage hat = QImage(QStringLiteral(":/about/santa-hat.png")).convertToFormat(QImage::Format_ARGB32);
    const QImage art = AboutDialog::logoArt(QDate(2026, 12, 1)).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(art.size(), QSize(200, 154));

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

void TestAboutDialog::plainLogoOutsideDecember()
{
    const QImage logo(QStringLiteral(":/about/logo.png"));
    QCOMPARE(AboutDialog::logoArt(QDate(2026, 11, 30)), logo);
    QCOMPARE(AboutDialog::logoArt(QDate(2027, 1, 1)), logo);
}

void TestAboutDialog::versionLine_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("html");
    QTest::newRow("release") << "3.2.0"
                             << "KROMEL 3.2.0";
    QTest::newRow("pre-release") << "3.2.0-beta2"
                                 << "KROMEL 3.2.0-<span style=\"color:#F6811A;\">beta2</span>";
    QTest::newRow("markup is escaped on both sides")
        << "3<2-a<b&c"
        << "KROMEL 3&lt;2-<span style=\"color:#F6811A;\">a&lt;b&amp;c</span>";
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
    QCOMPARE(same.at(2), QStringLiteral("Qt runtime in use: 6.4.2"));

    const QStringList differ = AboutDialog::buildInfoLines(QStringLiteral("6.5.0"), QStringLiteral("6.4.2"));
    QCOMPARE(differ.at(2), QStringLiteral("Qt runtime in use: 6.5.0 (built against 6.4.2)"));
}

QTEST_MAIN(TestAboutDialog)
#include "tst_about_dialog.moc"
