#pragma once

#include <QWidget>

class CanvasArea;
class PreviewArea;

// A second, tool-less view of the artwork in a window of its own, following every change
// of the canvas as it happens.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    PreviewWindow(CanvasArea* canvas, QWidget* parent);

    PreviewArea* area() const { return m_area; }
    // Whether the window has been on screen in this session; until then its geometry is
    // the toolkit's placeholder and not worth keeping.
    bool hasBeenShown() const { return m_shown; }
    bool staysOnTop() const { return m_stayOnTop; }
    void setStayOnTop(bool on);
    void setMirrorHorizontally(bool on);
    void setCrtEmulation(bool on);
    void zoomIn();
    void zoomOut();
    void zoomActualSize();
    void zoomBestFit();

Q_SIGNALS:
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyStayOnTopHint(bool on);
    QSize firstOpenSize() const;

    PreviewArea* m_area = nullptr;
    bool m_stayOnTop = false;
    bool m_blocked = false;
    bool m_shown = false;
};
