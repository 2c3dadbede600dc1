#pragma once

class CanvasArea;

// When a command of the window may start. A file task or a device transfer marks the
// window busy while its nested event loop runs; a stroke or a gesture still collecting its
// history entry makes the canvas unsettled. Commands ask here instead of repeating the
// conditions, so a new kind of busy work needs one change.
class CommandGuard {
public:
    // Marks the window busy for the lifetime of the scope.
    class BusyScope {
    public:
        explicit BusyScope(bool& busy);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        bool& m_busy;
    };

    void watch(CanvasArea& canvas) { m_canvas = &canvas; }

    bool busy() const { return m_busy; }
    [[nodiscard]] BusyScope busyScope() { return BusyScope(m_busy); }

    // Nothing is recording into the history: the document may be read whole.
    bool canvasIdle() const;
    // Not busy and the canvas idle: exports, saves and document replacement may start.
    bool mayExport() const;
    // Also no tool gesture open: the document may take an edit. Does not touch the stage.
    bool mayTouchDocument() const;
    // mayTouchDocument, and then the staged shapes and a floating selection land first, as
    // entries of their own, so the command's edit never paints under them.
    bool mayEditDocument();

private:
    CanvasArea* m_canvas = nullptr;
    bool m_busy = false;
};
