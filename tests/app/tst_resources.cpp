// The compiled-in resource bundles: every picture, drawing and text the program asks for by
// path must be there and usable, and the texture sheets must hold the patterns they stand for.

#include "paint/texture.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <vector>

namespace {

const QStringList cursorNames {QStringLiteral("pen"), QStringLiteral("crosshair"), QStringLiteral("drag"),
    QStringLiteral("eraser"), QStringLiteral("fill"), QStringLiteral("pan"), QStringLiteral("picker"),
    QStringLiteral("rotate")};

const QStringList toolFaces {QStringLiteral("shape_line"), QStringLiteral("shape_box"),
    QStringLiteral("shape_boxfilled"), QStringLiteral("shape_ellipse"), QStringLiteral("shape_ellipsefilled"),
    QStringLiteral("shape_star"), QStringLiteral("shape_starfilled"), QStringLiteral("shape_bezierline"),
    QStringLiteral("shape_caret"), QStringLiteral("tool_pen"), QStringLiteral("tool_eraser"),
    QStringLiteral("tool_eyedrop"), QStringLiteral("tool_fill"), QStringLiteral("tool_pan"),
    QStringLiteral("tool_selection"), QStringLiteral("tool_selectionlasso")};

const QStringList colorSlotMarkers {QStringLiteral("col_bg"), QStringLiteral("col_border"),
    QStringLiteral("col_sideborders"), QStringLiteral("col_upperborder"), QStringLiteral("col_lowerborder"),
    QStringLiteral("col_upperborder_spriteglobal1"), QStringLiteral("col_upperborder_spriteglobal2"),
    QStringLiteral("col_lowerborder_spriteglobal1"), QStringLiteral("col_lowerborder_spriteglobal2")};

QImage renderSvg(const QString& path, QSize size)
{
    QSvgRenderer renderer(path);
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}

Texture::Rows rowsOf(std::initializer_list<quint16> pattern)
{
    Texture::Rows rows {};
    const std::vector<quint16> run(pattern);
    for (int y = 0; y < Texture::size; ++y)
        rows[std::size_t(y)] = run[std::size_t(y) % run.size()];
    return rows;
}

QStringList warningsWhile(const std::function<void()>& action)
{
    static QStringList* sink = nullptr;
    QStringList caught;
    sink = &caught;
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&,
                                                                 const QString& message) {
        // The offscreen test platform reports what it cannot do with windows; that
        // is no fault of the sheet.
        if (type != QtDebugMsg && type != QtInfoMsg && !message.contains(QLatin1String("propagateSizeHints")))
            sink->append(message);
    });
    action();
    qInstallMessageHandler(previous);
    sink = nullptr;
    return caught;
}

} // namespace

class TestResources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void picturesLoad_data();
    void picturesLoad();
    void cursorHotSpotsTouchTheDrawing_data();
    void cursorHotSpotsTouchTheDrawing();
    void drawingsRender();
    void aboutArtFitsItsComposition();
    void textureSheetsHoldTheirPatterns();
    void styleSheetReferencesExist();
    void styleSheetAppliesCleanly();
};

void TestResources::picturesLoad_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString path = QStringLiteral(":/icons/kromel-%1.png").arg(size);
        QTest::newRow(qPrintable(path)) << path << QSize(size, size);
    }
    for (const QString& name : cursorNames) {
        const QString path = QStringLiteral(":/cursors/%1.png").arg(name);
        QTest::newRow(qPrintable(path)) << path << QSize(24, 24);
        const QString hiDpi = QStringLiteral(":/cursors/%1@2x.png").arg(name);
        QTest::newRow(qPrintable(hiDpi)) << hiDpi << QSize(48, 48);
    }
    QTest::newRow("hires sheet") << QStringLiteral(":/textures/hires.png") << QSize(272, 16);
    QTest::newRow("multi sheet") << QStringLiteral(":/textures/multi.png") << QSize(272, 16);
    QTest::newRow("hat") << QStringLiteral(":/about/santa-hat.png") << QSize(200, 154);
    QTest::newRow("avatar painter") << QStringLiteral(":/about/avatar-painter.png") << QSize(64, 64);
    QTest::newRow("avatar sprite") << QStringLiteral(":/about/avatar-sprite.png") << QSize(64, 64);
}

void TestResources::picturesLoad()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    QVERIFY(opaquePixels(image) > 0);
}

