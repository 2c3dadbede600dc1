#pragma once

#include <QWidget>

// The user manual, compiled into the program, in a window of its own beside the canvas so
// the artist can read and paint at the same time.
class UserManualWindow : public QWidget {
    Q_OBJECT

public:
    explicit UserManualWindow(QWidget* parent = nullptr);
};
