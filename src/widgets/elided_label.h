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

    // Asks the layout for room for the widest text shown so far, so that a readout keeps
    // its whole text whenever the row has the space; it still shrinks, and elides, when
    // the row has not. Off, the label takes only what its stretch gives it.
    void setKeepsWidestText(bool on);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateElidedText();
    void growWidestText();

    QString m_fullText;
    bool m_keepsWidestText = false;
    int m_widestTextWidth = 0;
};
