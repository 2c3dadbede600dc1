#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"
#include "model/color_slots.h"
#include "model/colormap_crop.h"
#include "model/policies.h"

#include <QByteArray>
#include <QString>

class Project;

// The first record of a project file: everything about the document except its history.
struct ProjectStateRecord {
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayoutSpec layout;
    HiresClashResolution hiresClashResolution = HiresClashResolution::ReplaceOverwritten;
    SpriteCountPolicy spriteCountPolicy = SpriteCountPolicy::Flag;
    int screensAcross = 1;
    ColorSlots slots;
    int width = 0;
    int height = 0;
    // The records in the file, this one included.
    qint32 recordCount = 1;
    qint32 historyIndex = 0;
    // Kept compressed until somebody needs the pixels.
    ColormapCrop canvas;
};

// Parses a state record payload of the given file version, checking every field.
bool parseProjectStateRecord(
    const QByteArray& payload, int version, ProjectStateRecord* state, QString* error);

// The current version's state record payload for the project.
QByteArray projectStateRecordPayload(const Project& project, qint32 recordCount);
