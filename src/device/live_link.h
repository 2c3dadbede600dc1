#pragma once

#include "formats/prg/live_memory_image.h"
#include "formats/prg_export_colors.h"
#include "model/canvas_layout.h"
#include "model/canvas_mode.h"
#include "model/colormap.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
struct DeviceCall;

// What the link shows: a copy of the canvas with what the program needs besides pixels.
struct LiveCanvas {
    Colormap colormap;
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayoutSpec layout;
    PrgExportColors colors;
};

// Keeps a running C64 showing the canvas as it is painted. It sends the exported program
// once, waits for its routine to put the picture up, and from then on writes only the
// bytes that changed into the machine's memory. It never waits: requests run in the
// background, one at a time, and canvases that arrive meanwhile replace each other, so
// the next request carries the latest state however fast edits come. A failed request
// ends the link with a message; the link only ever reads copies of the document.
class LiveLink : public QObject {
    Q_OBJECT

public:
    enum class State { Off, Starting, Live, Sending, Failed };

    struct Settings {
        QString host;
        double timeoutSeconds = 2.5;
        // The program fades the old screen out for 16 frames and copies its colours
        // before it shows anything; writes before then would be overwritten.
        int startDelayMs = 1500;
        int mergeGap = 16;
    };

    explicit LiveLink(QObject* parent = nullptr);
    ~LiveLink() override;

    // Asks the device for its version, then sends the canvas's program. False, with the
    // encoder's message, when the canvas cannot become a program at all.
    bool start(const Settings& settings, LiveCanvas canvas, QString* error);
    void stop();
    // The canvas as it is now; it is shown as soon as the request in flight is done.
    void showCanvas(LiveCanvas canvas);

    State state() const { return m_state; }
    bool isActive() const { return m_state != State::Off && m_state != State::Failed; }
    // Why the link failed, or why the latest canvas is not shown (it cannot become a
    // program, e.g. over the border sprite budget); empty otherwise.
    QString message() const { return m_message; }
    const QString& host() const { return m_settings.host; }
    // Whether the device shows the latest canvas and nothing is in flight.
    bool isCaughtUp() const;

Q_SIGNALS:
    void stateChanged(LiveLink::State state);
    // The device shows the latest canvas.
    void caughtUp();
    void failed(const QString& message);

private:
    void pump();
    void send(const DeviceCall& call);
    void finished();
    void fail(const QString& error);
    void setState(State state);
    void encodePending();

    enum class Step { None, Version, Program, Write };

    Settings m_settings;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    Step m_step = Step::None;
    MemorySpan m_run; // the run in flight
    QTimer m_settle;
    State m_state = State::Off;
    QString m_message;
    std::optional<LiveCanvas> m_pending;
    LiveMemoryImage m_wanted; // the latest canvas that could be encoded
    LiveMemoryImage m_shown; // the memory as the device holds it; empty before the program
};

class Project;

// The document's canvas as the link shows it.
LiveCanvas liveCanvasOf(const Project& project);
