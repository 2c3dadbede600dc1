// The three dashboards floating over the canvas: tools along the top, brush and textures
// standing on the palette at the bottom. A member object of the window, which filters the
// dashboards' events and hands them here. The shape and selection buttons are pickers: a
// click uses the shown pick at once, resting on them opens a flyout of the other picks.

#include "app/window_dashboards.h"

#include "app/main_window.h"

#include "document/project.h"
#include "paint/staged_shape.h"
#include "paint/texture.h"
#include "view/canvas_area.h"
#include "widgets/dashboard_bar.h"
#include "widgets/dashboard_button.h"
#include "widgets/flyout_reveal.h"
#include "widgets/palette_widget.h"
#include "widgets/texture_widget.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEnterEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace {

// Room kept between the dashboards and the edges of the canvas view.
constexpr int dashboardMargin = 12;
constexpr int flyoutGap = 4;
constexpr int tileFadeMs = 75;
constexpr int tileStaggerMs = 5;
constexpr int iconSide = 20;

struct ShapeFace {
    ShapeKind kind;
    bool filled;
    const char* face;
    const char* name;
};

// In the order the flyout shows them; Line and Path have no inside to fill.
constexpr ShapeFace shapeFaceEntries[] = {
    {ShapeKind::Line, false, "shape_line", QT_TRANSLATE_NOOP("MainWindow", "Line")},
    {ShapeKind::Rectangle, false, "shape_box", QT_TRANSLATE_NOOP("MainWindow", "Rectangle")},
    {ShapeKind::Rectangle, true, "shape_boxfilled", QT_TRANSLATE_NOOP("MainWindow", "Filled Rectangle")},
    {ShapeKind::Circle, false, "shape_ellipse", QT_TRANSLATE_NOOP("MainWindow", "Circle")},
    {ShapeKind::Circle, true, "shape_ellipsefilled", QT_TRANSLATE_NOOP("MainWindow", "Filled Circle")},
    {ShapeKind::Star, false, "shape_star", QT_TRANSLATE_NOOP("MainWindow", "Star")},
    {ShapeKind::Star, true, "shape_starfilled", QT_TRANSLATE_NOOP("MainWindow", "Filled Star")},
    {ShapeKind::Path, false, "shape_bezierline", QT_TRANSLATE_NOOP("MainWindow", "Path")},
};

bool shapeKindFillable(ShapeKind kind)
{
    return kind != ShapeKind::Line && kind != ShapeKind::Path;
}

QString dashboardFace(const char* name)
{
    return QStringLiteral(":/dashboard/%1.svg").arg(QLatin1String(name));
}

// A picker's face: the pick it would use now, with the caret that says "hover for more".
QIcon pickerFace(const QString& face)
{
    const QSize size(2 * iconSide, 2 * iconSide);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QIcon(face).paint(&painter, QRect(QPoint(0, 0), size));
    QIcon(dashboardFace("shape_caret")).paint(&painter, QRect(QPoint(0, 0), size));
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

// Small glyphs for the brush buttons, which have no artwork of their own.
QIcon glyphIcon(const std::function<void(QPainter&, const QRectF&)>& draw)
{
    const QSize size(2 * iconSide, 2 * iconSide);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    draw(painter, QRectF(QPointF(0, 0), size).adjusted(8, 8, -8, -8));
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

QString withShortcut(const QString& text, const QString& keys)
{
    return keys.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, keys);
}

} // namespace

WindowDashboards::WindowDashboards(MainWindow& window)
    : QObject(&window)
    , m_window(window)
{
}

