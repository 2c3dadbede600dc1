#pragma once

#include "model/workstage_replayer.h"

#include <QDialog>

class QRadioButton;
class QSpinBox;

// How many of the picture's stages a time-lapse gets, and how a subset is picked.
class SaveWorkstagesDialog : public QDialog {
    Q_OBJECT

public:
    SaveWorkstagesDialog(int total, WorkstageReduction reduction, QWidget* parent = nullptr);

    // Every stage for All, otherwise the subset size.
    int count() const;
    WorkstageReduction reduction() const;

    // For the tests, which answer the dialog without showing it.
    void chooseSubset(int count);
    void chooseReduction(WorkstageReduction reduction);

private:
    int m_total = 1;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_subset = nullptr;
    QSpinBox* m_subsetCount = nullptr;
    QRadioButton* m_uniform = nullptr;
    QRadioButton* m_smart = nullptr;
};
