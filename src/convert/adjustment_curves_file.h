#pragma once

#include "convert/image_adjustment.h"

#include <QString>

// Tone curves as a small text file, for converting from scripts. One curve per line: the
// channel ("rgb", "r", "g" or "b") and its points as x,y pairs separated by blanks, from
// x 0 to x 255 in ascending x, 2 to 32 points, values 0-255. Blank lines and lines
// starting with '#' are skipped; a channel not named keeps the straight line.
//
//     # lift the shadows, a little more in blue
//     rgb 0,0 64,90 255,255
//     b   0,20 255,255
struct AdjustmentCurvesResult {
    bool ok = false;
    // "line 3: ...", when not ok.
    QString error;
    ImageAdjustment adjustment;
};

AdjustmentCurvesResult parseAdjustmentCurves(const QString& text);
AdjustmentCurvesResult readAdjustmentCurvesFile(const QString& path);
