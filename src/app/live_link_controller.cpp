#include "app/live_link_controller.h"

#include "document/project.h"
#include "view/canvas_area.h"

#include <QLabel>

LiveLinkController::LiveLinkController(std::function<const Project&()> project, QObject* parent)
    : QObject(parent)
    , m_project(std::move(project))
{
    connect(&m_link, &LiveLink::stateChanged, this, &LiveLinkController::refreshIndicator);
    connect(&m_link, &LiveLink::caughtUp, this, &LiveLinkController::refreshIndicator);
    connect(&m_link, &LiveLink::failed, this, &LiveLinkController::stopped);
}

void LiveLinkController::followCanvas(CanvasArea* canvas)
{
    connect(canvas, &CanvasArea::imageRegionChanged, this, &LiveLinkController::documentChanged);
    connect(canvas, &CanvasArea::imageChanged, this, &LiveLinkController::documentChanged);
}

QLabel* LiveLinkController::createIndicator(QWidget* parent)
{
    m_indicator = new QLabel(parent);
    m_indicator->setObjectName(QStringLiteral("liveLinkIndicator"));
    m_indicator->setContentsMargins(6, 0, 6, 0);
    refreshIndicator();
    return m_indicator;
}

bool LiveLinkController::start(const QString& host, double timeoutSeconds, QString* error)
{
    LiveLink::Settings settings;
    settings.host = host;
    settings.timeoutSeconds = timeoutSeconds;
    const bool started = m_link.start(settings, liveCanvasOf(m_project()), error);
    refreshIndicator();
    return started;
}

void LiveLinkController::stop()
{
    m_link.stop();
    refreshIndicator();
}

void LiveLinkController::documentChanged()
{
    if (m_link.isActive())
        m_link.showCanvas(liveCanvasOf(m_project()));
}

void LiveLinkController::refreshIndicator()
{
    if (!m_indicator)
        return;
    QString text;
    QString tip = tr("Live Link to the Ultimate device at %1").arg(m_link.host());
    switch (m_link.state()) {
    case LiveLink::State::Off:
        m_indicator->hide();
        return;
    case LiveLink::State::Starting:
        text = tr("Live: connecting...");
        break;
    case LiveLink::State::Live:
        text = tr("Live: connected");
        break;
    case LiveLink::State::Sending:
        text = tr("Live: sending...");
        break;
    case LiveLink::State::Failed:
        text = tr("Live: failed");
        break;
    }
    // A canvas that cannot become a program (over the sprite budget) is held back.
    if (!m_link.message().isEmpty()) {
        tip = m_link.message();
        if (m_link.isActive())
            text = tr("Live: waiting");
    }
    m_indicator->setText(text);
    m_indicator->setToolTip(tip);
    m_indicator->show();
}
