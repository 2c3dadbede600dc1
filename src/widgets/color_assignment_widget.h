#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QRectF>
#include <QWidget>

#include <memory>

class Project;
class QSvgRenderer;

// The colour-slot bar: one tile per colour the canvas shares across the whole picture
// (background, border, shared sprite colours, border strip backgrounds). Each tile is a
// miniature screen in the slot's colour, with a marker that veils everything except the
// part of the screen the slot colours. Clicking a tile asks for the primary (left) or
// secondary (right) pen colour to be assigned to it; the window performs the edit.
class ColorAssignmentWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor screenEdge READ screenEdge WRITE setScreenEdge DESIGNABLE true)
    Q_PROPERTY(double screenRadius READ screenRadius WRITE setScreenRadius DESIGNABLE true)

public:
    // The values equal HistoryColorSlot, so a slot is recorded in the history as it is.
    enum class Slot : int {
        Background = 0,
        Border = 1,
        SpriteMc0 = 2,
        SpriteMc1 = 3,
        TopBorderBackground = 4,
        TopBorderMc0 = 5,
        TopBorderMc1 = 6,
        BottomBorderBackground = 7,
        BottomBorderMc0 = 8,
        BottomBorderMc1 = 9,
    };
    Q_ENUM(Slot)

    explicit ColorAssignmentWidget(std::shared_ptr<Project> project, QWidget* parent = nullptr);
    ~ColorAssignmentWidget() override;

    // A new or opened document replaces the old one whole; its slots may differ.
    void setProject(std::shared_ptr<Project> project);

    // The slots the canvas has, in display order.
    static QList<Slot> slotsFor(const Project& project);
    // The tile's tooltip name and marker image, which depend on the layout for the border.
    static QString slotName(Slot slot, const Project& project);
    static QString slotMarker(Slot slot, const Project& project);

    uchar slotIndex(Slot slot) const;
    QRectF slotRect(int position, int count) const;

    QColor screenEdge() const { return m_screenEdge; }
    void setScreenEdge(const QColor& color);
    double screenRadius() const { return m_screenRadius; }
    void setScreenRadius(double radius);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void slotClicked(ColorAssignmentWidget::Slot slot, Qt::MouseButton button);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The slot under a point, or -1.
    int positionAt(double x, int count) const;
    QSvgRenderer* markerRenderer(const QString& name);

    std::shared_ptr<Project> m_project;
    QHash<QString, QSvgRenderer*> m_markers;
    QColor m_screenEdge = QColor(0xD0, 0xD0, 0xD0);
    double m_screenRadius = 6.0;
};
