#pragma once

#include "widgets/preference_values.h"

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

// The Settings dialog. It edits a copy of the preferences; the window reads them back
// after OK and stores them, so Cancel leaves the store untouched.
class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit SettingsDialog(const Preferences& preferences, QWidget* parent = nullptr);

    // The edited values, the host without surrounding blanks.
    Preferences preferences() const;

private:
    QCheckBox* m_invertZoomWheel = nullptr;
    QCheckBox* m_bindZoomToCanvas = nullptr;
    QCheckBox* m_smoothImageScaling = nullptr;
    QCheckBox* m_nativeFileDialogs = nullptr;
    QDoubleSpinBox* m_hoverDelay = nullptr;
    QDoubleSpinBox* m_leaveGrace = nullptr;
    QLineEdit* m_host = nullptr;
    QDoubleSpinBox* m_timeout = nullptr;
    QLineEdit* m_emulator = nullptr;
    QCheckBox* m_autosave = nullptr;
    QSpinBox* m_autosaveMinutes = nullptr;
};
