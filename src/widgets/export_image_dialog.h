#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;

// Export to Image's first question on a canvas of whole screens (or one screen with its
// border sprites): the C64's own picture format of the mode, an ordinary image, which may include the border frame, or the
// picture's memory blocks for a programmer, raw or as assembler source.
class ExportImageDialog : public QDialog {
    Q_OBJECT

public:
    // Without a frame there is no borders box; without a format name (a canvas the C64's
    // picture formats cannot hold) no picture choice. `programmerFormat` is "raw" or an
    // assembler's key to start on that choice, empty to start on the others.
    ExportImageDialog(const QString& nativeFormatName, bool preferNative, bool offerBorders,
        bool includeBorders, QWidget* parent = nullptr, const QString& programmerFormat = {});

    bool nativeChosen() const;
    bool includeBorders() const;
    // "raw", an assembler's key, or empty when a picture or image was chosen.
    QString programmerFormat() const;

private:
    QRadioButton* m_native = nullptr;
    QRadioButton* m_modern = nullptr;
    QRadioButton* m_raw = nullptr;
    QRadioButton* m_source = nullptr;
    QComboBox* m_assembler = nullptr;
    QCheckBox* m_borders = nullptr;
};
