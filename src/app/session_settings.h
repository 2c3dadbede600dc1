#pragma once

#include <QByteArray>

#include <array>

class QSettings;

// The checkable menu commands whose state outlives a session, in the order they are
// restored: the view and tool toggles, then the preview window's, its visibility last so
// the preview appears already configured.
enum class SessionToggle : int {
    ShowReferenceGrids = 0,
    ShowPixelGrids,
    ShowSafeFrames,
    BilinearFiltering,
    PixelPerfectStrokes,
    PressureWidenedStrokes,
    DisableFillPreview,
    PreviewStaysOnTop,
    MirrorPreviewHorizontally,
    CrtFilterInPreview,
    ShowPreviewWindow,
};

inline constexpr int sessionToggleCount = 11;

// What the window restores at start-up and saves at exit. The member initialisers are the
// defaults for keys the store does not hold.
struct SessionSettings {
    std::array<bool, sessionToggleCount> toggles = defaultToggles();
    int referenceLayerOpacity = 50;
    double displayPixelAspect = 1.0;
    // Empty when never saved: the windows keep the size they were built with.
    QByteArray windowGeometry;
    QByteArray previewGeometry;

    bool toggle(SessionToggle which) const { return toggles[std::size_t(which)]; }
    void setToggle(SessionToggle which, bool on) { toggles[std::size_t(which)] = on; }

    static std::array<bool, sessionToggleCount> defaultToggles();

    friend bool operator==(const SessionSettings&, const SessionSettings&) = default;
};

// Missing keys take their values from `defaults` (the window passes the canvas's current
// reference-layer opacity there).
SessionSettings readSessionSettings(const QSettings& settings, const SessionSettings& defaults = {});
void writeSessionSettings(QSettings& settings, const SessionSettings& session);

// The window's side of restoring a session.
class SessionRestoreTarget {
public:
    virtual ~SessionRestoreTarget() = default;
    virtual void applySettingsPreferences() = 0;
    // Checking the command runs its toggled slot exactly as a user's click would.
    virtual void setToggleChecked(SessionToggle toggle, bool on) = 0;
    virtual void setReferenceLayerOpacity(int percent) = 0;
    // Checks the pixel-aspect command with this value; a value no command has changes nothing.
    virtual void setDisplayPixelAspect(double aspect) = 0;
    // An empty geometry leaves that window as it is.
    virtual void restoreGeometries(const QByteArray& window, const QByteArray& preview) = 0;
};

// Restores a session in the order each step relies on: preferences, the view and tool
// toggles, reference opacity, pixel aspect, window geometries, then the preview window's
// toggles with its visibility last.
void restoreSession(const SessionSettings& session, SessionRestoreTarget& target);
