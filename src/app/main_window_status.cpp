// The main window's status bar, its settings at start-up and close, and the Settings
// dialog.

#include "app/main_window.h"

#include "app/live_link_controller.h"
#include "app/preferences.h"
#include "app/session_settings.h"
#include "app/status_bar_panel.h"
#include "app/status_texts.h"
#include "view/canvas_area.h"
#include "view/preview_window.h"
#include "widgets/settings_dialog.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

// The window's side of restoring a session: checking a command runs its toggled slot, so
// a restored toggle reaches the canvas exactly as a click would.
class WindowSessionTarget final : public SessionRestoreTarget {
public:
    explicit WindowSessionTarget(MainWindow& window)
        : m_window(window)
    {
    }

    void applySettingsPreferences() override { m_window.applySettingsPreferences(); }

    void setToggleChecked(SessionToggle toggle, bool on) override
    {
        m_window.sessionToggleAction(toggle)->setChecked(on);
    }

    void setReferenceLayerOpacity(int percent) override
    {
        m_window.m_canvas->setReferenceLayerOpacity(percent);
    }

    void setDisplayPixelAspect(double aspect) override
    {
        for (QAction* action : m_window.m_pixelAspectGroup->actions()) {
            if (qFuzzyCompare(action->data().toDouble(), aspect)) {
                action->setChecked(true);
                m_window.setDisplayPixelAspect(action);
                return;
            }
        }
    }

    void restoreGeometries(const QByteArray& window, const QByteArray& preview) override
    {
        if (!preview.isEmpty())
            m_window.m_preview->restoreGeometry(preview);
        if (window.isEmpty() || !m_window.restoreGeometry(window))
            m_window.placeForFirstStart();
    }

private:
    MainWindow& m_window;
};

void MainWindow::createStatusBar()
{
    m_statusPanel = new StatusBarPanel(this);
    statusBar()->addPermanentWidget(m_statusPanel, 1);
    statusBar()->addPermanentWidget(m_liveLink->createIndicator(this));
    connect(m_canvas, &CanvasArea::statusChanged, this, &MainWindow::updateStatusBar);
}

void MainWindow::updateStatusBar()
{
    const std::optional<QPoint> hover
        = m_canvas->hoverValid() ? std::optional(m_canvas->hoverPixel()) : std::nullopt;
    m_statusPanel->setTexts(
        statusTexts(*m_project, m_canvas->brush().shape(), m_canvas->brush().width(), hover));
}

void MainWindow::showStatusMessage(const QString& text, std::chrono::milliseconds duration)
{
    m_statusPanel->showMessage(text, duration);
}

QAction* MainWindow::sessionToggleAction(SessionToggle toggle) const
{
    switch (toggle) {
    case SessionToggle::ShowReferenceGrids:
        return m_referenceGridsAction;
    case SessionToggle::ShowPixelGrids:
        return m_pixelGridsAction;
    case SessionToggle::ShowSafeFrames:
        return m_safeFramesAction;
    case SessionToggle::BilinearFiltering:
        return m_bilinearAction;
    case SessionToggle::PixelPerfectStrokes:
        return m_pixelPerfectAction;
    case SessionToggle::PressureWidenedStrokes:
        return m_pressureWideningAction;
    case SessionToggle::DisableFillPreview:
        return m_disableFillPreviewAction;
    case SessionToggle::PreviewStaysOnTop:
        return m_previewOnTopAction;
    case SessionToggle::MirrorPreviewHorizontally:
        return m_mirrorPreviewAction;
    case SessionToggle::CrtFilterInPreview:
        return m_crtFilterAction;
    case SessionToggle::ShowPreviewWindow:
        return m_showPreviewAction;
    }
    return nullptr;
}

void MainWindow::readSettings()
{
    const QSettings settings;
    WindowSessionTarget target(*this);
    restoreSession(readSessionSettings(settings), target);
}

// Starts from what was read, so a value no part of this window owns is written back as it
// was and a session never forgets it.
void MainWindow::writeSettings()
{
    QSettings settings;
    SessionSettings session = readSessionSettings(settings);
    for (int i = 0; i < sessionToggleCount; ++i)
        session.setToggle(SessionToggle(i), sessionToggleAction(SessionToggle(i))->isChecked());
    if (const QAction* aspect = m_pixelAspectGroup->checkedAction())
        session.displayPixelAspect = aspect->data().toDouble();
    session.windowGeometry = saveGeometry();
    // A preview never shown in this session still has the toolkit's placeholder size;
    // what was saved before stays.
    if (m_preview->hasBeenShown())
        session.previewGeometry = m_preview->saveGeometry();
    session.referenceLayerOpacity = m_canvas->referenceLayerOpacity();
    writeSessionSettings(settings, session);
}

void MainWindow::applySettingsPreferences()
{
    const Preferences preferences = readPreferences(QSettings());
    m_canvas->setBindZoomToCanvas(preferences.bindZoomToCanvas);
    m_canvas->setInvertZoomWheel(preferences.invertZoomWheel);
    applyFileDialogPreference(preferences);
    m_crashRecovery->applyAutosavePreferences(preferences);
    m_canvas->setSmoothImageScaling(preferences.smoothImageScaling);
    m_dashboards->flyoutHoverTimer()->setInterval(flyoutIntervalMs(preferences.toolFlyoutHoverDelaySeconds));
    m_dashboards->flyoutLeaveTimer()->setInterval(flyoutIntervalMs(preferences.toolFlyoutLeaveGraceSeconds));
}

bool MainWindow::smoothImageScaling() const
{
    return readPreferences(QSettings()).smoothImageScaling;
}

bool MainWindow::useNativeFileDialogs() const
{
    return readPreferences(QSettings()).nativeFileDialogs;
}

void MainWindow::showSettings()
{
    SettingsDialog dialog(readPreferences(QSettings()), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    {
        QSettings settings;
        writePreferences(settings, dialog.preferences());
    }
    applySettingsPreferences();
}

void MainWindow::placeForFirstStart()
{
    // A window as small as the minimum elides every status label; most of the screen,
    // centred, is what a painting program is opened for.
    const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!target)
        return;
    const QRect available = target->availableGeometry();
    const QSize size(qRound(available.width() * 0.8), qRound(available.height() * 0.8));
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, available));
}
