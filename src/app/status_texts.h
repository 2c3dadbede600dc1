#pragma once

#include <QPoint>
#include <QString>

#include <optional>

enum class BrushShape : qint32;
class Project;

// The readouts of the status bar, left to right. The message line beside them is not a
// readout: commands put their outcomes there.
struct StatusTexts {
    QString mode;
    QString size;
    QString aspect;
    QString brush;
    QString zoom;
    QString rotation;
    QString charCell;
    QString sprite;

    friend bool operator==(const StatusTexts&, const StatusTexts&) = default;
};

// The readouts for the project, its view transform, the pen and the canvas pixel under
// the pointer (none when the pointer is not over the canvas).
StatusTexts statusTexts(
    const Project& project, BrushShape brushShape, int penWidth, std::optional<QPoint> hoverPixel);
