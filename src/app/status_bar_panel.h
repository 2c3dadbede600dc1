#pragma once

#include <QWidget>

#include <chrono>

class ElidedLabel;
class QTimer;
struct StatusTexts;

// The status bar's one permanent widget: the readouts of mode, size, aspect, brush,
// zoom, rotation, char cell and sprite under the pointer, and a message line whose
// messages clear themselves.
class StatusBarPanel : public QWidget {
    Q_OBJECT

public:
    explicit StatusBarPanel(QWidget* parent = nullptr);

    void setTexts(const StatusTexts& texts);
    // Replaces the current message; the new one stays for its own full duration.
    void showMessage(const QString& text, std::chrono::milliseconds duration);

    ElidedLabel* messageLabel() const { return m_message; }

private:
    ElidedLabel* addLabel(int stretch);

    ElidedLabel* m_mode = nullptr;
    ElidedLabel* m_size = nullptr;
    ElidedLabel* m_aspect = nullptr;
    ElidedLabel* m_brush = nullptr;
    ElidedLabel* m_zoom = nullptr;
    ElidedLabel* m_rotation = nullptr;
    ElidedLabel* m_charCell = nullptr;
    ElidedLabel* m_sprite = nullptr;
    ElidedLabel* m_message = nullptr;
    QTimer* m_messageTimer = nullptr;
};
