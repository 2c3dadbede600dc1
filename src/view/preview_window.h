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

private:
    void applyStayOnTopHint(bool on);

    PreviewArea* m_area = nullptr;
    bool m_stayOnTop = false;
    bool m_blocked = false;
};
