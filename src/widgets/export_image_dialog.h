#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;

// Export to Image's first question on a canvas of whole screens: the C64's own picture
// format of the mode, or an ordinary image, which may include the border frame.
class ExportImageDialog : public QDialog {
    Q_OBJECT

public:
    // Without a frame there is no borders box.
    ExportImageDialog(const QString& nativeFormatName, bool preferNative, bool offerBorders,
        bool includeBorders, QWidget* parent = nullptr);

    bool nativeChosen() const;
    bool includeBorders() const;

private:
    QRadioButton* m_native = nullptr;
    QRadioButton* m_modern = nullptr;
    QCheckBox* m_borders = nullptr;
};
