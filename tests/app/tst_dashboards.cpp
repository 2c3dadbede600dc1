#include "document/project.h"
#include "paint/texture.h"
#include "support/window_actions.h"
#include "view/canvas_area.h"
#include "widgets/dashboard_bar.h"
#include "widgets/flyout_reveal.h"
#include "widgets/texture_widget.h"
#include "window_test_kit.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

void enter(QWidget* widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QEnterEvent event(centre, centre, widget->mapToGlobal(centre));
    QApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

void moveTo(QWidget* receiver, QPoint global)
{
    const QPointF local = receiver->mapFromGlobal(QPointF(global));
    QMouseEvent event(QEvent::MouseMove, local, QPointF(global), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(receiver, &event);
}

void clickSlot(TextureWidget* strip, int slot, Qt::MouseButton button)
{
    QTest::mouseClick(strip, button, {}, strip->slotRect(slot).center());
}

QToolButton* flyoutTile(QWidget* flyout, int kind, bool filled)
{
    for (QToolButton* tile : flyout->findChildren<QToolButton*>()) {
        if (tile->property("shapeKind").toInt() == kind && tile->property("shapeFilled").toBool() == filled)
            return tile;
    }
    qFatal("no tile");
}

QRect globalRect(const QWidget* widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

QList<Texture> sheet(const char* name)
{
    return Texture::sliceStrip(QImage(QStringLiteral(":/textures/%1.png").arg(QLatin1String(name))));
}

} // namespace

class TestDashboards : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        useOwnSettings(QStringLiteral("KROMEL-dashboards"));
        // Short timers, so the flyout timing runs in milliseconds.
        QSettings settings;
        settings.setValue("general/toolFlyoutHoverDelaySeconds", 0.08);
        settings.setValue("general/toolFlyoutLeaveGraceSeconds", 0.08);
    }

    void init()
    {
        m_window = quietWindow(&m_warnings);
        m_window->resize(900, 700);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void dashboardsFollowTheViewsResize()
    {
        CanvasArea* view = m_window->canvasArea();
        DashboardBar* tools = m_window->toolDashboard();
        DashboardBar* brush = m_window->brushDashboard();
        DashboardBar* palette = m_window->paletteDashboard();
        const int minimum = std::max(tools->minimumSizeHint().width(), palette->minimumSizeHint().width());
        for (const int windowWidth : {1200, 700, 150}) {
            m_window->resize(windowWidth, 640);
            QTest::qWait(20);
            const int width = view->width();
            const int height = view->height();
            QCOMPARE(view->minimumWidth(), minimum + 24);
            QVERIFY(width >= minimum + 24);
            const int expected = std::max(8 * width / 10, minimum);
            QCOMPARE(
                tools->geometry(), QRect((width - expected) / 2, 12, expected, tools->sizeHint().height()));
            QCOMPARE(palette->x(), (width - expected) / 2);
            QCOMPARE(palette->width(), expected);
            QCOMPARE(palette->geometry().bottom(), height - 12 - 1);
            QCOMPARE(brush->geometry().bottom() + 1, palette->y());
            QCOMPARE(brush->x(), (width - brush->width()) / 2);
        }
        QCOMPARE(m_window->textureBar()->parentWidget(), brush);

        QAction* show = findAction(*m_window, "Show Dashboards");
        show->setChecked(false);
        QVERIFY(!tools->isVisible() && !brush->isVisible() && !palette->isVisible());
        show->setChecked(true);
        QVERIFY(tools->isVisible() && brush->isVisible() && palette->isVisible());
    }

    void flyoutOpensAfterTheHoverDelayAndClosesAfterTheLeaveGrace()
    {
        QToolButton* shapeButton = m_window->shapePickerButton();
        QWidget* flyout = m_window->shapeFlyout();

        // A short rest opens nothing.
        enter(shapeButton);
        QTest::qWait(20);
        leave(shapeButton);
        QTest::qWait(150);
        QVERIFY(!flyout->isVisible());

        // A click before the delay takes the tool at once and opens no flyout.
        enter(shapeButton);
        QTest::mouseClick(shapeButton, Qt::LeftButton);
        QVERIFY(findAction(*m_window, "Shape Tool")->isChecked());
        QTest::qWait(150);
        QVERIFY(!flyout->isVisible());
        leave(shapeButton);

        // Resting opens it, under the button, not before the delay.
        enter(shapeButton);
        QVERIFY(!flyout->isVisible());
        QTRY_VERIFY(flyout->isVisible());
        QCOMPARE(flyout->y(), globalRect(shapeButton).bottom() + 1 + 4);
        QTRY_COMPARE(flyout->windowOpacity(), 1.0);

        // Straying off both starts the grace; coming back within it keeps the flyout.
        const QPoint faraway = globalRect(m_window->canvasArea()).center() + QPoint(0, 100);
        moveTo(flyout, faraway);
        QTest::qWait(20);
        moveTo(flyout, globalRect(flyout).center());
        QTest::qWait(150);
        QVERIFY(flyout->isVisible());
        moveTo(flyout, faraway);
        QTRY_VERIFY(!flyout->isVisible());

        // Back onto the tool dashboard beside the button closes it at once.
        leave(shapeButton);
        enter(shapeButton);
        QTRY_VERIFY(flyout->isVisible());
        const QRect dashboard = globalRect(m_window->toolDashboard());
        moveTo(flyout, QPoint(dashboard.left() + 3, dashboard.center().y()));
        QVERIFY(!flyout->isVisible());
    }

    void choosingAFlyoutEntrySelectsTheToolAndKind()
    {
        QToolButton* shapeButton = m_window->shapePickerButton();
        QWidget* flyout = m_window->shapeFlyout();
        QAction* filled = findAction(*m_window, "Filled Shapes");
        filled->setChecked(false);
        enter(shapeButton);
        QTRY_VERIFY(flyout->isVisible());
        QToolButton* tile = flyoutTile(flyout, 2, true);
        QTest::mouseClick(tile, Qt::LeftButton);
        QVERIFY(!flyout->isVisible());
        QVERIFY(findAction(*m_window, "Shape Tool")->isChecked());
        QVERIFY(shapeButton->isChecked());
        QVERIFY(findAction(*m_window, "Circle")->isChecked());
        QVERIFY(filled->isChecked());
        QVERIFY(tile->isChecked());
        QVERIFY(!flyoutTile(flyout, 2, false)->isChecked());

        // Line has no inside: picking it leaves the fill switch alone.
        leave(shapeButton);
        enter(shapeButton);
        QTRY_VERIFY(flyout->isVisible());
        QToolButton* line = flyoutTile(flyout, 0, false);
        QTest::mouseClick(line, Qt::LeftButton);
        QVERIFY(findAction(*m_window, "Line")->isChecked());
        QVERIFY(filled->isChecked());
    }

    void textureStripPaintsTheModesTile()
    {
        m_window->newMulticolorCanvas();
        CanvasArea* canvas = m_window->canvasArea();
        TextureWidget* strip = m_window->textureBar();
        const QList<Texture> multi = sheet("multi");
        const QList<Texture> hires = sheet("hires");
        QCOMPARE(strip->textures(), multi);
        QVERIFY(multi[6] != hires[6]);
        QVERIFY(canvas->texture().isSolid());

        QSignalSpy chosen(strip, &TextureWidget::textureSelected);
        clickSlot(strip, 6, Qt::LeftButton);
        QCOMPARE(canvas->texture(), multi[6]);
        clickSlot(strip, 6, Qt::RightButton);
        QCOMPARE(canvas->texture(), multi[6].inverted());
        clickSlot(strip, 6, Qt::RightButton);
        QCOMPARE(chosen.count(), 2);
        clickSlot(strip, 6, Qt::LeftButton);
        QCOMPARE(canvas->texture(), multi[6]);
        QVERIFY(!strip->negative());

        // The solid pen has no useful negative.
        clickSlot(strip, 0, Qt::RightButton);
        QVERIFY(canvas->texture().isSolid());
        QVERIFY(!strip->negative());
        QCOMPARE(strip->selectedSlot(), 0);

        // A wide dab paints the pen where the tile's bits are set, the other colour elsewhere.
        clickSlot(strip, 6, Qt::RightButton);
        findAction(*m_window, "Two-Color Texture")->trigger();
        canvas->setPenIndex(1);
        canvas->setSecondaryIndex(0);
        canvas->setPenWidth(10);
        const QPoint centre(80, 100);
        const QPointF view
            = m_window->project().transform().canvasToView(QPointF(centre) + QPointF(0.5, 0.5));
        QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, view.toPoint());
        const Texture painted = multi[6].inverted();
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint pixel = centre + QPoint(dx, dy);
                QCOMPARE(int(m_window->project().colormap().pixel(pixel.x(), pixel.y())),
                    painted.bit(pixel.x(), pixel.y()) ? 1 : 0);
            }
        }

        // A new document starts with the solid pen and its own mode's textures.
        m_window->newHiresCanvas();
        QVERIFY(canvas->texture().isSolid());
        QCOMPARE(strip->selectedSlot(), 0);
        QVERIFY(!strip->negative());
        QCOMPARE(strip->textures(), hires);
    }

    void staleRevealNeverShowsTheOlderPopup()
    {
        FlyoutReveal reveal;
        QWidget first(nullptr, Qt::Popup | Qt::FramelessWindowHint);
        QWidget second(nullptr, Qt::Popup | Qt::FramelessWindowHint);
        QSignalSpy revealed(&reveal, &FlyoutReveal::revealed);
        reveal.show(&first);
        const quint64 stale = reveal.generation();
        reveal.show(&second);
        reveal.revealNow(&first, stale);
        QCOMPARE(first.windowOpacity(), 0.0);
        QTRY_COMPARE(revealed.count(), 1);
        QCOMPARE(revealed.first().first().value<QWidget*>(), &second);
        QCOMPARE(second.windowOpacity(), 1.0);
        reveal.revealNow(&second, reveal.generation());
        QCOMPARE(revealed.count(), 1);
    }

private:
    std::unique_ptr<MainWindow> m_window;
    QStringList m_warnings;
};

QTEST_MAIN(TestDashboards)
#include "tst_dashboards.moc"