void WindowDashboards::create()
{
    m_flyoutHoverTimer = new QTimer(this);
    m_flyoutHoverTimer->setSingleShot(true);
    connect(m_flyoutHoverTimer, &QTimer::timeout, this, &WindowDashboards::openPendingFlyout);
    m_flyoutLeaveTimer = new QTimer(this);
    m_flyoutLeaveTimer->setSingleShot(true);
    connect(m_flyoutLeaveTimer, &QTimer::timeout, this, [this] {
        for (QWidget* flyout : {m_shapeFlyout, m_selectFlyout})
            hideFlyout(flyout);
    });
    m_flyoutReveal = new FlyoutReveal(this);
    connect(m_flyoutReveal, &FlyoutReveal::revealed, this, &WindowDashboards::startFlyoutTileFade);

    // Tools.
    m_toolDashboard = new DashboardBar(m_window.m_canvas);
    m_toolDashboard->setObjectName(QStringLiteral("toolDashboard"));
    m_toolDashboard->addStretch();
    m_toolDashboard->addActionButton(m_window.m_penToolAction);
    m_toolDashboard->addActionButton(m_window.m_eraserToolAction);
    m_toolDashboard->addActionButton(m_window.m_fillToolAction);
    m_shapeButton = m_toolDashboard->addButton(
        QIcon(), MainWindow::tr("Shape Tool: click to draw, hover to pick a shape"));
    m_shapeButton->setCheckable(true);
    m_shapeButton->setChecked(m_window.m_shapeToolAction->isChecked());
    connect(m_window.m_shapeToolAction, &QAction::toggled, m_shapeButton, &QToolButton::setChecked);
    // The button follows the action; a click that would uncheck it keeps the tool on.
    connect(m_shapeButton, &QToolButton::clicked, this, [this] {
        m_shapeButton->setChecked(true);
        m_window.m_shapeToolAction->setChecked(true);
    });
    connect(
        m_window.m_filledShapesAction, &QAction::toggled, this, &WindowDashboards::updateShapeToolButtonFace);
    m_toolDashboard->addActionButton(m_window.m_eyedropperToolAction);
    m_toolDashboard->addActionButton(m_window.m_panToolAction);
    m_selectButton = m_toolDashboard->addButton(
        QIcon(), MainWindow::tr("Selection Tool: click to select, hover to pick a shape"));
    m_selectButton->setCheckable(true);
    m_lastSelectToolAction = m_window.m_rectSelectToolAction;
    for (QAction* selectAction : {m_window.m_rectSelectToolAction, m_window.m_lassoSelectToolAction}) {
        connect(selectAction, &QAction::toggled, this, [this, selectAction](bool on) {
            if (on)
                m_lastSelectToolAction = selectAction;
            updateSelectToolButtonFace();
        });
        connect(selectAction, &QAction::changed, this, &WindowDashboards::updateSelectToolButtonFace);
    }
    connect(m_selectButton, &QToolButton::clicked, this, [this] {
        m_lastSelectToolAction->trigger();
        updateSelectToolButtonFace();
    });
    m_toolDashboard->addStretch();

    // Flyouts of the two pickers.
    m_shapeFlyout = createFlyout();
    for (const ShapeFace& entry : shapeFaceEntries) {
        auto* button = new DashboardButton(m_shapeFlyout);
        button->setIcon(QIcon(dashboardFace(entry.face)));
        button->setToolTip(MainWindow::tr(entry.name));
        button->setIconSize(QSize(iconSide, iconSide));
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setProperty("shapeKind", int(entry.kind));
        button->setProperty("shapeFilled", entry.filled);
        connect(button, &QToolButton::clicked, this,
            [this, entry] { selectShapeFace(entry.kind, entry.filled); });
        m_shapeFlyout->layout()->addWidget(button);
    }
    m_selectFlyout = createFlyout();
    const std::pair<QString, bool> selectPicks[]
        = {{MainWindow::tr("Rectangle Select"), false}, {MainWindow::tr("Lasso Select"), true}};
    for (const auto& [name, lasso] : selectPicks) {
        auto* button = new DashboardButton(m_selectFlyout);
        button->setIcon(QIcon(dashboardFace(lasso ? "tool_selectionlasso" : "tool_selection")));
        button->setIconSize(QSize(iconSide, iconSide));
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(withShortcut(name,
            (lasso ? m_window.m_lassoSelectToolAction : m_window.m_rectSelectToolAction)
                ->shortcut()
                .toString(QKeySequence::NativeText)));
        button->setProperty("selectIsLasso", lasso);
        QAction* action = lasso ? m_window.m_lassoSelectToolAction : m_window.m_rectSelectToolAction;
        connect(button, &QToolButton::clicked, this, [this, action] {
            m_lastSelectToolAction = action;
            action->trigger();
            updateSelectToolButtonFace();
        });
        m_selectFlyout->layout()->addWidget(button);
    }
    // Tooltips of the tool buttons are swallowed here, and the pickers' hovers and their
    // flyouts' pointer moves and presses drive the flyout timing.
    for (QToolButton* button : m_toolDashboard->findChildren<QToolButton*>())
        button->installEventFilter(&m_window);
    for (QWidget* flyout : {m_shapeFlyout, m_selectFlyout}) {
        for (QToolButton* tile : flyout->findChildren<QToolButton*>())
            tile->installEventFilter(&m_window);
    }
    updateShapeToolButtonFace();
    updateSelectToolButtonFace();

    // Brush and texture.
    m_brushDashboard = new DashboardBar(m_window.m_canvas);
    m_brushDashboard->setObjectName(QStringLiteral("brushDashboard"));
    m_brushDashboard->setSquareBottomCorners(true);
    for (QAction* shapeAction : m_window.m_brushShapeGroup->actions()) {
        const bool round = shapeAction->data().toInt() == int(BrushShape::Round);
        shapeAction->setIcon(glyphIcon([round](QPainter& painter, const QRectF& box) {
            if (round)
                painter.drawEllipse(box);
            else
                painter.drawRect(box.adjusted(2, 2, -2, -2));
        }));
        m_brushDashboard->addActionButton(shapeAction)->setToolTip(shapeAction->text());
    }
    const auto widthButton = [this](const QString& tip, int delta) {
        DashboardButton* button
            = m_brushDashboard->addButton(glyphIcon([delta](QPainter& painter, const QRectF& box) {
                  const QPointF centre = box.center();
                  const double arm = box.width() / 2;
                  painter.drawRect(QRectF(centre.x() - arm, centre.y() - 2, 2 * arm, 4));
                  if (delta > 0)
                      painter.drawRect(QRectF(centre.x() - 2, centre.y() - arm, 4, 2 * arm));
              }),
                tip);
        button->setAutoRepeat(true);
        connect(button, &QToolButton::clicked, this, [this, delta] { m_window.stepPenWidth(delta); });
    };
    widthButton(withShortcut(MainWindow::tr("Decrease pen width"), MainWindow::tr(", or [")), -1);
    widthButton(withShortcut(MainWindow::tr("Increase pen width"), MainWindow::tr(". or ]")), +1);
    m_brushDashboard->addSeparator();
    m_brushDashboard->addWidget(m_window.m_textureBar);

    // Palette and colour slots.
    m_paletteDashboard = new DashboardBar(m_window.m_canvas);
    m_paletteDashboard->setObjectName(QStringLiteral("paletteDashboard"));
    // Both bars keep their own size, so the pair sits in the middle of the wide pill.
    m_paletteDashboard->addStretch();
    m_paletteDashboard->addWidget(m_window.m_paletteBar, 1);
    m_paletteDashboard->addSeparator();
    m_paletteDashboard->addWidget(m_window.m_colorSlotBar);
    m_paletteDashboard->addStretch();

    refreshTextureBar();
}

