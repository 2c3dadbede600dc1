// The compiled-in resource bundles: every picture, drawing and text the program asks for by
// path must be there and usable.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTest>

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
    void everyPathLoads_data()
    {
        QTest::addColumn<QString>("path");
        QStringList paths {QStringLiteral(":/textures/hires.png"), QStringLiteral(":/textures/multi.png"),
            QStringLiteral(":/about/logo.png"), QStringLiteral(":/about/santa-hat.png"),
            QStringLiteral(":/about/avatar-painter.png"), QStringLiteral(":/about/avatar-sprite.png")};
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
            paths << QStringLiteral(":/icons/kromel-%1.png").arg(size);
        for (const QString& name : cursorNames)
            paths << QStringLiteral(":/cursors/%1.png").arg(name)
                  << QStringLiteral(":/cursors/%1@2x.png").arg(name);
        for (const QString& name : toolFaces + colorSlotMarkers)
            paths << QStringLiteral(":/dashboard/%1.svg").arg(name);
        for (const QString& path : paths)
            QTest::newRow(qPrintable(path)) << path;
    }

    void everyPathLoads()
    {
        QFETCH(QString, path);
        if (path.endsWith(QLatin1String(".svg")))
            QVERIFY(QSvgRenderer(path).isValid());
        else
            QVERIFY(!QImage(path).isNull());
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
    }

    // The sheet must parse and style the toolkit's widgets without complaint.
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
        dialog.hide();
        qApp->setStyleSheet(QString());
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
