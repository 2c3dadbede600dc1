#pragma once

#include "model/colormap.h"
#include "model/history.h"

#include <QList>

#include <vector>

// The two shared colours a time-lapse frame shows besides the pixels: the background
// fills multicolor side borders, the border colour every other frame.
struct WorkstageColors {
    uchar background = 0;
    uchar border = 0;

    friend bool operator==(const WorkstageColors&, const WorkstageColors&) = default;
};

// Walks the applied part of a history from the picture before its first edit to the
// current canvas. Stage 0 is the canvas before entry 0, stage n the canvas after entry
// n - 1; the redo tail is never visited. The working copy starts as the current canvas;
// the first stage asked for is reached by rewinding from there, and after that the
// replayer only moves forward, so entries behind the first stage wanted or beyond the
// last are never touched. Every stage shows exactly what undoing back to it shows. The
// history must outlive the replayer and stay unchanged while it works.
class WorkstageReplayer {
public:
    WorkstageReplayer(const Colormap& current, const History& history, const WorkstageColors& currentColors);

    // The number of stages: one per applied entry plus the starting canvas.
    int stageCount() const { return m_applied + 1; }
    // The stage the working copy shows: the last one until a stage is asked for.
    int stage() const { return m_stage; }

    // Moves to `stage` (clamped to the last one): back on the first call, forward after
    // it; a stage behind the one reached is not reached again.
    void advanceTo(int stage)
    {
        // A frame asks for the stage's pixels and then for its colours: the second
        // question costs nothing.
        if (!m_rewound || (stage > m_stage && !m_forward.empty()))
            walkTo(stage);
    }
    const Colormap& colormapAt(int stage)
    {
        advanceTo(stage);
        return m_colormap;
    }
    WorkstageColors colorsAt(int stage)
    {
        advanceTo(stage);
        return m_colors;
    }

private:
    // One change on the way forward, noted while the rewind takes the change back: the
    // forward walk then copies the crop's rows without going through the history again.
    struct ForwardStep {
        enum class Kind : quint8 { Nothing, Pixels, Redo, Background, Border };
        Kind kind = Kind::Nothing;
        // The last step of its entry: the stage is reached once it is applied.
        bool endsStage = false;
        uchar colorIndex = 0;
        quint16 x = 0;
        quint16 y = 0;
        quint16 width = 0;
        quint16 height = 0;
        // The crop's rows (Pixels: uchar), or the change to redo the careful way (Redo:
        // HistoryChange).
        const void* source = nullptr;
    };

    void walkTo(int stage);
    void rewindTo(int stage);
    void rewindChange(const HistoryChange& change);
    void applyStep(const ForwardStep& step);

    // Read in place; only the first `m_applied` entries are ever visited.
    const History& m_history;
    int m_applied = 0;
    Colormap m_colormap;
    WorkstageColors m_colors;
    int m_stage = 0;
    bool m_rewound = false;
    // The way forward from the stage reached, the next step last.
    std::vector<ForwardStep> m_forward;
};

// How a subset of the stages is picked: evenly, or crowding towards the start where a
// picture changes most visibly.
enum class WorkstageReduction : quint8 {
    Uniform = 0,
    Smart = 1,
};

// The stages to write for `count` frames out of `total` stages, non-decreasing and always
// ending with the last stage; Smart may repeat a stage, which then shows a little longer.
QList<int> workstageIndices(int count, int total, WorkstageReduction reduction);