QToolButton* WindowDashboards::shapePickerButton() const
{
    return m_shapeButton;
}

QToolButton* WindowDashboards::selectionPickerButton() const
{
    return m_selectButton;
}

QWidget* WindowDashboards::createFlyout()
{
    auto* flyout = new QWidget(&m_window, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    flyout->setObjectName(QStringLiteral("toolFlyout"));
    flyout->setAttribute(Qt::WA_TranslucentBackground);
    flyout->setMouseTracking(true);
    auto* layout = new QHBoxLayout(flyout);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    flyout->installEventFilter(&m_window);
    return flyout;
}

void WindowDashboards::updateShapeToolButtonFace()
{
    if (!m_shapeButton)
        return;
    const QAction* checked = m_window.m_shapeKindGroup->checkedAction();
    const auto kind = ShapeKind(checked ? checked->data().toInt() : 0);
    const bool filled = shapeKindFillable(kind) && m_window.m_filledShapesAction->isChecked();
    for (const ShapeFace& entry : shapeFaceEntries) {
        if (entry.kind == kind && entry.filled == filled)
            m_shapeButton->setIcon(pickerFace(dashboardFace(entry.face)));
    }
    for (QToolButton* button : m_shapeFlyout->findChildren<QToolButton*>()) {
        button->setChecked(ShapeKind(button->property("shapeKind").toInt()) == kind
            && button->property("shapeFilled").toBool() == filled);
    }
}

void WindowDashboards::updateSelectToolButtonFace()
{
    if (!m_selectButton)
        return;
    const bool lasso = m_lastSelectToolAction == m_window.m_lassoSelectToolAction;
    m_selectButton->setIcon(pickerFace(dashboardFace(lasso ? "tool_selectionlasso" : "tool_selection")));
    m_selectButton->setChecked(
        m_window.m_rectSelectToolAction->isChecked() || m_window.m_lassoSelectToolAction->isChecked());
    m_selectButton->setEnabled(
        m_window.m_rectSelectToolAction->isEnabled() || m_window.m_lassoSelectToolAction->isEnabled());
    for (QToolButton* button : m_selectFlyout->findChildren<QToolButton*>()) {
        const bool isLasso = button->property("selectIsLasso").toBool();
        QAction* action = isLasso ? m_window.m_lassoSelectToolAction : m_window.m_rectSelectToolAction;
        button->setEnabled(action->isEnabled());
        button->setChecked(isLasso == lasso);
    }
}

void WindowDashboards::selectShapeFace(ShapeKind kind, bool filled)
{
    for (QAction* action : m_window.m_shapeKindGroup->actions()) {
        if (ShapeKind(action->data().toInt()) == kind && !action->isChecked())
            action->trigger();
    }
    if (shapeKindFillable(kind))
        m_window.m_filledShapesAction->setChecked(filled);
    m_window.m_shapeToolAction->setChecked(true);
    updateShapeToolButtonFace();
}

void WindowDashboards::layout()
{
    if (!m_toolDashboard)
        return;
    const int viewWidth = m_window.m_canvas->width();
    const int viewHeight = m_window.m_canvas->height();
    const int minimum
        = std::max(m_toolDashboard->minimumSizeHint().width(), m_paletteDashboard->minimumSizeHint().width());
    m_window.m_canvas->setMinimumWidth(minimum + 2 * dashboardMargin);
    const int width = std::max(8 * viewWidth / 10, minimum);
    const int left = (viewWidth - width) / 2;
    m_toolDashboard->setGeometry(left, dashboardMargin, width, m_toolDashboard->sizeHint().height());
    const int paletteHeight = m_paletteDashboard->sizeHint().height();
    const int paletteTop = viewHeight - dashboardMargin - paletteHeight;
    m_paletteDashboard->setGeometry(left, paletteTop, width, paletteHeight);
    const QSize brush = m_brushDashboard->sizeHint();
    m_brushDashboard->setGeometry(
        (viewWidth - brush.width()) / 2, paletteTop - brush.height(), brush.width(), brush.height());
}

void WindowDashboards::refreshTextureBar()
{
    const QList<Texture> hires = Texture::sliceStrip(QImage(QStringLiteral(":/textures/hires.png")));
    const QList<Texture> multi = Texture::sliceStrip(QImage(QStringLiteral(":/textures/multi.png")));
    // The swatches always show the hires drawing: on the dashboard's square cells the
    // multicolor tiles' doubled pixels would read as a different pattern.
    QList<QImage> swatches;
    const QColor on = m_window.m_textureBar->palette().color(QPalette::WindowText);
    const QColor off = m_window.m_textureBar->palette().color(QPalette::Window).darker(150);
    for (const Texture& texture : hires)
        swatches << texture.toImage(on.rgb(), off.rgb());
    m_window.m_textureBar->setTextures(isMulticolor(m_window.m_project->mode()) ? multi : hires, swatches);
    layout();
}

void WindowDashboards::setVisible(bool visible)
{
    for (QWidget* dashboard : {m_toolDashboard, m_brushDashboard, m_paletteDashboard})
        dashboard->setVisible(visible);
    if (!visible) {
        for (QWidget* flyout : {m_shapeFlyout, m_selectFlyout})
            hideFlyout(flyout);
    }
}

void WindowDashboards::openPendingFlyout()
{
    QWidget* flyout = m_pendingFlyout;
    QToolButton* button = m_pendingFlyoutButton;
    if (!flyout || !button || flyout->isVisible() || button->isDown())
        return;
    if (flyout == m_shapeFlyout)
        updateShapeToolButtonFace();
    else
        updateSelectToolButtonFace();
    flyout->ensurePolished();
    flyout->adjustSize();
    const QPoint below = button->mapToGlobal(QPoint(button->width() / 2, button->height() + flyoutGap));
    flyout->move(below.x() - flyout->width() / 2, below.y());
    for (QToolButton* tile : flyout->findChildren<QToolButton*>()) {
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(tile->graphicsEffect());
        if (!effect) {
            effect = new QGraphicsOpacityEffect(tile);
            tile->setGraphicsEffect(effect);
        }
        effect->setOpacity(0.0);
    }
    m_openFlyoutButton = button;
    m_flyoutReveal->show(flyout);
}

void WindowDashboards::startFlyoutTileFade(QWidget* popup)
{
    int index = 0;
    for (QToolButton* tile : popup->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(tile->graphicsEffect());
        if (!effect)
            continue;
        auto* fade = new QPropertyAnimation(effect, "opacity", effect);
        fade->setStartValue(0.0);
        fade->setEndValue(1.0);
        fade->setDuration(tileFadeMs);
        fade->setEasingCurve(QEasingCurve::OutCubic);
        QTimer::singleShot(
            index * tileStaggerMs, fade, [fade] { fade->start(QAbstractAnimation::DeleteWhenStopped); });
        ++index;
    }
}

void WindowDashboards::hideFlyout(QWidget* flyout)
{
    m_flyoutLeaveTimer->stop();
    if (!flyout || !flyout->isVisible())
        return;
    flyout->hide();
    // A tile under the pointer when the flyout closed would stay lit the next time.
    for (QToolButton* tile : flyout->findChildren<QToolButton*>()) {
        tile->setAttribute(Qt::WA_UnderMouse, false);
        tile->setDown(false);
        tile->update();
    }
}

bool WindowDashboards::filter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ToolTip) {
        // The tool buttons show their pick on their faces; a tooltip would only cover the
        // canvas under the pointer.
        auto* button = qobject_cast<QToolButton*>(watched);
        if (button && button->parentWidget() == m_toolDashboard)
            return true;
    }
    if (watched == m_window.m_canvas) {
        if (type == QEvent::Resize)
            layout();
        return false;
    }
    if (type == QEvent::Enter
        && (watched == m_toolDashboard || watched == m_brushDashboard || watched == m_paletteDashboard)) {
        // Entering a child is no leave for the canvas, so it is told: a preview of a click
        // that would land on the dashboard must not stay on the picture.
        QEvent left(QEvent::Leave);
        QApplication::sendEvent(m_window.m_canvas, &left);
    }

    if (watched == m_shapeButton || watched == m_selectButton) {
        auto* button = static_cast<QToolButton*>(watched);
        QWidget* flyout = watched == m_shapeButton ? m_shapeFlyout : m_selectFlyout;
        if (type == QEvent::Enter && m_openFlyoutButton != button) {
            m_pendingFlyoutButton = button;
            m_pendingFlyout = flyout;
            m_flyoutHoverTimer->start();
        } else if (type == QEvent::MouseButtonPress) {
            m_flyoutHoverTimer->stop();
        } else if (type == QEvent::Leave) {
            m_flyoutHoverTimer->stop();
            if (m_openFlyoutButton == button)
                m_openFlyoutButton = nullptr;
        }
        return false;
    }
    for (QWidget* flyout : {m_shapeFlyout, m_selectFlyout}) {
        if (flyout
            && (watched == flyout
                || (watched->isWidgetType() && flyout->isAncestorOf(static_cast<QWidget*>(watched)))))
            return filterFlyoutEvent(flyout, watched, event);
    }
    return false;
}

