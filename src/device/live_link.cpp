#include "device/live_link.h"

#include "device/live_link_calls.h"
#include "device/ultimate_client.h"
#include "document/project.h"
#include "formats/prg/memory_runs.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

LiveLink::LiveLink(QObject* parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
{
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &LiveLink::pump);
}

LiveLink::~LiveLink()
{
    stop();
}

bool LiveLink::start(const Settings& settings, LiveCanvas canvas, QString* error)
{
    stop();
    QString encodeError;
    LiveMemoryImage image
        = encodeLiveMemoryImage(canvas.colormap, canvas.mode, canvas.layout, canvas.colors, &encodeError);
    if (image.isEmpty()) {
        if (error)
            *error = encodeError;
        return false;
    }
    m_settings = settings;
    m_wanted = std::move(image);
    m_shown = {};
    m_message.clear();
    setState(State::Starting);
    m_step = Step::Version;
    send(deviceVersionCall(m_settings.host));
    return true;
}

void LiveLink::stop()
{
    m_settle.stop();
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    m_step = Step::None;
    m_pending.reset();
    if (m_state != State::Off && m_state != State::Failed)
        setState(State::Off);
}

void LiveLink::showCanvas(LiveCanvas canvas)
{
    if (!isActive())
        return;
    m_pending = std::move(canvas);
    // Later: several edits in one turn of the event loop become one encoding.
    QTimer::singleShot(0, this, &LiveLink::pump);
}

bool LiveLink::isCaughtUp() const
{
    return m_state == State::Live && !m_pending && m_step == Step::None && !m_settle.isActive()
        && liveMemoryWritable(m_shown, m_wanted)
        && changedMemoryRuns(m_shown.spans, m_wanted.spans, m_settings.mergeGap).empty();
}

void LiveLink::encodePending()
{
    if (!m_pending)
        return;
    QString error;
    LiveMemoryImage image = encodeLiveMemoryImage(
        m_pending->colormap, m_pending->mode, m_pending->layout, m_pending->colors, &error);
    m_pending.reset();
    if (image.isEmpty()) {
        // The device keeps the last picture that could be shown until the canvas fits again.
        m_message = error;
        return;
    }
    m_message.clear();
    m_wanted = std::move(image);
}

void LiveLink::pump()
{
    if (!isActive() || m_step != Step::None || m_settle.isActive())
        return;
    encodePending();
    if (!liveMemoryWritable(m_shown, m_wanted)) {
        // A first start, or a change of mode, layout or size: only a new program shows it.
        setState(State::Starting);
        m_step = Step::Program;
        m_run = {};
        send(runProgramCall(m_settings.host, m_wanted.program));
        return;
    }
    const MemorySpans runs = changedMemoryRuns(m_shown.spans, m_wanted.spans, m_settings.mergeGap);
    if (runs.empty()) {
        setState(State::Live);
        Q_EMIT caughtUp();
        return;
    }
    setState(State::Sending);
    m_step = Step::Write;
    m_run = runs.front();
    send(memoryWriteCall(m_settings.host, m_run));
}

void LiveLink::send(const DeviceCall& call)
{
    QNetworkRequest request(call.url);
    request.setTransferTimeout(ultimateTimeoutMs(m_settings.timeoutSeconds));
    if (call.method == "POST") {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
        m_reply = m_network->post(request, call.body);
    } else if (call.method == "PUT") {
        m_reply = m_network->put(request, call.body);
    } else {
        m_reply = m_network->get(request);
    }
    connect(m_reply.data(), &QNetworkReply::finished, this, &LiveLink::finished);
}

void LiveLink::finished()
{
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    const QString error = ultimateReplyError(*reply);
    if (!error.isEmpty()) {
        fail(error);
        return;
    }
    const Step step = m_step;
    m_step = Step::None;
    switch (step) {
    case Step::Version:
        pump();
        return;
    case Step::Program:
        m_shown = m_wanted;
        m_settle.start(m_settings.startDelayMs);
        return;
    case Step::Write:
        writeMemoryRun(m_shown.spans, m_run);
        pump();
        return;
    case Step::None:
        return;
    }
}

void LiveLink::fail(const QString& error)
{
    m_settle.stop();
    m_step = Step::None;
    m_pending.reset();
    m_message = QStringLiteral("The Live Link to %1 stopped: %2").arg(m_settings.host, error);
    setState(State::Failed);
    Q_EMIT failed(m_message);
}

void LiveLink::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT stateChanged(state);
}

LiveCanvas liveCanvasOf(const Project& project)
{
    return {project.colormap(), project.mode(), project.layout(),
        PrgExportColors::fromSlots(project.colorSlots())};
}
