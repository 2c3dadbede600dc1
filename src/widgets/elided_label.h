#pragma once

#include <QLabel>

// A label that shortens its text with an ellipsis on the right to fit its width, so a
// row of them can share a status bar without pushing the window wider. When the text is
// shortened, the whole text is the tool tip.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QString fullText() const { return m_fullText; }
    void setFullText(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateElidedText();

    QString m_fullText;
};
