#pragma once

#include <QDialog>

class QLabel;
class QSlider;

// Sets the reference layer's opacity live; Cancel puts back the value it opened with.
class ReferenceOpacityDialog : public QDialog {
    Q_OBJECT

public:
    ReferenceOpacityDialog(int percent, QWidget* parent = nullptr);

    int opacityPercent() const;
    QSlider* slider() const { return m_slider; }

public Q_SLOTS:
    void reject() override;

Q_SIGNALS:
    void opacityChanged(int percent);

private:
    int m_opening = 50;
    QSlider* m_slider = nullptr;
    QLabel* m_value = nullptr;
};
