#pragma once

#include <QDialog>

// The import options on their own, for when the system's file chooser picked the file.
class ImportOptionsDialog : public QDialog {
    Q_OBJECT

public:
    // Takes `options` over as its child.
    ImportOptionsDialog(const QString& title, QWidget* options, QWidget* parent = nullptr);
};
