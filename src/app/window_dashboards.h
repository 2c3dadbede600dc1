#pragma once

#include <QObject>
#include <QPointer>

class DashboardBar;
class DashboardButton;
class FlyoutReveal;
class MainWindow;
class QAction;
class QEvent;
class QTimer;
class QToolButton;
class QWidget;
enum class ShapeKind : qint32;

// The dashboards floating over the canvas: the tool buttons with the shape and selection
// pickers and their flyouts, the brush buttons with the texture strip, and the palette
// with the colour slots. A member object of the window; the window installs itself as
// the event filter and passes the dashboards' events to `filter`.
class WindowDashboards : public QObject {
public:
    explicit WindowDashboards(MainWindow& window);

    void create();
    DashboardBar* toolDashboard() const { return m_toolDashboard; }
    DashboardBar* brushDashboard() const { return m_brushDashboard; }
    DashboardBar* paletteDashboard() const { return m_paletteDashboard; }
    QToolButton* shapePickerButton() const;
    QToolButton* selectionPickerButton() const;
    QWidget* shapeFlyout() const { return m_shapeFlyout; }
    QWidget* selectionFlyout() const { return m_selectFlyout; }
    QTimer* flyoutHoverTimer() const { return m_flyoutHoverTimer; }
    QTimer* flyoutLeaveTimer() const { return m_flyoutLeaveTimer; }

    void layout();
    void refreshTextureBar();
    void setVisible(bool visible);
    void selectShapeFace(ShapeKind kind, bool filled);
    void updateShapeToolButtonFace();
    void updateSelectToolButtonFace();
    void openPendingFlyout();
    void startFlyoutTileFade(QWidget* popup);
    // True when the event was taken.
    bool filter(QObject* watched, QEvent* event);

private:
    QWidget* createFlyout();
    bool filterFlyoutEvent(QWidget* flyout, QObject* watched, QEvent* event);
    void hideFlyout(QWidget* flyout);

    MainWindow& m_window;
    DashboardBar* m_toolDashboard = nullptr;
    DashboardBar* m_brushDashboard = nullptr;
    DashboardBar* m_paletteDashboard = nullptr;
    DashboardButton* m_shapeButton = nullptr;
    DashboardButton* m_selectButton = nullptr;
    QWidget* m_shapeFlyout = nullptr;
    QWidget* m_selectFlyout = nullptr;
    FlyoutReveal* m_flyoutReveal = nullptr;
    QTimer* m_flyoutHoverTimer = nullptr;
    QTimer* m_flyoutLeaveTimer = nullptr;
    QPointer<QToolButton> m_pendingFlyoutButton;
    QPointer<QWidget> m_pendingFlyout;
    QPointer<QToolButton> m_openFlyoutButton;
    QAction* m_lastSelectToolAction = nullptr;
};