void TestResources::cursorHotSpotsTouchTheDrawing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("hotSpot");
    QTest::newRow("pen") << QStringLiteral("pen") << QPoint(3, 20);
    QTest::newRow("crosshair") << QStringLiteral("crosshair") << QPoint(11, 11);
    QTest::newRow("drag") << QStringLiteral("drag") << QPoint(2, 2);
    QTest::newRow("eraser") << QStringLiteral("eraser") << QPoint(4, 18);
    QTest::newRow("fill") << QStringLiteral("fill") << QPoint(18, 19);
    QTest::newRow("pan") << QStringLiteral("pan") << QPoint(12, 12);
    QTest::newRow("picker") << QStringLiteral("picker") << QPoint(3, 20);
    QTest::newRow("rotate") << QStringLiteral("rotate") << QPoint(11, 11);
}

// A hot spot that falls beside the drawing makes the tool act a few pixels away from where
// the user sees the tip; the 2x image must agree at twice the coordinates.
void TestResources::cursorHotSpotsTouchTheDrawing()
{
    QFETCH(QString, name);
    QFETCH(QPoint, hotSpot);
    const QImage normal(QStringLiteral(":/cursors/%1.png").arg(name));
    const QImage doubled(QStringLiteral(":/cursors/%1@2x.png").arg(name));
    QVERIFY(qAlpha(normal.pixel(hotSpot)) >= 128);
    const QPoint doubledSpot = hotSpot * 2 + QPoint(1, 1);
    QVERIFY(qAlpha(doubled.pixel(doubledSpot)) >= 128);
}

void TestResources::drawingsRender()
{
    // The dashboard buttons tint their faces by recolouring every opaque pixel, so a face
    // must be one colour; black keeps it visible if a button ever shows it untinted.
    for (const QString& name : toolFaces) {
        const QString path = QStringLiteral(":/dashboard/%1.svg").arg(name);
        QVERIFY2(QSvgRenderer(path).isValid(), qPrintable(path));
        const QImage face = renderSvg(path, QSize(48, 48));
        QVERIFY2(opaquePixels(face) > 0, qPrintable(path));
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                QVERIFY2((face.pixel(x, y) & 0x00FFFFFFU) == 0, qPrintable(path));
    }

    // The colour-slot bar scales its markers from a 47 x 29 screen; each marker leaves its
    // part of that screen clear so the slot's colour shows there.
    for (const QString& name : colorSlotMarkers) {
        const QString path = QStringLiteral(":/dashboard/%1.svg").arg(name);
        const QSvgRenderer renderer(path);
        QVERIFY2(renderer.isValid(), qPrintable(path));
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 47, 29));
        const QImage marker = renderSvg(path, QSize(47, 29));
        QVERIFY2(opaquePixels(marker) > 0, qPrintable(path));
        QVERIFY2(opaquePixels(marker) < 47 * 29, qPrintable(path));
    }

    const QStringList styleDrawings {QStringLiteral("controls/spin-up.svg"),
        QStringLiteral("controls/spin-down.svg"), QStringLiteral("controls/combo-down.svg"),
        QStringLiteral("controls/check-checked.svg"), QStringLiteral("filedialog/back.svg"),
        QStringLiteral("filedialog/forward.svg"), QStringLiteral("filedialog/parent.svg"),
        QStringLiteral("filedialog/newfolder.svg")};
    for (const QString& name : styleDrawings) {
        const QString path = QStringLiteral(":/styles/") + name;
        QVERIFY2(QSvgRenderer(path).isValid(), qPrintable(path));
        QVERIFY2(opaquePixels(renderSvg(path, QSize(16, 16))) > 0, qPrintable(path));
    }
}

// In December the About box draws the logo at (48, 26) on a 200 x 154 canvas and the hat at
// (0, 0) over it: the logo must fit beside that offset, and the hat must sit on the logo
// rather than somewhere in the empty canvas.
void TestResources::aboutArtFitsItsComposition()
{
    const QImage logo(QStringLiteral(":/about/logo.png"));
    const QImage hat(QStringLiteral(":/about/santa-hat.png"));
    QVERIFY(!logo.isNull());
    QVERIFY(logo.width() <= 200 - 48 && logo.height() <= 154 - 26);
    QVERIFY(logo.hasAlphaChannel() && qAlpha(logo.pixel(logo.width() - 1, logo.height() - 1)) == 0);

    int overlap = 0;
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            overlap += (qAlpha(logo.pixel(x, y)) > 0 && qAlpha(hat.pixel(x + 48, y + 26)) > 0) ? 1 : 0;
    QVERIFY(overlap > 0);
    // The hat rests on the first letter; the rest of the wordmark stays readable.
    QVERIFY(overlap < opaquePixels(logo) / 8);
}

