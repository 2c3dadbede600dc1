#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QSize>
#include <QString>

#include <functional>
#include <optional>

// What the New Canvas dialog hands back on OK.
struct NewCanvasChoice {
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayout layout = CanvasLayout::BitmapOnly;
    int screensAcross = 1;
    QSize size;
};

enum class SaveChangesAnswer { Save, Discard, Cancel };

// The questions the document commands put to the user. Each one left empty is asked with
// the program's own dialog; a test sets them to answer without one.
struct DocumentPrompts {
    // An empty path means the user cancelled.
    std::function<QString(const QString& startDir)> chooseProjectToOpen;
    std::function<QString(const QString& proposedPath)> chooseProjectSavePath;
    std::function<std::optional<NewCanvasChoice>()> chooseNewCanvas;
    std::function<SaveChangesAnswer()> askToSaveChanges;
    std::function<void(const QString& text)> warn;
};
