#pragma once

#include <QDialog>

class ImageImportOptionsWidget;

// The import options on their own, for when the system's file chooser picked the file.
class ImportOptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit ImportOptionsDialog(int screensAcross, QWidget* parent = nullptr);

    int targetScreen() const;

private:
    ImageImportOptionsWidget* m_options = nullptr;
};