bool WindowDashboards::filterFlyoutEvent(QWidget* flyout, QObject* watched, QEvent* event)
{
    QToolButton* button = flyout == m_shapeFlyout ? m_shapeButton : m_selectButton;
    if (event->type() == QEvent::MouseMove) {
        const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        const QRect buttonRect(button->mapToGlobal(QPoint(0, 0)), button->size());
        const QRect flyoutRect(flyout->mapToGlobal(QPoint(0, 0)), flyout->size());
        const QRect dashboardRect(m_toolDashboard->mapToGlobal(QPoint(0, 0)), m_toolDashboard->size());
        if ((buttonRect | flyoutRect).contains(global)) {
            m_flyoutLeaveTimer->stop();
        } else if (dashboardRect.contains(global)) {
            hideFlyout(flyout);
        } else if (m_flyoutLeaveTimer->interval() <= 0) {
            hideFlyout(flyout);
        } else if (!m_flyoutLeaveTimer->isActive()) {
            m_flyoutLeaveTimer->start();
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        auto* source = static_cast<QWidget*>(watched);
        QWidget* under = source->childAt(press->position().toPoint());
        QWidget* walk = under ? under : source;
        while (walk && !qobject_cast<QToolButton*>(walk) && walk != flyout)
            walk = walk->parentWidget();
        auto* tile = qobject_cast<QToolButton*>(walk);
        if (!tile || !flyout->isAncestorOf(tile)) {
            // A press outside closes the popup, as the toolkit does for any popup.
            if (!flyout->rect().contains(flyout->mapFromGlobal(press->globalPosition().toPoint())))
                hideFlyout(flyout);
            return true;
        }
        hideFlyout(flyout);
        if (!tile->isEnabled())
            return true;
        if (tile->defaultAction())
            tile->defaultAction()->trigger();
        else
            tile->click();
        return true;
    }
    if (event->type() == QEvent::Hide && watched == flyout)
        m_flyoutLeaveTimer->stop();
    return false;
}
