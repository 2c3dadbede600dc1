#pragma once

#include <QColor>
#include <QWidget>

// A thin vertical line between groups of dashboard buttons, with more room after it than
// before so the group that follows reads as a new one.
class DashboardSeparator : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor lineColor READ lineColor WRITE setLineColor DESIGNABLE true)
    Q_PROPERTY(int lineWidth READ lineWidth WRITE setLineWidth DESIGNABLE true)
    Q_PROPERTY(int verticalInset READ verticalInset WRITE setVerticalInset DESIGNABLE true)
    Q_PROPERTY(int leftGap READ leftGap WRITE setLeftGap DESIGNABLE true)
    Q_PROPERTY(int rightGap READ rightGap WRITE setRightGap DESIGNABLE true)

public:
    explicit DashboardSeparator(QWidget* parent = nullptr);

    QColor lineColor() const { return m_lineColor; }
    void setLineColor(const QColor& colour);
    int lineWidth() const { return m_lineWidth; }
    void setLineWidth(int width);
    int verticalInset() const { return m_verticalInset; }
    void setVerticalInset(int inset);
    int leftGap() const { return m_leftGap; }
    void setLeftGap(int gap);
    int rightGap() const { return m_rightGap; }
    void setRightGap(int gap);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setMetric(int& field, int value);

    QColor m_lineColor = QColor(255, 255, 255, 60);
    int m_lineWidth = 1;
    int m_verticalInset = 3;
    int m_leftGap = 4;
    int m_rightGap = 13;
};
