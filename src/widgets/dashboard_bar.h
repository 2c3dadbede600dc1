#pragma once

#include <QColor>
#include <QWidget>

class QAction;
class QHBoxLayout;
class QIcon;
class DashboardButton;

// A rounded translucent pill floating over the canvas that holds a row of controls. It
// paints its own shape, so the style sheet only chooses its colours.
class DashboardBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor pillFill READ pillFill WRITE setPillFill DESIGNABLE true)
    Q_PROPERTY(QColor pillEdge READ pillEdge WRITE setPillEdge DESIGNABLE true)
    Q_PROPERTY(double pillRadius READ pillRadius WRITE setPillRadius DESIGNABLE true)
    Q_PROPERTY(double pillOpacity READ pillOpacity WRITE setPillOpacity DESIGNABLE true)

public:
    explicit DashboardBar(QWidget* parent = nullptr);

    DashboardButton* addActionButton(QAction* action);
    DashboardButton* addButton(const QIcon& icon, const QString& toolTip);
    void addWidget(QWidget* widget, int stretch = 0);
    void addSeparator();
    void addSpacing(int size);
    void addStretch();
    void addVerticalPadding(int padding);

    QColor pillFill() const { return m_pillFill; }
    void setPillFill(const QColor& colour);
    QColor pillEdge() const { return m_pillEdge; }
    void setPillEdge(const QColor& colour);
    double pillRadius() const { return m_pillRadius; }
    void setPillRadius(double radius);
    double pillOpacity() const { return m_pillOpacity; }
    void setPillOpacity(double opacity);
    bool squareBottomCorners() const { return m_squareBottomCorners; }
    void setSquareBottomCorners(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* m_layout = nullptr;
    QColor m_pillFill = QColor(53, 53, 53);
    QColor m_pillEdge = QColor(38, 38, 38);
    double m_pillRadius = 12.0;
    double m_pillOpacity = 0.9;
    bool m_squareBottomCorners = false;
};
