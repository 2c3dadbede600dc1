// The compiled-in resource bundles: every picture, drawing and text the program asks for by
// path must be there and usable.

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
    void picturesLoad_data()
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
        QTest::newRow("logo") << QStringLiteral(":/about/logo.png") << QSize(143, 107);
        QTest::newRow("hat") << QStringLiteral(":/about/santa-hat.png") << QSize(200, 154);
        QTest::newRow("avatar painter") << QStringLiteral(":/about/avatar-painter.png") << QSize(64, 64);
        QTest::newRow("avatar sprite") << QStringLiteral(":/about/avatar-sprite.png") << QSize(64, 64);
    }

    void picturesLoad()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), size);
        QVERIFY(opaquePixels(image) > 0);
    }

    void drawingsRender()
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

    // A misspelt resource path in the style sheet fails silently at run time (the control just
    // loses its arrow), so every url() must name a resource that exists.
    void styleSheetReferencesExist()
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
    void styleSheetAppliesCleanly()
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
        const QImage icon
            = back->icon().pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
        bool wearsOurArrow = false;
        for (int y = 0; y < icon.height() && !wearsOurArrow; ++y)
            for (int x = 0; x < icon.width() && !wearsOurArrow; ++x)
                wearsOurArrow
                    = qAlpha(icon.pixel(x, y)) == 255 && (icon.pixel(x, y) & 0x00FFFFFFU) == 0xE0E0E0U;
        QVERIFY(wearsOurArrow);
        dialog.hide();
        qApp->setStyleSheet(QString());
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
