#pragma once

#include <QWidget>

class Project;
class QComboBox;

// What Import Image asks besides the file: on a canvas of several screens, which screen
// the picture goes into.
class ImageImportOptionsWidget : public QWidget {
    Q_OBJECT

public:
    explicit ImageImportOptionsWidget(int screensAcross, QWidget* parent = nullptr);

    // A C64 picture is one screen; only a wider canvas leaves a choice.
    static bool isNeededFor(const Project& project);

    // Numbered from the left, from 0.
    int targetScreen() const;

private:
    QComboBox* m_screen = nullptr;
};
