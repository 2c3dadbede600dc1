#pragma once

#include <QRectF>
#include <QWidget>

#include <memory>

class Project;

// The palette bar: the 16 C64 colours of the project's palette variant, left to right in
// index order, so a swatch's position is its colour index. A left click picks the primary
// pen colour, a right click the secondary one.
class PaletteWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius DESIGNABLE true)

public:
    explicit PaletteWidget(std::shared_ptr<Project> project, QWidget* parent = nullptr);

    // A new or opened document replaces the old one whole.
    void setProject(std::shared_ptr<Project> project);

    uchar primaryIndex() const { return m_primaryIndex; }
    uchar secondaryIndex() const { return m_secondaryIndex; }
    // Follow the canvas's pen colours; values of 16 or more are ignored. Never emit.
    void setPrimaryIndex(uchar index);
    void setSecondaryIndex(uchar index);

    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QRectF swatchRect(int index) const;
    // The colour index under a point, or -1.
    int indexAt(QPointF position) const;

Q_SIGNALS:
    // Emitted on every click, also when the index was already selected.
    void primaryIndexSelected(uchar index);
    void secondaryIndexSelected(uchar index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::shared_ptr<Project> m_project;
    uchar m_primaryIndex = 1;
    uchar m_secondaryIndex = 0;
    double m_cornerRadius = 6.0;
};
