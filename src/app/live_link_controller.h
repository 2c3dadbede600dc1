#pragma once

#include "device/live_link.h"

#include <QObject>
#include <QString>

#include <functional>

class CanvasArea;
class QLabel;
class QWidget;
class Project;

// The window's side of the live link: it feeds the link the document after every change
// and shows how the link is doing in a status-bar label. The window decides when to
// start and stop; everything else happens here, so painting never waits for the device.
class LiveLinkController : public QObject {
    Q_OBJECT

public:
    // `project` gives the current document; the window replaces it on New and Open.
    explicit LiveLinkController(std::function<const Project&()> project, QObject* parent = nullptr);

    // Paint reaches the colormap segment by segment while a stroke goes on; following
    // the canvas's redraws shows a stroke on the C64 as it is drawn, not only at its end.
    void followCanvas(CanvasArea* canvas);

    // The status-bar indicator: hidden while the link is off.
    QLabel* createIndicator(QWidget* parent);

    // False, with the reason, when the canvas cannot become a program.
    bool start(const QString& host, double timeoutSeconds, QString* error);
    void stop();
    bool isActive() const { return m_link.isActive(); }
    LiveLink& link() { return m_link; }

public Q_SLOTS:
    // The document changed (an edit, undo, a slot, a new document): show it.
    void documentChanged();

Q_SIGNALS:
    // The link ended by itself; the message says why.
    void stopped(const QString& message);

private:
    void refreshIndicator();

    std::function<const Project&()> m_project;
    LiveLink m_link;
    QLabel* m_indicator = nullptr;
};