void TestResources::textureSheetsHoldTheirPatterns()
{
    const QList<Texture> hires = Texture::sliceStrip(QImage(QStringLiteral(":/textures/hires.png")));
    const QList<Texture> multi = Texture::sliceStrip(QImage(QStringLiteral(":/textures/multi.png")));
    QCOMPARE(hires.size(), 17);
    QCOMPARE(multi.size(), 17);

    QVERIFY(hires[0].isSolid());
    QVERIFY(multi[0].isSolid());
    QCOMPARE(hires[1].rows(), rowsOf({0xAAAA, 0x5555}));
    QCOMPARE(hires[3].rows(), rowsOf({0x2222, 0x0000, 0x0000, 0x0000}));
    QCOMPARE(hires[15].rows(), rowsOf({0x1818, 0x0018, 0xFF18, 0x0018, 0x1818, 0x1800, 0x18FF, 0x1800}));
    QCOMPARE(hires[16].rows(), rowsOf({0x0303, 0x0606, 0xCCCC, 0x6060, 0x3030, 0x1818, 0xCCCC, 0x8181}));
    QCOMPARE(hires[12].rows(), rowsOf({0x6666, 0x6666, 0x6666, 0xFFFF, 0xFFFF, 0x6666, 0x6666, 0x6666}));
    QCOMPARE(multi[12].rows(), rowsOf({0xAAAA, 0xAAAA, 0xAAAA, 0xFFFF, 0xFFFF, 0xAAAA, 0xAAAA, 0xAAAA}));
    QCOMPARE(multi[6].rows(), rowsOf({0x3333, 0x3333, 0x3333, 0x3333, 0xCCCC, 0xCCCC, 0xCCCC, 0xCCCC}));

    // The sheets are drawn for each mode's pixel shape, so only the tiles whose look depends
    // on the pixel width differ.
    QList<int> differing;
    for (int i = 0; i < 17; ++i) {
        if (hires[i] != multi[i])
            differing.append(i);
    }
    QCOMPARE(differing, (QList<int> {6, 11, 12}));
}

// A misspelt resource path in the style sheet fails silently at run time (the control just
// loses its arrow), so every url() must name a resource that exists.
void TestResources::styleSheetReferencesExist()
{
    QFile file(QStringLiteral(":/styles/dark.qss"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString sheet = QString::fromUtf8(file.readAll());
    const QRegularExpression url(QStringLiteral(R"(url\((:[^)]+)\))"));
    int references = 0;
    for (auto match = url.globalMatch(sheet); match.hasNext(); ++references) {
        const QString path = match.next().captured(1);
        QVERIFY2(QFile::exists(path), qPrintable(path));
    }
    QVERIFY(references >= 8);

    QFile manual(QStringLiteral(":/doc/user-manual.md"));
    QVERIFY(manual.open(QIODevice::ReadOnly | QIODevice::Text));
    QVERIFY(manual.readAll().startsWith("# KROMEL"));
}

// The sheet must parse and style the toolkit's widgets without complaint; the file dialog's
// navigation buttons must wear the sheet's icons, not the toolkit's.
void TestResources::styleSheetAppliesCleanly()
{
    QFile file(QStringLiteral(":/styles/dark.qss"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString sheet = QString::fromUtf8(file.readAll());

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList warnings = warningsWhile([&] {
        qApp->setStyleSheet(sheet);
        QMenu menu;
        menu.addAction(QStringLiteral("Item"))->setCheckable(true);
        menu.addSeparator();
        menu.ensurePolished();
        QSpinBox spin;
        spin.ensurePolished();
        QComboBox combo;
        combo.ensurePolished();
        dialog.show();
        QCoreApplication::processEvents();
    });
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));

    const auto* back = dialog.findChild<QToolButton*>(QStringLiteral("backButton"));
    QVERIFY(back);
    const QImage icon = back->icon().pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
    bool wearsOurArrow = false;
    for (int y = 0; y < icon.height() && !wearsOurArrow; ++y)
        for (int x = 0; x < icon.width() && !wearsOurArrow; ++x)
            wearsOurArrow = qAlpha(icon.pixel(x, y)) == 255 && (icon.pixel(x, y) & 0x00FFFFFFU) == 0xE0E0E0U;
    QVERIFY(wearsOurArrow);
    dialog.hide();
    qApp->setStyleSheet(QString());
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
