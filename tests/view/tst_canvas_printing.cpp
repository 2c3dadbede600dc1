// Printing goes through the toolkit's printer; printed to a PDF file and rendered back,
// the page shows the whole picture, its shape kept, in the page area's top-left corner.
#include "document/project.h"
#include "view/canvas_area.h"
#include "view/canvas_printing.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The bounding box of the page's dark pixels.
QRect inkBox(const QImage& page)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class TestCanvasPrinting : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void placementKeepsTheShapeInTheCorner()
    {
        const QRect area(30, 40, 600, 800);
        QCOMPARE(printedImageRect(area, QSize(320, 200)), QRect(30, 40, 600, 375));
        QCOMPARE(printedImageRect(area, QSize(100, 400)), QRect(30, 40, 200, 800));
        QVERIFY(printedImageRect(area, QSize()).isNull());
    }

    void printedPageShowsThePicture()
    {
        const QString renderer = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        QVERIFY2(!renderer.isEmpty(), "pdftoppm (poppler-utils) renders the printed page");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));

        // A black multicolor screen: the printed picture is a dark 320 x 200 block.
        auto project = std::make_shared<Project>(CanvasMode::Multicolor);
        project->colormap().fill(0);
        CanvasArea area(project);
        const QImage image = area.exportImage(false);

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(20, 30, 20, 30), QPageLayout::Millimeter);
        QVERIFY(printImage(printer, image));

        constexpr int dpi = 72;
        QProcess render;
        render.start(
            renderer, {"-r", QString::number(dpi), "-png", "-singlefile", pdf, dir.filePath("page")});
        QVERIFY(render.waitForFinished(30000) && render.exitCode() == 0);
        const QImage page(dir.filePath(QStringLiteral("page.png")));

        const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
        const QRect ink = inkBox(page);
        QVERIFY2(std::abs(ink.left() - paint.left()) <= 2 && std::abs(ink.top() - paint.top()) <= 2,
            qPrintable(QStringLiteral("picture at %1,%2").arg(ink.left()).arg(ink.top())));
        QVERIFY(std::abs(ink.width() - paint.width()) <= 2);
        QVERIFY(std::abs(double(ink.width()) / ink.height() - 320.0 / 200.0) < 0.02);
    }
};

QTEST_MAIN(TestCanvasPrinting)
#include "tst_canvas_printing.moc"
