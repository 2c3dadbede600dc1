#pragma once

#include <QFileDialog>

class QLabel;
class QVBoxLayout;

// The editor's own file chooser for reading one existing file, with a preview pane
// beside the file list that shows the highlighted file as the C64 would. Subclasses say
// what a file looks like in updatePreview.
class ImportFileDialog : public QFileDialog {
    Q_OBJECT

public:
    ImportFileDialog(QWidget* parent, const QString& caption, const QString& startDir, const QString& filter);

    // A null image leaves the pane empty.
    void showPreview(const QImage& image, const QString& text);
    QString previewText() const;
    bool previewShowsImage() const;

    static constexpr QSize previewArea {416, 284};

protected:
    virtual void updatePreview(const QString& path) = 0;
    // Puts a widget of options under the preview.
    void addToPreviewPane(QWidget* widget);

private:
    QVBoxLayout* m_paneLayout = nullptr;
    QLabel* m_image = nullptr;
    QLabel* m_caption = nullptr;
};
